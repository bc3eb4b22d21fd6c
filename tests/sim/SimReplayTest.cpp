// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator playing a session recording or a saved log to the panel's
// side of its ports.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "LogFiles.h"
#include "SimTestPort.h"
#include "sim/SimConsole.h"
#include "sim/SimModule.h"

namespace {
class SimReplayTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString WriteFile(const QList<QByteArray>& lines)
    {
        const QString path = dir.filePath(QStringLiteral("in.log"));
        EXPECT_TRUE(WriteLogFile(path, lines));
        return path;
    }

    // Starts the module with the replay, switches it on and selects the
    // reports as the panel does; the replay starts then.
    void Start(const CSimReplayOptions& replay)
    {
        CSimOptions o;
        o.nBootMs = 20;
        o.nReportIntervalMs = 20; // the radio model would be loud
        o.replay = replay;
        sim = std::make_unique<CSimModule>(o);
        sim->SetReplayProgress([this](const QString& s) {
            QMutexLocker lock(&mutex);
            progress << s;
        });
        ASSERT_TRUE(sim->Start());
        data = std::make_unique<SimTestPort>(sim->DataPath());
        trace = std::make_unique<SimTestPort>(sim->TracePath());
        trace->Write("**O");
        bool bOn = false;
        for (int i = 0; i < 60 && !bOn; ++i) {
            data->Write("AT\r");
            bOn = data->WaitFor("OK\r\n", 50);
        }
        ASSERT_TRUE(bOn);
        data->Collect(30);
        data->Clear();
        trace->Write("*W1\r");
    }

    QStringList Progress()
    {
        QMutexLocker lock(&mutex);
        return progress;
    }

    QTemporaryDir dir;
    std::unique_ptr<CSimModule> sim;
    std::unique_ptr<SimTestPort> data;
    std::unique_ptr<SimTestPort> trace;
    QMutex mutex;
    QStringList progress;
};
} // namespace

TEST_F(SimReplayTest, SessionKeepsRecordedGapsAndPlaysOnlyReceivedTraceLines)
{
    const int times[] = {10, 260, 660, 860, 1460};
    QList<QByteArray> file{StampedEntry(0, "D>, AT+CPIN?"), StampedEntry(0, "t>, *W1")};
    for (int i = 0; i < 5; ++i) {
        file << StampedEntry(times[i], "t<, Idle_Mode_Rpt " + QByteArray::number(101 + i) + " 40");
        if (i == 0)
            file << StampedEntry(15, "D<, RING") << "not a log entry";
    }
    CSimReplayOptions r;
    r.strFile = WriteFile(file);
    Start(r);
    QElapsedTimer clock;
    qint64 arrived[5];
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(trace->WaitFor("Idle_Mode_Rpt " + QByteArray::number(101 + i) + " 40\r\n"))
            << i;
        if (i == 0)
            clock.start();
        arrived[i] = i == 0 ? 0 : clock.elapsed();
    }
    for (int i = 1; i < 5; ++i) {
        const double gap = times[i] - times[i - 1];
        EXPECT_NEAR(arrived[i] - arrived[i - 1], gap, gap * 0.1) << "gap " << i;
    }
    trace->Collect(100);
    // The selection's echo, then the recorded lines alone: the radio model is silent.
    QList<QByteArray> expected{"Set Flags? 00000001"};
    for (int i = 0; i < 5; ++i)
        expected << "Idle_Mode_Rpt " + QByteArray::number(101 + i) + " 40";
    EXPECT_EQ(trace->Lines(), expected);
    EXPECT_TRUE(data->Text().isEmpty()) << data->Text().constData();
    EXPECT_TRUE(Progress().contains("replay: end of file, 5 of 5 lines played"))
        << qPrintable(Progress().join('|'));
}

TEST_F(SimReplayTest, SavedLogPlaysAtItsRateWithUnsolicitedDataLinesInPlace)
{
    QList<QByteArray> file;
    for (int i = 1; i <= 10; ++i) {
        file << "t<, L" + QByteArray::number(i);
        if (i == 5)
            file << "D<, RING"
                 << "D<, OK"; // an answer of another moment: not played
    }
    CSimReplayOptions r;
    r.strFile = WriteFile(file);
    r.bData = true;
    r.nRate = 10;
    Start(r);
    ASSERT_TRUE(trace->WaitFor("L1\r\n"));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(trace->WaitFor("L5\r\n"));
    EXPECT_FALSE(data->Text().contains("RING"));
    ASSERT_TRUE(data->WaitFor("RING\r\n"));
    EXPECT_FALSE(trace->Text().contains("L6"));
    ASSERT_TRUE(trace->WaitFor("L10\r\n"));
    // ten lines a second: nine gaps and the RING between L1 and L10
    EXPECT_NEAR(clock.elapsed(), 1000, 100);
    data->Collect(150);
    EXPECT_EQ(data->Lines(), QList<QByteArray>{"RING"});
}

TEST_F(SimReplayTest, AtFullSpeedNoLineIsLost)
{
    QList<QByteArray> file;
    for (int i = 0; i < 10000; ++i)
        file << StampedEntry(i, "t<, Idle_Mode_Rpt " + QByteArray::number(i) +
                                    " 40 80 30 12 81 25 13");
    CSimReplayOptions r;
    r.strFile = WriteFile(file);
    r.dSpeed = 0;
    Start(r);
    // a panel that reads now and then
    QElapsedTimer t;
    t.start();
    // Until the last line has arrived whole (a loaded machine may hand it
    // over in pieces).
    while (!trace->Text().contains("Idle_Mode_Rpt 9999 40 80 30 12 81 25 13\r\n") &&
           t.elapsed() < 20000) {
        trace->Collect(1);
        QThread::msleep(1);
    }
    trace->Collect(20);
    EXPECT_EQ(trace->Lines().size(), 10001); // and the selection's echo
}

TEST_F(SimReplayTest, ConsolePausesResumesSeeksAndLoops)
{
    CSimReplayOptions r;
    r.strFile = WriteFile({"t<, L1", "t<, L2", "t<, L3", "t<, L4"});
    r.nRate = 20;
    r.bLoop = true;
    Start(r);
    CSimConsole console(sim.get());
    bool bQuit = false;
    ASSERT_TRUE(trace->WaitFor("L1\r\n"));
    EXPECT_TRUE(console.Execute("pause", &bQuit).startsWith("replay paused at line "));
    trace->Collect(50); // what was on its way
    trace->Clear();
    trace->Collect(300);
    EXPECT_TRUE(trace->Text().isEmpty()) << trace->Text().constData();
    EXPECT_EQ(console.Execute("seek 3", &bQuit), "replay goes on with line 3 of 4");
    EXPECT_EQ(console.Execute("seek 5", &bQuit), "seek: line 1..4 expected");
    trace->Collect(100);
    EXPECT_TRUE(trace->Text().isEmpty()); // still paused
    // One numbering: the line seek named is the one resume names.
    EXPECT_EQ(console.Execute("resume", &bQuit), "replay resumed at line 3 of 4");
    ASSERT_TRUE(trace->WaitFor("L1\r\n")); // L3, L4, then from the start again
    EXPECT_TRUE(trace->Text().startsWith("L3\r\nL4\r\nL1\r\n")) << trace->Text().constData();
    EXPECT_TRUE(Progress().contains("replay: starting again"));

    CSimModule plain;
    CSimConsole other(&plain);
    EXPECT_EQ(other.Execute("pause", &bQuit), "no replay (start with --replay FILE)");
}

TEST(SimReplayCommandLine, OptionsAndErrors)
{
    CSimCommandLine cl;
    ASSERT_TRUE(ParseSimCommandLine({"tarnsim", "--replay", "a.session", "--replay-data", "--speed",
                                     "max", "--rate", "5", "--loop"},
                                    &cl))
        << qPrintable(cl.strError);
    EXPECT_EQ(cl.opt.replay.strFile, "a.session");
    EXPECT_TRUE(cl.opt.replay.bData && cl.opt.replay.bLoop);
    EXPECT_EQ(cl.opt.replay.dSpeed, 0.0);
    EXPECT_EQ(cl.opt.replay.nRate, 5);
    ASSERT_TRUE(ParseSimCommandLine({"tarnsim", "--replay", "a", "--speed", "2.5"}, &cl));
    EXPECT_EQ(cl.opt.replay.dSpeed, 2.5);
    for (const QStringList& bad :
         {QStringList{"tarnsim", "--replay", "a", "--speed", "0"},
          QStringList{"tarnsim", "--replay", "a", "--speed", "fast"},
          QStringList{"tarnsim", "--replay", "a", "--rate", "0"},
          QStringList{"tarnsim", "--replay", ""}, QStringList{"tarnsim", "--loop"}}) {
        CSimCommandLine b;
        EXPECT_FALSE(ParseSimCommandLine(bad, &b)) << qPrintable(bad.join(' '));
        EXPECT_FALSE(b.strError.isEmpty());
    }
    for (const char* opt : {"--replay", "--replay-data", "--speed", "--rate", "--loop"})
        EXPECT_TRUE(cl.strHelp.contains(QLatin1String(opt))) << opt;
    const QString console = CSimConsole::HelpText();
    EXPECT_TRUE(console.contains("pause") && console.contains("resume") &&
                console.contains("seek <n>"));
}

TEST(SimReplayProgram, BadFileEndsWithCode2BeforeAnyPortOpens)
{
    const QString exe = QCoreApplication::applicationDirPath() + "/../tarnsim";
    if (!QFileInfo::exists(exe))
        GTEST_SKIP() << "tarnsim not built";
    QTemporaryDir dir;
    QFile junk(dir.filePath("junk.log"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray("\x00\xff\r\n", 4) + "D>, AT\r\n"); // nothing the panel received
    junk.close();
    for (const QString& file : {dir.filePath("missing.session"), dir.path(), junk.fileName()}) {
        QProcess p;
        p.start(exe, {"--replay", file});
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), 2) << qPrintable(file);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_TRUE(err.startsWith("tarnsim: ") && err.contains(file)) << qPrintable(err);
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty()); // no port was opened
    }
}
