// SPDX-License-Identifier: GPL-3.0-or-later
// The sequencer's steps and its four timers.
#include <QTest>

#include "SequencerFixture.h"
#include "protocol/TraceReports.h"

using Steps = SequencerTest;

namespace {
int CountOf(const QByteArray& bytes, const char* what)
{
    return static_cast<int>(bytes.count(what));
}
} // namespace

TEST_F(Steps, PowerOffClearsTheFormAndEndsInStep5)
{
    TestAccess::PoweredOn(seq) = true;
    view.waitCursor = true;

    seq.RunStep(STEP_POWER_OFF_DONE);
    EXPECT_EQ(seq.State(), STEP_CLEAR_DISPLAY);
    EXPECT_EQ(Trace(), QByteArray("**Z"));
    EXPECT_FALSE(seq.IsPoweredOn());
    EXPECT_EQ(view.powerButton, "On");
    EXPECT_EQ(view.status, "Power Off");
    EXPECT_EQ(view.callTypeResets, 1);
    EXPECT_EQ(view.imei, "");
    EXPECT_EQ(view.imsi, "");
    EXPECT_EQ(view.number, "");
    EXPECT_EQ(view.servingCellClears, 1);
    // The lock box is cleared without release commands and without telling the frame.
    EXPECT_EQ(view.bsLockClears, 1);
    EXPECT_EQ(view.meterClears, 1);
    EXPECT_EQ(view.clearedReports,
              QList<int>({REPORT_BCCH, REPORT_FULL_IDLE, REPORT_IDLE_MODE, REPORT_CELL_ID}));
    EXPECT_FALSE(view.numberEnabled);
    EXPECT_FALSE(view.waitCursor);
    EXPECT_TRUE(Data().isEmpty());
}

TEST_F(Steps, PowerOffWaitsThenSwitchesOffAndStopsPolling)
{
    seq.m_nPowerOffDelay = 20;
    TestAccess::PoweredOn(seq) = true;
    seq.SetTimer(TIMER_REG_POLL, 10);
    seq.SetTimer(TIMER_RING, 10);
    seq.RunStep(STEP_POWER_OFF);
    EXPECT_EQ(Trace(), QByteArray("Z"));
    EXPECT_TRUE(seq.IsTimerActive(TIMER_POWER_OFF));
    EXPECT_FALSE(seq.IsTimerActive(TIMER_REG_POLL));
    EXPECT_FALSE(seq.IsTimerActive(TIMER_RING));
    EXPECT_TRUE(QTest::qWaitFor([&] { return seq.State() == STEP_CLEAR_DISPLAY; }, 2000));
    EXPECT_EQ(Trace(), QByteArray("**Z"));
    EXPECT_FALSE(seq.IsPoweredOn());
    EXPECT_TRUE(Data().isEmpty());
}

TEST_F(Steps, StatusStepsAndUnknownNumbers)
{
    struct Case
    {
        int step;
        const char* status;
    } cases[] = {{STEP_MESSAGE_SENT, "Message sent successfully"},
                 {STEP_MESSAGE_FAILED, "Message not delivered"},
                 {STEP_SENDING_MESSAGE, "Sending message"},
                 {STEP_SIM_READY, "Searching"},
                 {STEP_ESTABLISH_CALL, "Establish call"},
                 {STEP_IN_CALL, "In call"},
                 {STEP_TERMINATE_CALL, "Terminate call"},
                 {STEP_BUSY, "Busy"},
                 {14, "Unknown Status"},
                 {15, "Unknown Status"},
                 {32, "Unknown Status"},
                 {-1, "Unknown Status"}};
    for (const Case& c : cases) {
        seq.RunStep(c.step);
        EXPECT_EQ(seq.State(), c.step);
        EXPECT_EQ(view.status, c.status) << c.step;
    }
    // The call and message steps switch the dedicated-mode meters on; idle off.
    seq.RunStep(STEP_IDLE);
    EXPECT_FALSE(view.callMeters);
    seq.RunStep(STEP_SENDING_MESSAGE);
    EXPECT_TRUE(view.callMeters);
    EXPECT_FALSE(view.numberEnabled);
    seq.RunStep(STEP_MESSAGE_FAILED);
    EXPECT_TRUE(view.numberEnabled);
}

TEST_F(Steps, HangUpAndIdle)
{
    seq.RunStep(STEP_TERMINATE_CALL);
    EXPECT_EQ(Data(), QByteArray("ATH\r"));
    EXPECT_EQ(view.bsLockClears, 1);
    EXPECT_TRUE(Trace().isEmpty());

    // Idle: the last number comes back, then the operator's name after the pause.
    seq.m_nIdlePause = 30;
    TestAccess::LastNumber(seq) = QStringLiteral("12345");
    TestAccess::IdleStatus(seq) = QStringLiteral("Tarn Net");
    TestAccess::Count(seq) = 4;
    view.callMeters = true;
    view.numberEnabled = false;
    view.calls.clear();
    seq.RunStep(STEP_IDLE);
    EXPECT_EQ(view.calls,
              QStringList({"number 12345", "repaint status", "pause 30", "status Tarn Net"}));
    EXPECT_EQ(TestAccess::Count(seq), 0);
    EXPECT_FALSE(view.callMeters);
    EXPECT_TRUE(view.numberEnabled);
}

TEST_F(Steps, ProbeRenewsThePowerOnCommandFiveTimesThenGivesUp)
{
    seq.m_nProbeInterval = 1;
    TestAccess::Count(seq) = 0;
    seq.OnPower();
    EXPECT_EQ(seq.State(), STEP_POWER_ON_PROBE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.messages.isEmpty(); }, 20000));
    EXPECT_EQ(view.messages.first(), "Connect Data Port or Power Supply\r\nTarn Error#: 5");
    EXPECT_FALSE(seq.IsTimerActive(TIMER_PROBE));
    EXPECT_FALSE(view.waitCursor);

    const QByteArray data = Data();
    const QByteArray trace = Trace();
    EXPECT_EQ(CountOf(data, "AT\r"), 56);
    EXPECT_EQ(trace, QByteArray("**O**O**O**O**O**O"));
    // "**O" goes before the 1st, 12th, 23rd, 34th, 45th and 56th "AT".
    int nAt = 0;
    QList<int> renewals;
    for (const QString& line : writer.log) {
        if (line == "D>, AT")
            ++nAt;
        else if (line == "t>, **O")
            renewals << nAt + 1;
    }
    EXPECT_EQ(renewals, QList<int>({1, 12, 23, 34, 45, 56}));
    // The next attempt starts afresh with five renewals.
    EXPECT_TRUE(TestAccess::SendPowerOn(seq));
    EXPECT_EQ(TestAccess::PowerOnTries(seq), 5);
    EXPECT_EQ(TestAccess::Count(seq), 0);
}

TEST_F(Steps, ProbeStopsWhenThePowerOnCommandCannotBeWritten)
{
    writer.traceResult = 5;
    seq.RunStep(STEP_POWER_ON_PROBE);
    ASSERT_GE(view.messages.size(), 1);
    EXPECT_EQ(view.messages.last(), "Connect Data Port\r\nTarn Error#: 5");
    EXPECT_FALSE(seq.IsTimerActive(TIMER_PROBE));
    EXPECT_TRUE(Data().isEmpty());
    EXPECT_FALSE(view.waitCursor);
}

TEST_F(Steps, RegistrationPollsTenTimesThenNoCoverage)
{
    seq.m_nFirstRegPoll = 30;
    seq.m_nRegPollInterval = 5;
    TestAccess::Count(seq) = 0;
    seq.RunStep(STEP_SEARCHING);
    EXPECT_EQ(view.status, "Searching");
    EXPECT_FALSE(view.numberEnabled);
    ASSERT_TRUE(seq.IsTimerActive(TIMER_REG_POLL));
    ASSERT_TRUE(QTest::qWaitFor([&] { return seq.State() == STEP_NO_COVERAGE; }, 5000));
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r").repeated(10) + "AT\r");
    EXPECT_EQ(view.status, "No Coverage");
    EXPECT_FALSE(seq.IsTimerActive(TIMER_REG_POLL));

    // The ninth count sends the tenth query; the tenth gives up at once.
    TestAccess::Count(seq) = 9;
    seq.RunStep(STEP_SEARCHING);
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r"));
    seq.KillTimer(TIMER_REG_POLL);
    seq.RunStep(STEP_SEARCHING);
    EXPECT_EQ(seq.State(), STEP_NO_COVERAGE);
    EXPECT_EQ(Data(), QByteArray("AT\r"));

    // "yes" searches again from the start.
    seq.OnYes(QString(), QStringLiteral("Voice"));
    EXPECT_EQ(seq.State(), STEP_SEARCHING);
    EXPECT_EQ(TestAccess::Count(seq), 1);
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r"));
    seq.KillTimer(TIMER_REG_POLL);
}

TEST_F(Steps, RingTimeOutReturnsToIdle)
{
    seq.m_nRingTimeout = 40;
    TestAccess::IdleStatus(seq) = QStringLiteral("Tarn Net");
    seq.RunStep(STEP_IDLE);
    Drain();
    Line("RING");
    Line("RING");
    EXPECT_EQ(TestAccess::Count(seq), 2);
    EXPECT_EQ(Data(), QByteArray("AT+CLCC\r"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return seq.State() == STEP_IDLE; }, 3000));
    EXPECT_EQ(TestAccess::Count(seq), 0);
    EXPECT_EQ(view.status, "Tarn Net");
}
