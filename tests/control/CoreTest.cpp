// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's core: paced writes, the log of what crosses the wire, error
// reports, ports, the idle status and the panel's placement.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QSpinBox>
#include <QTest>
#include <atomic>
#include <memory>
#include <poll.h>
#include <thread>
#include <unistd.h>

#include "AccessibleChild.h"
#include "ListRows.h"
#include "PanelFixture.h"
#include "TestAccess.h"
#include "platform/PortConfig.h"
#include "platform/PortNames.h"
#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"

using Core = PanelTest;

namespace {
QString LastLogEntry(CTessolyDlg& dlg)
{
    dlg.Log()->Flush();
    auto* log = dlg.Item<QListView>(IDC_LOG);
    return RowCount(*log) ? RowText(*log, RowCount(*log) - 1) : QString();
}

int LogCount(CTessolyDlg& dlg)
{
    dlg.Log()->Flush();
    return RowCount(*dlg.Item<QListView>(IDC_LOG));
}
} // namespace

TEST_F(Core, SendDataWritesOneLineWithCarriageReturnAndLogsIt)
{
    Drain();
    EXPECT_EQ(dlg->SendData("AT"), 0);
    EXPECT_EQ(Data(), QByteArray("AT\r"));
    EXPECT_EQ(LastLogEntry(*dlg), QStringLiteral("D>, AT"));

    // Command, argument and suffix joined.
    dlg->SendData("AT+CMGS=\"", "0170123", "\"");
    EXPECT_EQ(Data(), QByteArray("AT+CMGS=\"0170123\"\r"));

    // An empty argument sends and logs nothing.
    const int entries = LogCount(*dlg);
    EXPECT_EQ(dlg->SendData("ATD", "", ""), 0);
    EXPECT_EQ(Data(), QByteArray());
    EXPECT_EQ(LogCount(*dlg), entries);

    // The end-of-message character takes the place of the carriage return.
    dlg->SendData("Hello", "\x1a");
    EXPECT_EQ(Data(), QByteArray("Hello\x1a"));
}

TEST_F(Core, NothingGoesOutWhileReadingThePhoneBookOrEstablishingACall)
{
    Drain();
    for (int state : {STEP_LIBRARY_ENTRIES, STEP_ESTABLISH_CALL}) {
        SetState(state);
        const int entries = LogCount(*dlg);
        EXPECT_EQ(dlg->SendData("ATH"), 0);
        EXPECT_EQ(Data(), QByteArray()) << state;
        EXPECT_EQ(LogCount(*dlg), entries);
    }
}

TEST_F(Core, SendTracePacesEveryCharacterAndLogsTheCommandOnce)
{
    Drain();
    dlg->m_nTraceCharDelay = 50;
    // Time the arrival of each byte on the other side.
    std::vector<qint64> arrivals;
    std::atomic<bool> done{false};
    QElapsedTimer clock;
    clock.start();
    const int fd = tracePty.MasterFd();
    std::thread reader([&] {
        while (!done || arrivals.size() < 4) {
            struct pollfd p = {fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                char c;
                while (::read(fd, &c, 1) == 1)
                    arrivals.push_back(clock.elapsed());
            }
            if (done && clock.elapsed() > 3000)
                break;
        }
    });
    const int entries = LogCount(*dlg);
    EXPECT_EQ(dlg->SendTrace("*M*M"), 0);
    const qint64 took = clock.elapsed();
    done = true;
    reader.join();
    ASSERT_EQ(arrivals.size(), 4u);
    for (size_t i = 1; i < arrivals.size(); ++i)
        EXPECT_GE(arrivals[i] - arrivals[i - 1], 40) << i; // one write per character, paced
    EXPECT_GE(took, 200);                                  // the pause follows the last one too
    EXPECT_EQ(LogCount(*dlg), entries + 1);
    EXPECT_EQ(LastLogEntry(*dlg), QStringLiteral("t>, *M*M"));
    // Nothing is appended: a command that needs a carriage return carries it.
    dlg->m_nTraceCharDelay = 0;
    dlg->SendTrace("0\r");
    EXPECT_EQ(Trace(), QByteArray("0\r"));
    EXPECT_EQ(LastLogEntry(*dlg), QStringLiteral("t>, 0"));
}

TEST_F(Core, ReceivedLinesAreLoggedWithTheirPrefix)
{
    dataPty.Write("+CREG: 0,1\r\n");
    tracePty.Write("Idle_Mode_Rpt 62 40\r\n");
    QTRY_COMPARE(LogCount(*dlg) >= 2 && LastLogEntry(*dlg).startsWith(QStringLiteral("t<, ")),
                 true);
    const QStringList texts = RowTexts(*dlg->Item<QListView>(IDC_LOG));
    EXPECT_TRUE(texts.contains(QStringLiteral("D<, +CREG: 0,1")));
    EXPECT_TRUE(texts.contains(QStringLiteral("t<, Idle_Mode_Rpt 62 40")));
}

TEST_F(Core, ErrorReportsUseTheTwoMessageForms)
{
    EXPECT_TRUE(dlg->ReportError(1, 0, true, "anything", 1));
    EXPECT_TRUE(answerer.messages.isEmpty());
    EXPECT_EQ(frame.closeAppPosts, 0);
    EXPECT_FALSE(dlg->ReportError(1, 5, false, "Enter Pin", 0));
    EXPECT_FALSE(dlg->ReportError(2, 4, false, "Setup Trace Port", 2));
    ASSERT_EQ(answerer.messages.size(), 2);
    EXPECT_EQ(answerer.messages[0], QStringLiteral("Enter Pin\r\nTarn Error#: 5"));
    EXPECT_EQ(answerer.messages[1], QStringLiteral("Setup Trace Port on COM2\r\nError#: 4"));
    EXPECT_NE(dlg->DataPort(), nullptr); // not fatal: the panel goes on
    EXPECT_EQ(frame.closeAppPosts, 0);
    // A fatal report releases both channels and the log, then asks the frame to close.
    EXPECT_FALSE(dlg->ReportError(1, 3, true, "Send to Data Port", 1));
    EXPECT_EQ(dlg->DataPort(), nullptr);
    EXPECT_EQ(dlg->TracePort(), nullptr);
    EXPECT_EQ(dlg->Log(), nullptr);
    EXPECT_EQ(frame.closeAppPosts, 1);
    // Writes after that do nothing and do not crash.
    EXPECT_EQ(dlg->SendData("AT"), 0);
    EXPECT_EQ(dlg->SendTrace("Z"), 0);
}

TEST_F(Core, AFailedDataWriteIsReportedAndNotLogged)
{
    Drain();
    dataPty.CloseMaster();
    QTest::qWait(50);
    const int entries = LogCount(*dlg);
    const int r = dlg->SendData("AT");
    EXPECT_NE(r, 0);
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages[0], QStringLiteral("Write to Data Port\r\nTarn Error#: %1").arg(r));
    EXPECT_EQ(LogCount(*dlg), entries);
}

// A device that went away is reported once, however many lines still want
// to write to it, even while the box stands; reopening the port writes again.
TEST_F(Core, ALostDeviceIsReportedOnceUntilThePortIsReopened)
{
    Drain();
    tracePty.CloseMaster();
    dataPty.CloseMaster();
    int boxes = 0;
    answerer.handler = [&](QWidget*) {
        if (++boxes == 1) {
            // Queued lines handled inside the box's loop answer on the lost port.
            dlg->SendTrace("\\C");
            dlg->SendTrace("\\C");
        }
        return false;
    };
    const int entries = LogCount(*dlg);
    EXPECT_EQ(dlg->SendTrace("\\C"), SP_WRITE_FAILED);
    EXPECT_EQ(dlg->SendTrace("*M"), SP_WRITE_FAILED);
    EXPECT_TRUE(dlg->TracePort()->IsLost());
    EXPECT_EQ(dlg->SendData("AT"), SP_WRITE_FAILED);
    EXPECT_EQ(dlg->SendData("AT"), SP_WRITE_FAILED);
    EXPECT_EQ(answerer.messages,
              QStringList({QStringLiteral("Write to Trace Port on COM2\r\nError#: 5"),
                           QStringLiteral("Write to Data Port\r\nTarn Error#: 5")}));
    // Every trace command is logged as ever; failed data commands are not.
    EXPECT_EQ(LogCount(*dlg), entries + 4);

    PtyPair trace, data;
    CPortNames::SetDevice(2, trace.SlavePath());
    CPortNames::SetDevice(1, data.SlavePath());
    dlg->ClosePorts();
    int nTrace = 2, nData = 1;
    ASSERT_TRUE(dlg->OpenPorts(&nTrace, &nData));
    EXPECT_EQ(dlg->SendTrace("Z"), SP_OK);
    EXPECT_EQ(trace.Read(), QByteArray("Z"));
    trace.CloseMaster();
    dlg->SendTrace("Z");
    dlg->SendTrace("Z");
    EXPECT_EQ(answerer.messages.size(), 3);
}

// An adapter pulled, or the simulator killed: the panel says so at once,
// without waiting for a write, and takes the device back when its path is
// there again, starting the module as at start-up.
TEST_F(Core, ALostDeviceIsReportedAtOnceAndReopenedWhenItComesBack)
{
    const QString link = dir.filePath(QStringLiteral("trace-link"));
    auto first = std::make_unique<PtyPair>();
    ASSERT_TRUE(QFile::link(first->SlavePath(), link));
    CPortNames::SetDevice(2, link);
    dlg->ClosePorts();
    int nTrace = 2, nData = 1;
    ASSERT_TRUE(dlg->OpenPorts(&nTrace, &nData));
    Drain();

    first->CloseMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answerer.messages.isEmpty(); }, 3000));
    EXPECT_EQ(answerer.messages,
              QStringList{QStringLiteral("Write to Trace Port on COM2\r\nError#: 5")});
    EXPECT_EQ(frame.portState, QStringLiteral("Trace port lost"));

    first.reset();
    ASSERT_TRUE(QFile::remove(link));
    PtyPair second;
    ASSERT_TRUE(QFile::link(second.SlavePath(), link));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.portState.isEmpty(); }, 3000));
    EXPECT_EQ(Data(), QByteArray("AT\r"));
    EXPECT_EQ(dlg->SendTrace("Z"), SP_OK);
    EXPECT_EQ(second.Read(), QByteArray("Z"));
    EXPECT_EQ(answerer.messages.size(), 1);
}

TEST_F(Core, OpenPortsWithTraceNumberZeroLeavesTheDataPortClosed)
{
    dlg->ClosePorts();
    int trace = 0, data = 1;
    EXPECT_FALSE(dlg->OpenPorts(&trace, &data));
    EXPECT_FALSE(dlg->DataPort()->IsOpen());
    EXPECT_FALSE(dlg->TracePort()->IsOpen());
    // A missing device fails without a message.
    CPortNames::SetDevice(9, QStringLiteral("/nonexistent/ttyTarn"));
    trace = 9;
    EXPECT_FALSE(dlg->OpenPorts(&trace, &data));
    EXPECT_TRUE(answerer.messages.isEmpty());
    // The numbers that open are recorded.
    trace = 2;
    EXPECT_TRUE(dlg->OpenPorts(&trace, &data));
    EXPECT_EQ(TestAccess::TracePortSettings(*dlg).nPort, 2);
    EXPECT_EQ(TestAccess::DataPortSettings(*dlg).nPort, 1);
}

// At start a port that does not open brings up the port dialog, which says
// which port and why; the device chosen there is opened.
TEST_F(Core, PortDialogAtStartSaysWhichPortDidNotOpenAndWhy)
{
    dlg->ClosePorts();
    Drain();
    const QString missing = dir.filePath(QStringLiteral("ttyUSB0"));
    CPortNames::SetDevice(2, missing);
    QString shown;
    answerer.handler = [&](QWidget* w) {
        auto* config = qobject_cast<CPortConfig*>(w);
        if (!config)
            return false;
        shown = config->FailureText();
        AccessibleChild<QSpinBox>(config, QStringLiteral("Data port number"))->setValue(1);
        AccessibleChild<QSpinBox>(config, QStringLiteral("Trace port number"))->setValue(2);
        AccessibleChild<QComboBox>(config, QStringLiteral("Trace port device"))
            ->setEditText(tracePty.SlavePath());
        config->accept();
        return true;
    };
    int nTrace = 2, nData = 1;
    EXPECT_TRUE(dlg->SetupPorts(&nTrace, &nData, false));
    EXPECT_EQ(shown, QStringLiteral("Trace port COM2 did not open:\n%1\nNo such device: plug the "
                                    "adapter in, or choose another device")
                         .arg(missing));
    EXPECT_EQ(CPortNames::DeviceName(2), tracePty.SlavePath());
    EXPECT_TRUE(dlg->TracePort()->IsOpen());
    EXPECT_EQ(Data(), QByteArray("AT\r"));
}

TEST_F(Core, ClrShowsTheIdleStatusInEveryState)
{
    for (int state : {0, 11, 24, 30}) {
        SetState(state);
        TestAccess::IdleStatus(*dlg) = QStringLiteral("Tarn Net");
        dlg->GetDlgItem(IDC_NUMBER)->setEnabled(true);
        dlg->SetDlgItemText(IDC_NUMBER, QStringLiteral("123"));
        dlg->OnClr();
        EXPECT_EQ(Text(IDC_NUMBER), QString());
        EXPECT_EQ(Text(IDC_STATUS), QStringLiteral("Tarn Net"));
        EXPECT_EQ(dlg->State(), state);
    }
}

TEST_F(Core, PlaceInViewStretchesTheLogUnlessMinimised)
{
    QWidget* log = dlg->GetDlgItem(IDC_LOG);
    const QRect before = log->geometry();
    dlg->PlaceInView(0, QRect(0, 0, 700, 520));
    EXPECT_EQ(dlg->geometry(), QRect(1, 1, 698, 518));
    EXPECT_EQ(log->geometry().left(), 5);
    EXPECT_EQ(log->geometry().top(), before.top());
    EXPECT_EQ(log->geometry().width(), before.width());
    EXPECT_EQ(log->geometry().bottom() + 1, 518 - 5);
    const QRect stretched = log->geometry();
    dlg->PlaceInView(1, QRect(0, 0, 600, 600));
    EXPECT_EQ(dlg->geometry(), QRect(1, 1, 598, 598));
    EXPECT_EQ(log->geometry(), stretched);
}

TEST_F(Core, InitialisationLeavesThePanelOffWithTheBarRanges)
{
    FakeFrame f2;
    CTessolyDlg fresh(&f2);
    ASSERT_TRUE(fresh.CreatePanel());
    EXPECT_EQ(fresh.GetDlgItemText(IDC_POWER), QStringLiteral("On"));
    EXPECT_EQ(fresh.GetDlgItemText(IDC_STATUS), QStringLiteral("Power Off"));
    EXPECT_EQ(fresh.GetDlgItemText(IDC_CALLTYPE), QStringLiteral("Voice"));
    EXPECT_FALSE(fresh.IsPoweredOn());
    EXPECT_FALSE(fresh.IsTraceReportsOn());
    EXPECT_EQ(fresh.State(), 0);
    EXPECT_EQ(fresh.MaxPowerDbm(), 43);
    EXPECT_FALSE(fresh.DataPort()->IsOpen());
    fresh.SetBar(IDC_RXQUAL_BAR, 99);
    EXPECT_EQ(fresh.BarPos(IDC_RXQUAL_BAR), 70);
    fresh.SetBar(IDC_OUTPOWER_BAR, 99);
    EXPECT_EQ(fresh.BarPos(IDC_OUTPOWER_BAR), 35);
    fresh.SetBar(g_anNeighbourIds[5][3], 64);
    EXPECT_EQ(fresh.BarPos(g_anNeighbourIds[5][3]), 63);
}

// A burst of trace reports written at once passes the reader, the parser,
// the panel and the log without loss and in order.
TEST_F(Core, BurstOfTraceLinesArrivesCompleteAndInOrder)
{
    const int n = 5000;
    int handled = 0;
    QString last;
    QObject::connect(dlg.get(), &CTessolyDlg::TraceLineHandled, [&](const QString& line) {
        ++handled;
        last = line;
    });
    QByteArray burst;
    for (int i = 0; i < n; ++i)
        burst += "Idle_Mode_Rpt " + QByteArray::number(1 + i % 124) + " " +
                 QByteArray::number(i % 64) +
                 " 3 20 47 5 30 12 7 25 99 9 33 20 11 40 3 13 41 7\r\n";
    ASSERT_TRUE(tracePty.Write(burst));
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled == n; }, 30000)) << handled;
    EXPECT_EQ(last,
              QStringLiteral("Idle_Mode_Rpt %1 %2 3 20 47 5 30 12 7 25 99 9 33 20 11 40 3 13 41 7")
                  .arg(1 + (n - 1) % 124)
                  .arg((n - 1) % 64));
    EXPECT_EQ(LogCount(*dlg), 999);
    EXPECT_EQ(LastLogEntry(*dlg), QStringLiteral("t<, ") + last);
    // The panel shows the last report.
    EXPECT_EQ(Text(IDC_BCCH), QString::number(1 + (n - 1) % 124));
}
