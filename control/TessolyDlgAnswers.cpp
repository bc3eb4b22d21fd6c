// The panel's handling of data-port lines: the module's echoes, results and
// unsolicited lines, looked at only for what the current state waits for.
#include "control/TessolyDlg.h"

#include "platform/UiServices.h"
#include "protocol/AtAnswers.h"
#include "protocol/AtCommands.h"
#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"

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

void CTessolyDlg::OnDataLine()
{
    if (!m_pDataLines)
        return;
    const QString line = m_pDataLines->GetLine();
    if (m_pLog)
        m_pLog->Log(LOG_DATA, "D<, ", line);
    HandleDataLine(line);
    emit DataLineHandled(line);
}

void CTessolyDlg::HandleDataLine(const QString& strLine)
{
    // A null function: no line is looked at in that state.
    static const SRow<void (CTessolyDlg::*)(const QString&)> kAnswers[] = {
        {STEP_POWER_OFF_DONE, &CTessolyDlg::AnswerPowerOffDone},
        {STEP_POWER_ON_PROBE, &CTessolyDlg::AnswerPowerOnProbe},
        {STEP_POWERED_ON, &CTessolyDlg::AnswerPoweredOn},
        {STEP_READ_IMSI, &CTessolyDlg::AnswerReadImsi},
        {STEP_READ_IMEI, &CTessolyDlg::AnswerReadImei},
        {STEP_IMEI_ECHO, &CTessolyDlg::AnswerImeiEcho},
        {STEP_IMSI_ECHO, &CTessolyDlg::AnswerImsiEcho},
        {STEP_READ_SIM_STATE, &CTessolyDlg::AnswerReadSimState},
        {STEP_SET_TEXT_MODE, &CTessolyDlg::AnswerSetTextMode},
        {STEP_SEARCHING, &CTessolyDlg::AnswerSearching},
        {STEP_READ_OPERATOR, &CTessolyDlg::AnswerReadOperator},
        {STEP_FILL_LIBRARY, &CTessolyDlg::AnswerFillLibrary},
        {STEP_MESSAGE_SENT, &CTessolyDlg::AnswerMessageResult},
        {STEP_MESSAGE_FAILED, &CTessolyDlg::AnswerMessageResult},
        {STEP_SENDING_MESSAGE, &CTessolyDlg::AnswerSendingMessage},
        {STEP_LIBRARY_ENTRIES, &CTessolyDlg::AnswerLibraryEntries},
        {STEP_ENTER_PIN, &CTessolyDlg::AnswerEnterPin},
        {STEP_NO_COVERAGE, nullptr},
        {STEP_SIM_READY, &CTessolyDlg::AnswerSimReady},
        {STEP_RINGING, &CTessolyDlg::AnswerRinging},
        {STEP_ESTABLISH_CALL, &CTessolyDlg::AnswerEstablishCall},
        {STEP_CALLER_ID, &CTessolyDlg::AnswerCallerId},
        {STEP_ANSWERING, &CTessolyDlg::AnswerAnswering},
        {STEP_IN_CALL, &CTessolyDlg::AnswerInCall},
        {STEP_TERMINATE_CALL, &CTessolyDlg::AnswerTerminateCall},
        {STEP_IDLE, &CTessolyDlg::AnswerIdle},
        {STEP_BUSY, &CTessolyDlg::AnswerBusy},
    };
    if (!Dispatch(kAnswers, m_nState, strLine))
        AnswerUnexpected(strLine);
}

void CTessolyDlg::AnswerPowerOffDone(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_POWER_ON_PROBE);
}

void CTessolyDlg::AnswerPowerOnProbe(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_POWERED_ON);
}

void CTessolyDlg::AnswerPoweredOn(const QString& strLine)
{
    // The echo is skipped, and so are short lines such as "OK".
    if (Contains(strLine, AT_IDENTIFY))
        return;
    if (strLine.size() > 2)
        RunStep(STEP_READ_IMEI);
}

void CTessolyDlg::AnswerReadImsi(const QString& strLine)
{
    if (Contains(strLine, AT_CIMI_INFO)) {
        SetDlgItemText(IDC_IMSI, AtImsi(strLine));
        RunStep(STEP_READ_OPERATOR);
    } else if (Contains(strLine, AT_CIMI)) {
        RunStep(STEP_IMSI_ECHO);
    }
}

void CTessolyDlg::AnswerReadImei(const QString& strLine)
{
    if (Contains(strLine, AT_CGSN))
        RunStep(STEP_IMEI_ECHO);
}

void CTessolyDlg::AnswerImeiEcho(const QString& strLine)
{
    if (!Contains(strLine, AT_OK)) {
        SetDlgItemText(IDC_IMEI, strLine);
        RunStep(STEP_READ_SIM_STATE);
    }
}

void CTessolyDlg::AnswerImsiEcho(const QString& strLine)
{
    // After the echo the IMSI comes alone on its line; a module that
    // prefixes it with "+CIMI:" gets the digits shown, not the prefix.
    SetDlgItemText(IDC_IMSI, Contains(strLine, AT_CIMI_INFO) ? AtImsi(strLine) : strLine);
    RunStep(STEP_READ_OPERATOR);
}

void CTessolyDlg::AnswerReadSimState(const QString& strLine)
{
    if (Contains(strLine, AT_ERROR)) {
        SendTraceFlags();
        RunStep(STEP_SEARCHING);
    } else if (Contains(strLine, AT_SIM_READY)) {
        RunStep(STEP_SIM_READY);
    } else if (Contains(strLine, AT_SIM_PIN)) {
        RunStep(STEP_ENTER_PIN);
    } else if (Contains(strLine, AT_SIM_PUK)) {
        ReportError(1, 1, false, "PUK is needed!", 0);
        // Nothing runs until the user acts.
        CUiServices::ArrowCursor();
    }
}

void CTessolyDlg::AnswerSetTextMode(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_IDLE);
}

void CTessolyDlg::AnswerSearching(const QString& strLine)
{
    if (Contains(strLine, AT_CREG_INFO)) {
        const SAtRegistration reg = AtRegistration(strLine);
        SetDlgItemText(IDC_LAC, reg.strStatus);
        if (reg.IsRegistered())
            RunStep(STEP_READ_IMSI);
    }
}

void CTessolyDlg::AnswerReadOperator(const QString& strLine)
{
    if (Contains(strLine, AT_COPS_INFO)) {
        m_strIdleStatus = AtOperator(strLine);
        if (m_strIdleStatus.isEmpty()) {
            m_strIdleStatus = QStringLiteral("No Operator");
            RunStep(STEP_NO_COVERAGE);
        } else {
            RunStep(STEP_FILL_LIBRARY);
        }
    }
}

void CTessolyDlg::AnswerFillLibrary(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_LIBRARY_ENTRIES);
}

void CTessolyDlg::AnswerMessageResult(const QString&)
{
    RunStep(STEP_IDLE);
}

void CTessolyDlg::AnswerSendingMessage(const QString& strLine)
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

void CTessolyDlg::AnswerLibraryEntries(const QString& strLine)
{
    if (Contains(strLine, AT_OK)) {
        RunStep(STEP_SET_TEXT_MODE);
    } else if (StartsWith(strLine, AtName(AT_CPBF))) {
        const SAtPhoneBookEntry e = AtPhoneBookEntry(strLine);
        m_dlgLibrary.AddEntry(e.nIndex, e.strName, e.strNumber);
    }
}

void CTessolyDlg::AnswerEnterPin(const QString& strLine)
{
    if (!Contains(strLine, AT_OK))
        ReportError(1, 5, false, "Enter Pin", 0);
}

void CTessolyDlg::AnswerSimReady(const QString& strLine)
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

void CTessolyDlg::AnswerRinging(const QString& strLine)
{
    if (Contains(strLine, AT_CLCC))
        RunStep(STEP_CALLER_ID);
    if (Contains(strLine, AT_RING))
        RunStep(STEP_RINGING);
}

void CTessolyDlg::AnswerEstablishCall(const QString& strLine)
{
    if (StartsWith(strLine, AT_NO_CARRIER)) {
        SetDlgItemText(IDC_STATUS, QStringLiteral("No Carrier"));
        RunStep(STEP_IDLE);
    } else if (StartsWith(strLine, AT_NO_DIALTONE)) {
        SetDlgItemText(IDC_STATUS, QStringLiteral("No Dial Tone"));
        RunStep(STEP_IDLE);
    } else if (StartsWith(strLine, AT_ERROR)) {
        RunStep(STEP_IDLE);
    } else if (StartsWith(strLine, AT_BUSY)) {
        RunStep(STEP_BUSY);
    }
}

void CTessolyDlg::AnswerCallerId(const QString& strLine)
{
    if (Contains(strLine, AT_CLCC)) {
        QString caller = AtCallerNumber(strLine);
        if (caller.isEmpty())
            caller = QStringLiteral("Anonym");
        // The caller is shown as the module gave it: the number filter is
        // for what the user enters, and would wipe out "Anonym".
        const bool bWasInFilter = m_bInChangeNumber;
        m_bInChangeNumber = true;
        SetDlgItemText(IDC_NUMBER, caller);
        m_bInChangeNumber = bWasInFilter;
    } else if (Contains(strLine, AT_ANSWER)) {
        RunStep(STEP_ANSWERING);
    } else if (Contains(strLine, AT_RING)) {
        RunStep(STEP_RINGING);
    }
}

void CTessolyDlg::AnswerAnswering(const QString& strLine)
{
    if (Contains(strLine, AT_OK))
        RunStep(STEP_IN_CALL);
}

void CTessolyDlg::AnswerInCall(const QString& strLine)
{
    if (StartsWith(strLine, AT_NO_CARRIER))
        RunStep(STEP_IDLE);
}

void CTessolyDlg::AnswerTerminateCall(const QString& strLine)
{
    if (StartsWith(strLine, AT_NO_CARRIER) || Contains(strLine, AT_OK))
        RunStep(STEP_IDLE);
}

void CTessolyDlg::AnswerIdle(const QString& strLine)
{
    if (Contains(strLine, AT_RING))
        RunStep(STEP_RINGING);
}

void CTessolyDlg::AnswerBusy(const QString&)
{
    SetDlgItemText(IDC_STATUS, QStringLiteral("Busy"));
}

void CTessolyDlg::AnswerUnexpected(const QString&)
{
    // Power-off, cleared displays, unknown: no line is expected here.
    RunStep(STEP_UNKNOWN);
}
