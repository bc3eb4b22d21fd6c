// The panel's answers to data-port lines, state by state, checked on the wire.
#include <QLineEdit>

#include "PanelFixture.h"
#include "TestAccess.h"
#include "platform/UiServices.h"

using Answers = PanelTest;

TEST_F(Answers, StartUpProbeAndIdentification)
{
    // State 0: the answer to the start-up "AT" begins the power-on probe.
    SetState(STEP_POWER_OFF_DONE);
    Line("AT");
    EXPECT_EQ(dlg->State(), STEP_POWER_OFF_DONE);
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_POWER_ON_PROBE);
    EXPECT_EQ(Trace(), QByteArray("**O"));
    EXPECT_EQ(Data(), QByteArray("AT\r"));
    EXPECT_TRUE(dlg->IsTimerActive(TIMER_PROBE));

    // State 2: "OK" means powered on; the probe stops.
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_POWERED_ON);
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_PROBE));
    EXPECT_TRUE(dlg->IsPoweredOn());
    EXPECT_EQ(Text(IDC_POWER), "Off");
    EXPECT_EQ(Text(IDC_STATUS), "Power On");
    EXPECT_EQ(Trace(), QByteArray("0+0*0*B0\r*M*M"));
    EXPECT_EQ(Data(), QByteArray("ATI\r"));

    // State 3: the echo and short lines are skipped; the identification runs step 6.
    Line("ATI");
    Line("OK");
    Line("");
    EXPECT_EQ(dlg->State(), STEP_POWERED_ON);
    EXPECT_TRUE(Data(20).isEmpty());
    Line("Tarn GSM Test Mobile");
    EXPECT_EQ(dlg->State(), STEP_READ_IMEI);
    EXPECT_EQ(Data(), QByteArray("AT+CGSN\r"));
    Line("OK"); // arrives in state 6 and is ignored
    EXPECT_EQ(dlg->State(), STEP_READ_IMEI);

    // States 6 and 7: the echo, then the IMEI on its own line.
    Line("AT+CGSN");
    EXPECT_EQ(dlg->State(), STEP_IMEI_ECHO);
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_IMEI_ECHO);
    Line("350123456789012");
    EXPECT_EQ(Text(IDC_IMEI), "350123456789012");
    EXPECT_EQ(dlg->State(), STEP_READ_SIM_STATE);
    EXPECT_EQ(Data(), QByteArray("AT+CPIN?\r"));
}

TEST_F(Answers, ResetOnStartComesBeforeTheTraceSetUp)
{
    frame.resetOnStart = 1;
    SetState(STEP_POWER_ON_PROBE);
    Line("OK");
    EXPECT_EQ(Trace(), QByteArray("&F0+0*0*B0\r*M*M"));
}

TEST_F(Answers, Imsi)
{
    // "+CIMI:" with the value on the same line.
    SetState(STEP_READ_IMSI);
    Line("+CIMI: 262011234567890");
    EXPECT_EQ(Text(IDC_IMSI), "262011234567890");
    EXPECT_EQ(dlg->State(), STEP_READ_OPERATOR);
    EXPECT_EQ(Data(), QByteArray("AT+COPS?\r"));

    // The echo first, then the value alone on the next line.
    SetState(STEP_READ_IMSI);
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_READ_IMSI);
    Line("AT+CIMI");
    EXPECT_EQ(dlg->State(), STEP_IMSI_ECHO);
    Line("262019876543210");
    EXPECT_EQ(Text(IDC_IMSI), "262019876543210");
    EXPECT_EQ(dlg->State(), STEP_READ_OPERATOR);

    // The echo, then the prefixed form: the digits are shown, not the prefix.
    SetState(STEP_READ_IMSI);
    Line("AT+CIMI");
    Line("+CIMI: 262015555555555");
    EXPECT_EQ(Text(IDC_IMSI), "262015555555555");
    EXPECT_EQ(dlg->State(), STEP_READ_OPERATOR);
}

TEST_F(Answers, SimState)
{
    SetState(STEP_READ_SIM_STATE);
    Line("AT+CPIN?");
    EXPECT_EQ(dlg->State(), STEP_READ_SIM_STATE);
    Line("+CPIN: READY");
    EXPECT_EQ(dlg->State(), STEP_SIM_READY);
    EXPECT_EQ(Text(IDC_STATUS), "Searching");

    SetState(STEP_READ_SIM_STATE);
    Line("+CPIN: SIM PIN");
    EXPECT_EQ(dlg->State(), STEP_ENTER_PIN);
    EXPECT_EQ(Text(IDC_STATUS), "Enter Pin");
    EXPECT_TRUE(dlg->IsDlgItemEnabled(IDC_NUMBER));

    // A PUK is only reported; the state stays.
    SetState(STEP_READ_SIM_STATE);
    Line("+CPIN: SIM PUK");
    EXPECT_EQ(dlg->State(), STEP_READ_SIM_STATE);
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages.last(), "PUK is needed!\r\nTarn Error#: 1");

    // No SIM check: the report flags go out and the registration poll starts.
    Drain();
    Line("ERROR");
    EXPECT_EQ(Trace(), QByteArray("*WFFFFFF\r"));
    EXPECT_EQ(dlg->State(), STEP_SEARCHING);
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r"));
    EXPECT_TRUE(dlg->IsTimerActive(TIMER_REG_POLL));
    EXPECT_TRUE(dlg->IsTraceReportsOn());
}

TEST_F(Answers, PinAndSimReady)
{
    // State 20: anything but "OK" asks for the PIN again.
    SetState(STEP_ENTER_PIN);
    Line("OK");
    EXPECT_TRUE(answerer.messages.isEmpty());
    Line("+CME ERROR: 16");
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages.last(), "Enter Pin\r\nTarn Error#: 5");

    // State 23: a wrong PIN asks again, with the field emptied.
    SetState(STEP_SIM_READY);
    dlg->SetDlgItemText(IDC_NUMBER, QStringLiteral("1234"));
    Line("AT+CPIN=1234");
    EXPECT_EQ(dlg->State(), STEP_SIM_READY);
    Line("ERROR");
    EXPECT_EQ(dlg->State(), STEP_ENTER_PIN);
    EXPECT_EQ(Text(IDC_NUMBER), "");
    EXPECT_TRUE(Trace(20).isEmpty());

    // State 23, "OK": flags, then the registration poll.
    frame.traceFlags = QStringLiteral("878000");
    SetState(STEP_SIM_READY);
    Line("OK");
    EXPECT_EQ(Trace(), QByteArray("*W878000\r"));
    EXPECT_EQ(dlg->State(), STEP_SEARCHING);
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r"));
}

TEST_F(Answers, Registration)
{
    TestAccess::Count(*dlg) = 0;
    dlg->RunStep(STEP_SEARCHING);
    Drain();
    Line("AT+CREG?");
    EXPECT_EQ(dlg->State(), STEP_SEARCHING);
    // Not registered: the status shows in the LAC field and the poll goes on.
    Line("+CREG: 0,2");
    EXPECT_EQ(Text(IDC_LAC), "2");
    EXPECT_EQ(dlg->State(), STEP_SEARCHING);
    EXPECT_TRUE(dlg->IsTimerActive(TIMER_REG_POLL));
    EXPECT_TRUE(Data(20).isEmpty());
    // Roaming counts as registered.
    Line("+CREG: 0,5");
    EXPECT_EQ(Text(IDC_LAC), "5");
    EXPECT_EQ(dlg->State(), STEP_READ_IMSI);
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_REG_POLL));
    EXPECT_EQ(Data(), QByteArray("AT+CIMI\r"));
    EXPECT_EQ(TestAccess::Count(*dlg), 0);

    SetState(STEP_SEARCHING);
    Line("+CREG: 1,1");
    EXPECT_EQ(dlg->State(), STEP_READ_IMSI);
}

TEST_F(Answers, Operator)
{
    SetState(STEP_READ_OPERATOR);
    TestAccess::Library(*dlg).AddEntry(9, QStringLiteral("Old"), QStringLiteral("1"));
    Line("AT+COPS?");
    EXPECT_EQ(dlg->State(), STEP_READ_OPERATOR);
    Line("+COPS: 0,0,\"Tarn Net\"");
    EXPECT_EQ(dlg->IdleStatus(), "Tarn Net");
    EXPECT_EQ(dlg->State(), STEP_FILL_LIBRARY);
    EXPECT_EQ(Text(IDC_STATUS), "Filling Library");
    EXPECT_TRUE(TestAccess::Library(*dlg).m_arrEntries.isEmpty());
    EXPECT_EQ(Data(), QByteArray("AT+CPBS=\"SM\";+CPBF=\"\";\r"));

    // No operator name: no coverage.
    SetState(STEP_READ_OPERATOR);
    Line("+COPS: 0");
    EXPECT_EQ(dlg->IdleStatus(), "No Operator");
    EXPECT_EQ(dlg->State(), STEP_NO_COVERAGE);
    EXPECT_EQ(Text(IDC_STATUS), "No Coverage");
    EXPECT_EQ(Data(), QByteArray("AT\r"));
    // Nothing happens in state 21 until the user acts.
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_NO_COVERAGE);
}

TEST_F(Answers, PhoneBookAndTextMode)
{
    SetState(STEP_FILL_LIBRARY);
    Line("AT+CPBS=\"SM\";+CPBF=\"\";");
    EXPECT_EQ(dlg->State(), STEP_FILL_LIBRARY);
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_LIBRARY_ENTRIES);

    Line("+CPBF: 3,\"+555\",145,\"Smith, John\"");
    Line("+CPBF: -1,\"5678\",129,\"Office\"");
    Line("+CPBF: 4,\"99\",129,\"\"");
    Line("garbage");
    EXPECT_EQ(TestAccess::Library(*dlg).m_arrEntries,
              QStringList({":Smith, John; 3;| +555", " Office; -1;| 5678", ":; 4;| 99"}));
    // Nothing goes to the module while the entries come in.
    dlg->SendData("AT");
    EXPECT_TRUE(Data(20).isEmpty());

    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_SET_TEXT_MODE);
    EXPECT_EQ(Data(), QByteArray("AT+CMGF=1\r"));
    TestAccess::IdleStatus(*dlg) = QStringLiteral("Tarn Net");
    TestAccess::LastNumber(*dlg) = QStringLiteral("0815");
    Line("AT+CMGF=1");
    EXPECT_EQ(dlg->State(), STEP_SET_TEXT_MODE);
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    EXPECT_EQ(Text(IDC_STATUS), "Tarn Net");
    EXPECT_EQ(Text(IDC_NUMBER), "0815");
    EXPECT_TRUE(dlg->IsDlgItemEnabled(IDC_NUMBER));
}

TEST_F(Answers, MessageResults)
{
    TestAccess::MessageText(*dlg) = QStringLiteral("Hello");
    dlg->RunStep(STEP_SENDING_MESSAGE);
    // The echo triggers the text, ended by Ctrl-Z and nothing more.
    Line("AT+CMGS=\"123\"");
    EXPECT_EQ(Data(), QByteArray("Hello\x1a"));
    EXPECT_EQ(dlg->State(), STEP_SENDING_MESSAGE);
    // A second line holding the command (the module echoing the text, say)
    // does not send the text again.
    Line("> AT+CMGS=\"123\"");
    EXPECT_TRUE(Data(20).isEmpty());
    Line("+CMGS: 17");
    EXPECT_EQ(dlg->State(), STEP_MESSAGE_SENT);
    EXPECT_EQ(Text(IDC_STATUS), "Message sent successfully");
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_IDLE);

    // Echo and result on one line: both act.
    dlg->RunStep(STEP_SENDING_MESSAGE);
    Line("AT+CMGS=\"1\" +CMS ERROR: 500");
    EXPECT_EQ(Data(), QByteArray("Hello\x1a"));
    EXPECT_EQ(dlg->State(), STEP_MESSAGE_FAILED);
    EXPECT_EQ(Text(IDC_STATUS), "Message not delivered");
    Line("anything");
    EXPECT_EQ(dlg->State(), STEP_IDLE);

    // Control characters in the stored text never reach the module.
    TestAccess::MessageText(*dlg) = QString::fromLatin1("Hi\x1a\r\nATD112\x1b;");
    dlg->RunStep(STEP_SENDING_MESSAGE);
    Line("AT+CMGS=\"1\"");
    EXPECT_EQ(Data(), QByteArray("HiATD112;\x1a"));

    // An empty text is just the end of the message.
    TestAccess::MessageText(*dlg).clear();
    dlg->RunStep(STEP_SENDING_MESSAGE);
    Line("AT+CMGS=\"1\"");
    EXPECT_EQ(Data(), QByteArray("\x1a"));
}

TEST_F(Answers, IncomingCall)
{
    TestAccess::IdleStatus(*dlg) = QStringLiteral("Tarn Net");
    dlg->RunStep(STEP_IDLE);
    Drain();
    const int nBeeps = CUiServices::BeepCount();
    Line("RING");
    EXPECT_EQ(dlg->State(), STEP_RINGING);
    EXPECT_EQ(Text(IDC_STATUS), "Ringing");
    EXPECT_EQ(Data(), QByteArray("AT+CLCC\r"));
    EXPECT_EQ(CUiServices::BeepCount(), nBeeps + 1);
    EXPECT_TRUE(dlg->IsTimerActive(TIMER_RING));

    // The echo of the query moves on; its answer shows the caller.
    Line("AT+CLCC");
    EXPECT_EQ(dlg->State(), STEP_CALLER_ID);
    Line("+CLCC: 1,1,4,0,0,\"555\",129");
    EXPECT_EQ(dlg->State(), STEP_CALLER_ID);
    EXPECT_EQ(Text(IDC_NUMBER), "555");
    // Without a quoted number the caller is anonymous, and stays shown as such.
    Line("+CLCC: 1,1,4,0,0");
    EXPECT_EQ(Text(IDC_NUMBER), "Anonym");
    Line("+CLCC: 1,1,4,0,0,\"\",129");
    EXPECT_EQ(Text(IDC_NUMBER), "Anonym");
    Line("+CLCC: 1,1,4,0,0,\"+49 30");
    EXPECT_EQ(Text(IDC_NUMBER), "Anonym");

    // Further rings only beep; no second query.
    Line("RING");
    EXPECT_EQ(dlg->State(), STEP_RINGING);
    EXPECT_EQ(CUiServices::BeepCount(), nBeeps + 2);
    EXPECT_TRUE(Data(20).isEmpty());

    SetState(STEP_CALLER_ID);
    Line("ATA");
    EXPECT_EQ(dlg->State(), STEP_ANSWERING);
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_IN_CALL);
    EXPECT_EQ(Text(IDC_STATUS), "In call");
    // Once in the call, the ring time-out is gone.
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_RING));

    Line(" NO CARRIER");
    EXPECT_EQ(dlg->State(), STEP_IN_CALL);
    Line("NO CARRIER");
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    EXPECT_EQ(Text(IDC_STATUS), "Tarn Net");
}

TEST_F(Answers, OutgoingCallEndings)
{
    TestAccess::IdleStatus(*dlg) = QStringLiteral("Net");
    struct Case
    {
        const char* line;
        int state;
    } cases[] = {{" NO CARRIER", STEP_ESTABLISH_CALL},
                 {"CONNECT NO CARRIER", STEP_ESTABLISH_CALL},
                 {"NO CARRIER", STEP_IDLE},
                 {"NO DIALTONE", STEP_IDLE},
                 {"ERROR", STEP_IDLE},
                 {"BUSY", STEP_BUSY}};
    for (const Case& c : cases) {
        SetState(STEP_ESTABLISH_CALL);
        Line(c.line);
        EXPECT_EQ(dlg->State(), c.state) << c.line;
    }
    // Busy repeats its status for every line.
    dlg->SetDlgItemText(IDC_STATUS, QStringLiteral("x"));
    Line("whatever");
    EXPECT_EQ(dlg->State(), STEP_BUSY);
    EXPECT_EQ(Text(IDC_STATUS), "Busy");

    // Hanging up ends on "NO CARRIER" or "OK".
    SetState(STEP_TERMINATE_CALL);
    Line("ATH");
    EXPECT_EQ(dlg->State(), STEP_TERMINATE_CALL);
    Line("OK");
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    SetState(STEP_TERMINATE_CALL);
    Line("NO CARRIER");
    EXPECT_EQ(dlg->State(), STEP_IDLE);
}

TEST_F(Answers, UnexpectedLines)
{
    for (int state :
         {int(STEP_POWER_OFF), int(STEP_CLEAR_DISPLAY), int(STEP_UNKNOWN), 14, 22, 99}) {
        SetState(state);
        dlg->SetDlgItemText(IDC_STATUS, QString());
        Line("OK");
        EXPECT_EQ(dlg->State(), STEP_UNKNOWN) << state;
        EXPECT_EQ(Text(IDC_STATUS), "Unknown Status") << state;
    }
    // Idle ignores everything but "RING".
    SetState(STEP_IDLE);
    Line("OK");
    Line("+CREG: 0,1");
    EXPECT_EQ(dlg->State(), STEP_IDLE);
}
