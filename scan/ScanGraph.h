// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QWidget>

class CScanLayout;
class CScanModel;
class QMouseEvent;
class QPainter;

// The channel scan's bar graph: laid over the graph frame, it paints the
// axes and the bars from the layout and the scan data, and turns the pointer
// into hovered, clicked and dragged channels. All positions are in its own
// pixels.
class CScanGraph : public QWidget
{
    Q_OBJECT
public:
    CScanGraph(const CScanModel& model, const CScanLayout& layout, QWidget* parent);

    // Nothing is drawn or asked of the scan any more (the dialog is going).
    void Release();

    // A pointer event at pt, in the graph's pixels (the dialog passes on the
    // ones on its own surface).
    void HandleMouse(const QMouseEvent* e, const QPoint& pt);
    void OnMouseMove(const QPoint& pt, bool bKeyOrButton);
    void OnLButtonDown(const QPoint& pt);
    void OnLButtonUp(const QPoint& pt);
    void OnRButtonDown();

    // Repaints at once: the whole graph, the axis line with the selection
    // line, or the whole graph with the "waiting" text on it.
    void RepaintGraph();
    void DrawAxisAndSelection();
    void DrawWaitingText();
    // Forgets the drag selection without drawing; CancelDrag draws too.
    void ForgetDrag() { m_nDragStart = m_nDragCurrent = -1; }
    void CancelDrag();

    int DragStart() const { return m_nDragStart; }
    int DragCurrent() const { return m_nDragCurrent; }
    int PaintCount() const { return m_nPaints; }

signals:
    // The pointer moved; the channel of the bar under it, or 0.
    void Hovered(int nChannel);
    // A click selected a channel (0 in a gap between the bars).
    void Clicked(int nChannel);
    // A drag went from channel a to channel b (two different channels).
    void Dragged(int a, int b);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    // What a paint of the graph is for.
    enum PaintPart
    {
        PAINT_ALL,
        PAINT_AXIS,
        PAINT_WAITING
    };

    void OnPaint(QPainter& dc);
    void PaintAxes(QPainter& dc);
    void PaintBars(QPainter& dc);
    void PaintAxisAndSelection(QPainter& dc);
    void RepaintPart(PaintPart part, const QRect& rc);
    int ChannelAt(int x) const;

    const CScanModel* m_pModel;
    const CScanLayout* m_pLayout;
    int m_nDragStart = -1;
    int m_nDragCurrent = -1;
    PaintPart m_nPaintPart = PAINT_ALL;
    int m_nPaints = 0;

    QFont m_font;
    QPen m_penAxis, m_penGrid, m_penSelection;
    QColor m_crSelected, m_crBar;
};
