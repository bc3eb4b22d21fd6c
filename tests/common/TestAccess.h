// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' way into the private state of the module's conversation, the
// panel and the report record: the set-up of states the wire alone reaches
// only slowly, and the checks of state nothing shows.
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
    static bool& SendPowerOn(CSequencer& s) { return s.m_bSendPowerOn; }
    static int& PowerOnTries(CSequencer& s) { return s.m_nPowerOnTries; }

    // --- the panel ----------------------------------------------------------
    // Templates, so that the tests of the lower floors need not include the
    // panel: P is CTessolyDlg wherever these are used.
    template <class P> static CSequencer& Sequencer(P& d) { return d.m_Sequencer; }
    template <class P> static int& State(P& d) { return State(d.m_Sequencer); }
    template <class P> static int& Count(P& d) { return Count(d.m_Sequencer); }
    template <class P> static bool& SendPowerOn(P& d) { return SendPowerOn(d.m_Sequencer); }
    template <class P> static int& PowerOnTries(P& d) { return PowerOnTries(d.m_Sequencer); }
    template <class P> static bool& PoweredOn(P& d) { return PoweredOn(d.m_Sequencer); }
    template <class P> static bool& TraceReportsOn(P& d) { return TraceReportsOn(d.m_Sequencer); }
    template <class P> static QString& LastNumber(P& d) { return LastNumber(d.m_Sequencer); }
    template <class P> static QString& IdleStatus(P& d) { return IdleStatus(d.m_Sequencer); }
    template <class P> static QString& MessageText(P& d) { return MessageText(d.m_Sequencer); }
    template <class P> static QString& TraceFlags(P& d) { return TraceFlags(d.m_Sequencer); }
    template <class P> static int& MaxPowerDbm(P& d) { return d.m_nMaxPowerDbm; }
    template <class P> static bool& RxQualReported(P& d) { return d.m_bRxQualReported; }
    template <class P> static QString& LockChannel(P& d) { return d.m_strLockChannel; }
    template <class P> static auto& Library(P& d) { return d.m_dlgLibrary; }
    template <class P> static auto& DataContent(P& d) { return d.m_dlgDataContent; }
    template <class P> static CTraceReport& Record(P& d) { return d.m_TraceReport; }
    template <class P> static auto Gsmtap(P& d) { return d.m_pGsmtap; }
    template <class P> static auto& DataPortSettings(P& d) { return d.m_DataPortSettings; }
    template <class P> static auto& TracePortSettings(P& d) { return d.m_TracePortSettings; }

    // --- the report record ------------------------------------------------
    static int (&ScanCollect(CTraceReport& r))[SCAN_CHANNELS] { return r.m_nScanCollect; }
    static bool ScanStarted(const CTraceReport& r) { return r.m_bScanStarted; }
    static const QString& ReportName(const CTraceReport& r, int i) { return r.m_strReportName[i]; }
    static int& Neighbours(CTraceReport& r) { return r.m_nNeighbours; }
    static TrIdleModeRpt& IdleMode(CTraceReport& r) { return r.m_IdleMode; }
    static TrBcchReport& Bcch(CTraceReport& r) { return r.m_Bcch; }
};
