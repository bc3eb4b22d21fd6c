// SPDX-License-Identifier: GPL-3.0-or-later
#include <QStringList>
#include <gtest/gtest.h>

#include "measure/SampleFields.h"

TEST(SampleFields, NamesInOrderAndValuesAsText)
{
    QStringList names;
    for (int i = 0; i < SAMPLE_FIELD_COUNT; ++i)
        names << SampleFieldName(i);
    EXPECT_EQ(names.join(',').toStdString(),
              "time,lat,lon,alt_m,speed_kmh,err_m,fix,mode,mcc,mnc,lac,ci,bcch,bsic,rxlev_dbm,"
              "rxqual,ta,txpwr_dbm,n1_bcch,n1_bsic,n1_rxlev_dbm,n2_bcch,n2_bsic,n2_rxlev_dbm,"
              "n3_bcch,n3_bsic,n3_rxlev_dbm,n4_bcch,n4_bsic,n4_rxlev_dbm,n5_bcch,n5_bsic,"
              "n5_rxlev_dbm,n6_bcch,n6_bsic,n6_rxlev_dbm,event");
    EXPECT_TRUE(SampleFieldName(-1).isEmpty());
    EXPECT_TRUE(SampleFieldName(SAMPLE_FIELD_COUNT).isEmpty());

    SSample s;
    s.time = QDateTime(QDate(2026, 12, 10), QTime(3, 9, 14, 64), Qt::OffsetFromUTC, 3600);
    s.nMode = SSample::MODE_DEDICATED;
    s.nMcc = 262;
    s.nRxLevDbm = -65;
    s.aNeighbour[5].nBcch = 31;
    s.aNeighbour[5].nRxLevDbm = -80;
    s.fix.nMode = SGpsFix::FIX_2D;
    s.fix.dLat = 52.52012;
    s.fix.dLon = -13.405;
    QStringList values;
    for (int i = 0; i < SAMPLE_FIELD_COUNT; ++i)
        values << SampleFieldText(s, i);
    EXPECT_EQ(values.join(',').toStdString(),
              "2026-12-10T03:09:14.064+01:00,52.520120,-13.405000,,,,2d,dedicated,262,,,,,,-65,"
              ",,,,,,,,,,,,,,,,,,31,,-80,");
    // Without a fix the position is empty, even where numbers are left.
    s.fix.nMode = SGpsFix::FIX_NONE;
    s.time = s.time.toOffsetFromUtc(-5400);
    EXPECT_EQ(SampleFieldText(s, SAMPLE_FIELD_LAT), QString());
    EXPECT_EQ(SampleFieldText(s, SAMPLE_FIELD_FIX), QString("none"));
    EXPECT_EQ(SampleFieldText(s, SAMPLE_FIELD_TIME), QString("2026-12-10T00:39:14.064-01:30"));

    QStringList texts;
    for (int i = 0; i < SAMPLE_FIELD_COUNT; ++i)
        if (!IsSampleFieldNumber(i))
            texts << SampleFieldName(i);
    EXPECT_EQ(texts, QStringList({"time", "fix", "mode", "event"}));
}
