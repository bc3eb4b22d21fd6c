// The panel's handling of data-port lines: the module's echoes, results and
// unsolicited lines, looked at only for what the current state waits for.
#include "control/TessolyDlg.h"

#include "platform/UiServices.h"
#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"
#include "trace/StringE.h"

namespace {
// Information lines carry their values after a six-character head such as "+CREG:".
const int kHeadLength = 6;
const char kCtrlZ[] = "\x1a";

bool Contains(const QString& line, const char* what)
{
    return line.contains(QLatin1String(what));
}

bool StartsWith(const QString& line, const char* what)
{
    return line.startsWith(QLatin1String(what));
}

// The text between the first double quote of the line and the next one.
QString QuotedCaller(const QString& line)
{
    const int open = line.indexOf(QLatin1Char('"'));
    if (open < 0)
        return QString();
    const int close = line.indexOf(QLatin1Char('"'), open + 1);
    if (close < 0)
        return QString();
    return line.mid(open + 1, close - open - 1);
}
} // namespace

void CTessolyDlg::OnDataLine()
{
    if (!m_pDataPort)
        return;
    const QString line = m_pDataPort->GetLine();
    if (m_pLog)
        m_pLog->Log(LOG_DATA, "D<, ", line);
    HandleDataLine(line);
    emit DataLineHandled(line);
}

void CTessolyDlg::HandleDataLine(const QString& strLine)
{
    const QString& L = strLine;
    switch (m_nState) {
    case STEP_POWER_OFF_DONE:
        if (Contains(L, "OK"))
            RunStep(STEP_POWER_ON_PROBE);
        break;
    case STEP_POWER_ON_PROBE:
        if (Contains(L, "OK"))
            RunStep(STEP_POWERED_ON);
        break;
    case STEP_POWERED_ON:
        // The echo is skipped, and so are short lines such as "OK".
        if (Contains(L, "ATI"))
            break;
        if (L.size() > 2)
            RunStep(STEP_READ_IMEI);
        break;
    case STEP_READ_IMSI:
        if (Contains(L, "+CIMI:")) {
            SetDlgItemText(IDC_IMSI, CStringE(L.mid(kHeadLength)).GetNextToken());
            RunStep(STEP_READ_OPERATOR);
        } else if (Contains(L, "CIMI")) {
            RunStep(STEP_IMSI_ECHO);
        }
        break;
    case STEP_READ_IMEI:
        if (Contains(L, "CGSN"))
            RunStep(STEP_IMEI_ECHO);
        break;
    case STEP_IMEI_ECHO:
        if (!Contains(L, "OK")) {
            SetDlgItemText(IDC_IMEI, L);
            RunStep(STEP_READ_SIM_STATE);
        }
        break;
    case STEP_IMSI_ECHO:
        // After the echo the IMSI comes alone on its line; a module that
        // prefixes it with "+CIMI:" gets the digits shown, not the prefix.
        SetDlgItemText(IDC_IMSI,
                       Contains(L, "+CIMI:") ? CStringE(L.mid(kHeadLength)).GetNextToken() : L);
        RunStep(STEP_READ_OPERATOR);
        break;
    case STEP_READ_SIM_STATE:
        if (Contains(L, "ERROR")) {
            SendTraceFlags();
            RunStep(STEP_SEARCHING);
        } else if (Contains(L, "READY")) {
            RunStep(STEP_SIM_READY);
        } else if (Contains(L, "SIM PIN")) {
            RunStep(STEP_ENTER_PIN);
        } else if (Contains(L, "SIM PUK")) {
            ReportError(1, 1, false, "PUK is needed!", 0);
            // Nothing runs until the user acts.
            CUiServices::ArrowCursor();
        }
        break;
    case STEP_SET_TEXT_MODE:
        if (Contains(L, "OK"))
            RunStep(STEP_IDLE);
        break;
    case STEP_SEARCHING:
        if (Contains(L, "+CREG:")) {
            CStringE fields(L.mid(kHeadLength));
            fields.GetNextToken(); // result mode
            const CStringE status(fields.GetNextToken());
            SetDlgItemText(IDC_LAC, status);
            const int n = status.ToInt(10);
            if (n == 1 || n == 5)
                RunStep(STEP_READ_IMSI);
        }
        break;
    case STEP_READ_OPERATOR:
        if (Contains(L, "+COPS:")) {
            CStringE fields(L.mid(kHeadLength));
            fields.GetNextToken(); // mode
            fields.GetNextToken(); // format
            m_strIdleStatus = fields.GetNextToken(0, QStringLiteral(",\""));
            if (m_strIdleStatus.isEmpty()) {
                m_strIdleStatus = QStringLiteral("No Operator");
                RunStep(STEP_NO_COVERAGE);
            } else {
                RunStep(STEP_FILL_LIBRARY);
            }
        }
        break;
    case STEP_FILL_LIBRARY:
        if (Contains(L, "OK"))
            RunStep(STEP_LIBRARY_ENTRIES);
        break;
    case STEP_MESSAGE_SENT:
    case STEP_MESSAGE_FAILED:
        RunStep(STEP_IDLE);
        break;
    case STEP_SENDING_MESSAGE:
        if (Contains(L, "AT+CMGS=") && !m_bMessageTextSent) {
            // The text goes out once per message, ended by Ctrl-Z; control
            // characters never leave with it.
            m_bMessageTextSent = true;
            const QByteArray text = CDataContent::CleanText(m_strMessageText).toLatin1();
            SendData(text.constData(), kCtrlZ, nullptr);
        }
        if (Contains(L, "+CMGS:"))
            RunStep(STEP_MESSAGE_SENT);
        else if (Contains(L, "+CMS ERROR:"))
            RunStep(STEP_MESSAGE_FAILED);
        break;
    case STEP_LIBRARY_ENTRIES:
        if (Contains(L, "OK")) {
            RunStep(STEP_SET_TEXT_MODE);
        } else if (StartsWith(L, "+CPBF")) {
            CStringE fields(L.mid(kHeadLength));
            const int nIndex = CStringE(fields.GetNextToken()).ToInt(10);
            const QString number = fields.GetNextToken();
            fields.GetNextToken(); // type of number
            // The name may hold blanks and commas: only the quote ends it.
            const QString name = fields.GetNextToken(1, QStringLiteral("\""));
            m_dlgLibrary.AddEntry(nIndex, name, number);
        }
        break;
    case STEP_ENTER_PIN:
        if (!Contains(L, "OK"))
            ReportError(1, 5, false, "Enter Pin", 0);
        break;
    case STEP_NO_COVERAGE:
        break;
    case STEP_SIM_READY:
        if (Contains(L, "ERROR")) {
            OnClr();
            RunStep(STEP_ENTER_PIN);
        } else if (Contains(L, "OK")) {
            OnClr();
            SendTraceFlags();
            RunStep(STEP_SEARCHING);
        }
        break;
    case STEP_RINGING:
        if (Contains(L, "CLCC"))
            RunStep(STEP_CALLER_ID);
        if (Contains(L, "RING"))
            RunStep(STEP_RINGING);
        break;
    case STEP_ESTABLISH_CALL:
        if (StartsWith(L, "NO CARRIER")) {
            SetDlgItemText(IDC_STATUS, QStringLiteral("No Carrier"));
            RunStep(STEP_IDLE);
        } else if (StartsWith(L, "NO DIALTONE")) {
            SetDlgItemText(IDC_STATUS, QStringLiteral("No Dial Tone"));
            RunStep(STEP_IDLE);
        } else if (StartsWith(L, "ERROR")) {
            RunStep(STEP_IDLE);
        } else if (StartsWith(L, "BUSY")) {
            RunStep(STEP_BUSY);
        }
        break;
    case STEP_CALLER_ID:
        if (Contains(L, "CLCC")) {
            QString caller = QuotedCaller(L);
            if (caller.isEmpty())
                caller = QStringLiteral("Anonym");
            // The caller is shown as the module gave it: the number filter is
            // for what the user enters, and would wipe out "Anonym".
            const bool bWasInFilter = m_bInChangeNumber;
            m_bInChangeNumber = true;
            SetDlgItemText(IDC_NUMBER, caller);
            m_bInChangeNumber = bWasInFilter;
        } else if (Contains(L, "ATA")) {
            RunStep(STEP_ANSWERING);
        } else if (Contains(L, "RING")) {
            RunStep(STEP_RINGING);
        }
        break;
    case STEP_ANSWERING:
        if (Contains(L, "OK"))
            RunStep(STEP_IN_CALL);
        break;
    case STEP_IN_CALL:
        if (StartsWith(L, "NO CARRIER"))
            RunStep(STEP_IDLE);
        break;
    case STEP_TERMINATE_CALL:
        if (StartsWith(L, "NO CARRIER") || Contains(L, "OK"))
            RunStep(STEP_IDLE);
        break;
    case STEP_IDLE:
        if (Contains(L, "RING"))
            RunStep(STEP_RINGING);
        break;
    case STEP_BUSY:
        SetDlgItemText(IDC_STATUS, QStringLiteral("Busy"));
        break;
    default:
        // Power-off, cleared displays, unknown: no line is expected here.
        RunStep(STEP_UNKNOWN);
        break;
    }
}
