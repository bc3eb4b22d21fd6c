// The sequencer: the numbered steps that walk the module through power-on,
// identification, SIM, registration, phone book, calls and messages, and
// the four timers that re-run them.
#include "control/TessolyDlg.h"

#include "protocol/AtCommands.h"
#include "protocol/TraceCommands.h"

#include <QComboBox>
#include <QListWidget>

#include "control/FrameHost.h"
#include "platform/UiServices.h"

namespace {
// Report kinds emptied when the displays are cleared and when a call is set up.
const int kClearDisplayReports[] = {REPORT_BCCH, REPORT_FULL_IDLE, REPORT_IDLE_MODE,
                                    REPORT_CELL_ID};
const int kEstablishCallReports[] = {REPORT_FULL_DED, REPORT_DEDICATED};

// Serving-cell fields emptied at power-off.
const int kServingCellIds[] = {IDC_MCC, IDC_LAC, IDC_CI, IDC_BCCH, IDC_BSIC, IDC_MINRX, IDC_DIFFRX};

// Probes per power-on command before it is renewed, and renewals per attempt.
const int kProbesPerPowerOn = 10;
const int kPowerOnTries = 5;
const int kRegPolls = 10;
} // namespace

void CTessolyDlg::RunStep(int nStep)
{
    // A null function: the step only records the state.
    static const SRow<void (CTessolyDlg::*)()> kSteps[] = {
        {STEP_POWER_OFF_DONE, &CTessolyDlg::StepPowerOffDone},
        {STEP_POWER_OFF, &CTessolyDlg::StepPowerOff},
        {STEP_POWER_ON_PROBE, &CTessolyDlg::PowerOnProbe},
        {STEP_POWERED_ON, &CTessolyDlg::StepPoweredOn},
        {STEP_READ_IMSI, &CTessolyDlg::StepReadImsi},
        {STEP_CLEAR_DISPLAY, &CTessolyDlg::StepClearDisplay},
        {STEP_READ_IMEI, &CTessolyDlg::StepReadImei},
        {STEP_IMEI_ECHO, nullptr},
        {STEP_IMSI_ECHO, nullptr},
        {STEP_LIBRARY_ENTRIES, nullptr},
        {STEP_CALLER_ID, nullptr},
        {STEP_ANSWERING, nullptr},
        {STEP_READ_SIM_STATE, &CTessolyDlg::StepReadSimState},
        {STEP_SET_TEXT_MODE, &CTessolyDlg::StepSetTextMode},
        {STEP_SEARCHING, &CTessolyDlg::StepSearching},
        {STEP_READ_OPERATOR, &CTessolyDlg::StepReadOperator},
        {STEP_FILL_LIBRARY, &CTessolyDlg::StepFillLibrary},
        {STEP_MESSAGE_SENT, &CTessolyDlg::StepMessageSent},
        {STEP_MESSAGE_FAILED, &CTessolyDlg::StepMessageFailed},
        {STEP_SENDING_MESSAGE, &CTessolyDlg::StepSendingMessage},
        {STEP_ENTER_PIN, &CTessolyDlg::StepEnterPin},
        {STEP_NO_COVERAGE, &CTessolyDlg::StepNoCoverage},
        {STEP_SIM_READY, &CTessolyDlg::StepSimReady},
        {STEP_RINGING, &CTessolyDlg::StepRinging},
        {STEP_ESTABLISH_CALL, &CTessolyDlg::StepEstablishCall},
        {STEP_IN_CALL, &CTessolyDlg::StepInCall},
        {STEP_TERMINATE_CALL, &CTessolyDlg::StepTerminateCall},
        {STEP_IDLE, &CTessolyDlg::StepIdle},
        {STEP_BUSY, &CTessolyDlg::StepBusy},
    };
    m_nState = nStep;
    if (!Dispatch(kSteps, nStep))
        StepUnknown();
}

void CTessolyDlg::StepPowerOffDone()
{
    CUiServices::WaitCursor();
    SendTrace(TRACE_POWER_OFF);
    SetDlgItemText(IDC_POWER, QStringLiteral("On"));
    SetDlgItemText(IDC_STATUS, QStringLiteral("Power Off"));
    if (auto* cb = Item<QComboBox>(IDC_CALLTYPE)) {
        cb->setCurrentIndex(0);
        cb->setEditText(cb->itemText(0));
    }
    m_bPoweredOn = false;
    SetDlgItemText(IDC_IMEI, QString());
    SetDlgItemText(IDC_IMSI, QString());
    CheckDlgButton(IDC_BSLOCK, false);
    SetDlgItemText(IDC_MNC, QString());
    SetDlgItemText(IDC_NUMBER, QString());
    EnableDlgItem(IDC_NUMBER, false);
    for (int id : kServingCellIds)
        SetDlgItemText(id, QString());
    SetDlgItemText(IDC_BSLOCK_CHANNEL, QString());
    CUiServices::ArrowCursor();
    RunStep(STEP_CLEAR_DISPLAY);
}

void CTessolyDlg::StepPowerOff()
{
    CUiServices::WaitCursor();
    // Nothing may poll or ring into a module that is being switched off.
    KillTimer(TIMER_PROBE);
    KillTimer(TIMER_REG_POLL);
    KillTimer(TIMER_RING);
    SendTrace(TRACE_POWER_OFF_PREPARE);
    SetTimer(TIMER_POWER_OFF, m_nPowerOffDelay);
}

void CTessolyDlg::StepPoweredOn()
{
    KillTimer(TIMER_PROBE);
    OnClr();
    SetDlgItemText(IDC_POWER, QStringLiteral("Off"));
    SetDlgItemText(IDC_STATUS, QStringLiteral("Power On"));
    if (m_pFrame && m_pFrame->IsResetOnStart())
        ResetMobile();
    SendTrace(TRACE_SETUP_CHANNELS);
    SendTrace(TRACE_SETUP_BAND);
    SendTrace(TRACE_SETUP_BAND_ZERO);
    SendTrace(TRACE_SETUP_MODE);
    SendData(AT_IDENTIFY);
    m_bPoweredOn = true;
    m_nCount = 0;
    s_bSendPowerOn = true;
}

void CTessolyDlg::StepReadImsi()
{
    KillTimer(TIMER_REG_POLL);
    SendData(AT_READ_IMSI);
    m_nCount = 0;
}

void CTessolyDlg::StepClearDisplay()
{
    static const int meters[][2] = {{IDC_RXLEV, IDC_RXLEV_BAR},
                                    {IDC_RXQUAL, IDC_RXQUAL_BAR},
                                    {IDC_TIMESLOT, -1},
                                    {IDC_TIMINGADV, IDC_TIMINGADV_BAR},
                                    {IDC_OUTPOWER, IDC_OUTPOWER_BAR}};
    for (const auto& m : meters) {
        SetDlgItemText(m[0], QString());
        if (m[1] >= 0)
            SetBar(m[1], 0);
    }
    for (const auto& row : g_anNeighbourIds) {
        for (int i = 0; i < 3; ++i)
            SetDlgItemText(row[i], QString());
        SetBar(row[3], 0);
    }
    if (auto* list = Item<QListWidget>(IDC_TRAFFICCHANNELS))
        list->clear();
    for (int kind : kClearDisplayReports)
        m_TraceReport.ClearReport(kind);
}

void CTessolyDlg::StepReadImei()
{
    SendData(AT_READ_IMEI);
}

void CTessolyDlg::StepReadSimState()
{
    SendData(AT_READ_SIM_STATE);
}

void CTessolyDlg::StepSetTextMode()
{
    SendData(AT_TEXT_MODE);
}

void CTessolyDlg::StepSearching()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Searching"));
    EnableDlgItem(IDC_NUMBER, false);
    CUiServices::WaitCursor();
    if (m_nCount < kRegPolls) {
        SendData(AT_READ_REGISTRATION);
        SetTimer(TIMER_REG_POLL, m_nCount == 0 ? m_nFirstRegPoll : m_nRegPollInterval);
        ++m_nCount;
    } else {
        RunStep(STEP_NO_COVERAGE);
    }
}

void CTessolyDlg::StepReadOperator()
{
    SendData(AT_READ_OPERATOR);
    m_nCount = 0;
}

void CTessolyDlg::StepFillLibrary()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Filling Library"));
    m_dlgLibrary.RemoveAllEntries();
    CUiServices::WaitCursor();
    SendData(AT_READ_PHONE_BOOK);
}

void CTessolyDlg::StepMessageSent()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Message sent successfully"));
    EnableDlgItem(IDC_NUMBER, true);
}

void CTessolyDlg::StepMessageFailed()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Message not delivered"));
    EnableDlgItem(IDC_NUMBER, true);
}

void CTessolyDlg::StepSendingMessage()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Sending message"));
    EnableDlgItem(IDC_NUMBER, false);
    EnableCallMeters(true);
    // The text goes out once, at the first echo of this message's command.
    m_bMessageTextSent = false;
}

void CTessolyDlg::StepEnterPin()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Enter Pin"));
    EnableDlgItem(IDC_NUMBER, true);
    GotoDlgCtrl(IDC_NUMBER);
    CUiServices::ArrowCursor();
}

void CTessolyDlg::StepNoCoverage()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("No Coverage"));
    CUiServices::ArrowCursor();
    SendData(AT_ATTENTION);
}

void CTessolyDlg::StepSimReady()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Searching"));
}

void CTessolyDlg::StepRinging()
{
    if (m_nCount == 0) {
        SetDlgItemText(IDC_STATUS, QStringLiteral("Ringing"));
        SendData(AT_LIST_CALLS);
    }
    ++m_nCount;
    CUiServices::Beep();
    KillTimer(TIMER_RING);
    SetTimer(TIMER_RING, m_nRingTimeout);
}

void CTessolyDlg::StepEstablishCall()
{
    for (int kind : kEstablishCallReports)
        m_TraceReport.ClearReport(kind);
    SetDlgItemText(IDC_STATUS, QStringLiteral("Establish call"));
    EnableDlgItem(IDC_NUMBER, false);
    EnableCallMeters(true);
}

void CTessolyDlg::StepInCall()
{
    // A call that was taken ends the ringing: no ring time-out may
    // return the panel to idle in the middle of it.
    KillTimer(TIMER_RING);
    SetDlgItemText(IDC_STATUS, QStringLiteral("In call"));
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::StepTerminateCall()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Terminate call"));
    SendData(AT_HANG_UP);
    CheckDlgButton(IDC_BSLOCK, false);
    SetDlgItemText(IDC_BSLOCK_CHANNEL, QString());
}

void CTessolyDlg::StepIdle()
{
    EnableDlgItem(IDC_TIMINGADV, false);
    SetBar(IDC_TIMINGADV_BAR, 0);
    EnableDlgItem(IDC_OUTPOWER, false);
    SetBar(IDC_OUTPOWER_BAR, 0);
    EnableDlgItem(IDC_NUMBER, true);
    GotoDlgCtrl(IDC_NUMBER);
    CUiServices::ArrowCursor();
    SetDlgItemText(IDC_NUMBER, m_strLastNumber);
    m_nCount = 0;
    // Let the last status ("No Carrier", "Message Cancelled", ...) be seen
    // during the pause.
    if (QWidget* status = GetDlgItem(IDC_STATUS)) {
        if (status->isVisible())
            status->repaint();
    }
    CUiServices::Pause(m_nIdlePause);
    SetDlgItemText(IDC_STATUS, m_strIdleStatus);
}

void CTessolyDlg::StepBusy()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Busy"));
}

void CTessolyDlg::StepUnknown()
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Unknown Status"));
}

void CTessolyDlg::PowerOnProbe()
{
    int nCode = 0;
    if (s_bSendPowerOn) {
        CUiServices::WaitCursor();
        nCode = SendTrace(TRACE_POWER_ON);
        CUiServices::Pause(m_nPowerOnWait);
        s_bSendPowerOn = false;
    }
    if (!ReportError(1, nCode, false, "Connect Data Port", m_DataPortSettings.nPort)) {
        // The probe stops here and waits for the user.
        CUiServices::ArrowCursor();
        return;
    }
    nCode = SendData(AT_ATTENTION);
    if (!ReportError(1, nCode, true, "Send to Data Port", m_DataPortSettings.nPort))
        return;
    if (s_nPowerOnTries > 0) {
        if (m_nCount < kProbesPerPowerOn) {
            ++m_nCount;
        } else {
            --s_nPowerOnTries;
            s_bSendPowerOn = true;
            m_nCount = 0;
        }
        SetTimer(TIMER_PROBE, m_nProbeInterval);
    } else {
        ReportError(1, 5, false, "Connect Data Port or Power Supply", m_DataPortSettings.nPort);
        s_bSendPowerOn = true;
        m_nCount = 0;
        s_nPowerOnTries = kPowerOnTries;
        CUiServices::ArrowCursor();
    }
}

void CTessolyDlg::EnableCallMeters(bool bEnable)
{
    EnableDlgItem(IDC_TIMINGADV, bEnable);
    EnableDlgItem(IDC_TIMINGADV_BAR, bEnable);
    EnableDlgItem(IDC_OUTPOWER, bEnable);
    EnableDlgItem(IDC_OUTPOWER_BAR, bEnable);
}

void CTessolyDlg::OnTimer(int nId)
{
    switch (nId) {
    case TIMER_POWER_OFF:
        RunStep(STEP_POWER_OFF_DONE);
        break;
    case TIMER_PROBE:
        RunStep(STEP_POWER_ON_PROBE);
        break;
    case TIMER_REG_POLL:
        RunStep(STEP_SEARCHING);
        break;
    case TIMER_RING:
        RunStep(STEP_IDLE);
        break;
    default:
        break;
    }
}
