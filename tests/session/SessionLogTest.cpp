// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SessionLog.h"
#include "serial/TrafficLog.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SessionLog, ParsesRecordedAndSavedEntriesAndRejectsOthers)
{
    SLogEntry e;
    ASSERT_TRUE(CSessionLog::ParseLine("2026-12-09T10:15:02.123 t<, Idle_Mode_Rpt 62 45", &e));
    EXPECT_EQ(e.nTime, QDateTime(QDate(2026, 12, 9), QTime(10, 15, 2, 123)).toMSecsSinceEpoch());
    EXPECT_EQ(e.nChannel, LOG_TRACE);
    EXPECT_FALSE(e.bSent);
    EXPECT_EQ(e.text, "Idle_Mode_Rpt 62 45");

    ASSERT_TRUE(CSessionLog::ParseLine("D>, AT+CPIN=1234", &e));
    EXPECT_EQ(e.nTime, -1);
    EXPECT_EQ(e.nChannel, LOG_DATA);
    EXPECT_TRUE(e.bSent);
    EXPECT_EQ(e.text, "AT+CPIN=1234");

    // A prefix with nothing after it is an entry of an empty text; a stamp
    // that is no real time makes the line a foreign one.
    EXPECT_TRUE(CSessionLog::ParseLine("t>, ", &e));
    for (const char* bad : {"", "OK", "x<, OK", "D=, OK", "D<,OK", "2026-13-09T10:15:02.123 D<, OK",
                            "2026-12-09 10:15:02.123 D<, OK", "2026-12-09T10:15:02.123 OK"})
        EXPECT_FALSE(CSessionLog::ParseLine(bad, &e)) << bad;
}

TEST(SessionLog, ReadsEntriesInOrderCountsSkippedLinesAndRewinds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.session");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("t<, first\r\nnoise\r\n");
    f.write(QByteArray(200000, 'x') + "\r\n"); // far too long: skipped, not held
    f.write("D<, last");                       // no line end at the end of the file
    f.close();

    CSessionLog log;
    ASSERT_EQ(log.Open(path), CSessionLog::SL_OK);
    SLogEntry e;
    ASSERT_TRUE(log.Next(&e));
    EXPECT_EQ(e.text, "first");
    ASSERT_TRUE(log.Next(&e));
    EXPECT_EQ(e.text, "last");
    EXPECT_FALSE(log.Next(&e));
    EXPECT_EQ(log.Lines(), 4);
    EXPECT_EQ(log.Skipped(), 2);
    log.Rewind();
    ASSERT_TRUE(log.Next(&e));
    EXPECT_EQ(e.text, "first");

    QString why;
    EXPECT_EQ(log.Open(dir.filePath("missing"), &why), CSessionLog::SL_OPEN_FAILED);
    EXPECT_FALSE(why.isEmpty());
}
