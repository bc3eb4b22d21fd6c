// SPDX-License-Identifier: GPL-3.0-or-later
// The phone pad on the form: the number filter, the keys, speaker, location
// update, BS lock and the "go" buttons; what yes, no and power do in each
// state is the conversation's (tests/conversation).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
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

TEST_F(Pad, SpeakerAndLocationUpdate)
{
    Click(IDC_SPEAKERUP);
    EXPECT_EQ(Data(), QByteArray("AT+CKPD=\"u\"\r"));
    Click(IDC_SPEAKERDOWN);
    EXPECT_EQ(Data(), QByteArray("AT+CKPD=\"d\"\r"));
    Click(IDC_LOCATIONUPDATE);
    EXPECT_EQ(Trace(), QByteArray("\\O"));
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
