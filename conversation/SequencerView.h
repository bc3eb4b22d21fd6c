// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the module's conversation shows on the front panel, and what it asks
// of the user and of the settings. The panel implements it on its form;
// tests record the calls.
class CSequencerView
{
public:
    virtual ~CSequencerView() = default;

    // --- the form ---------------------------------------------------------
    virtual void ShowStatus(const QString& strText) = 0;
    // Paints the status line at once, so that it is seen during a pause.
    virtual void RepaintStatus() = 0;
    virtual void SetPowerButton(const QString& strCaption) = 0;
    virtual void ShowImei(const QString& strImei) = 0;
    virtual void ShowImsi(const QString& strImsi) = 0;
    // The registration status, shown in the LAC field.
    virtual void ShowRegistration(const QString& strStatus) = 0;
    // The entry field: a number (kept to the characters the state allows),
    // or the caller as the module gave it (kept as it is).
    virtual void ShowNumber(const QString& strNumber) = 0;
    virtual void ShowCaller(const QString& strCaller) = 0;
    virtual void EnableNumber(bool bEnable) = 0;
    virtual void FocusNumber() = 0;
    // The call type back to its first item, "Voice".
    virtual void ResetCallType() = 0;
    // MCC, MNC, LAC, CI, BCCH, BSIC, min RX and diff RX emptied.
    virtual void ClearServingCell() = 0;
    // The BS Lock box unchecked and its channel emptied, without commands to
    // the module and without telling the frame.
    virtual void ClearBsLock() = 0;
    // RX Lev, RX Qual, Time Slot, Timing Advance, Output Power and their
    // bars, the neighbour rows and the traffic channels emptied.
    virtual void ClearMeters() = 0;
    // Timing Advance and Output Power, texts and bars, enabled for a call or
    // a message; disabled afterwards: the texts disabled, the bars at 0.
    virtual void EnableCallMeters() = 0;
    virtual void DisableCallMeters() = 0;
    // The report record forgets the values of one report kind.
    virtual void ClearReport(int nReport) = 0;
    // The number library.
    virtual void ClearLibrary() = 0;
    virtual void AddLibraryEntry(int nIndex, const QString& strName, const QString& strNumber) = 0;

    // --- the user ---------------------------------------------------------
    virtual void WaitCursor() = 0;
    virtual void ArrowCursor() = 0;
    virtual void Beep() = 0;
    // The user-interface thread waits; lines that arrive meanwhile wait in
    // their channel.
    virtual void Pause(int nMs) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool Confirm(const QString& strQuestion) = 0;
    // The panel's error report: nothing for code 0 (true); otherwise a
    // message box (false), and a fatal one ends the program.
    virtual bool ReportError(int nKind, int nCode, bool bFatal, const char* pszText, int nPort) = 0;

    // --- the settings -------------------------------------------------------
    virtual bool IsResetOnStart() const = 0;
    // The report-flag word, hexadecimal; empty for the module's default reports.
    virtual QString TraceFlags() const = 0;
};
