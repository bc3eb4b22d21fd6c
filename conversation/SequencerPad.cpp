// SPDX-License-Identifier: GPL-3.0-or-later
// What the phone pad's keys do in each state: power, yes, no, clr and the
// digit keys.
#include "conversation/Sequencer.h"

#include "conversation/ModuleWriter.h"
#include "conversation/SequencerView.h"
#include "measure/MeasureEvent.h"
#include "protocol/AtCommands.h"
#include "protocol/TraceCommands.h"

namespace {
const int kPinLength = 4;
} // namespace

void CSequencer::OnPower()
{
    m_pView->WaitCursor();
    if (!m_bPoweredOn) {
        RunStep(STEP_POWER_ON_PROBE);
        m_strIdleStatus.clear();
    } else if (m_pView->Confirm(QStringLiteral("Do you want to set power off?"))) {
        RunStep(STEP_POWER_OFF);
    } else {
        // Nothing runs: the wait cursor must not stay.
        m_pView->ArrowCursor();
    }
    m_pView->FocusNumber();
}

void CSequencer::OnYes(const QString& strNumber, const QString& strType)
{
    const QByteArray number = strNumber.toLatin1();
    switch (m_nState) {
    case STEP_ENTER_PIN:
        if (strNumber.size() == kPinLength) {
            RunStep(STEP_SIM_READY);
            const int r = SendData(AT_ENTER_PIN, number.constData());
            if (r != 0)
                m_pView->ReportError(1, r, false, "Send Pin", m_pWriter->DataPortNumber());
        }
        break;
    case STEP_NO_COVERAGE:
        m_nCount = 0;
        RunStep(STEP_SEARCHING);
        break;
    case STEP_RINGING:
    case STEP_CALLER_ID:
        KillTimer(TIMER_RING);
        SendTrace(TRACE_ANSWER);
        RunStep(STEP_IN_CALL);
        break;
    case STEP_IDLE:
        if (strType.contains(QLatin1String("Voice"))) {
            if (!strNumber.isEmpty()) {
                SendTrace(TRACE_DIAL);
                SendTrace(number.constData(), TRACE_CR);
                m_bInCall = true;
                Event(EVENT_CALL_DIALLED, strNumber);
                RunStep(STEP_ESTABLISH_CALL);
            }
        } else if (strType.contains(QLatin1String("SMS"))) {
            if (!strNumber.isEmpty())
                SendData(AT_SEND_MESSAGE_TO, number.constData(), AT_QUOTE);
            RunStep(STEP_SENDING_MESSAGE);
        } else {
            if (!strNumber.isEmpty())
                SendData(AT_DIAL, number.constData(), "");
            m_bInCall = true;
            Event(EVENT_CALL_DIALLED, strNumber);
            RunStep(STEP_ESTABLISH_CALL);
        }
        m_strLastNumber = strNumber;
        break;
    default:
        break;
    }
}

void CSequencer::OnNo(const QString& strNumber)
{
    switch (m_nState) {
    case STEP_MESSAGE_SENT:
    case STEP_MESSAGE_FAILED:
    case STEP_TERMINATE_CALL:
        RunStep(STEP_IDLE);
        break;
    case STEP_SENDING_MESSAGE:
    case STEP_ANSWERING:
        SendData(AT_ESCAPE);
        m_pView->ShowStatus(QStringLiteral("Message Cancelled"));
        RunStep(STEP_IDLE);
        break;
    case STEP_ENTER_PIN:
    case STEP_IDLE:
        // "no" erases the last character.
        if (!strNumber.isEmpty())
            m_pView->ShowNumber(strNumber.chopped(1));
        if (m_nState == STEP_IDLE)
            m_pView->ShowStatus(m_strIdleStatus);
        break;
    case STEP_RINGING:
    case STEP_CALLER_ID:
        // A rejected call stops ringing: its time-out must not run the
        // return to idle later, in the middle of whatever comes next.
        KillTimer(TIMER_RING);
        RunStep(STEP_TERMINATE_CALL);
        break;
    case STEP_ESTABLISH_CALL:
    case STEP_IN_CALL:
    case STEP_BUSY:
        RunStep(STEP_TERMINATE_CALL);
        break;
    default:
        break;
    }
}

void CSequencer::OnClr()
{
    m_pView->ShowNumber(QString());
    m_pView->ShowStatus(m_strIdleStatus);
    m_pView->FocusNumber();
}

bool CSequencer::OnKey(const char* pszKey)
{
    if (m_nState == STEP_IN_CALL) {
        SendData(AT_DIAL, pszKey);
        return false;
    }
    return m_nState == STEP_IDLE || m_nState == STEP_ENTER_PIN;
}

QString CSequencer::NumberCharacters() const
{
    switch (m_nState) {
    case STEP_ENTER_PIN:
        return QStringLiteral("0123456789");
    case STEP_IDLE:
    case STEP_CALLER_ID:
    case STEP_POWER_OFF_DONE:
        return QStringLiteral("0123456789+#*");
    default:
        return QString();
    }
}
