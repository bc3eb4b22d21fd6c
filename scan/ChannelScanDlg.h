// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>

#include "platform/TemplateDialog.h"
#include "res/Ids103.h"
#include "scan/ScanLayout.h"
#include "scan/ScanModel.h"
#include "trace/TraceReport.h"

class CTessolyDlg;
class CScanGraph;
class QLineEdit;
class QPushButton;

// The channel scan: up to five channel ranges, the scan commands to the
// module, the received levels as a bar graph with pointer selection, and the
// lock of the chosen channel when the user ends the scan with Go.
//
// The scan data and the range rules are a CScanModel; a CScanLayout places
// the bars; a CScanGraph laid over the graph frame (IDC_SCAN_GRAPH) paints
// them and reports what the pointer does.
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
    void OnPrev();
    void OnNext();

    // Gives the graph another size and takes its geometry again (the dialog
    // grows when the graph would not fit).
    void SetGraphSize(int cx, int cy);
    CScanGraph* Graph() const { return m_pGraph; }
    CScanModel& Model() { return m_model; }
    const CScanLayout& Layout() const { return m_layout; }
    QLineEdit* RangeEdit(int n) const;
    // The scan list as OnSelect builds it from the fields; empty when the
    // fields do not make a complete list.
    QString ScanList() const;

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
    // The panel the scan commands go through.
    CTessolyDlg* m_pController;
    // The record the levels are read from (the controller's).
    const CTraceReport* m_pReport = nullptr;

    void SendScanEnd();
    // Both level tables of the record empty, and the graph laid out again.
    void ResetScanLevels();
    int Level(int nChannel) const;
    // Lays the bars out again from the published levels and brings the
    // buttons and the two fields up to date; nothing while no scan is requested.
    void ArrangeGraph();
    void RepaintGraph();
    void OnLevelsPublished(bool bAnyLevel);
    void OnHovered(int nChannel);
    void OnClicked(int nChannel);
    void TakeGraphGeometry();
    void ShowLevel(int nChannel);
    void ShowRanges();
    void PassMouse(QMouseEvent* e);
    int RangeIndex(const QObject* watched) const;
    int FieldValue(int n) const;
    // Focus moves asked for by the range rules; applied once the current
    // focus change is over, so that the handlers never nest.
    void QueueFocus(int n, bool bPutBack);
    void ApplyFocus();

    CScanModel m_model;
    CScanLayout m_layout;
    QPointer<QLineEdit> m_apRangeEdit[SCAN_RANGE_FIELDS];
    QPointer<QPushButton> m_btnSelect, m_btnPrev, m_btnGo, m_btnNext;
    QPointer<QLineEdit> m_edtLevel, m_edtChannel;
    QPointer<QWidget> m_pGraphWnd;
    CScanGraph* m_pGraph = nullptr;
    int m_nPendingFocus = -1;
    bool m_bPendingPutBack = false;
    bool m_bFocusQueued = false;
    bool m_bSkipValidate = false;
    bool m_bApplyingFocus = false;
    int m_nAutoFocusMoves = 0;
    bool m_bDestroying = false;
};
