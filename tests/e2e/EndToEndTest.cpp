// SPDX-License-Identifier: GPL-3.0-or-later
// The program against the simulated test mobile: start, PIN, coverage,
// calls, messages, report flags, power-off and exit.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "E2EFixture.h"
#include "TestAccess.h"
#include "serial/SerialPort.h"
#include "sim/SimCore.h"

namespace {
void Click(CTessolyDlg* c, int id)
{
    QTest::mouseClick(c->Item<QAbstractButton>(id), Qt::LeftButton);
}
} // namespace

TEST_F(E2E, StartReachesIdleWithIdentityOperatorAndServingCell)
{
    Start(FastSim());
    ToIdle();
    EXPECT_EQ(Text(IDC_IMEI), QString::fromLatin1(CSimCore::IMEI));
    EXPECT_TRUE(Text(IDC_IMSI).startsWith(QStringLiteral("26201"))) << Text(IDC_IMSI).toStdString();
    EXPECT_EQ(Text(IDC_POWER), QStringLiteral("Off"));
    EXPECT_TRUE(c->IsPoweredOn());
    EXPECT_TRUE(c->IsTraceReportsOn());
    // Reset on Start, the trace set-up and the report flags went out in this order.
    const QByteArray trace = sim->ReceivedTrace();
    EXPECT_GE(trace.indexOf("&F0+0*0*B0\r*M*M"), 0) << trace.constData();
    EXPECT_GT(trace.indexOf("*WFFFFFF\r"), trace.indexOf("*M*M"));
    // The trace reports fill the serving cell and the neighbours.
    const CSimStatus st = sim->Status();
    EXPECT_TRUE(WaitFor([&] { return Text(IDC_BCCH) == QString::number(st.nServingArfcn); }));
    EXPECT_TRUE(WaitFor([&] { return Text(IDC_MCC) == QStringLiteral("262"); }));
    EXPECT_TRUE(WaitFor([&] { return !Text(IDC_LAC).isEmpty() && !Text(IDC_CI).isEmpty(); }));
    EXPECT_TRUE(WaitFor([&] { return Text(IDC_RXLEV).endsWith(QStringLiteral(" dBm")); }));
    EXPECT_TRUE(WaitFor([&] { return !c->GetDlgItemText(g_anNeighbourIds[0][0]).isEmpty(); }));
    EXPECT_TRUE(WaitFor([&] { return !Text(IDC_MINRX).isEmpty(); }));
    // The menu commands that need reports are enabled now.
    EXPECT_TRUE(frame->Action(ID_CONTROL_BCCHSYSINFO)->isEnabled());
    EXPECT_TRUE(frame->Action(ID_OPTIONS_RESETMOBILE)->isEnabled());
    EXPECT_TRUE(answer.messages.isEmpty()) << answer.messages.join(QLatin1Char('|')).toStdString();
}

TEST_F(E2E, WrongPinThenRightPin)
{
    CSimOptions o = FastSim();
    o.strPin = QStringLiteral("4711");
    Start(o);
    ASSERT_TRUE(WaitStatus(QStringLiteral("Enter Pin")));
    Type(QStringLiteral("1111"));
    Click(c, IDC_YES);
    // The module refuses it: the panel asks again.
    ASSERT_TRUE(sim->WaitForData(QStringLiteral("AT+CPIN=1111"), 3000));
    ASSERT_TRUE(
        WaitFor([&] { return c->State() == STEP_ENTER_PIN && Text(IDC_NUMBER).isEmpty(); }));
    Type(QStringLiteral("4711"));
    Click(c, IDC_YES);
    ToIdle();
    EXPECT_TRUE(answer.messages.isEmpty()) << answer.messages.join(QLatin1Char('|')).toStdString();
}

TEST_F(E2E, NoCoverageThenSearchAgain)
{
    CSimOptions o = FastSim();
    o.bNoCoverage = true;
    Start(o);
    ASSERT_TRUE(WaitStatus(QStringLiteral("No Coverage")));
    const int polls = sim->ReceivedData().count(QStringLiteral("AT+CREG?"));
    EXPECT_EQ(polls, 10);
    Click(c, IDC_YES);
    EXPECT_EQ(Text(IDC_STATUS), QStringLiteral("Searching"));
    ASSERT_TRUE(WaitStatus(QStringLiteral("No Coverage")));
    EXPECT_EQ(sim->ReceivedData().count(QStringLiteral("AT+CREG?")), 20);
}

TEST_F(E2E, IncomingCallAnsweredAndEndedByTheOtherSide)
{
    Start(FastSim());
    ToIdle();
    ASSERT_TRUE(sim->RingFrom(QStringLiteral("+4930123456")));
    ASSERT_TRUE(WaitFor([&] { return Text(IDC_NUMBER) == QStringLiteral("+4930123456"); }));
    EXPECT_EQ(Text(IDC_STATUS), QStringLiteral("Ringing"));
    Click(c, IDC_YES);
    EXPECT_EQ(Text(IDC_STATUS), QStringLiteral("In call"));
    EXPECT_TRUE(WaitFor([&] { return sim->ReceivedTrace().contains("\\S"); }));
    ASSERT_TRUE(WaitFor([&] { return sim->Status().nCallState != 0; }));
    // Dedicated-mode reports during the call.
    EXPECT_TRUE(WaitFor([&] { return Text(IDC_TIMINGADV).endsWith(QStringLiteral(" km")); }));
    sim->HangUp();
    ASSERT_TRUE(WaitState(STEP_IDLE));
    EXPECT_TRUE(WaitStatus(QStringLiteral("Tarn Mobile")));
    EXPECT_EQ(TestAccess::Count(*c), 0);
}

TEST_F(E2E, OutgoingVoiceCallGoesThroughTheTracePort)
{
    Start(FastSim());
    ToIdle();
    CallType(QStringLiteral("Voice"));
    Type(QStringLiteral("0301234"));
    Click(c, IDC_YES);
    EXPECT_EQ(Text(IDC_STATUS), QStringLiteral("Establish call"));
    EXPECT_TRUE(WaitFor([&] { return sim->ReceivedTrace().contains("\\D0301234\r"); }));
    ASSERT_TRUE(WaitFor([&] { return sim->Status().nCallState != 0; }));
    Click(c, IDC_NO); // hang up
    ASSERT_TRUE(WaitState(STEP_IDLE));
    EXPECT_TRUE(WaitFor([&] { return sim->ReceivedData().contains(QStringLiteral("ATH")); }));
    EXPECT_EQ(Text(IDC_NUMBER), QStringLiteral("0301234")); // the last number comes back
}

TEST_F(E2E, DataCallToABusyNumber)
{
    CSimOptions o = FastSim();
    o.listBusyNumbers << QStringLiteral("555");
    Start(o);
    ToIdle();
    CallType(QStringLiteral("Data"));
    Type(QStringLiteral("555"));
    Click(c, IDC_YES);
    ASSERT_TRUE(WaitStatus(QStringLiteral("Busy")));
    EXPECT_TRUE(WaitFor([&] { return sim->ReceivedData().contains(QStringLiteral("ATD555")); }));
    Click(c, IDC_NO);
    ASSERT_TRUE(WaitState(STEP_IDLE));
}

TEST_F(E2E, MessageSentAndMessageFailed)
{
    for (bool fail : {false, true}) {
        CSimOptions o = FastSim();
        o.bSmsFail = fail;
        Start(o);
        ToIdle();
        // The result shows until the module's next line returns the panel to idle.
        QStringList statuses;
        QObject::connect(c->Item<QLineEdit>(IDC_STATUS), &QLineEdit::textChanged,
                         [&](const QString& t) { statuses << t; });
        TestAccess::MessageText(*c) = QStringLiteral("Meet at the mast");
        CallType(QStringLiteral("SMS"));
        Type(QStringLiteral("01701234"));
        Click(c, IDC_YES);
        const QString result = fail ? QStringLiteral("Message not delivered")
                                    : QStringLiteral("Message sent successfully");
        ASSERT_TRUE(WaitFor([&] { return statuses.contains(result); }));
        // "+CMS ERROR:" is final: the user returns to idle with "no"; a sent
        // message is followed by the module's "OK", which does it.
        if (fail) {
            EXPECT_EQ(c->State(), STEP_MESSAGE_FAILED);
            Click(c, IDC_NO);
        }
        ASSERT_TRUE(WaitState(STEP_IDLE));
        EXPECT_TRUE(statuses.contains(QStringLiteral("Sending message")));
        EXPECT_TRUE(WaitFor(
            [&] { return sim->ReceivedData().contains(QStringLiteral("AT+CMGS=\"01701234\"")); }));
        EXPECT_TRUE(WaitStatus(QStringLiteral("Tarn Mobile")));
        frame.reset();
        sim->Stop();
    }
}

TEST_F(E2E, PowerOffThenExitWithPowerOffOnExit)
{
    Start(FastSim());
    ToIdle();
    Click(c, IDC_POWER); // the question is answered with OK
    ASSERT_TRUE(WaitState(STEP_CLEAR_DISPLAY));
    EXPECT_EQ(Text(IDC_STATUS), QStringLiteral("Power Off"));
    EXPECT_TRUE(answer.messages.contains(QStringLiteral("Do you want to set power off?")));
    EXPECT_TRUE(WaitFor([&] { return !sim->Status().bPoweredOn; }));
    EXPECT_TRUE(sim->ReceivedTrace().endsWith("Z**Z"));
    // On again, then exit: Power off on Exit switches the module off.
    Click(c, IDC_POWER);
    ToIdle();
    ASSERT_TRUE(sim->Status().bPoweredOn);
    sim->ClearReceived();
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(answer.messages.contains(QStringLiteral("Do you want to exit program?")));
    EXPECT_TRUE(WaitFor([&] { return !sim->Status().bPoweredOn; }));
    EXPECT_EQ(sim->ReceivedTrace(), QByteArray("Z**Z"));
}
