// SPDX-License-Identifier: GPL-3.0-or-later
// The module's conversation as a whole: start, restart and switch-off, the
// report flags, the timers.
#include "conversation/Sequencer.h"

#include <QTimerEvent>

#include "conversation/ModuleWriter.h"
#include "conversation/SequencerView.h"
#include "measure/EventSink.h"
#include "measure/MeasureEvent.h"
#include "protocol/AtCommands.h"
#include "protocol/TraceCommands.h"
#include "protocol/TraceReports.h"

namespace {
// Report kinds forgotten when the report flags go out.
const int kTraceFlagsReports[] = {REPORT_BCCH, REPORT_FULL_IDLE, REPORT_CELL_ID, REPORT_IDLE_MODE};
} // namespace

CSequencer::CSequencer(CSequencerView* pView, CModuleWriter* pWriter, QObject* pParent)
    : QObject(pParent), m_pView(pView), m_pWriter(pWriter)
{
}

CSequencer::~CSequencer()
{
    StopTimers();
}

void CSequencer::Event(int nEvent, const QString& strText)
{
    if (m_pEvents)
        m_pEvents->OnEvent(nEvent, strText);
}

int CSequencer::SendData(const char* pszCommand, const char* pszArgument, const char* pszSuffix)
{
    return m_pWriter->SendData(pszCommand, pszArgument, pszSuffix);
}

int CSequencer::SendTrace(const char* pszCommand, const char* pszArgument, const char* pszSuffix)
{
    return m_pWriter->SendTrace(pszCommand, pszArgument, pszSuffix);
}

void CSequencer::Start(bool bPowerOn)
{
    if (bPowerOn)
        OnPower();
    else
        SendData(AT_ATTENTION);
}

void CSequencer::Restart(bool bPowerOn)
{
    KillTimer(TIMER_POWER_OFF);
    const bool bOn = m_bPoweredOn || bPowerOn;
    m_bPoweredOn = false;
    Start(bOn);
}

void CSequencer::SwitchOffAtClose()
{
    if (!m_bPoweredOn)
        return;
    SendTrace(TRACE_POWER_OFF_PREPARE);
    m_pView->Pause(m_nPowerOffDelay);
    SendTrace(TRACE_POWER_OFF);
    Event(EVENT_POWER_OFF);
}

void CSequencer::SendTraceFlags()
{
    RunStep(STEP_CLEAR_DISPLAY);
    RunStep(STEP_IDLE);
    m_strTraceFlags = m_pView->TraceFlags();
    m_bTraceReportsOn = true;
    for (int kind : kTraceFlagsReports)
        m_pView->ClearReport(kind);
    if (!m_strTraceFlags.isEmpty()) {
        SendTrace(TRACE_FLAGS);
        const QByteArray flags = m_strTraceFlags.toLatin1();
        SendTrace(flags.constData(), TRACE_CR);
    } else {
        SendTrace(TRACE_DEFAULT_REPORTS);
    }
}

void CSequencer::Reset()
{
    StopTimers();
    m_bRegistered = false;
    m_bInCall = false;
    m_nState = STEP_POWER_OFF_DONE;
    m_nCount = 0;
    m_bPoweredOn = false;
    m_bTraceReportsOn = false;
    m_strLastNumber.clear();
    m_strIdleStatus.clear();
    m_strTraceFlags.clear();
    m_bMessageTextSent = false;
    m_bSendPowerOn = true;
    m_nPowerOnTries = kPowerOnTries;
}

void CSequencer::ResetMobile()
{
    SendTrace(TRACE_RESET);
    m_pView->FocusNumber();
}

bool CSequencer::HoldsDataCommands() const
{
    return m_nState == STEP_LIBRARY_ENTRIES || m_nState == STEP_ESTABLISH_CALL;
}

void CSequencer::SetTimer(int nId, int nMs)
{
    if (nId >= 0 && nId < TIMER_COUNT)
        m_timers[nId].start(nMs, this);
}

void CSequencer::KillTimer(int nId)
{
    if (nId >= 0 && nId < TIMER_COUNT)
        m_timers[nId].stop();
}

bool CSequencer::IsTimerActive(int nId) const
{
    return nId >= 0 && nId < TIMER_COUNT && m_timers[nId].isActive();
}

void CSequencer::StopTimers()
{
    for (QBasicTimer& t : m_timers)
        t.stop();
}

void CSequencer::StopPolling()
{
    KillTimer(TIMER_PROBE);
    KillTimer(TIMER_REG_POLL);
    KillTimer(TIMER_RING);
}

void CSequencer::timerEvent(QTimerEvent* e)
{
    for (int id = 0; id < TIMER_COUNT; ++id) {
        if (m_timers[id].timerId() == e->timerId()) {
            m_timers[id].stop();
            OnTimer(id);
            return;
        }
    }
    QObject::timerEvent(e);
}

void CSequencer::OnTimer(int nId)
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
