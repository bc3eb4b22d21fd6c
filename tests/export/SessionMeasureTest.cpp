// SPDX-License-Identifier: GPL-3.0-or-later
// A recorded session through the measurement layer: samples, events and
// positions as the live panel would have had them.
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "export/SessionMeasure.h"
#include "measure/SampleFields.h"

namespace {
// A recorded session at +01:00: the module powered on and registered, a
// fix, three trace lines, a call dialled that does not come through.
const char kSession[] =
    "2026-12-10T03:09:10.000+01:00 D>, AT\r\n"
    "2026-12-10T03:09:10.100+01:00 D<, OK\r\n"
    "2026-12-10T03:09:10.200+01:00 t>, **O\r\n"
    "2026-12-10T03:09:11.100+01:00 D<, OK\r\n"
    "2026-12-10T03:09:11.200+01:00 D<, Tarn GSM Test Mobile 3.0\r\n"
    "2026-12-10T03:09:11.300+01:00 D<, AT+CGSN\r\n"
    "2026-12-10T03:09:11.400+01:00 D<, 350123456789012\r\n"
    "2026-12-10T03:09:11.500+01:00 G<, 2026-12-10T02:09:11.000Z 3D 52.5200000 13.4060000 74.30 "
    "36.0 5.0\r\n"
    "2026-12-10T03:09:12.000+01:00 t<, Idle_Mode_Rpt 20 50\r\n"
    "2026-12-10T03:09:12.100+01:00 D<, +CPIN: READY\r\n"
    "2026-12-10T03:09:12.200+01:00 D<, OK\r\n"
    "2026-12-10T03:09:12.300+01:00 D<, +CREG: 0,1\r\n"
    "2026-12-10T03:09:12.400+01:00 D<, AT+CIMI\r\n"
    "2026-12-10T03:09:12.500+01:00 D<, 262011234567890\r\n"
    "2026-12-10T03:09:12.600+01:00 D<, +COPS: 0,0,\"Tarn Net\"\r\n"
    "2026-12-10T03:09:12.700+01:00 D<, OK\r\n"
    "2026-12-10T03:09:12.800+01:00 D<, OK\r\n"
    "2026-12-10T03:09:12.900+01:00 D<, OK\r\n"
    "2026-12-10T03:09:13.000+01:00 t<, Idle_Mode_Rpt 20 45\r\n"
    "not a log entry\r\n"
    "2026-12-10T03:09:20.000+01:00 t<, Idle_Mode_Rpt 20 40\r\n"
    "2026-12-10T03:09:21.000+01:00 t>, \\D0301234\r\n"
    "2026-12-10T03:09:25.000+01:00 D<, NO CARRIER\r\n";
} // namespace

TEST(SessionMeasure, ARecordedSessionGivesTheSamplesEventsAndFixesOfTheLiveRun)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("drive.session"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kSession);
    f.close();

    CSessionMeasure m;
    QStringList out; // everything in the order it came
    QObject::connect(&m, &CSessionMeasure::SampleReady, [&](const SSample& s) {
        out << QStringLiteral("sample %1 bcch=%2 rx=%3 fix=%4")
                   .arg(MeasureTimeText(s.time), SampleFieldText(s, SAMPLE_FIELD_BCCH),
                        SampleFieldText(s, SAMPLE_FIELD_RXLEV_DBM),
                        SampleFieldText(s, SAMPLE_FIELD_FIX));
    });
    QObject::connect(&m, &CSessionMeasure::EventReady, [&](const SMeasureEvent& e) {
        out << QStringLiteral("event %1 %2 %3")
                   .arg(MeasureTimeText(e.time), QLatin1String(EventName(e.nEvent)), e.strText)
                   .trimmed();
    });
    QObject::connect(&m, &CSessionMeasure::FixReady, [&](const SGpsFix& fx) {
        out << QStringLiteral("fix %1 %2").arg(fx.dLat, 0, 'f', 2).arg(fx.dLon, 0, 'f', 2);
    });
    ASSERT_EQ(m.Open(path), CSessionMeasure::SM_OK);
    m.Run();
    const QStringList expected = {
        "event 2026-12-10T03:09:11.100+01:00 power_on",
        "fix 52.52 13.41",
        "sample 2026-12-10T03:09:12.000+01:00 bcch=20 rx=-60 fix=3d",
        "event 2026-12-10T03:09:12.600+01:00 registered Tarn Net",
        "sample 2026-12-10T03:09:13.000+01:00 bcch=20 rx=-65 fix=3d",
        "sample 2026-12-10T03:09:20.000+01:00 bcch=20 rx=-70 fix=none",
        "event 2026-12-10T03:09:21.000+01:00 call_dialled 0301234",
        "event 2026-12-10T03:09:25.000+01:00 call_ended",
    };
    EXPECT_EQ(out.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(m.Lines(), 23);
    EXPECT_EQ(m.Skipped(), 1);
    EXPECT_EQ(m.Imei().toStdString(), "350123456789012");

    // Again from the start: the same, from nothing.
    out.clear();
    m.Rewind();
    m.Run();
    EXPECT_EQ(out.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}
