// SPDX-License-Identifier: GPL-3.0-or-later
// The answers to data-port lines, state by state, checked on the wire.
#include "SequencerFixture.h"

using Answers = SequencerTest;

TEST_F(Answers, StartUpProbeAndIdentification)
{
    // State 0: the answer to the start-up "AT" begins the power-on probe.
    SetState(STEP_POWER_OFF_DONE);
    Line("AT");
    EXPECT_EQ(seq.State(), STEP_POWER_OFF_DONE);
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_POWER_ON_PROBE);
    EXPECT_EQ(Trace(), QByteArray("**O"));
    EXPECT_EQ(Data(), QByteArray("AT\r"));
    EXPECT_TRUE(seq.IsTimerActive(TIMER_PROBE));

    // State 2: "OK" means powered on; the probe stops.
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_POWERED_ON);
    EXPECT_FALSE(seq.IsTimerActive(TIMER_PROBE));
    EXPECT_TRUE(seq.IsPoweredOn());
    EXPECT_EQ(view.powerButton, "Off");
    EXPECT_EQ(view.status, "Power On");
    EXPECT_EQ(Trace(), QByteArray("0+0*0*B0\r*M*M"));
    EXPECT_EQ(Data(), QByteArray("ATI\r"));

    // State 3: the echo and short lines are skipped; the identification runs step 6.
    Line("ATI");
    Line("OK");
    Line("");
    EXPECT_EQ(seq.State(), STEP_POWERED_ON);
    EXPECT_TRUE(Data().isEmpty());
    Line("Tarn GSM Test Mobile");
    EXPECT_EQ(seq.State(), STEP_READ_IMEI);
    EXPECT_EQ(Data(), QByteArray("AT+CGSN\r"));
    Line("OK"); // arrives in state 6 and is ignored
    EXPECT_EQ(seq.State(), STEP_READ_IMEI);

    // States 6 and 7: the echo, then the IMEI on its own line.
    Line("AT+CGSN");
    EXPECT_EQ(seq.State(), STEP_IMEI_ECHO);
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_IMEI_ECHO);
    Line("350123456789012");
    EXPECT_EQ(view.imei, "350123456789012");
    EXPECT_EQ(seq.State(), STEP_READ_SIM_STATE);
    EXPECT_EQ(Data(), QByteArray("AT+CPIN?\r"));
}

TEST_F(Answers, ResetOnStartComesBeforeTheTraceSetUp)
{
    view.resetOnStart = true;
    SetState(STEP_POWER_ON_PROBE);
    Line("OK");
    EXPECT_EQ(Trace(), QByteArray("&F0+0*0*B0\r*M*M"));
}

TEST_F(Answers, Imsi)
{
    // "+CIMI:" with the value on the same line.
    SetState(STEP_READ_IMSI);
    Line("+CIMI: 262011234567890");
    EXPECT_EQ(view.imsi, "262011234567890");
    EXPECT_EQ(seq.State(), STEP_READ_OPERATOR);
    EXPECT_EQ(Data(), QByteArray("AT+COPS?\r"));

    // The echo first, then the value alone on the next line.
    SetState(STEP_READ_IMSI);
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_READ_IMSI);
    Line("AT+CIMI");
    EXPECT_EQ(seq.State(), STEP_IMSI_ECHO);
    Line("262019876543210");
    EXPECT_EQ(view.imsi, "262019876543210");
    EXPECT_EQ(seq.State(), STEP_READ_OPERATOR);

    // The echo, then the prefixed form: the digits are shown, not the prefix.
    SetState(STEP_READ_IMSI);
    Line("AT+CIMI");
    Line("+CIMI: 262015555555555");
    EXPECT_EQ(view.imsi, "262015555555555");
    EXPECT_EQ(seq.State(), STEP_READ_OPERATOR);
}

TEST_F(Answers, SimState)
{
    SetState(STEP_READ_SIM_STATE);
    Line("AT+CPIN?");
    EXPECT_EQ(seq.State(), STEP_READ_SIM_STATE);
    Line("+CPIN: READY");
    EXPECT_EQ(seq.State(), STEP_SIM_READY);
    EXPECT_EQ(view.status, "Searching");

    SetState(STEP_READ_SIM_STATE);
    Line("+CPIN: SIM PIN");
    EXPECT_EQ(seq.State(), STEP_ENTER_PIN);
    EXPECT_EQ(view.status, "Enter Pin");
    EXPECT_TRUE(view.numberEnabled);

    // A PUK is only reported; the state stays.
    SetState(STEP_READ_SIM_STATE);
    Line("+CPIN: SIM PUK");
    EXPECT_EQ(seq.State(), STEP_READ_SIM_STATE);
    ASSERT_EQ(view.messages.size(), 1);
    EXPECT_EQ(view.messages.last(), "PUK is needed!\r\nTarn Error#: 1");

    // No SIM check: the report flags go out and the registration poll starts.
    Drain();
    Line("ERROR");
    EXPECT_EQ(Trace(), QByteArray("*WFFFFFF\r"));
    EXPECT_EQ(seq.State(), STEP_SEARCHING);
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r"));
    EXPECT_TRUE(seq.IsTimerActive(TIMER_REG_POLL));
    EXPECT_TRUE(seq.IsTraceReportsOn());
}

TEST_F(Answers, PinAndSimReady)
{
    // State 20: anything but "OK" asks for the PIN again.
    SetState(STEP_ENTER_PIN);
    Line("OK");
    EXPECT_TRUE(view.messages.isEmpty());
    Line("+CME ERROR: 16");
    ASSERT_EQ(view.messages.size(), 1);
    EXPECT_EQ(view.messages.last(), "Enter Pin\r\nTarn Error#: 5");

    // State 23: a wrong PIN asks again, with the field emptied.
    SetState(STEP_SIM_READY);
    view.number = QStringLiteral("1234");
    Line("AT+CPIN=1234");
    EXPECT_EQ(seq.State(), STEP_SIM_READY);
    Line("ERROR");
    EXPECT_EQ(seq.State(), STEP_ENTER_PIN);
    EXPECT_EQ(view.number, "");
    EXPECT_TRUE(Trace().isEmpty());

    // State 23, "OK": flags, then the registration poll.
    view.traceFlags = QStringLiteral("878000");
    SetState(STEP_SIM_READY);
    Line("OK");
    EXPECT_EQ(Trace(), QByteArray("*W878000\r"));
    EXPECT_EQ(seq.State(), STEP_SEARCHING);
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r"));
}

TEST_F(Answers, Registration)
{
    TestAccess::Count(seq) = 0;
    seq.RunStep(STEP_SEARCHING);
    Drain();
    Line("AT+CREG?");
    EXPECT_EQ(seq.State(), STEP_SEARCHING);
    // Not registered: the status shows in the LAC field and the poll goes on.
    Line("+CREG: 0,2");
    EXPECT_EQ(view.registration, "2");
    EXPECT_EQ(seq.State(), STEP_SEARCHING);
    EXPECT_TRUE(seq.IsTimerActive(TIMER_REG_POLL));
    EXPECT_TRUE(Data().isEmpty());
    // Roaming counts as registered.
    Line("+CREG: 0,5");
    EXPECT_EQ(view.registration, "5");
    EXPECT_EQ(seq.State(), STEP_READ_IMSI);
    EXPECT_FALSE(seq.IsTimerActive(TIMER_REG_POLL));
    EXPECT_EQ(Data(), QByteArray("AT+CIMI\r"));
    EXPECT_EQ(TestAccess::Count(seq), 0);

    SetState(STEP_SEARCHING);
    Line("+CREG: 1,1");
    EXPECT_EQ(seq.State(), STEP_READ_IMSI);
}

TEST_F(Answers, Operator)
{
    SetState(STEP_READ_OPERATOR);
    view.AddLibraryEntry(9, QStringLiteral("Old"), QStringLiteral("1"));
    Line("AT+COPS?");
    EXPECT_EQ(seq.State(), STEP_READ_OPERATOR);
    Line("+COPS: 0,0,\"Tarn Net\"");
    EXPECT_EQ(seq.IdleStatus(), "Tarn Net");
    EXPECT_EQ(seq.State(), STEP_FILL_LIBRARY);
    EXPECT_EQ(view.status, "Filling Library");
    EXPECT_TRUE(view.library.isEmpty());
    EXPECT_EQ(Data(), QByteArray("AT+CPBS=\"SM\";+CPBF=\"\";\r"));

    // No operator name: no coverage.
    SetState(STEP_READ_OPERATOR);
    Line("+COPS: 0");
    EXPECT_EQ(seq.IdleStatus(), "No Operator");
    EXPECT_EQ(seq.State(), STEP_NO_COVERAGE);
    EXPECT_EQ(view.status, "No Coverage");
    EXPECT_EQ(Data(), QByteArray("AT\r"));
    // Nothing happens in state 21 until the user acts.
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_NO_COVERAGE);
}

TEST_F(Answers, PhoneBookAndTextMode)
{
    SetState(STEP_FILL_LIBRARY);
    Line("AT+CPBS=\"SM\";+CPBF=\"\";");
    EXPECT_EQ(seq.State(), STEP_FILL_LIBRARY);
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_LIBRARY_ENTRIES);

    Line("+CPBF: 3,\"+555\",145,\"Smith, John\"");
    Line("+CPBF: -1,\"5678\",129,\"Office\"");
    Line("+CPBF: 4,\"99\",129,\"\"");
    Line("garbage");
    EXPECT_EQ(view.library, QStringList({"3|Smith, John|+555", "-1|Office|5678", "4||99"}));
    // Nothing goes to the module while the entries come in.
    EXPECT_TRUE(seq.HoldsDataCommands());

    Line("OK");
    EXPECT_EQ(seq.State(), STEP_SET_TEXT_MODE);
    EXPECT_EQ(Data(), QByteArray("AT+CMGF=1\r"));
    TestAccess::IdleStatus(seq) = QStringLiteral("Tarn Net");
    TestAccess::LastNumber(seq) = QStringLiteral("0815");
    Line("AT+CMGF=1");
    EXPECT_EQ(seq.State(), STEP_SET_TEXT_MODE);
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_IDLE);
    EXPECT_EQ(view.status, "Tarn Net");
    EXPECT_EQ(view.number, "0815");
    EXPECT_TRUE(view.numberEnabled);
}

TEST_F(Answers, MessageResults)
{
    TestAccess::MessageText(seq) = QStringLiteral("Hello");
    seq.RunStep(STEP_SENDING_MESSAGE);
    // The echo triggers the text, ended by Ctrl-Z and nothing more.
    Line("AT+CMGS=\"123\"");
    EXPECT_EQ(Data(), QByteArray("Hello\x1a"));
    EXPECT_EQ(seq.State(), STEP_SENDING_MESSAGE);
    // A second line holding the command (the module echoing the text, say)
    // does not send the text again.
    Line("> AT+CMGS=\"123\"");
    EXPECT_TRUE(Data().isEmpty());
    Line("+CMGS: 17");
    EXPECT_EQ(seq.State(), STEP_MESSAGE_SENT);
    EXPECT_EQ(view.status, "Message sent successfully");
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_IDLE);

    // Echo and result on one line: both act.
    seq.RunStep(STEP_SENDING_MESSAGE);
    Line("AT+CMGS=\"1\" +CMS ERROR: 500");
    EXPECT_EQ(Data(), QByteArray("Hello\x1a"));
    EXPECT_EQ(seq.State(), STEP_MESSAGE_FAILED);
    EXPECT_EQ(view.status, "Message not delivered");
    Line("anything");
    EXPECT_EQ(seq.State(), STEP_IDLE);

    // Control characters in the stored text never reach the module.
    TestAccess::MessageText(seq) = QString::fromLatin1("Hi\x1a\r\nATD112\x1b;");
    seq.RunStep(STEP_SENDING_MESSAGE);
    Line("AT+CMGS=\"1\"");
    EXPECT_EQ(Data(), QByteArray("HiATD112;\x1a"));

    // An empty text is just the end of the message.
    TestAccess::MessageText(seq).clear();
    seq.RunStep(STEP_SENDING_MESSAGE);
    Line("AT+CMGS=\"1\"");
    EXPECT_EQ(Data(), QByteArray("\x1a"));
}

TEST_F(Answers, IncomingCall)
{
    TestAccess::IdleStatus(seq) = QStringLiteral("Tarn Net");
    seq.RunStep(STEP_IDLE);
    Drain();
    const int nBeeps = view.beeps;
    Line("RING");
    EXPECT_EQ(seq.State(), STEP_RINGING);
    EXPECT_EQ(view.status, "Ringing");
    EXPECT_EQ(Data(), QByteArray("AT+CLCC\r"));
    EXPECT_EQ(view.beeps, nBeeps + 1);
    EXPECT_TRUE(seq.IsTimerActive(TIMER_RING));

    // The echo of the query moves on; its answer shows the caller.
    Line("AT+CLCC");
    EXPECT_EQ(seq.State(), STEP_CALLER_ID);
    Line("+CLCC: 1,1,4,0,0,\"555\",129");
    EXPECT_EQ(seq.State(), STEP_CALLER_ID);
    EXPECT_EQ(view.number, "555");
    // Without a quoted number the caller is anonymous, and stays shown as such.
    Line("+CLCC: 1,1,4,0,0");
    EXPECT_EQ(view.number, "Anonym");
    Line("+CLCC: 1,1,4,0,0,\"\",129");
    EXPECT_EQ(view.number, "Anonym");
    Line("+CLCC: 1,1,4,0,0,\"+49 30");
    EXPECT_EQ(view.number, "Anonym");

    // Further rings only beep; no second query.
    Line("RING");
    EXPECT_EQ(seq.State(), STEP_RINGING);
    EXPECT_EQ(view.beeps, nBeeps + 2);
    EXPECT_TRUE(Data().isEmpty());

    SetState(STEP_CALLER_ID);
    Line("ATA");
    EXPECT_EQ(seq.State(), STEP_ANSWERING);
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_IN_CALL);
    EXPECT_EQ(view.status, "In call");
    // Once in the call, the ring time-out is gone.
    EXPECT_FALSE(seq.IsTimerActive(TIMER_RING));

    Line(" NO CARRIER");
    EXPECT_EQ(seq.State(), STEP_IN_CALL);
    Line("NO CARRIER");
    EXPECT_EQ(seq.State(), STEP_IDLE);
    EXPECT_EQ(view.status, "Tarn Net");
}

TEST_F(Answers, OutgoingCallEndings)
{
    TestAccess::IdleStatus(seq) = QStringLiteral("Net");
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
        EXPECT_EQ(seq.State(), c.state) << c.line;
    }
    // Busy repeats its status for every line.
    view.status = QStringLiteral("x");
    Line("whatever");
    EXPECT_EQ(seq.State(), STEP_BUSY);
    EXPECT_EQ(view.status, "Busy");

    // Hanging up ends on "NO CARRIER" or "OK".
    SetState(STEP_TERMINATE_CALL);
    Line("ATH");
    EXPECT_EQ(seq.State(), STEP_TERMINATE_CALL);
    Line("OK");
    EXPECT_EQ(seq.State(), STEP_IDLE);
    SetState(STEP_TERMINATE_CALL);
    Line("NO CARRIER");
    EXPECT_EQ(seq.State(), STEP_IDLE);
}

TEST_F(Answers, UnexpectedLines)
{
    for (int state :
         {int(STEP_POWER_OFF), int(STEP_CLEAR_DISPLAY), int(STEP_UNKNOWN), 14, 22, 99}) {
        SetState(state);
        view.status.clear();
        Line("OK");
        EXPECT_EQ(seq.State(), STEP_UNKNOWN) << state;
        EXPECT_EQ(view.status, "Unknown Status") << state;
    }
    // Idle ignores everything but "RING".
    SetState(STEP_IDLE);
    Line("OK");
    Line("+CREG: 0,1");
    EXPECT_EQ(seq.State(), STEP_IDLE);
}
