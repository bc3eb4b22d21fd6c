// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/ScanGraph.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "measure/Units.h"
#include "scan/ScanLayout.h"
#include "scan/ScanModel.h"

namespace {
const char kWaiting[] = "Channels to scan selected, waiting for data...";
const int kWaitingX = 450;
const int kWaitingY = 50;
// A release this close to the press is a click, not a drag.
const int kClickSlack = 3;

// A pointer move counts as a drag while a button or Shift or Ctrl is held.
bool IsDragState(const QMouseEvent* e)
{
    return e->buttons() != Qt::NoButton ||
           (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
}

// Texts are placed by one point: their left, right or centre at x, their top at y.
void TextAt(QPainter& dc, int x, int y, const QString& text, Qt::Alignment align)
{
    const qreal span = 4000;
    QRectF rc;
    if (align & Qt::AlignRight)
        rc = QRectF(x - span, y, span, span);
    else if (align & Qt::AlignHCenter)
        rc = QRectF(x - span / 2, y, span, span);
    else
        rc = QRectF(x, y, span, span);
    const QPen pen = dc.pen();
    dc.setPen(Qt::black); // text colour, whatever pen draws the lines
    dc.drawText(rc, int(align | Qt::AlignTop | Qt::TextSingleLine), text);
    dc.setPen(pen);
}
} // namespace

CScanGraph::CScanGraph(const CScanModel& model, const CScanLayout& layout, QWidget* parent)
    : QWidget(parent), m_pModel(&model), m_pLayout(&layout)
{
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Channel levels"));

    m_font = QFont(QStringLiteral("MS Sans Serif"));
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPixelSize(10);
    m_crSelected = QColor(0, 150, 70);
    m_crBar = QColor(180, 53, 0);
    m_penAxis = QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap);
    m_penGrid = QPen(QColor(120, 120, 120), 1, Qt::SolidLine, Qt::FlatCap);
    m_penSelection = QPen(QColor(205, 145, 0), 2, Qt::SolidLine, Qt::FlatCap);
}

void CScanGraph::Release()
{
    m_pModel = nullptr;
    m_pLayout = nullptr;
}

// ---------------------------------------------------------------------------
// Drawing

void CScanGraph::RepaintGraph()
{
    if (m_pLayout && isVisible())
        repaint();
}

void CScanGraph::RepaintPart(PaintPart part, const QRect& rc)
{
    if (!m_pLayout || !isVisible())
        return;
    m_nPaintPart = part;
    repaint(rc);
    m_nPaintPart = PAINT_ALL;
}

void CScanGraph::DrawWaitingText()
{
    const QString text = QString::fromLatin1(kWaiting);
    const QFontMetrics fm(m_font);
    const int cx = fm.horizontalAdvance(text);
    RepaintPart(PAINT_WAITING, QRect(kWaitingX - cx / 2 - 2, kWaitingY, cx + 4, fm.height() + 2));
}

void CScanGraph::DrawAxisAndSelection()
{
    if (!m_pLayout)
        return;
    const int B = m_pLayout->m_rcGraph.bottom();
    RepaintPart(PAINT_AXIS, QRect(0, B, m_pLayout->m_rcClient.width(), 5));
}

void CScanGraph::CancelDrag()
{
    ForgetDrag();
    DrawAxisAndSelection();
}

void CScanGraph::paintEvent(QPaintEvent*)
{
    ++m_nPaints;
    QPainter dc(this);
    if (!m_pLayout || !m_pModel)
        return;
    // A partial request redraws the whole picture clipped to its region, so
    // the rest of the picture stays exactly as it is.
    OnPaint(dc);
    if (m_nPaintPart == PAINT_WAITING) {
        dc.setFont(m_font);
        TextAt(dc, kWaitingX, kWaitingY, QString::fromLatin1(kWaiting), Qt::AlignHCenter);
    }
}

void CScanGraph::OnPaint(QPainter& dc)
{
    dc.save(); // the previous font and pen
    dc.setFont(m_font);
    dc.setPen(m_penAxis);
    PaintAxes(dc);
    if (m_pModel->m_bScanRequested)
        PaintBars(dc);
    dc.restore();
}

void CScanGraph::PaintAxes(QPainter& dc)
{
    const QRect& rc = m_pLayout->m_rcGraph;
    const int L = rc.left(), T = rc.top(), B = rc.bottom();
    dc.fillRect(m_pLayout->m_rcClient, QColor(170, 170, 170));
    dc.drawLine(L, T, L, B + 2);
    PaintAxisAndSelection(dc);

    TextAt(dc, 4, 10, QStringLiteral("Level [dBm]"), Qt::AlignLeft);
    // Level labels every 10 steps up to the top of the graph (bounded, so
    // that a frame too small for a graph ends the walk too).
    for (int v = 0; v <= 1000; v += 10) {
        const int y = m_pLayout->LevelY(v);
        if (y <= T - 20)
            break;
        TextAt(dc, L - 6, y - 6, QString::number(Units::RxLevDbm(v)), Qt::AlignRight);
    }
}

void CScanGraph::PaintBars(QPainter& dc)
{
    const QRect& rc = m_pLayout->m_rcGraph;
    const int T = rc.top(), B = rc.bottom();
    const int b = m_pLayout->m_nBarWidth;
    dc.setPen(m_penGrid);
    for (const CScanLayout::Range& range : m_pLayout->m_ranges) {
        TextAt(dc, range.nLabelX, B + 4, QString::number(range.nStart), Qt::AlignHCenter);
        for (int i = range.nFirstBar; i < range.nEndBar; ++i) {
            const CScanLayout::Bar& bar = m_pLayout->m_bars[static_cast<size_t>(i)];
            const QColor& cr = bar.nChannel == m_pModel->m_nSelected ? m_crSelected : m_crBar;
            dc.fillRect(QRect(bar.x, B - bar.nHeight, b, bar.nHeight), cr);
        }
        if (range.bSeparator)
            dc.drawLine(range.nSeparatorX, B, range.nSeparatorX, T);
    }
}

void CScanGraph::PaintAxisAndSelection(QPainter& dc)
{
    const QRect& rc = m_pLayout->m_rcGraph;
    const int L = rc.left(), R = rc.right(), B = rc.bottom();
    const QPen old = dc.pen();
    dc.setPen(m_penAxis);
    dc.drawLine(L, B + 2, R, B + 2);
    if (m_nDragCurrent != -1) {
        dc.setPen(m_penSelection);
        dc.drawLine(m_nDragStart, B + 2, m_nDragCurrent, B + 2);
    }
    dc.setPen(old);
}

// ---------------------------------------------------------------------------
// Pointer

int CScanGraph::ChannelAt(int x) const
{
    return m_pLayout->ChannelAt(x, m_pModel->m_anActive[0], m_pModel->LastActive());
}

void CScanGraph::OnMouseMove(const QPoint& pt, bool bKeyOrButton)
{
    if (!m_pLayout)
        return;
    const CScanLayout& lay = *m_pLayout;
    int hovered = 0;
    if (lay.InGraph(pt)) {
        hovered = lay.BarAt(pt.x());
        if (bKeyOrButton) {
            m_nDragCurrent = pt.x();
            if (m_nDragStart > lay.m_nScanRight) {
                if (m_nDragCurrent > lay.m_nScanRight)
                    m_nDragCurrent = -1;
                else
                    m_nDragStart = lay.m_nScanRight;
            }
            if (m_nDragStart < lay.m_nScanLeft) {
                if (m_nDragCurrent < lay.m_nScanLeft)
                    m_nDragCurrent = -1;
                else
                    m_nDragStart = lay.m_nScanLeft;
            }
            if (m_nDragCurrent != -1)
                m_nDragCurrent = qBound(lay.m_nScanLeft, m_nDragCurrent,
                                        qMax(lay.m_nScanLeft, lay.m_nScanRight));
        }
    }
    if (hovered == 0)
        m_nDragCurrent = -1; // no selection line while the pointer is off the bars
    DrawAxisAndSelection();
    emit Hovered(hovered);
}

void CScanGraph::OnLButtonDown(const QPoint& pt)
{
    if (m_pLayout && m_pLayout->InGraph(pt))
        m_nDragStart = m_nDragCurrent = pt.x();
    else
        ForgetDrag();
}

void CScanGraph::OnLButtonUp(const QPoint& pt)
{
    if (m_pLayout && m_nDragStart != -1 && m_nDragCurrent != -1) {
        const int x = pt.x();
        if (qAbs(x - m_nDragStart) < kClickSlack) {
            emit Clicked(ChannelAt(x));
        } else {
            const int a = ChannelAt(m_nDragStart);
            const int c = ChannelAt(x);
            if (a != 0 && c != 0 && a != c)
                emit Dragged(a, c);
        }
    }
    ForgetDrag();
}

void CScanGraph::OnRButtonDown()
{
    ForgetDrag();
    DrawAxisAndSelection();
}

void CScanGraph::HandleMouse(const QMouseEvent* e, const QPoint& pt)
{
    switch (e->type()) {
    case QEvent::MouseMove:
        OnMouseMove(pt, IsDragState(e));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a quick second press is just another press
        if (e->button() == Qt::LeftButton)
            OnLButtonDown(pt);
        else if (e->button() == Qt::RightButton)
            OnRButtonDown();
        break;
    case QEvent::MouseButtonRelease:
        if (e->button() == Qt::LeftButton)
            OnLButtonUp(pt);
        break;
    default:
        break;
    }
}

void CScanGraph::mouseMoveEvent(QMouseEvent* e)
{
    HandleMouse(e, e->position().toPoint());
}

void CScanGraph::mousePressEvent(QMouseEvent* e)
{
    HandleMouse(e, e->position().toPoint());
}

void CScanGraph::mouseDoubleClickEvent(QMouseEvent* e)
{
    HandleMouse(e, e->position().toPoint());
}

void CScanGraph::mouseReleaseEvent(QMouseEvent* e)
{
    HandleMouse(e, e->position().toPoint());
}

void CScanGraph::leaveEvent(QEvent*)
{
    // The pointer left the graph: the same as a move off the bars.
    OnMouseMove(QPoint(-1, -1), false);
}
