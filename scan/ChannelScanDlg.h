#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPointer>
#include <QRect>

#include "platform/TemplateDialog.h"
#include "trace/TraceReport.h"

class CTessolyDlg;
class CScanGraph;
class QLineEdit;
class QPainter;
class QPushButton;

// Control ids of the channel scan (template 103).
enum
{
    IDC_SCAN_GRAPH = 1032,
    IDC_SCAN_DELETE = 1146,
    IDC_SCAN_ALL = 1151,
    IDC_SCAN_SELECT = 1150,
    IDC_SCAN_PREV = 1057,
    IDC_SCAN_NEXT = 1058,
    IDC_SCAN_CHANNEL = 1048,
    IDC_SCAN_LEVEL = 1040
};

enum
{
    SCAN_RANGE_FIELDS = 10
};

// The channel scan: up to five channel ranges, the scan commands to the
// module, the received levels as a bar graph with pointer selection, and the
// lock of the chosen channel when the user ends the scan with Go.
//
// The graph is drawn by a CScanGraph laid over the graph frame (control
// 1032); its paint events run OnPaint here. All positions of the graph
// (bars, scan ends, drag positions, mouse points) are in the graph's pixels.
class CChannelScanDlg : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CChannelScanDlg(CTessolyDlg* pController);
    ~CChannelScanDlg() override;

    // --- range fields and commands ------------------------------------------
    void OnRangeFocus(int n);
    bool ValidateRange(int n);
    void OnAll();
    void OnDelete();
    void OnSelect();
    void OnGo();
    void OnCancel() override;
    void NarrowRanges(int a, int b);
    bool SetChannelText(int n, QLineEdit* pField);

    // --- graph --------------------------------------------------------------
    void ResetDisplay();
    void DrawAxisAndSelection();
    int BarAt(int x) const;
    int ChannelAt(int x) const;
    bool InGraph(const QPoint& pt) const;
    // The y of the level label for the level step v, and the height of the
    // bar of a level, in graph pixels.
    int LevelY(int v) const;
    int BarHeight(int level) const;
    void OnPrev();
    void OnNext();
    void OnMouseMove(const QPoint& pt, bool bKeyOrButton);
    void OnLButtonDown(const QPoint& pt);
    void OnLButtonUp(const QPoint& pt);
    void OnRButtonDown();

    // Runs the drawing the graph's current paint request asks for.
    void PaintGraph(QPainter& dc);
    // Gives the graph another size and takes its geometry again (the dialog
    // grows when the graph would not fit).
    void SetGraphSize(int cx, int cy);
    CScanGraph* Graph() const { return m_pGraph; }
    QLineEdit* RangeEdit(int n) const;
    // The scan list as OnSelect builds it from the fields; empty when the
    // fields do not make a complete list.
    QString ScanList() const;

    // --- scan data ----------------------------------------------------------
    CTessolyDlg* m_pController;
    CTraceReport* m_pReport = nullptr;
    int m_anRange[SCAN_RANGE_FIELDS] = {};
    QPointer<QLineEdit> m_apRangeEdit[SCAN_RANGE_FIELDS];
    int m_anActive[SCAN_RANGE_FIELDS] = {};
    int m_nSelected = 0;
    bool m_bScanRequested = false;

    // --- window -------------------------------------------------------------
    QPointer<QPushButton> m_btnSelect, m_btnPrev, m_btnGo, m_btnNext;
    QPointer<QLineEdit> m_edtLevel, m_edtChannel;
    int m_nShown = 0;
    QPointer<QWidget> m_pGraphWnd;
    QRect m_rcClient;
    QRect m_rcGraph;
    float m_fScale = 1.0f;
    int m_nBarWidth = 0;
    int m_nBarSpacing = 0;
    int m_anBarX[SCAN_CHANNELS];
    int m_nScanLeft = 0;
    int m_nScanRight = 0;
    int m_nDragStart = -1;
    int m_nDragCurrent = -1;
    QFont m_font;
    QPen m_penAxis, m_penGrid, m_penSelection;
    QColor m_crSelected, m_crBar, m_crGrey, m_crAmber;

    // The ids of the ten range fields in range order.
    static const int s_anRangeIds[SCAN_RANGE_FIELDS];

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnOK() override { OnGo(); }
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void SendScanEnd();
    // What a paint of the graph is for: the whole graph, the axis line with
    // the selection line, or the whole graph with the "waiting" text on it.
    enum PaintPart
    {
        PAINT_ALL,
        PAINT_AXIS,
        PAINT_WAITING
    };

    void OnPaint(QPainter& dc);
    void PaintAxisAndSelection(QPainter& dc);
    void DrawWaitingText();
    void RepaintGraph();
    void RepaintPart(PaintPart part, const QRect& rc);
    void TakeGraphGeometry();
    void ShowLevel(int nChannel);
    void CancelDrag();
    int RangeIndex(const QObject* watched) const;
    int FieldValue(int n) const;
    void SetField(int n, int v);
    // Focus moves asked for by the range rules; applied once the current
    // focus change is over, so that the handlers never nest.
    void QueueFocus(int n, bool bPutBack);
    void ApplyFocus();

    CScanGraph* m_pGraph = nullptr;
    PaintPart m_nPaintPart = PAINT_ALL;
    int m_nPendingFocus = -1;
    bool m_bPendingPutBack = false;
    bool m_bFocusQueued = false;
    bool m_bSkipValidate = false;
    bool m_bApplyingFocus = false;
    int m_nAutoFocusMoves = 0;
    bool m_bDestroying = false;
};
