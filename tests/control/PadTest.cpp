// The phone pad: number filter, keys, yes/no by state, power, speaker,
// location update, BS lock and the "go" buttons.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "PanelFixture.h"
#include "TestAccess.h"
#include "platform/UiServices.h"

namespace {
class Pad : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        if (HasFailure())
            return;
        TestAccess::IdleStatus(*dlg) = QStringLiteral("Tarn Net");
        dlg->RunStep(STEP_IDLE);
        Drain();
    }
    QLineEdit* Number() { return dlg->Item<QLineEdit>(IDC_NUMBER); }
    void Click(int id)
    {
        auto* b = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(id));
        ASSERT_NE(b, nullptr) << id;
        b->click();
    }
    void SetCallType(const QString& t) { dlg->Item<QComboBox>(IDC_CALLTYPE)->setEditText(t); }
};
} // namespace

TEST_F(Pad, NumberFilter)
{
    // Idle: a letter is removed at once, the caret goes to the end.
    Number()->setText(QStringLiteral("12a3"));
    EXPECT_EQ(Number()->text(), "123");
    EXPECT_EQ(Number()->cursorPosition(), 3);
    QTest::keyClicks(Number(), QStringLiteral("4x5 #"));
    EXPECT_EQ(Number()->text(), "12345#");
    Number()->setText(QStringLiteral("ab;\"\r"));
    EXPECT_EQ(Number()->text(), "");

    // "*/+" twice gives "+"; a run of stars collapses pair by pair.
    Number()->clear();
    Click(IDC_KEYSTAR);
    Click(IDC_KEYSTAR);
    EXPECT_EQ(Number()->text(), "+");
    Number()->setText(QStringLiteral("1*****2"));
    EXPECT_EQ(Number()->text(), "1++*2");

    // PIN: digits only, the star is removed at once.
    dlg->RunStep(STEP_ENTER_PIN);
    Number()->clear();
    Click(IDC_KEY1);
    Click(IDC_KEYSTAR);
    Click(IDC_KEYHASH);
    EXPECT_EQ(Number()->text(), "1");

    // No filter while a call is set up.
    TestAccess::State(*dlg) = STEP_ESTABLISH_CALL;
    Number()->setText(QStringLiteral("abc"));
    EXPECT_EQ(Number()->text(), "abc");
}

TEST_F(Pad, KeysInsertAtTheCaretOrDialInCall)
{
    Number()->setText(QStringLiteral("1234"));
    Number()->setCursorPosition(2);
    Click(IDC_KEY1 + 8); // "9"
    EXPECT_EQ(Number()->text(), "12934");
    EXPECT_EQ(Number()->cursorPosition(), 3);
    Number()->setCursorPosition(0);
    Click(IDC_KEY0);
    EXPECT_EQ(Number()->text(), "012934");
    EXPECT_EQ(Number()->cursorPosition(), 1);
    Number()->end(false);
    Click(IDC_KEYHASH);
    EXPECT_EQ(Number()->text(), "012934#");
    EXPECT_EQ(Number()->cursorPosition(), 7);
    EXPECT_TRUE(Data(20).isEmpty());

    // In a call a key is a tone: "ATD" and the key; the field is not touched.
    dlg->RunStep(STEP_IN_CALL);
    Click(IDC_KEY1 + 4); // "5"
    EXPECT_EQ(Data(), QByteArray("ATD5\r"));
    EXPECT_EQ(Number()->text(), "012934#");

    // Other states: nothing.
    TestAccess::State(*dlg) = STEP_RINGING;
    Click(IDC_KEY1);
    EXPECT_EQ(Number()->text(), "012934#");
    EXPECT_TRUE(Data(20).isEmpty());
}

TEST_F(Pad, Pin)
{
    dlg->RunStep(STEP_ENTER_PIN);
    for (const char* pin : {"123", "12345"}) {
        Number()->setText(QString::fromLatin1(pin));
        Click(IDC_YES);
        EXPECT_EQ(dlg->State(), STEP_ENTER_PIN) << pin;
        EXPECT_TRUE(Data(20).isEmpty()) << pin;
    }
    // "no" erases the last digit.
    Click(IDC_NO);
    EXPECT_EQ(Number()->text(), "1234");
    Click(IDC_YES);
    EXPECT_EQ(dlg->State(), STEP_SIM_READY);
    EXPECT_EQ(Text(IDC_STATUS), "Searching");
    EXPECT_EQ(Data(), QByteArray("AT+CPIN=1234\r"));
    EXPECT_TRUE(answerer.messages.isEmpty());
}

TEST_F(Pad, VoiceCalls)
{
    // Empty field: nothing is sent, the state stays, the last number is emptied.
    TestAccess::LastNumber(*dlg) = QStringLiteral("999");
    Click(IDC_YES);
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    EXPECT_EQ(TestAccess::LastNumber(*dlg), "");
    EXPECT_TRUE(Trace(20).isEmpty());
    EXPECT_TRUE(Data(20).isEmpty());

    // A voice call is dialled on the trace port.
    Number()->setText(QStringLiteral("+4930#"));
    Click(IDC_YES);
    EXPECT_EQ(Trace(), QByteArray("\\D+4930#\r"));
    EXPECT_EQ(dlg->State(), STEP_ESTABLISH_CALL);
    EXPECT_EQ(Text(IDC_STATUS), "Establish call");
    EXPECT_EQ(TestAccess::LastNumber(*dlg), "+4930#");
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_NUMBER));

    // "no" hangs up; the answer returns to idle with the number back.
    Click(IDC_NO);
    EXPECT_EQ(dlg->State(), STEP_TERMINATE_CALL);
    EXPECT_EQ(Data(), QByteArray("ATH\r"));
    Click(IDC_NO);
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    EXPECT_EQ(Number()->text(), "+4930#");
}

TEST_F(Pad, MessagesAndDataCalls)
{
    // SMS with an empty field: nothing sent, but the panel waits for the message.
    SetCallType(QStringLiteral("SMS"));
    Click(IDC_YES);
    EXPECT_TRUE(Data(20).isEmpty());
    EXPECT_EQ(dlg->State(), STEP_SENDING_MESSAGE);
    EXPECT_EQ(Text(IDC_STATUS), "Sending message");
    // "no" cancels with ESC.
    Click(IDC_NO);
    EXPECT_EQ(Data(), QByteArray("\x1b\r"));
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    EXPECT_EQ(Text(IDC_STATUS), "Tarn Net");

    Number()->setText(QStringLiteral("0170123"));
    Click(IDC_YES);
    EXPECT_EQ(Data(), QByteArray("AT+CMGS=\"0170123\"\r"));
    EXPECT_EQ(dlg->State(), STEP_SENDING_MESSAGE);

    // Data, typed into the box: anything but "Voice" or "SMS" is a data call.
    dlg->RunStep(STEP_IDLE);
    SetCallType(QStringLiteral("Fax"));
    Number()->setText(QStringLiteral("12345"));
    Click(IDC_YES);
    EXPECT_EQ(Data(), QByteArray("ATD12345\r"));
    EXPECT_EQ(Text(IDC_STATUS), "Establish call");
    EXPECT_EQ(dlg->State(), STEP_ESTABLISH_CALL);
    EXPECT_TRUE(Trace(20).isEmpty());

    dlg->RunStep(STEP_IDLE);
    SetCallType(QStringLiteral("Data"));
    Number()->clear();
    Click(IDC_YES);
    EXPECT_TRUE(Data(20).isEmpty());
    EXPECT_EQ(dlg->State(), STEP_ESTABLISH_CALL);

    // Typed text counts as the type: "my SMS" is a message.
    dlg->RunStep(STEP_IDLE);
    SetCallType(QStringLiteral("my SMS"));
    Number()->setText(QStringLiteral("5"));
    Click(IDC_YES);
    EXPECT_EQ(Data(), QByteArray("AT+CMGS=\"5\"\r"));

    // Message results: "no" returns to idle without a command.
    dlg->RunStep(STEP_MESSAGE_SENT);
    Click(IDC_NO);
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    EXPECT_TRUE(Data(20).isEmpty());
}

TEST_F(Pad, RingingAnswerOrReject)
{
    dlg->m_nRingTimeout = 100000;
    Line("RING");
    Drain();
    ASSERT_EQ(dlg->State(), STEP_RINGING);
    Click(IDC_YES);
    EXPECT_EQ(Trace(), QByteArray("\\S"));
    EXPECT_EQ(dlg->State(), STEP_IN_CALL);
    EXPECT_EQ(Text(IDC_STATUS), "In call");
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_RING));

    // Rejecting while ringing hangs up and stops the ring time-out.
    dlg->RunStep(STEP_IDLE);
    Line("RING");
    Drain();
    ASSERT_TRUE(dlg->IsTimerActive(TIMER_RING));
    Click(IDC_NO);
    EXPECT_EQ(dlg->State(), STEP_TERMINATE_CALL);
    EXPECT_EQ(Data(), QByteArray("ATH\r"));
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_RING));

    // Caller shown: the same.
    dlg->RunStep(STEP_IDLE);
    Line("RING");
    Line("AT+CLCC");
    Drain();
    ASSERT_EQ(dlg->State(), STEP_CALLER_ID);
    Click(IDC_NO);
    EXPECT_EQ(Data(), QByteArray("ATH\r"));
    EXPECT_FALSE(dlg->IsTimerActive(TIMER_RING));

    // An answer being set up is cancelled with ESC.
    TestAccess::State(*dlg) = STEP_ANSWERING;
    Click(IDC_NO);
    EXPECT_EQ(Data(), QByteArray("\x1b\r"));
    EXPECT_EQ(dlg->State(), STEP_IDLE);
}

TEST_F(Pad, NoErasesInIdle)
{
    Number()->setText(QStringLiteral("123"));
    dlg->SetDlgItemText(IDC_STATUS, QStringLiteral("No Carrier"));
    Click(IDC_NO);
    EXPECT_EQ(Number()->text(), "12");
    EXPECT_EQ(Text(IDC_STATUS), "Tarn Net");
    Number()->clear();
    Click(IDC_NO);
    EXPECT_EQ(Number()->text(), "");

    // Elsewhere "no" does nothing.
    Number()->setText(QStringLiteral("77"));
    TestAccess::State(*dlg) = STEP_SEARCHING;
    Click(IDC_NO);
    EXPECT_EQ(Number()->text(), "77");
    EXPECT_TRUE(Data(20).isEmpty());
}

TEST_F(Pad, PowerQuestionAndSpeakerAndLocationUpdate)
{
    TestAccess::PoweredOn(*dlg) = true;
    answerer.answerCancel = true;
    Click(IDC_POWER);
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages.last(), "Do you want to set power off?");
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    EXPECT_TRUE(Trace(20).isEmpty());
    EXPECT_FALSE(CUiServices::IsWaitCursor());

    answerer.answerCancel = false;
    dlg->m_nPowerOffDelay = 100000;
    Click(IDC_POWER);
    EXPECT_EQ(dlg->State(), STEP_POWER_OFF);
    EXPECT_EQ(Trace(), QByteArray("Z"));
    dlg->KillTimer(TIMER_POWER_OFF);

    Click(IDC_SPEAKERUP);
    EXPECT_EQ(Data(), QByteArray("AT+CKPD=\"u\"\r"));
    Click(IDC_SPEAKERDOWN);
    EXPECT_EQ(Data(), QByteArray("AT+CKPD=\"d\"\r"));
    Click(IDC_LOCATIONUPDATE);
    EXPECT_EQ(Trace(), QByteArray("\\O"));

    // Off: the power button starts the probe and forgets the operator.
    TestAccess::PoweredOn(*dlg) = false;
    TestAccess::SendPowerOn() = true;
    Click(IDC_POWER);
    EXPECT_EQ(dlg->State(), STEP_POWER_ON_PROBE);
    EXPECT_EQ(dlg->IdleStatus(), "");
    EXPECT_EQ(Trace(), QByteArray("**O"));
    dlg->KillTimer(TIMER_PROBE);
}

TEST_F(Pad, BsLockCorrectsOutOfRangeChannels)
{
    auto check = [&](const QString& channel, const QString& corrected) {
        dlg->CheckDlgButton(IDC_BSLOCK, false);
        dlg->SetDlgItemText(IDC_BSLOCK_CHANNEL, channel);
        const int nBeeps = CUiServices::BeepCount();
        Click(IDC_BSLOCK);
        EXPECT_EQ(Text(IDC_BSLOCK_CHANNEL), corrected) << channel.toStdString();
        EXPECT_FALSE(dlg->IsDlgButtonChecked(IDC_BSLOCK)) << channel.toStdString();
        EXPECT_EQ(CUiServices::BeepCount(), nBeeps + 1) << channel.toStdString();
        EXPECT_TRUE(Trace(20).isEmpty()) << channel.toStdString();
        EXPECT_FALSE(frame.bsLock);
    };
    check(QStringLiteral("300"), QStringLiteral("512"));
    check(QStringLiteral("130"), QStringLiteral("124"));
    check(QStringLiteral("1000"), QStringLiteral("885"));
    check(QStringLiteral("0"), QStringLiteral("1"));
    check(QString(), QStringLiteral("1")); // and an empty serving channel

    // Checking again locks to the corrected channel.
    dlg->SetDlgItemText(IDC_BSLOCK_CHANNEL, QStringLiteral("512"));
    Click(IDC_BSLOCK);
    EXPECT_EQ(Trace(), QByteArray("5512\r\\F512\r"));
    EXPECT_TRUE(dlg->IsDlgButtonChecked(IDC_BSLOCK));
    EXPECT_TRUE(frame.bsLock);
    EXPECT_EQ(TestAccess::LockChannel(*dlg), "512\r");

    // Unchecking releases.
    Click(IDC_BSLOCK);
    EXPECT_EQ(Trace(), QByteArray("50\r\\F0\r"));
    EXPECT_FALSE(frame.bsLock);
    EXPECT_EQ(TestAccess::LockChannel(*dlg), "0\r");

    // An empty field takes the serving cell's channel.
    dlg->SetDlgItemText(IDC_BSLOCK_CHANNEL, QString());
    dlg->SetDlgItemText(IDC_BCCH, QStringLiteral("62"));
    Click(IDC_BSLOCK);
    EXPECT_EQ(Trace(), QByteArray("562\r\\F62\r"));
    EXPECT_EQ(Text(IDC_BSLOCK_CHANNEL), "62");

    // The menu's way in.
    dlg->SetBsLockCheck(false);
    EXPECT_EQ(Trace(), QByteArray("50\r\\F0\r"));
    EXPECT_FALSE(frame.bsLock);
}

TEST_F(Pad, GoButtonsLockWithoutCorrection)
{
    dlg->SetDlgItemText(g_anNeighbourIds[0][0], QStringLiteral("1000"));
    Click(g_anNeighbourIds[0][4]);
    EXPECT_EQ(Trace(), QByteArray("51000\r\\F1000\r"));
    EXPECT_TRUE(dlg->IsDlgButtonChecked(IDC_BSLOCK));
    EXPECT_EQ(Text(IDC_BSLOCK_CHANNEL), "1000");

    // An empty row releases the lock.
    Click(g_anNeighbourIds[5][4]);
    EXPECT_EQ(Trace(), QByteArray("50\r\\F0\r"));
    EXPECT_FALSE(dlg->IsDlgButtonChecked(IDC_BSLOCK));

    dlg->SetDlgItemText(g_anNeighbourIds[3][0], QStringLiteral("17"));
    Click(g_anNeighbourIds[3][4]);
    EXPECT_EQ(Trace(), QByteArray("517\r\\F17\r"));
    dlg->OnGo(0);
    dlg->OnGo(7);
    EXPECT_TRUE(Trace(20).isEmpty());
}

TEST_F(Pad, EnterInTheNumberFieldActsAsYes)
{
    dlg->show();
    QApplication::setActiveWindow(dlg.get());
    Number()->setFocus();
    Number()->setText(QStringLiteral("42"));
    if (!Number()->hasFocus())
        GTEST_SKIP() << "no keyboard focus on this platform";
    QTest::keyClick(Number(), Qt::Key_Return);
    EXPECT_EQ(Trace(), QByteArray("\\D42\r"));
}
