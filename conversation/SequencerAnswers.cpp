// SPDX-License-Identifier: GPL-3.0-or-later
// The module's data-port lines: its echoes, results and unsolicited lines,
// looked at only for what the current state waits for.
#include "conversation/Sequencer.h"

#include <utility>

#include "conversation/ModuleWriter.h"
#include "conversation/SequencerView.h"
#include "measure/MeasureEvent.h"
#include "protocol/AtAnswers.h"
#include "protocol/AtCommands.h"

namespace {
bool Contains(const QString& line, const char* what)
{
    return line.contains(QLatin1String(what));
}

bool StartsWith(const QString& line, const char* what)
{
    return line.startsWith(QLatin1String(what));
}
} // namespace

void CSequencer::HandleDataLine(const QString& strLine)
{
    // A null function: no line is looked at in that state.
    static const SDispatchRow<void (CSequencer::*)(const QString&)> kAnswers[] = {
        {STEP_POWER_OFF_DONE, &CSequencer::AnswerPowerOffDone},
        {STEP_POWER_ON_PROBE, &CSequencer::AnswerPowerOnProbe},
        {STEP_POWERED_ON, &CSequencer::AnswerPoweredOn},
        {STEP_READ_IMSI, &CSequencer::AnswerReadImsi},
        {STEP_READ_IMEI, &CSequencer::AnswerReadImei},
        {STEP_IMEI_ECHO, &CSequencer::AnswerImeiEcho},
        {STEP_IMSI_ECHO, &CSequencer::AnswerImsiEcho},
        {STEP_READ_SIM_STATE, &CSequencer::AnswerReadSimState},
        {STEP_SET_TEXT_MODE, &CSequencer::AnswerSetTextMode},
        {STEP_SEARCHING, &CSequencer::AnswerSearching},
        {STEP_READ_OPERATOR, &CSequencer::AnswerReadOperator},
        {STEP_FILL_LIBRARY, &CSequencer::AnswerFillLibrary},
        {STEP_MESSAGE_SENT, &CSequencer::AnswerMessageResult},
        {STEP_MESSAGE_FAILED, &CSequencer::AnswerMessageResult},
        {STEP_SENDING_MESSAGE, &CSequencer::AnswerSendingMessage},
        {STEP_LIBRARY_ENTRIES, &CSequencer::AnswerLibraryEntries},
        {STEP_ENTER_PIN, &CSequencer::AnswerEnterPin},
        {STEP_NO_COVERAGE, nullptr},
        {STEP_SIM_READY, &CSequencer::AnswerSimReady},
        {STEP_RINGING, &CSequencer::AnswerRinging},
        {STEP_ESTABLISH_CALL, &CSequencer::AnswerEstablishCall},
        {STEP_CALLER_ID, &CSequencer::AnswerCallerId},
        {STEP_ANSWERING, &CSequencer::AnswerAnswering},
        {STEP_IN_CALL, &CSequencer::AnswerInCall},
        {STEP_TERMINATE_CALL, &CSequencer::AnswerTerminateCall},
        {STEP_IDLE, &CSequencer::AnswerIdle},
        {STEP_BUSY, &CSequencer::AnswerBusy},
    };
    if (!Dispatch(this, kAnswers, m_nState, strLine))
        AnswerUnexpected(strLine);
}

void CSequencer::AnswerPowerOffDone(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_POWER_ON_PROBE);
}

void CSequencer::AnswerPowerOnProbe(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_POWERED_ON);
}

void CSequencer::AnswerPoweredOn(const QString& strLine)
{
    // The echo is skipped, and so are short lines such as "OK".
    if (Contains(strLine, AT_IDENTIFY))
        return;
    if (strLine.size() > 2)
        RunStep(STEP_READ_IMEI);
}

void CSequencer::AnswerReadImsi(const QString& strLine)
{
    if (Contains(strLine, AT_CIMI_INFO)) {
        m_pView->ShowImsi(AtImsi(strLine));
        RunStep(STEP_READ_OPERATOR);
    } else if (Contains(strLine, AT_CIMI)) {
        RunStep(STEP_IMSI_ECHO);
    }
}

void CSequencer::AnswerReadImei(const QString& strLine)
{
    if (Contains(strLine, AT_CGSN))
        RunStep(STEP_IMEI_ECHO);
}

void CSequencer::AnswerImeiEcho(const QString& strLine)
{
    if (!Contains(strLine, AT_OK)) {
        m_pView->ShowImei(strLine);
        RunStep(STEP_READ_SIM_STATE);
    }
}

void CSequencer::AnswerImsiEcho(const QString& strLine)
{
    // After the echo the IMSI comes alone on its line; a module that
    // prefixes it with "+CIMI:" gets the digits shown, not the prefix.
    m_pView->ShowImsi(Contains(strLine, AT_CIMI_INFO) ? AtImsi(strLine) : strLine);
    RunStep(STEP_READ_OPERATOR);
}

void CSequencer::AnswerReadSimState(const QString& strLine)
{
    if (Contains(strLine, AT_ERROR)) {
        SendTraceFlags();
        RunStep(STEP_SEARCHING);
    } else if (Contains(strLine, AT_SIM_READY)) {
        RunStep(STEP_SIM_READY);
    } else if (Contains(strLine, AT_SIM_PIN)) {
        RunStep(STEP_ENTER_PIN);
    } else if (Contains(strLine, AT_SIM_PUK)) {
        m_pView->ReportError(1, 1, false, "PUK is needed!", 0);
        // Nothing runs until the user acts.
        m_pView->ArrowCursor();
    }
}

void CSequencer::AnswerSetTextMode(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_IDLE);
}

void CSequencer::AnswerSearching(const QString& strLine)
{
    if (Contains(strLine, AT_CREG_INFO)) {
        const SAtRegistration reg = AtRegistration(strLine);
        m_pView->ShowRegistration(reg.strStatus);
        if (reg.IsRegistered())
            RunStep(STEP_READ_IMSI);
        else if (std::exchange(m_bRegistered, false))
            Event(EVENT_REGISTRATION_LOST);
    }
}

void CSequencer::AnswerReadOperator(const QString& strLine)
{
    if (Contains(strLine, AT_COPS_INFO)) {
        m_strIdleStatus = AtOperator(strLine);
        if (m_strIdleStatus.isEmpty()) {
            m_strIdleStatus = QStringLiteral("No Operator");
            RunStep(STEP_NO_COVERAGE);
        } else {
            m_bRegistered = true;
            Event(EVENT_REGISTERED, m_strIdleStatus);
            RunStep(STEP_FILL_LIBRARY);
        }
    }
}

void CSequencer::AnswerFillLibrary(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_LIBRARY_ENTRIES);
}

void CSequencer::AnswerMessageResult(const QString&)
{
    RunStep(STEP_IDLE);
}

void CSequencer::AnswerSendingMessage(const QString& strLine)
{
    if (Contains(strLine, AT_SEND_MESSAGE) && !m_bMessageTextSent) {
        // The text goes out once per message, ended by Ctrl-Z; control
        // characters never leave with it.
        m_bMessageTextSent = true;
        const QByteArray text = AtMessageText(m_strMessageText).toLatin1();
        SendData(text.constData(), AT_END_OF_TEXT, nullptr);
    }
    if (Contains(strLine, AT_CMGS_INFO))
        RunStep(STEP_MESSAGE_SENT);
    else if (Contains(strLine, AT_MESSAGE_ERROR))
        RunStep(STEP_MESSAGE_FAILED);
}

void CSequencer::AnswerLibraryEntries(const QString& strLine)
{
    if (Contains(strLine, AT_OK)) {
        RunStep(STEP_SET_TEXT_MODE);
    } else if (StartsWith(strLine, AtName(AT_CPBF))) {
        const SAtPhoneBookEntry e = AtPhoneBookEntry(strLine);
        m_pView->AddLibraryEntry(e.nIndex, e.strName, e.strNumber);
    }
}

void CSequencer::AnswerEnterPin(const QString& strLine)
{
    if (!Contains(strLine, AT_OK))
        m_pView->ReportError(1, 5, false, "Enter Pin", 0);
}

void CSequencer::AnswerSimReady(const QString& strLine)
{
    if (Contains(strLine, AT_ERROR)) {
        OnClr();
        RunStep(STEP_ENTER_PIN);
    } else if (Contains(strLine, AT_OK)) {
        OnClr();
        SendTraceFlags();
        RunStep(STEP_SEARCHING);
    }
}

void CSequencer::AnswerRinging(const QString& strLine)
{
    if (Contains(strLine, AT_CLCC))
        RunStep(STEP_CALLER_ID);
    if (Contains(strLine, AT_RING))
        RunStep(STEP_RINGING);
}

void CSequencer::AnswerEstablishCall(const QString& strLine)
{
    if (StartsWith(strLine, AT_NO_CARRIER)) {
        m_pView->ShowStatus(QStringLiteral("No Carrier"));
        RunStep(STEP_IDLE);
    } else if (StartsWith(strLine, AT_NO_DIALTONE)) {
        m_pView->ShowStatus(QStringLiteral("No Dial Tone"));
        RunStep(STEP_IDLE);
    } else if (StartsWith(strLine, AT_ERROR)) {
        RunStep(STEP_IDLE);
    } else if (StartsWith(strLine, AT_BUSY)) {
        RunStep(STEP_BUSY);
    }
}

void CSequencer::AnswerCallerId(const QString& strLine)
{
    if (Contains(strLine, AT_CLCC)) {
        const QString caller = AtCallerNumber(strLine);
        const QString shown = caller.isEmpty() ? QStringLiteral("Anonym") : caller;
        m_pView->ShowCaller(shown);
        if (!std::exchange(m_bInCall, true))
            Event(EVENT_CALL_INCOMING, shown);
    } else if (Contains(strLine, AT_ANSWER)) {
        RunStep(STEP_ANSWERING);
    } else if (Contains(strLine, AT_RING)) {
        RunStep(STEP_RINGING);
    }
}

void CSequencer::AnswerAnswering(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_IN_CALL);
}

void CSequencer::AnswerInCall(const QString& strLine)
{
    if (StartsWith(strLine, AT_NO_CARRIER))
        RunStep(STEP_IDLE);
}

void CSequencer::AnswerTerminateCall(const QString& strLine)
{
    if (StartsWith(strLine, AT_NO_CARRIER) || Contains(strLine, AT_OK))
        RunStep(STEP_IDLE);
}

void CSequencer::AnswerIdle(const QString& strLine)
{
    if (Contains(strLine, AT_RING))
        RunStep(STEP_RINGING);
}

void CSequencer::AnswerBusy(const QString&)
{
    m_pView->ShowStatus(QStringLiteral("Busy"));
}

void CSequencer::AnswerUnexpected(const QString&)
{
    // Power-off, cleared displays, unknown: no line is expected here.
    RunStep(STEP_UNKNOWN);
}
