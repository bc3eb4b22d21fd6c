// SPDX-License-Identifier: GPL-3.0-or-later
// What the pad's keys do in each state: yes and no, the PIN, calls,
// messages, ringing, power.
#include "SequencerFixture.h"

namespace {
class Pad : public SequencerTest
{
protected:
    void SetUp() override
    {
        TestAccess::IdleStatus(seq) = QStringLiteral("Tarn Net");
        seq.RunStep(STEP_IDLE);
        Drain();
    }
    // The keys, with the texts of the entry field and the call type as the
    // panel hands them over.
    void Yes() { seq.OnYes(view.number, callType); }
    void No() { seq.OnNo(view.number); }

    QString callType = QStringLiteral("Voice");
};
} // namespace

TEST_F(Pad, Pin)
{
    seq.RunStep(STEP_ENTER_PIN);
    for (const char* pin : {"123", "12345"}) {
        view.number = QString::fromLatin1(pin);
        Yes();
        EXPECT_EQ(seq.State(), STEP_ENTER_PIN) << pin;
        EXPECT_TRUE(Data().isEmpty()) << pin;
    }
    // "no" erases the last digit.
    No();
    EXPECT_EQ(view.number, "1234");
    Yes();
    EXPECT_EQ(seq.State(), STEP_SIM_READY);
    EXPECT_EQ(view.status, "Searching");
    EXPECT_EQ(Data(), QByteArray("AT+CPIN=1234\r"));
    EXPECT_TRUE(view.messages.isEmpty());
}

TEST_F(Pad, VoiceCalls)
{
    // Empty field: nothing is sent, the state stays, the last number is emptied.
    TestAccess::LastNumber(seq) = QStringLiteral("999");
    view.number.clear();
    Yes();
    EXPECT_EQ(seq.State(), STEP_IDLE);
    EXPECT_EQ(TestAccess::LastNumber(seq), "");
    EXPECT_TRUE(Trace().isEmpty());
    EXPECT_TRUE(Data().isEmpty());

    // A voice call is dialled on the trace port.
    view.number = QStringLiteral("+4930#");
    Yes();
    EXPECT_EQ(Trace(), QByteArray("\\D+4930#\r"));
    EXPECT_EQ(seq.State(), STEP_ESTABLISH_CALL);
    EXPECT_EQ(view.status, "Establish call");
    EXPECT_EQ(TestAccess::LastNumber(seq), "+4930#");
    EXPECT_FALSE(view.numberEnabled);

    // "no" hangs up; the answer returns to idle with the number back.
    view.number.clear();
    No();
    EXPECT_EQ(seq.State(), STEP_TERMINATE_CALL);
    EXPECT_EQ(Data(), QByteArray("ATH\r"));
    No();
    EXPECT_EQ(seq.State(), STEP_IDLE);
    EXPECT_EQ(view.number, "+4930#");
}

TEST_F(Pad, MessagesAndDataCalls)
{
    // SMS with an empty field: nothing sent, but the panel waits for the message.
    callType = QStringLiteral("SMS");
    Yes();
    EXPECT_TRUE(Data().isEmpty());
    EXPECT_EQ(seq.State(), STEP_SENDING_MESSAGE);
    EXPECT_EQ(view.status, "Sending message");
    // "no" cancels with ESC.
    No();
    EXPECT_EQ(Data(), QByteArray("\x1b\r"));
    EXPECT_EQ(seq.State(), STEP_IDLE);
    EXPECT_EQ(view.status, "Tarn Net");

    view.number = QStringLiteral("0170123");
    Yes();
    EXPECT_EQ(Data(), QByteArray("AT+CMGS=\"0170123\"\r"));
    EXPECT_EQ(seq.State(), STEP_SENDING_MESSAGE);

    // Data, typed into the box: anything but "Voice" or "SMS" is a data call.
    seq.RunStep(STEP_IDLE);
    callType = QStringLiteral("Fax");
    view.number = QStringLiteral("12345");
    Yes();
    EXPECT_EQ(Data(), QByteArray("ATD12345\r"));
    EXPECT_EQ(view.status, "Establish call");
    EXPECT_EQ(seq.State(), STEP_ESTABLISH_CALL);
    EXPECT_TRUE(Trace().isEmpty());

    seq.RunStep(STEP_IDLE);
    callType = QStringLiteral("Data");
    view.number.clear();
    Yes();
    EXPECT_TRUE(Data().isEmpty());
    EXPECT_EQ(seq.State(), STEP_ESTABLISH_CALL);

    // Typed text counts as the type: "my SMS" is a message.
    seq.RunStep(STEP_IDLE);
    callType = QStringLiteral("my SMS");
    view.number = QStringLiteral("5");
    Yes();
    EXPECT_EQ(Data(), QByteArray("AT+CMGS=\"5\"\r"));

    // Message results: "no" returns to idle without a command.
    seq.RunStep(STEP_MESSAGE_SENT);
    No();
    EXPECT_EQ(seq.State(), STEP_IDLE);
    EXPECT_TRUE(Data().isEmpty());
}

TEST_F(Pad, RingingAnswerOrReject)
{
    seq.m_nRingTimeout = 100000;
    Line("RING");
    Drain();
    ASSERT_EQ(seq.State(), STEP_RINGING);
    Yes();
    EXPECT_EQ(Trace(), QByteArray("\\S"));
    EXPECT_EQ(seq.State(), STEP_IN_CALL);
    EXPECT_EQ(view.status, "In call");
    EXPECT_FALSE(seq.IsTimerActive(TIMER_RING));

    // Rejecting while ringing hangs up and stops the ring time-out.
    seq.RunStep(STEP_IDLE);
    Line("RING");
    Drain();
    ASSERT_TRUE(seq.IsTimerActive(TIMER_RING));
    No();
    EXPECT_EQ(seq.State(), STEP_TERMINATE_CALL);
    EXPECT_EQ(Data(), QByteArray("ATH\r"));
    EXPECT_FALSE(seq.IsTimerActive(TIMER_RING));

    // Caller shown: the same.
    seq.RunStep(STEP_IDLE);
    Line("RING");
    Line("AT+CLCC");
    Drain();
    ASSERT_EQ(seq.State(), STEP_CALLER_ID);
    No();
    EXPECT_EQ(Data(), QByteArray("ATH\r"));
    EXPECT_FALSE(seq.IsTimerActive(TIMER_RING));

    // An answer being set up is cancelled with ESC.
    SetState(STEP_ANSWERING);
    No();
    EXPECT_EQ(Data(), QByteArray("\x1b\r"));
    EXPECT_EQ(seq.State(), STEP_IDLE);
}

TEST_F(Pad, NoErasesInIdle)
{
    view.number = QStringLiteral("123");
    view.status = QStringLiteral("No Carrier");
    No();
    EXPECT_EQ(view.number, "12");
    EXPECT_EQ(view.status, "Tarn Net");
    view.number.clear();
    view.calls.clear();
    No();
    EXPECT_EQ(view.number, "");
    EXPECT_FALSE(view.calls.contains(QStringLiteral("number ")));

    // Elsewhere "no" does nothing.
    view.number = QStringLiteral("77");
    SetState(STEP_SEARCHING);
    view.calls.clear();
    No();
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_TRUE(Data().isEmpty());
}

TEST_F(Pad, PowerQuestion)
{
    TestAccess::PoweredOn(seq) = true;
    view.confirm = false;
    seq.OnPower();
    ASSERT_EQ(view.messages.size(), 1);
    EXPECT_EQ(view.messages.last(), "Do you want to set power off?");
    EXPECT_EQ(seq.State(), STEP_IDLE);
    EXPECT_TRUE(Trace().isEmpty());
    EXPECT_FALSE(view.waitCursor);

    view.confirm = true;
    seq.m_nPowerOffDelay = 100000;
    seq.OnPower();
    EXPECT_EQ(seq.State(), STEP_POWER_OFF);
    EXPECT_EQ(Trace(), QByteArray("Z"));
    seq.KillTimer(TIMER_POWER_OFF);

    // Off: the power button starts the probe and forgets the operator.
    TestAccess::PoweredOn(seq) = false;
    TestAccess::SendPowerOn(seq) = true;
    seq.OnPower();
    EXPECT_EQ(seq.State(), STEP_POWER_ON_PROBE);
    EXPECT_EQ(seq.IdleStatus(), "");
    EXPECT_EQ(Trace(), QByteArray("**O"));
    seq.KillTimer(TIMER_PROBE);
}
