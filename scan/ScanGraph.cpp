#include "scan/ScanGraph.h"

#include <QMouseEvent>
#include <QPainter>

#include "scan/ChannelScanDlg.h"

namespace {
// A pointer move counts as a drag while a button or Shift or Ctrl is held.
bool IsDragState(const QMouseEvent* e)
{
    return e->buttons() != Qt::NoButton ||
           (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
}
} // namespace

CScanGraph::CScanGraph(CChannelScanDlg* pOwner, QWidget* parent) : QWidget(parent), m_pOwner(pOwner)
{
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Channel levels"));
}

void CScanGraph::paintEvent(QPaintEvent*)
{
    ++m_nPaints;
    QPainter dc(this);
    m_pOwner->PaintGraph(dc);
}

void CScanGraph::mouseMoveEvent(QMouseEvent* e)
{
    m_pOwner->OnMouseMove(e->position().toPoint(), IsDragState(e));
}

void CScanGraph::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_pOwner->OnLButtonDown(e->position().toPoint());
    else if (e->button() == Qt::RightButton)
        m_pOwner->OnRButtonDown();
}

void CScanGraph::mouseDoubleClickEvent(QMouseEvent* e)
{
    // A quick second press is just another press.
    mousePressEvent(e);
}

void CScanGraph::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_pOwner->OnLButtonUp(e->position().toPoint());
}

void CScanGraph::leaveEvent(QEvent*)
{
    // The pointer left the graph: the same as a move off the bars.
    m_pOwner->OnMouseMove(QPoint(-1, -1), false);
}
