// SPDX-License-Identifier: GPL-3.0-or-later
// Session recording against the simulated test mobile: every line of both
// ports reaches the file, and a panel killed mid-stream loses at most the
// last second.
#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include "E2EFixture.h"
#include "ListRows.h"
#include "SessionLines.h"
#include "TestAccess.h"
#include "session/SessionRecorder.h"

namespace {
QString OnlySessionFile(const QString& folder)
{
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("tessoly-*.session")}, QDir::Files);
    return files.size() == 1 ? QDir(folder).filePath(files[0]) : QString();
}

QList<QByteArray> TextsWithPrefix(const QList<SessionLine>& lines, const char* prefix)
{
    QList<QByteArray> texts;
    for (const SessionLine& l : lines)
        if (l.prefix == prefix)
            texts << l.text;
    return texts;
}

// Empty when both lists are equal, else where they part.
std::string Difference(const QList<QByteArray>& got, const QList<QByteArray>& want)
{
    for (qsizetype i = 0; i < qMax(got.size(), want.size()); ++i)
        if (i >= got.size() || i >= want.size() || got[i] != want[i])
            return "entry " + std::to_string(i) + " of " + std::to_string(got.size()) + "/" +
                   std::to_string(want.size()) + ": \"" + got.value(i).toStdString() +
                   "\" instead of \"" + want.value(i).toStdString() + "\"";
    return std::string();
}
} // namespace

TEST_F(E2E, SessionFileHoldsEveryLineOfBothPortsWhateverTheLogShows)
{
    const QString folder = dir.filePath(QStringLiteral("sessions here"));
    extraIni = "[RECORDING]\r\nEnabled=1\r\nFolder=" + folder.toUtf8() + "\r\n";
    CSimOptions o = FastSim();
    o.nReportIntervalMs = 20;
    const qint64 started = QDateTime::currentMSecsSinceEpoch();
    Start(o);
    ASSERT_TRUE(frame->m_pRecorder->IsRecording());
    QList<QByteArray> dataIn, traceIn;
    QObject::connect(c, &CTessolyDlg::DataLineHandled,
                     [&](const QString& l) { dataIn << l.toLatin1(); });
    QObject::connect(c, &CTessolyDlg::TraceLineHandled,
                     [&](const QString& l) { traceIn << l.toLatin1(); });
    ToIdle();

    // A sent line longer than the log list's cut.
    const QString text = QString(300, QLatin1Char('m')) + QChar(0xE9);
    TestAccess::MessageText(*c) = text;
    CallType(QStringLiteral("SMS"));
    Type(QStringLiteral("01701234"));
    QTest::mouseClick(c->Item<QAbstractButton>(IDC_YES), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return sim->ReceivedData().contains(text + QChar(0x1A)); }));
    ASSERT_TRUE(WaitState(STEP_IDLE));

    // Lines while the log is frozen and both ports are switched off in it.
    frame->OnCommand(ID_LOGGING_FREEZE);
    frame->OnCommand(ID_LOGGING_DATA);
    frame->OnCommand(ID_LOGGING_TRACE);
    const qsizetype atFreeze = traceIn.size();
    ASSERT_TRUE(WaitFor([&] { return traceIn.size() > atFreeze + 100; }));
    frame->OnCommand(ID_LOGGING_FREEZE);
    frame->OnCommand(ID_LOGGING_DATA);
    frame->OnCommand(ID_LOGGING_TRACE);
    // More lines than the log list keeps.
    ASSERT_TRUE(WaitFor([&] { return traceIn.size() > 1300; }, 30000));
    EXPECT_EQ(RowCount(*c->Item<QListView>(IDC_LOG)), 999);
    frame->m_pRecorder->Stop();

    int bad = 0;
    const QList<SessionLine> lines = ReadSessionLines(OnlySessionFile(folder), &bad);
    EXPECT_EQ(bad, 0);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_GE(lines.first().nTime, started - 1000);
    EXPECT_LE(lines.last().nTime, QDateTime::currentMSecsSinceEpoch());
    for (qsizetype i = 1; i < lines.size(); ++i)
        ASSERT_GE(lines[i].nTime, lines[i - 1].nTime) << "line " << i;
    EXPECT_EQ(Difference(TextsWithPrefix(lines, "D<, "), dataIn), "");
    EXPECT_EQ(Difference(TextsWithPrefix(lines, "t<, "), traceIn), "");
    // What was sent is what the module received.
    const QList<QByteArray> dataOut = TextsWithPrefix(lines, "D>, ");
    EXPECT_TRUE(dataOut.contains(text.toLatin1() + '\x1a'));
    QStringList dataReceived;
    for (const QByteArray& l : dataOut)
        dataReceived << QString::fromLatin1(l);
    EXPECT_TRUE(WaitFor([&] { return sim->ReceivedData() == dataReceived; }));
    const QByteArray traceOut = TextsWithPrefix(lines, "t>, ").join();
    EXPECT_TRUE(WaitFor([&] {
        QByteArray raw = sim->ReceivedTrace();
        raw.replace('\r', QByteArray()).replace('\n', QByteArray());
        return raw == traceOut;
    }));
}

namespace {
// The simulator and the panel as processes, the panel recording into a folder.
struct RecordingPanel
{
    QTemporaryDir tmp;
    QProcess sim;
    QProcess panel;
    QString ini;
    QString folder;
    QString file; // the session file, once it holds 200 trace lines

    ~RecordingPanel()
    {
        panel.kill();
        panel.waitForFinished(5000);
        sim.terminate();
        sim.waitForFinished(5000);
        if (!ini.isEmpty())
            QFile::remove(ini);
    }

    void Start()
    {
        sim.start(QStringLiteral(SIM_FILE),
                  {QStringLiteral("--link"), tmp.path(), QStringLiteral("--boot-ms"),
                   QStringLiteral("50"), QStringLiteral("--report-interval"),
                   QStringLiteral("50")});
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QFileInfo::exists(tmp.filePath("trace")); }, 5000));

        // The settings file is named on the command line, beside the program.
        const QString name =
            QStringLiteral("killed-%1.ini").arg(QCoreApplication::applicationPid());
        ini = QFileInfo(QStringLiteral(PROGRAM_FILE)).absoluteDir().filePath(name);
        folder = tmp.filePath(QStringLiteral("rec"));
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[MISC]\r\nOptions=2\r\n[PORTS]\r\nCOM1=" + tmp.filePath("data").toUtf8() +
                "\r\nCOM2=" + tmp.filePath("trace").toUtf8() +
                "\r\n[RECORDING]\r\nEnabled=1\r\nFolder=" + folder.toUtf8() + "\r\n");
        f.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        panel.setProcessEnvironment(env);
        panel.start(QStringLiteral(PROGRAM_FILE), {QLatin1Char('-') + name});
        ASSERT_TRUE(panel.waitForStarted(5000));
        int bad = 0;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                file = OnlySessionFile(folder);
                return TextsWithPrefix(ReadSessionLines(file, &bad), "t<, ").size() > 200;
            },
            30000));
    }
};
} // namespace

TEST(RecordingProcess, PanelKilledMidStreamLosesAtMostTheLastSecond)
{
    RecordingPanel run;
    ASSERT_NO_FATAL_FAILURE(run.Start());
    const QString& file = run.file;
    QProcess& panel = run.panel;
    int bad = 0;

    // Kill it just before the next write: right after one, then almost the
    // writer's whole wait later.
    const qint64 size = QFileInfo(file).size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(file).size() != size; }, 3000));
    QThread::msleep(CSessionRecorder::kFlushMs - 20);
    const qint64 killed = QDateTime::currentMSecsSinceEpoch();
    panel.kill();
    ASSERT_TRUE(panel.waitForFinished(5000));

    const QList<SessionLine> lines = ReadSessionLines(file, &bad);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(bad, 0);
    EXPECT_LE(killed - lines.last().nTime, 1000);
}

TEST(RecordingProcess, PanelTerminatedClosesWithTheRecordingComplete)
{
    RecordingPanel run;
    ASSERT_NO_FATAL_FAILURE(run.Start());
    // SIGTERM closes the panel as a forced close: the lines up to then reach the
    // file, even those the writer had not yet flushed.
    const qint64 terminated = QDateTime::currentMSecsSinceEpoch();
    run.panel.terminate();
    ASSERT_TRUE(run.panel.waitForFinished(5000));
    EXPECT_EQ(run.panel.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.panel.exitCode(), 0);
    int bad = 0;
    const QList<SessionLine> lines = ReadSessionLines(run.file, &bad);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(bad, 0);
    EXPECT_GE(lines.last().nTime, terminated - 200);
}
