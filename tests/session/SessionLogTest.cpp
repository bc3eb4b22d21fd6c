// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SessionLog.h"
#include "gps/GpsFix.h"
#include "serial/TrafficLog.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimeZone>
#include <cmath>
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

TEST(SessionLog, StampsCarryTheirUtcOffsetAndTheRecorderWritesIt)
{
    // The same instant whatever the reader's time zone.
    SLogEntry e;
    const qint64 utc =
        QDateTime(QDate(2026, 12, 10), QTime(2, 9, 14, 64), QTimeZone::utc()).toMSecsSinceEpoch();
    for (const char* line :
         {"2026-12-10T03:09:14.064+01:00 t<, x", "2026-12-09T21:39:14.064-04:30 t<, x",
          "2026-12-10T02:09:14.064Z t<, x"}) {
        ASSERT_TRUE(CSessionLog::ParseLine(line, &e)) << line;
        EXPECT_EQ(e.nTime, utc) << line;
        EXPECT_EQ(e.text, "x");
    }
    EXPECT_EQ(CSessionLog::EntryTime(e).toMSecsSinceEpoch(), utc);
    ASSERT_TRUE(CSessionLog::ParseLine("2026-12-10T03:09:14.064+01:00 t<, x", &e));
    EXPECT_EQ(e.nOffsetS, 3600);
    EXPECT_EQ(CSessionLog::FormatStamp(e.nTime, e.nOffsetS), "2026-12-10T03:09:14.064+01:00 ");
    EXPECT_EQ(CSessionLog::FormatStamp(e.nTime, -16200), "2026-12-09T21:39:14.064-04:30 ");
    for (const char* bad :
         {"2026-12-10T03:09:14.064+1:00 t<, x", "2026-12-10T03:09:14.064+01:00t<, x",
          "2026-12-10T03:09:14.064+15:00 t<, x", "2026-12-10T03:09:14.064+01:0 t<, x"})
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

TEST(SessionLog, PositionsRoundTripAndAreSkippedUnlessAskedFor)
{
    SGpsFix fix;
    fix.time = QDateTime(QDate(2026, 12, 9), QTime(9, 15, 1, 250), QTimeZone::utc());
    fix.nMode = SGpsFix::FIX_3D;
    fix.dLat = -52.5201234;
    fix.dLon = 13.405;
    fix.dAltM = 74.3;
    fix.dSpeedKmh = 36;
    fix.dErrM = 17.1;
    const QByteArray text = CSessionLog::FormatFix(fix);
    EXPECT_EQ(text, "2026-12-09T09:15:01.250Z 3D -52.5201234 13.4050000 74.30 36.0 17.1");
    SGpsFix back;
    ASSERT_TRUE(CSessionLog::ParseFix(text, &back));
    EXPECT_EQ(back.time, fix.time);
    EXPECT_EQ(back.nMode, fix.nMode);
    EXPECT_DOUBLE_EQ(back.dLat, fix.dLat);
    EXPECT_DOUBLE_EQ(back.dErrM, fix.dErrM);
    // 2D: no altitude; what gpsd did not give stays unknown.
    ASSERT_TRUE(CSessionLog::ParseFix("- 2D 1.0 2.0 - - -", &back));
    EXPECT_FALSE(back.time.isValid());
    EXPECT_TRUE(std::isnan(back.dAltM) && std::isnan(back.dSpeedKmh) && std::isnan(back.dErrM));
    for (const char* bad :
         {"", "2026-12-09T09:15:01.250Z 1D 1 2 - - -", "- 3D 1 2 - -", "- 3D 1,5 2 - - -",
          "- 3D 91 2 - - -", "- 3D nan 2 - - -", "2026-12-09T09:15:01.250 3D 1 2 - - -"})
        EXPECT_FALSE(CSessionLog::ParseFix(bad, &back)) << bad;

    QTemporaryDir dir;
    const QString path = dir.filePath("a.session");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("2026-12-09T10:15:01.000 t<, first\r\n2026-12-09T10:15:02.000 G<, " + text +
            "\r\n2026-12-09T10:15:03.000 D<, last\r\nG>, " + text + "\r\n");
    f.close();
    CSessionLog log;
    ASSERT_EQ(log.Open(path), CSessionLog::SL_OK);
    SLogEntry e;
    ASSERT_TRUE(log.Next(&e));
    EXPECT_EQ(e.text, "first");
    ASSERT_TRUE(log.Next(&e));
    EXPECT_EQ(e.text, "last");
    EXPECT_FALSE(log.Next(&e));
    EXPECT_EQ(log.Skipped(), 1); // "G>, " is no entry
    log.Rewind();
    log.ReadFixes(true);
    ASSERT_TRUE(log.Next(&e));
    ASSERT_TRUE(log.Next(&e));
    EXPECT_EQ(e.nChannel, LOG_GPS);
    EXPECT_FALSE(e.bSent);
    EXPECT_EQ(e.nTime, QDateTime(QDate(2026, 12, 9), QTime(10, 15, 2)).toMSecsSinceEpoch());
    ASSERT_TRUE(CSessionLog::ParseFix(e.text, &back));
    EXPECT_EQ(back.time, fix.time);
}
