// The sequencer's steps and its four timers.
#include <QComboBox>
#include <QElapsedTimer>
#include <QListView>
#include <QListWidget>
#include <QTest>

#include "ListRows.h"
#include "PanelFixture.h"
#include "TestAccess.h"
#include "platform/UiServices.h"
#include "serial/TrafficLog.h"

using Steps = PanelTest;

namespace {
int CountOf(const QByteArray& bytes, const char* what)
{
    return static_cast<int>(bytes.count(what));
}

QStringList LogLines(CTessolyDlg& dlg)
{
    QStringList lines;
    dlg.Log()->Flush();
    if (auto* log = dlg.Item<QListView>(IDC_LOG))
        lines = RowTexts(*log);
    return lines;
}
} // namespace

TEST_F(Steps, PowerOffClearsTheFormAndEndsInStep5)
{
    TestAccess::PoweredOn(*dlg) = true;
    dlg->SetDlgItemText(IDC_POWER, QStringLiteral("Off"));
    for (int id :
         {int(IDC_IMEI), int(IDC_IMSI), int(IDC_MNC), int(IDC_MCC), int(IDC_LAC), int(IDC_CI),
          int(IDC_BCCH), int(IDC_BSIC), int(IDC_MINRX), int(IDC_DIFFRX), int(IDC_BSLOCK_CHANNEL),
          int(IDC_RXLEV), int(IDC_TIMESLOT), g_anNeighbourIds[2][0], g_anNeighbourIds[5][2]})
        dlg->SetDlgItemText(id, QStringLiteral("7"));
    dlg->SetBar(IDC_RXLEV_BAR, 30);
    dlg->SetBar(g_anNeighbourIds[0][3], 20);
    dlg->Item<QListWidget>(IDC_TRAFFICCHANNELS)->addItem(QStringLiteral("12"));
    dlg->CheckDlgButton(IDC_BSLOCK, true);
    dlg->EnableDlgItem(IDC_NUMBER, true);
    dlg->Item<QComboBox>(IDC_CALLTYPE)->setCurrentIndex(2);
    const int nBsLockCalls = frame.bsLockCalls;

    dlg->RunStep(STEP_POWER_OFF_DONE);
    EXPECT_EQ(dlg->State(), STEP_CLEAR_DISPLAY);
    EXPECT_EQ(Trace(), QByteArray("**Z"));
    EXPECT_FALSE(dlg->IsPoweredOn());
    EXPECT_EQ(Text(IDC_POWER), "On");
    EXPECT_EQ(Text(IDC_STATUS), "Power Off");
    EXPECT_EQ(Text(IDC_CALLTYPE), "Voice");
    EXPECT_EQ(dlg->Item<QComboBox>(IDC_CALLTYPE)->currentIndex(), 0);
    for (int id :
         {int(IDC_IMEI), int(IDC_IMSI), int(IDC_MNC), int(IDC_MCC), int(IDC_LAC), int(IDC_CI),
          int(IDC_BCCH), int(IDC_BSIC), int(IDC_MINRX), int(IDC_DIFFRX), int(IDC_BSLOCK_CHANNEL),
          int(IDC_RXLEV), int(IDC_TIMESLOT), g_anNeighbourIds[2][0], g_anNeighbourIds[5][2]})
        EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(dlg->BarPos(IDC_RXLEV_BAR), 0);
    EXPECT_EQ(dlg->BarPos(g_anNeighbourIds[0][3]), 0);
    EXPECT_EQ(dlg->Item<QListWidget>(IDC_TRAFFICCHANNELS)->count(), 0);
    // The lock box is cleared without release commands and without telling the frame.
    EXPECT_FALSE(dlg->IsDlgButtonChecked(IDC_BSLOCK));
    EXPECT_EQ(frame.bsLockCalls, nBsLockCalls);
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_NUMBER));
    EXPECT_FALSE(CUiServices::IsWaitCursor());
}

TEST_F(Steps, PowerOffWaitsThenSwitchesOffAndStopsPolling)
{
    dlg->m_nPowerOffDelay = 20;
    TestAccess::PoweredOn(*dlg) = true;
    dlg->SetTimer(TIMER_REG_POLL, 10);
    dlg->SetTimer(TIMER_RING, 10);
    dlg->RunStep(STEP_POWER_OFF);
    EXPECT_EQ(Trace(), QByteArray("Z"));
    EXPECT_TRUE(dlg->IsTimerActive(TIMER_POWER_OFF));
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_REG_POLL));
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_RING));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg->State() == STEP_CLEAR_DISPLAY; }, 2000));
    EXPECT_EQ(Trace(), QByteArray("**Z"));
    EXPECT_FALSE(dlg->IsPoweredOn());
    EXPECT_TRUE(Data(20).isEmpty());
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
        dlg->RunStep(c.step);
        EXPECT_EQ(dlg->State(), c.step);
        EXPECT_EQ(Text(IDC_STATUS), c.status) << c.step;
    }
    // The call and message steps switch the dedicated-mode meters on; idle off.
    dlg->RunStep(STEP_IDLE);
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_TIMINGADV));
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_OUTPOWER));
    dlg->RunStep(STEP_SENDING_MESSAGE);
    EXPECT_TRUE(dlg->IsDlgItemEnabled(IDC_TIMINGADV));
    EXPECT_TRUE(dlg->IsDlgItemEnabled(IDC_OUTPOWER_BAR));
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_NUMBER));
    dlg->RunStep(STEP_MESSAGE_FAILED);
    EXPECT_TRUE(dlg->IsDlgItemEnabled(IDC_NUMBER));
}

TEST_F(Steps, HangUpAndIdle)
{
    dlg->CheckDlgButton(IDC_BSLOCK, true);
    dlg->SetDlgItemText(IDC_BSLOCK_CHANNEL, QStringLiteral("62"));
    dlg->RunStep(STEP_TERMINATE_CALL);
    EXPECT_EQ(Data(), QByteArray("ATH\r"));
    EXPECT_FALSE(dlg->IsDlgButtonChecked(IDC_BSLOCK));
    EXPECT_EQ(Text(IDC_BSLOCK_CHANNEL), "");
    EXPECT_TRUE(Trace(20).isEmpty());

    // Idle: the last number comes back, then the operator's name after the pause.
    dlg->m_nIdlePause = 30;
    TestAccess::LastNumber(*dlg) = QStringLiteral("12345");
    TestAccess::IdleStatus(*dlg) = QStringLiteral("Tarn Net");
    TestAccess::Count(*dlg) = 4;
    dlg->SetBar(IDC_TIMINGADV_BAR, 10);
    dlg->SetBar(IDC_OUTPOWER_BAR, 10);
    QElapsedTimer t;
    t.start();
    dlg->RunStep(STEP_IDLE);
    EXPECT_GE(t.elapsed(), 25);
    EXPECT_EQ(Text(IDC_NUMBER), "12345");
    EXPECT_EQ(Text(IDC_STATUS), "Tarn Net");
    EXPECT_EQ(TestAccess::Count(*dlg), 0);
    EXPECT_EQ(dlg->BarPos(IDC_TIMINGADV_BAR), 0);
    EXPECT_EQ(dlg->BarPos(IDC_OUTPOWER_BAR), 0);
    EXPECT_TRUE(dlg->IsDlgItemEnabled(IDC_NUMBER));
}

TEST_F(Steps, ProbeRenewsThePowerOnCommandFiveTimesThenGivesUp)
{
    dlg->m_nProbeInterval = 1;
    TestAccess::Count(*dlg) = 0;
    dlg->OnPower();
    EXPECT_EQ(dlg->State(), STEP_POWER_ON_PROBE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answerer.messages.isEmpty(); }, 20000));
    EXPECT_EQ(answerer.messages.first(), "Connect Data Port or Power Supply\r\nTarn Error#: 5");
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_PROBE));
    EXPECT_FALSE(CUiServices::IsWaitCursor());

    const QByteArray data = Data(200);
    const QByteArray trace = Trace(200);
    EXPECT_EQ(CountOf(data, "AT\r"), 56);
    EXPECT_EQ(trace, QByteArray("**O**O**O**O**O**O"));
    // "**O" goes before the 1st, 12th, 23rd, 34th, 45th and 56th "AT".
    int nAt = 0;
    QList<int> renewals;
    for (const QString& line : LogLines(*dlg)) {
        if (line == "D>, AT")
            ++nAt;
        else if (line == "t>, **O")
            renewals << nAt + 1;
    }
    EXPECT_EQ(renewals, QList<int>({1, 12, 23, 34, 45, 56}));
    // The next attempt starts afresh with five renewals.
    EXPECT_TRUE(TestAccess::SendPowerOn());
    EXPECT_EQ(TestAccess::PowerOnTries(), 5);
    EXPECT_EQ(TestAccess::Count(*dlg), 0);
}

TEST_F(Steps, ProbeStopsWhenThePowerOnCommandCannotBeWritten)
{
    tracePty.CloseMaster();
    dlg->RunStep(STEP_POWER_ON_PROBE);
    ASSERT_GE(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages.last(), "Connect Data Port\r\nTarn Error#: 5");
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_PROBE));
    EXPECT_TRUE(Data(20).isEmpty());
    EXPECT_FALSE(CUiServices::IsWaitCursor());
}

TEST_F(Steps, RegistrationPollsTenTimesThenNoCoverage)
{
    dlg->m_nFirstRegPoll = 30;
    dlg->m_nRegPollInterval = 5;
    TestAccess::Count(*dlg) = 0;
    dlg->RunStep(STEP_SEARCHING);
    EXPECT_EQ(Text(IDC_STATUS), "Searching");
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_NUMBER));
    ASSERT_TRUE(dlg->IsTimerActive(TIMER_REG_POLL));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->State() == STEP_NO_COVERAGE; }, 5000));
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r").repeated(10) + "AT\r");
    EXPECT_EQ(Text(IDC_STATUS), "No Coverage");
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_REG_POLL));

    // The ninth count sends the tenth query; the tenth gives up at once.
    TestAccess::Count(*dlg) = 9;
    dlg->RunStep(STEP_SEARCHING);
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r"));
    dlg->KillTimer(TIMER_REG_POLL);
    dlg->RunStep(STEP_SEARCHING);
    EXPECT_EQ(dlg->State(), STEP_NO_COVERAGE);
    EXPECT_EQ(Data(), QByteArray("AT\r"));

    // "yes" searches again from the start.
    dlg->OnYes();
    EXPECT_EQ(dlg->State(), STEP_SEARCHING);
    EXPECT_EQ(TestAccess::Count(*dlg), 1);
    EXPECT_EQ(Data(), QByteArray("AT+CREG?\r"));
    dlg->KillTimer(TIMER_REG_POLL);
}

TEST_F(Steps, RingTimeOutReturnsToIdle)
{
    dlg->m_nRingTimeout = 40;
    TestAccess::IdleStatus(*dlg) = QStringLiteral("Tarn Net");
    dlg->RunStep(STEP_IDLE);
    Drain();
    Line("RING");
    Line("RING");
    EXPECT_EQ(TestAccess::Count(*dlg), 2);
    EXPECT_EQ(Data(), QByteArray("AT+CLCC\r"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->State() == STEP_IDLE; }, 3000));
    EXPECT_EQ(TestAccess::Count(*dlg), 0);
    EXPECT_EQ(Text(IDC_STATUS), "Tarn Net");
}
