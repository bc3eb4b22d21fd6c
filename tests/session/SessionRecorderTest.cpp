// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "SessionLines.h"
#include "session/SessionRecorder.h"

TEST(SessionRecorder, NamesTheFileByItsStartAndWritesEachLineStampedAndUncut)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("a/b"));
    // Another panel started in this second (or the next) already.
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::currentDateTime();
    for (const QDateTime& t : {now, now.addSecs(1)})
        QFile(QDir(folder).filePath(CSessionRecorder::FileNameFor(t))).open(QIODevice::WriteOnly);

    CSessionRecorder rec;
    ASSERT_TRUE(rec.Start(folder));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^tessoly-\\d{8}-\\d{6}-2\\.session$"))
                    .match(QFileInfo(rec.FilePath()).fileName())
                    .hasMatch())
        << rec.FilePath().toStdString();
    const QString longText = QString(300, QLatin1Char('x')) + QChar(0xE9);
    rec.Record("t<, ", QStringLiteral("first\r\n\r\nsecond"));
    rec.Record("D>, ", longText + QLatin1Char('\r'));
    rec.Record("D<, ", QString());
    rec.Stop();
    // Switched on again in the same run: the same file goes on.
    ASSERT_TRUE(rec.Start(folder));
    rec.Record("t>, ", QStringLiteral("*M"));
    rec.Stop();

    int bad = 0;
    const QList<SessionLine> lines = ReadSessionLines(rec.FilePath(), &bad);
    EXPECT_EQ(bad, 0);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].prefix + lines[0].text, QByteArray("t<, first"));
    EXPECT_EQ(lines[1].prefix + lines[1].text, QByteArray("t<, second"));
    EXPECT_EQ(lines[2].prefix + lines[2].text, "D>, " + QByteArray(300, 'x') + '\xe9');
    EXPECT_EQ(lines[3].prefix + lines[3].text, QByteArray("t>, *M"));
    EXPECT_LE(qAbs(lines[0].nTime - now.toMSecsSinceEpoch()), 2000);
    EXPECT_GE(lines[3].nTime, lines[0].nTime);
}

TEST(SessionRecorder, AFileThatCannotBeWrittenStopsTheRecordingWithOneReport)
{
    CSessionRecorder rec;
    QSignalSpy stopped(&rec, &CSessionRecorder::Stopped);
    // A disk that is full.
    ASSERT_TRUE(rec.StartFile(QStringLiteral("/dev/full")));
    rec.Record("t<, ", QStringLiteral("Idle_Mode_Rpt 62 40"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return stopped.count() > 0; }, 3000));
    EXPECT_FALSE(rec.IsRecording());
    rec.Record("t<, ", QStringLiteral("Idle_Mode_Rpt 62 41"));
    QTest::qWait(2 * CSessionRecorder::kFlushMs);
    ASSERT_EQ(stopped.count(), 1);
    EXPECT_NE(stopped[0][0].toInt(), 0);
    EXPECT_TRUE(stopped[0][1].toString().contains(QStringLiteral("/dev/full")));

    // A folder that cannot be made: the start fails and says so.
    QTemporaryDir dir;
    const QString notFolder = dir.filePath(QStringLiteral("plain file"));
    QFile(notFolder).open(QIODevice::WriteOnly);
    EXPECT_FALSE(rec.Start(notFolder + QStringLiteral("/sessions")));
    EXPECT_FALSE(rec.IsRecording());
    ASSERT_EQ(stopped.count(), 2);
    EXPECT_TRUE(stopped[1][1].toString().contains(notFolder))
        << stopped[1][1].toString().toStdString();
}
