#pragma once

#include <QWidget>

class CChannelScanDlg;

// The drawing surface of the channel scan's graph: laid over the graph frame,
// it hands its paint events and the pointer to the dialog, in its own pixels.
class CScanGraph : public QWidget
{
    Q_OBJECT
public:
    CScanGraph(CChannelScanDlg* pOwner, QWidget* parent);

    int PaintCount() const { return m_nPaints; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    CChannelScanDlg* m_pOwner;
    int m_nPaints = 0;
};
