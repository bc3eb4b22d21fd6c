#pragma once

// The tests' way into the private state of the panel and of the report
// record: the set-up of states the wire alone reaches only slowly, and the
// checks of state no control shows.
#include "control/TessolyDlg.h"
#include "trace/TraceReport.h"

struct TestAccess
{
    // --- the panel --------------------------------------------------------
    static int& State(CTessolyDlg& d) { return d.m_nState; }
    static int& Count(CTessolyDlg& d) { return d.m_nCount; }
    static bool& PoweredOn(CTessolyDlg& d) { return d.m_bPoweredOn; }
    static bool& TraceReportsOn(CTessolyDlg& d) { return d.m_bTraceReportsOn; }
    static int& MaxPowerDbm(CTessolyDlg& d) { return d.m_nMaxPowerDbm; }
    static bool& RxQualReported(CTessolyDlg& d) { return d.m_bRxQualReported; }
    static QString& LastNumber(CTessolyDlg& d) { return d.m_strLastNumber; }
    static QString& IdleStatus(CTessolyDlg& d) { return d.m_strIdleStatus; }
    static QString& MessageText(CTessolyDlg& d) { return d.m_strMessageText; }
    static QString& TraceFlags(CTessolyDlg& d) { return d.m_strTraceFlags; }
    static QString& LockChannel(CTessolyDlg& d) { return d.m_strLockChannel; }
    static CLibraryDlg& Library(CTessolyDlg& d) { return d.m_dlgLibrary; }
    static CDataContent& DataContent(CTessolyDlg& d) { return d.m_dlgDataContent; }
    static CTraceReport& Record(CTessolyDlg& d) { return d.m_TraceReport; }
    static CGsmtapSender* Gsmtap(CTessolyDlg& d) { return d.m_pGsmtap; }
    static PortSettings& DataPortSettings(CTessolyDlg& d) { return d.m_DataPortSettings; }
    static PortSettings& TracePortSettings(CTessolyDlg& d) { return d.m_TracePortSettings; }
    static bool& SendPowerOn() { return CTessolyDlg::s_bSendPowerOn; }
    static int& PowerOnTries() { return CTessolyDlg::s_nPowerOnTries; }

    // --- the report record ------------------------------------------------
    static int (&ScanCollect(CTraceReport& r))[SCAN_CHANNELS] { return r.m_nScanCollect; }
    static bool ScanStarted(const CTraceReport& r) { return r.m_bScanStarted; }
    static const QString& ReportName(const CTraceReport& r, int i) { return r.m_strReportName[i]; }
    static int& Neighbours(CTraceReport& r) { return r.m_nNeighbours; }
    static TrIdleModeRpt& IdleMode(CTraceReport& r) { return r.m_IdleMode; }
    static TrBcchReport& Bcch(CTraceReport& r) { return r.m_Bcch; }
};
