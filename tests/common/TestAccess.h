// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' way into the private state of the module's conversation, the
// panel and the report record: the set-up of states the wire alone reaches
// only slowly, and the checks of state nothing shows.
#include "control/TessolyDlg.h"
#include "conversation/Sequencer.h"
#include "trace/TraceReport.h"

struct TestAccess
{
    // --- the module's conversation -----------------------------------------
    static int& State(CSequencer& s) { return s.m_nState; }
    static int& Count(CSequencer& s) { return s.m_nCount; }
    static bool& PoweredOn(CSequencer& s) { return s.m_bPoweredOn; }
    static bool& TraceReportsOn(CSequencer& s) { return s.m_bTraceReportsOn; }
    static QString& LastNumber(CSequencer& s) { return s.m_strLastNumber; }
    static QString& IdleStatus(CSequencer& s) { return s.m_strIdleStatus; }
    static QString& MessageText(CSequencer& s) { return s.m_strMessageText; }
    static QString& TraceFlags(CSequencer& s) { return s.m_strTraceFlags; }
    static bool& SendPowerOn() { return CSequencer::s_bSendPowerOn; }
    static int& PowerOnTries() { return CSequencer::s_nPowerOnTries; }

    // --- the panel --------------------------------------------------------
    static CSequencer& Sequencer(CTessolyDlg& d) { return d.m_Sequencer; }
    static int& State(CTessolyDlg& d) { return State(d.m_Sequencer); }
    static int& Count(CTessolyDlg& d) { return Count(d.m_Sequencer); }
    static bool& PoweredOn(CTessolyDlg& d) { return PoweredOn(d.m_Sequencer); }
    static bool& TraceReportsOn(CTessolyDlg& d) { return TraceReportsOn(d.m_Sequencer); }
    static QString& LastNumber(CTessolyDlg& d) { return LastNumber(d.m_Sequencer); }
    static QString& IdleStatus(CTessolyDlg& d) { return IdleStatus(d.m_Sequencer); }
    static QString& MessageText(CTessolyDlg& d) { return MessageText(d.m_Sequencer); }
    static QString& TraceFlags(CTessolyDlg& d) { return TraceFlags(d.m_Sequencer); }
    static int& MaxPowerDbm(CTessolyDlg& d) { return d.m_nMaxPowerDbm; }
    static bool& RxQualReported(CTessolyDlg& d) { return d.m_bRxQualReported; }
    static QString& LockChannel(CTessolyDlg& d) { return d.m_strLockChannel; }
    static CLibraryDlg& Library(CTessolyDlg& d) { return d.m_dlgLibrary; }
    static CDataContent& DataContent(CTessolyDlg& d) { return d.m_dlgDataContent; }
    static CTraceReport& Record(CTessolyDlg& d) { return d.m_TraceReport; }
    static CGsmtapSender* Gsmtap(CTessolyDlg& d) { return d.m_pGsmtap; }
    static PortSettings& DataPortSettings(CTessolyDlg& d) { return d.m_DataPortSettings; }
    static PortSettings& TracePortSettings(CTessolyDlg& d) { return d.m_TracePortSettings; }

    // --- the report record ------------------------------------------------
    static int (&ScanCollect(CTraceReport& r))[SCAN_CHANNELS] { return r.m_nScanCollect; }
    static bool ScanStarted(const CTraceReport& r) { return r.m_bScanStarted; }
    static const QString& ReportName(const CTraceReport& r, int i) { return r.m_strReportName[i]; }
    static int& Neighbours(CTraceReport& r) { return r.m_nNeighbours; }
    static TrIdleModeRpt& IdleMode(CTraceReport& r) { return r.m_IdleMode; }
    static TrBcchReport& Bcch(CTraceReport& r) { return r.m_Bcch; }
};
