// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's handling of trace-port lines: the presentation of the reports.
#include "control/TessolyDlg.h"

#include "protocol/TraceCommands.h"

#include <QListWidget>

#include "gsmtap/GsmtapSender.h"
#include "measure/Units.h"
#include "protocol/ChannelPlan.h"
#include "protocol/StringE.h"
#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"
#include "sysinfo/BcchBlock.h"
#include "sysinfo/SysInfoReader.h"

namespace {
// Bit-error rate in per cent for the RX quality values 0 .. 7.
const char* const kRxQualText[8] = {"0", "0.2", "0.5", "1", "2", "5", "10", "20"};

QString Text(const char* psz)
{
    return QString::fromLatin1(psz);
}

int Number(const char* psz)
{
    return CStringE(psz).ToInt(10);
}

void ShowRxLevel(CTessolyDlg& dlg, const char* pszField)
{
    const int v = Number(pszField);
    dlg.SetDlgItemText(IDC_RXLEV, Text(pszField) + QStringLiteral(" = ") +
                                      QString::number(Units::RxLevDbm(v)) + QStringLiteral(" dBm"));
    dlg.SetBar(IDC_RXLEV_BAR, v + 1);
}

void ShowOutputPower(CTessolyDlg& dlg, const char* pszField)
{
    const int p = Units::TxPowerDbm(dlg.MaxPowerDbm(), Number(pszField));
    dlg.SetDlgItemText(IDC_OUTPOWER, Text(pszField) + QStringLiteral("=") + QString::number(p) +
                                         QStringLiteral(" dBm"));
    dlg.SetBar(IDC_OUTPOWER_BAR, p + 1);
}

void ShowTimingAdvance(CTessolyDlg& dlg, const char* pszField)
{
    const int t = Number(pszField);
    dlg.SetDlgItemText(IDC_TIMINGADV, Text(pszField) + QStringLiteral(" = ") +
                                          QString::number(Units::TimingAdvanceKm(t), 'f', 2) +
                                          QStringLiteral(" km"));
    dlg.SetBar(IDC_TIMINGADV_BAR, t + 1);
}

} // namespace

// An RX quality outside 0 .. 7 is a fault of the module's output, not of
// the program: it is reported without ending the program, and the edit and
// bar keep their contents. One box is shown for a run of bad values; the
// next box comes only after a valid value has been shown again, so a module
// that keeps sending bad values does not bury the user under boxes (lines
// handled while the box is open find the flag already set).
void CTessolyDlg::ShowRxQuality(const char* pszField, const QString& strSuffix)
{
    const int q = Number(pszField);
    if (q >= 0 && q <= 7) {
        m_bRxQualReported = false;
        SetDlgItemText(IDC_RXQUAL, QString::number(q) + QStringLiteral(" = ") +
                                       Text(kRxQualText[q]) + strSuffix);
        SetBar(IDC_RXQUAL_BAR, q * 10 + 1);
        return;
    }
    if (q > 7 && !m_bRxQualReported) {
        m_bRxQualReported = true;
        const QByteArray text = "Undefined Value for RxQual=" + QByteArray::number(q);
        ReportError(1, 3, false, text.constData(), 0);
    }
}
void CTessolyDlg::AttachScan(std::function<void(bool bAnyLevel)> onLevels)
{
    const bool bWasAttached = m_TraceReport.IsScanAttached();
    m_TraceReport.AttachScan(std::move(onLevels));
    if (!bWasAttached)
        m_Measurer.OnEvent(EVENT_SCAN_START, QString());
}

void CTessolyDlg::DetachScan()
{
    const bool bWasAttached = m_TraceReport.IsScanAttached();
    m_TraceReport.DetachScan();
    if (bWasAttached)
        m_Measurer.OnEvent(EVENT_SCAN_END, QString());
}

void CTessolyDlg::ResetScanLevels()
{
    m_TraceReport.ResetScanLevels();
}

void CTessolyDlg::OnTraceLine()
{
    if (!m_pTraceLines)
        return;
    const QString line = m_pTraceLines->GetLine();
    if (m_bReview)
        return; // a line the closed port still had queued
    if (m_pLog)
        m_pLog->Log(LOG_TRACE, "t<, ", line);
    HandleTraceLine(line);
    emit TraceLineHandled(line);
}

void CTessolyDlg::HandleTraceLine(const QString& strLine)
{
    QString line = strLine; // the parser may shorten its copy
    const int nReport = m_TraceReport.ParseLine(line);
    // The live feed's capture follows the serving cell even while the feed is off.
    // In review nothing is sent and the session's own measurement feeds the chart.
    SBcchMessage message;
    if (!m_bReview && m_pGsmtap && m_BcchCapture.Follow(m_TraceReport, nReport, &message))
        m_pGsmtap->Send(message);
    // Before the presentation, which consumes the Dedicated_Chan fields.
    if (!m_bReview)
        m_Measurer.Follow(m_TraceReport, nReport);
    if (nReport != REPORT_NONE)
        ShowReport(nReport);
}

void CTessolyDlg::ShowReport(int nReport)
{
    static const SRow<void (CTessolyDlg::*)()> kShows[] = {
        {REPORT_IDLE_MODE, &CTessolyDlg::ShowIdleMode},
        {REPORT_DEDICATED, &CTessolyDlg::ShowDedicated},
        {REPORT_BCCH, &CTessolyDlg::ShowBcch},
        {REPORT_DEDICATED_CHAN, &CTessolyDlg::ShowDedicatedChan},
        {REPORT_CELL_ID, &CTessolyDlg::ShowCellId},
        {REPORT_FULL_IDLE_DESC, &CTessolyDlg::ShowFullIdleDesc},
        {REPORT_FULL_IDLE, &CTessolyDlg::ShowFullIdle},
        {REPORT_FULL_DED, &CTessolyDlg::ShowFullDed},
    };
    Dispatch(kShows, nReport);
    ShowNeighbours(m_TraceReport.GetPendingReport());
}

void CTessolyDlg::ShowIdleMode()
{
    const CTraceReport& r = m_TraceReport;
    SetDlgItemText(IDC_BCCH, Text(r.IdleMode().szBcch));
    ShowRxLevel(*this, r.IdleMode().szRxLev);
}

void CTessolyDlg::ShowDedicated()
{
    const CTraceReport& r = m_TraceReport;
    ShowOutputPower(*this, r.Dedicated().szTxPower);
    ShowRxLevel(*this, r.Dedicated().szRxLev2);
    ShowRxQuality(r.Dedicated().szRxQual2);
}

void CTessolyDlg::ShowBcch()
{
    // Cell reselection values of System Information 3.
    const CTraceReport& r = m_TraceReport;
    if (r.Bcch().abSysInfo[2]) {
        const SiCellSelection s =
            CSysInfoReader::Type3(CBcchBlock::RecordOctets(r, 3).data()).cellSelection;
        SetDlgItemText(IDC_DIFFRX, QString::number(s.HysteresisDb()));
        SetDlgItemText(IDC_MINRX, QString::number(s.nRxLevAccessMin));
    }
}

void CTessolyDlg::ShowDedicatedChan()
{
    CTraceReport& r = m_TraceReport;
    SendTrace(TRACE_ACCEPT_CHANNEL);
    SetDlgItemText(IDC_BCCH, Text(r.DedicatedChan().szBcch));
    SetDlgItemText(IDC_BSIC, Text(r.DedicatedChan().szBsic));
    SetDlgItemText(IDC_TIMESLOT, Text(r.DedicatedChan().szTimeSlot));
    if (qstrcmp(r.DedicatedChan().szMode, "Hopping") != 0)
        SetTrafficChannels(QStringList{Text(r.DedicatedChan().szTrafficChannel)});
    else
        SetTrafficChannels(r.Hopping());
    // Shown once: the fields and the hopping list are consumed.
    r.ClearReport(REPORT_DEDICATED_CHAN);
}

void CTessolyDlg::ShowCellId()
{
    const CTraceReport& r = m_TraceReport;
    SetDlgItemText(IDC_CI, Text(r.CellId().szCi));
    SetDlgItemText(IDC_LAC, Text(r.CellId().szLac));
    SetDlgItemText(IDC_MNC, Text(r.CellId().szMnc));
    SetDlgItemText(IDC_MCC, Text(r.CellId().szMcc));
}

void CTessolyDlg::ShowFullIdleDesc()
{
    const TrFullIdleDesc& d = m_TraceReport.FullIdleDesc();
    SetDlgItemText(IDC_BCCH, Text(d.szBcch));
    SetDlgItemText(IDC_BSIC, Text(d.szBsic));
    SetDlgItemText(IDC_CI, Text(d.szCi));
    SetDlgItemText(IDC_LAC, Text(d.szLac));
    SetDlgItemText(IDC_MNC, Text(d.szMnc));
    SetDlgItemText(IDC_MCC, Text(d.szMcc));
    SetDlgItemText(IDC_TIMESLOT, Text(d.szCbchTimeSlot));
    SetTrafficChannels(QStringList());
}

void CTessolyDlg::ShowFullIdle()
{
    const CTraceReport& r = m_TraceReport;
    SetDlgItemText(IDC_BCCH, Text(r.FullIdle().szBcch));
    ShowRxLevel(*this, r.FullIdle().szRxLev);
    ShowRxQuality(r.FullIdle().szRxQual, QStringLiteral(" %"));
}

void CTessolyDlg::ShowFullDed()
{
    // The band's maximum power, from the first traffic channel or the BCCH.
    QString strChannel;
    if (!FirstTrafficChannel(&strChannel))
        strChannel = GetDlgItemText(IDC_BCCH);
    const int c = CStringE(strChannel).ToInt(10);
    m_nMaxPowerDbm = Units::MaxPowerDbm(c);
    const TrFullDedReport& d = m_TraceReport.FullDed();
    ShowTimingAdvance(*this, d.szTimingAdvance);
    ShowOutputPower(*this, d.szTxPower);
    if (Number(d.szPairSelect) != 0) {
        ShowRxLevel(*this, d.szRxLev1);
        ShowRxQuality(d.szRxQual1);
    } else {
        ShowRxLevel(*this, d.szRxLev2);
        ShowRxQuality(d.szRxQual2);
    }
}

void CTessolyDlg::ShowNeighbours(int nReport)
{
    if (nReport == REPORT_NONE)
        return;
    const int n = m_TraceReport.GetNeighbourCount();
    const TrNeighbour* table = m_TraceReport.NeighbourTable(nReport);
    for (int i = 1; i <= 6; ++i) {
        const int* ids = g_anNeighbourIds[i - 1];
        if (i > n) {
            SetDlgItemText(ids[0], QString());
            SetDlgItemText(ids[1], QString());
            SetDlgItemText(ids[2], QString());
            SetBar(ids[3], 0);
            continue;
        }
        const char* pszBcch = table ? table[i - 1].szBcch : "";
        const char* pszBsic = table ? table[i - 1].szBsic : "";
        const char* pszRxLev = table ? table[i - 1].szRxLev : "";
        SetDlgItemText(ids[0], Text(pszBcch));
        SetDlgItemText(ids[1], !Units::IsBsicShown(Number(pszBsic)) ? QString() : Text(pszBsic));
        const int v = Number(pszRxLev);
        SetDlgItemText(ids[2], Text(pszRxLev) + QStringLiteral(" = ") +
                                   QString::number(Units::RxLevDbm(v)) + QStringLiteral(" dBm"));
        SetBar(ids[3], v + 1);
    }
}
