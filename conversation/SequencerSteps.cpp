// SPDX-License-Identifier: GPL-3.0-or-later
// The sequencer: the numbered steps that walk the module through power-on,
// identification, SIM, registration, phone book, calls and messages.
#include "conversation/Sequencer.h"

#include <utility>

#include "conversation/ModuleWriter.h"
#include "conversation/SequencerView.h"
#include "measure/MeasureEvent.h"
#include "protocol/AtCommands.h"
#include "protocol/TraceCommands.h"
#include "protocol/TraceReports.h"

namespace {
// Report kinds emptied when the displays are cleared and when a call is set up.
const int kClearDisplayReports[] = {REPORT_BCCH, REPORT_FULL_IDLE, REPORT_IDLE_MODE,
                                    REPORT_CELL_ID};
const int kEstablishCallReports[] = {REPORT_FULL_DED, REPORT_DEDICATED};

// Probes per power-on command before it is renewed.
const int kProbesPerPowerOn = 10;
const int kRegPolls = 10;
} // namespace

void CSequencer::RunStep(int nStep)
{
    // A null function: the step only records the state.
    static const SDispatchRow<void (CSequencer::*)()> kSteps[] = {
        {STEP_POWER_OFF_DONE, &CSequencer::StepPowerOffDone},
        {STEP_POWER_OFF, &CSequencer::StepPowerOff},
        {STEP_POWER_ON_PROBE, &CSequencer::PowerOnProbe},
        {STEP_POWERED_ON, &CSequencer::StepPoweredOn},
        {STEP_READ_IMSI, &CSequencer::StepReadImsi},
        {STEP_CLEAR_DISPLAY, &CSequencer::StepClearDisplay},
        {STEP_READ_IMEI, &CSequencer::StepReadImei},
        {STEP_IMEI_ECHO, nullptr},
        {STEP_IMSI_ECHO, nullptr},
        {STEP_LIBRARY_ENTRIES, nullptr},
        {STEP_CALLER_ID, nullptr},
        {STEP_ANSWERING, nullptr},
        {STEP_READ_SIM_STATE, &CSequencer::StepReadSimState},
        {STEP_SET_TEXT_MODE, &CSequencer::StepSetTextMode},
        {STEP_SEARCHING, &CSequencer::StepSearching},
        {STEP_READ_OPERATOR, &CSequencer::StepReadOperator},
        {STEP_FILL_LIBRARY, &CSequencer::StepFillLibrary},
        {STEP_MESSAGE_SENT, &CSequencer::StepMessageSent},
        {STEP_MESSAGE_FAILED, &CSequencer::StepMessageFailed},
        {STEP_SENDING_MESSAGE, &CSequencer::StepSendingMessage},
        {STEP_ENTER_PIN, &CSequencer::StepEnterPin},
        {STEP_NO_COVERAGE, &CSequencer::StepNoCoverage},
        {STEP_SIM_READY, &CSequencer::StepSimReady},
        {STEP_RINGING, &CSequencer::StepRinging},
        {STEP_ESTABLISH_CALL, &CSequencer::StepEstablishCall},
        {STEP_IN_CALL, &CSequencer::StepInCall},
        {STEP_TERMINATE_CALL, &CSequencer::StepTerminateCall},
        {STEP_IDLE, &CSequencer::StepIdle},
        {STEP_BUSY, &CSequencer::StepBusy},
    };
    m_nState = nStep;
    if (!Dispatch(this, kSteps, nStep))
        StepUnknown();
}

void CSequencer::StepPowerOffDone()
{
    m_pView->WaitCursor();
    SendTrace(TRACE_POWER_OFF);
    m_pView->SetPowerButton(QStringLiteral("On"));
    m_pView->ShowStatus(QStringLiteral("Power Off"));
    m_pView->ResetCallType();
    if (m_bInCall)
        Event(EVENT_CALL_ENDED);
    if (m_bPoweredOn)
        Event(EVENT_POWER_OFF);
    m_bPoweredOn = false;
    m_bRegistered = false;
    m_bInCall = false;
    m_pView->ShowImei(QString());
    m_pView->ShowImsi(QString());
    m_pView->ClearBsLock();
    m_pView->ShowNumber(QString());
    m_pView->EnableNumber(false);
    m_pView->ClearServingCell();
    m_pView->ArrowCursor();
    RunStep(STEP_CLEAR_DISPLAY);
}

void CSequencer::StepPowerOff()
{
    m_pView->WaitCursor();
    // Nothing may poll or ring into a module that is being switched off.
    StopPolling();
    SendTrace(TRACE_POWER_OFF_PREPARE);
    SetTimer(TIMER_POWER_OFF, m_nPowerOffDelay);
}

void CSequencer::StepPoweredOn()
{
    KillTimer(TIMER_PROBE);
    OnClr();
    m_pView->SetPowerButton(QStringLiteral("Off"));
    m_pView->ShowStatus(QStringLiteral("Power On"));
    if (m_pView->IsResetOnStart())
        ResetMobile();
    SendTrace(TRACE_SETUP_CHANNELS);
    SendTrace(TRACE_SETUP_BAND);
    SendTrace(TRACE_SETUP_BAND_ZERO);
    SendTrace(TRACE_SETUP_MODE);
    SendData(AT_IDENTIFY);
    m_bPoweredOn = true;
    m_nCount = 0;
    m_bSendPowerOn = true;
    Event(EVENT_POWER_ON);
}

void CSequencer::StepReadImsi()
{
    KillTimer(TIMER_REG_POLL);
    SendData(AT_READ_IMSI);
    m_nCount = 0;
}

void CSequencer::StepClearDisplay()
{
    m_pView->ClearMeters();
    for (int kind : kClearDisplayReports)
        m_pView->ClearReport(kind);
}

void CSequencer::StepReadImei()
{
    SendData(AT_READ_IMEI);
}

void CSequencer::StepReadSimState()
{
    SendData(AT_READ_SIM_STATE);
}

void CSequencer::StepSetTextMode()
{
    SendData(AT_TEXT_MODE);
}

void CSequencer::StepSearching()
{
    m_pView->ShowStatus(QStringLiteral("Searching"));
    m_pView->EnableNumber(false);
    m_pView->WaitCursor();
    if (m_nCount < kRegPolls) {
        SendData(AT_READ_REGISTRATION);
        SetTimer(TIMER_REG_POLL, m_nCount == 0 ? m_nFirstRegPoll : m_nRegPollInterval);
        ++m_nCount;
    } else {
        RunStep(STEP_NO_COVERAGE);
    }
}

void CSequencer::StepReadOperator()
{
    SendData(AT_READ_OPERATOR);
    m_nCount = 0;
}

void CSequencer::StepFillLibrary()
{
    m_pView->ShowStatus(QStringLiteral("Filling Library"));
    m_pView->ClearLibrary();
    m_pView->WaitCursor();
    SendData(AT_READ_PHONE_BOOK);
}

void CSequencer::StepMessageSent()
{
    m_pView->ShowStatus(QStringLiteral("Message sent successfully"));
    Event(EVENT_SMS_SENT, m_strLastNumber);
    m_pView->EnableNumber(true);
}

void CSequencer::StepMessageFailed()
{
    m_pView->ShowStatus(QStringLiteral("Message not delivered"));
    Event(EVENT_SMS_FAILED, m_strLastNumber);
    m_pView->EnableNumber(true);
}

void CSequencer::StepSendingMessage()
{
    m_pView->ShowStatus(QStringLiteral("Sending message"));
    m_pView->EnableNumber(false);
    m_pView->EnableCallMeters();
    // The text goes out once, at the first echo of this message's command.
    m_bMessageTextSent = false;
}

void CSequencer::StepEnterPin()
{
    m_pView->ShowStatus(QStringLiteral("Enter Pin"));
    m_pView->EnableNumber(true);
    m_pView->FocusNumber();
    m_pView->ArrowCursor();
}

void CSequencer::StepNoCoverage()
{
    m_pView->ShowStatus(QStringLiteral("No Coverage"));
    if (std::exchange(m_bRegistered, false))
        Event(EVENT_REGISTRATION_LOST);
    m_pView->ArrowCursor();
    SendData(AT_ATTENTION);
}

void CSequencer::StepSimReady()
{
    m_pView->ShowStatus(QStringLiteral("Searching"));
}

void CSequencer::StepRinging()
{
    if (m_nCount == 0) {
        m_pView->ShowStatus(QStringLiteral("Ringing"));
        SendData(AT_LIST_CALLS);
    }
    ++m_nCount;
    m_pView->Beep();
    KillTimer(TIMER_RING);
    SetTimer(TIMER_RING, m_nRingTimeout);
}

void CSequencer::StepEstablishCall()
{
    for (int kind : kEstablishCallReports)
        m_pView->ClearReport(kind);
    m_pView->ShowStatus(QStringLiteral("Establish call"));
    m_pView->EnableNumber(false);
    m_pView->EnableCallMeters();
}

void CSequencer::StepInCall()
{
    // A call that was taken ends the ringing: no ring time-out may
    // return the panel to idle in the middle of it.
    KillTimer(TIMER_RING);
    m_pView->ShowStatus(QStringLiteral("In call"));
    m_bInCall = true;
    Event(EVENT_CALL_CONNECTED);
    m_pView->FocusNumber();
}

void CSequencer::StepTerminateCall()
{
    m_pView->ShowStatus(QStringLiteral("Terminate call"));
    SendData(AT_HANG_UP);
    m_pView->ClearBsLock();
}

void CSequencer::StepIdle()
{
    m_pView->DisableCallMeters();
    if (std::exchange(m_bInCall, false))
        Event(EVENT_CALL_ENDED);
    m_pView->EnableNumber(true);
    m_pView->FocusNumber();
    m_pView->ArrowCursor();
    m_pView->ShowNumber(m_strLastNumber);
    m_nCount = 0;
    // Let the last status ("No Carrier", "Message Cancelled", ...) be seen
    // during the pause.
    m_pView->RepaintStatus();
    m_pView->Pause(m_nIdlePause);
    m_pView->ShowStatus(m_strIdleStatus);
}

void CSequencer::StepBusy()
{
    m_pView->ShowStatus(QStringLiteral("Busy"));
}

void CSequencer::StepUnknown()
{
    m_pView->ShowStatus(QStringLiteral("Unknown Status"));
}

void CSequencer::PowerOnProbe()
{
    const int nPort = m_pWriter->DataPortNumber();
    int nCode = 0;
    if (m_bSendPowerOn) {
        m_pView->WaitCursor();
        nCode = SendTrace(TRACE_POWER_ON);
        m_pView->Pause(m_nPowerOnWait);
        m_bSendPowerOn = false;
    }
    if (!m_pView->ReportError(1, nCode, false, "Connect Data Port", nPort)) {
        // The probe stops here and waits for the user.
        m_pView->ArrowCursor();
        return;
    }
    nCode = SendData(AT_ATTENTION);
    if (!m_pView->ReportError(1, nCode, true, "Send to Data Port", nPort))
        return;
    if (m_nPowerOnTries > 0) {
        if (m_nCount < kProbesPerPowerOn) {
            ++m_nCount;
        } else {
            --m_nPowerOnTries;
            m_bSendPowerOn = true;
            m_nCount = 0;
        }
        SetTimer(TIMER_PROBE, m_nProbeInterval);
    } else {
        m_pView->ReportError(1, 5, false, "Connect Data Port or Power Supply", nPort);
        m_bSendPowerOn = true;
        m_nCount = 0;
        m_nPowerOnTries = kPowerOnTries;
        m_pView->ArrowCursor();
    }
}
