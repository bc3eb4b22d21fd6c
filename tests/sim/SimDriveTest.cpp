// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's drive: its route, the levels and cell changes along it,
// and the positions it sends as NMEA sentences.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>

#include "sim/SimDrive.h"
#include "sim/SimNmea.h"
#include "sim/SimRoute.h"

namespace {
QString WriteGpx(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath(QStringLiteral("route.gpx"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

// Degrees from an NMEA angle field (ddmm.mmmm or dddmm.mmmm) and its hemisphere.
double Degrees(const QByteArray& field, const QByteArray& hemisphere)
{
    const double v = field.toDouble();
    const double d = std::floor(v / 100) + std::fmod(v, 100) / 60;
    return hemisphere == "S" || hemisphere == "W" ? -d : d;
}

// The fields of a sentence after checking its frame and checksum.
QList<QByteArray> Fields(const QByteArray& sentence)
{
    EXPECT_TRUE(sentence.startsWith('$')) << sentence.constData();
    EXPECT_TRUE(sentence.endsWith("\r\n")) << sentence.constData();
    const int star = sentence.lastIndexOf('*');
    const QByteArray body = sentence.mid(1, star - 1);
    EXPECT_EQ(sentence.mid(star + 1, 2), SimNmea::Checksum(body));
    return body.split(',');
}

// Seven cells of the radio model, the first two at the ends of a straight
// road of 2 km, the others far away.
struct SStraightRoad
{
    CSimRoute route;
    std::vector<CSimCell> cells;
    std::vector<CSimCell> last; // as the drive handed them on
    SStraightRoad(const QTemporaryDir& dir)
    {
        int nCode = -1;
        QString strError;
        route = CSimRoute::Load(
            WriteGpx(dir, "<gpx><trk><trkseg><trkpt lat=\"52.5\" lon=\"13.4\"/>"
                          "<trkpt lat=\"52.517986\" lon=\"13.4\"/></trkseg></trk></gpx>"),
            &nCode, &strError);
        cells = CSimRadio(5).Cells();
    }
};
} // namespace

TEST(SimRoute, BuiltInLoopAndGpxTrackOrRoute)
{
    const CSimRoute loop = CSimRoute::BuiltIn();
    EXPECT_GE(loop.Points().size(), 30u);
    EXPECT_LE(loop.Points().size(), 61u);
    EXPECT_GT(loop.Length(), 3000);
    EXPECT_LT(loop.Length(), 8000);
    // a loop: the end meets the start, driving on goes round again
    const SSimXY a = loop.At(0), b = loop.At(loop.Length() + 100), c = loop.At(100);
    EXPECT_NEAR(a.dX, loop.At(loop.Length()).dX, 0.01);
    EXPECT_NEAR(b.dX, c.dX, 0.01);
    EXPECT_NEAR(b.dY, c.dY, 0.01);

    QTemporaryDir dir;
    int nCode = -1;
    QString strError;
    // track points win over route points; an open track is driven there and back
    const CSimRoute track = CSimRoute::Load(
        WriteGpx(dir, "<?xml version=\"1.0\"?><gpx xmlns=\"http://www.topografix.com/GPX/1/1\">"
                      "<rte><rtept lat=\"1\" lon=\"1\"/><rtept lat=\"2\" lon=\"2\"/></rte>"
                      "<trk><trkseg><trkpt lat=\"52.5\" lon=\"13.4\"><ele>40</ele></trkpt>"
                      "<trkpt lat=\"52.509\" lon=\"13.4\"/><trkpt lat=\"52.509\" lon=\"13.41\"/>"
                      "</trkseg></trk></gpx>"),
        &nCode, &strError);
    EXPECT_EQ(nCode, CSimRoute::ROUTE_OK) << qPrintable(strError);
    ASSERT_EQ(track.Points().size(), 3u);
    const double dOneWay = track.Length() / 2;
    EXPECT_NEAR(dOneWay, 1000.8 + 676.9, 2); // 0.009 degrees north, 0.01 east at 52.5
    const SSimGeo end = track.ToGeo(track.At(dOneWay));
    EXPECT_NEAR(end.dLat, 52.509, 1e-6);
    EXPECT_NEAR(end.dLon, 13.41, 1e-6);
    double dCourse = -1;
    track.At(500, &dCourse);
    EXPECT_NEAR(dCourse, 0, 0.1); // north
    track.At(dOneWay + 100, &dCourse);
    EXPECT_NEAR(dCourse, 270, 0.1); // back west

    const CSimRoute planned =
        CSimRoute::Load(WriteGpx(dir, "<gpx><rte><rtept lat=\"-33.9\" lon=\"151.2\"/>"
                                      "<rtept lat=\"-33.91\" lon=\"151.2\"/></rte></gpx>"),
                        &nCode, &strError);
    EXPECT_EQ(nCode, CSimRoute::ROUTE_OK);
    EXPECT_EQ(planned.Points().size(), 2u);
}

TEST(SimRoute, BadGpxIsRefusedWithItsReason)
{
    QTemporaryDir dir;
    const struct
    {
        QByteArray text;
        int nCode;
        const char* pszWhy;
    } cases[] = {
        {"<gpx><trk><trkseg><trkpt lat=\"52\" lon=\"13\"/>", CSimRoute::ROUTE_BAD_XML, "line 1"},
        {"<gpx><trk><trkseg><trkpt lat=\"52\" lon=\"13\"/>\n<trkpt lat=\"95\" lon=\"13\"/>"
         "</trkseg></trk></gpx>",
         CSimRoute::ROUTE_BAD_POINT, "line 2"},
        {"<gpx><trk><trkseg><trkpt lat=\"52\"/></trkseg></trk></gpx>", CSimRoute::ROUTE_BAD_POINT,
         "lat and lon"},
        {"<gpx><trk><trkseg><trkpt lat=\"52\" lon=\"13\"/><trkpt lat=\"52\" lon=\"13\"/>"
         "</trkseg></trk></gpx>",
         CSimRoute::ROUTE_TOO_SHORT, "two points"},
        {"<gpx></gpx>", CSimRoute::ROUTE_TOO_SHORT, "two points"},
        {"\x01\x02 not xml", CSimRoute::ROUTE_BAD_XML, "line"},
    };
    for (const auto& c : cases) {
        int nCode = -1;
        QString strError;
        const QString path = WriteGpx(dir, c.text);
        const CSimRoute r = CSimRoute::Load(path, &nCode, &strError);
        EXPECT_FALSE(r.IsValid()) << c.text.constData();
        EXPECT_EQ(nCode, c.nCode) << c.text.constData();
        EXPECT_TRUE(strError.startsWith(QStringLiteral("--route ") + path)) << qPrintable(strError);
        EXPECT_TRUE(strError.contains(QLatin1String(c.pszWhy))) << qPrintable(strError);
        EXPECT_EQ(r.At(10).dX, 0); // an empty route answers, without points
    }
    int nCode = -1;
    QString strError;
    EXPECT_FALSE(
        CSimRoute::Load(dir.filePath(QStringLiteral("none.gpx")), &nCode, &strError).IsValid());
    EXPECT_EQ(nCode, CSimRoute::ROUTE_UNREADABLE);
}

TEST(SimNmea, SentencesCarryTheFixAndTheirChecksum)
{
    // the checksum of a well-known receiver sentence
    EXPECT_EQ(SimNmea::Checksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
              "47");
    SSimFix fix;
    fix.utc = QDateTime(QDate(2026, 3, 7), QTime(9, 5, 3, 250), Qt::UTC);
    fix.dLat = 52.520123;
    fix.dLon = -0.1234567;
    fix.dAltitude = 40;
    fix.dSpeedKmh = 50;
    fix.dCourse = 271.5;
    const QList<QByteArray> gga = Fields(SimNmea::Gga(fix));
    ASSERT_EQ(gga.size(), 15);
    EXPECT_EQ(gga[0], "GPGGA");
    EXPECT_EQ(gga[1], "090503.25");
    EXPECT_NEAR(Degrees(gga[2], gga[3]), fix.dLat, 1e-6);
    EXPECT_EQ(gga[4], "00007.4074");
    EXPECT_NEAR(Degrees(gga[4], gga[5]), fix.dLon, 1e-6);
    EXPECT_EQ(gga[6], "1"); // a GPS fix
    EXPECT_EQ(gga[7], "08");
    EXPECT_EQ(gga[8], "0.9");
    EXPECT_EQ(gga[9], "40.0");
    const QList<QByteArray> rmc = Fields(SimNmea::Rmc(fix));
    ASSERT_EQ(rmc.size(), 13);
    EXPECT_EQ(rmc[0], "GPRMC");
    EXPECT_EQ(rmc[1], "090503.25");
    EXPECT_EQ(rmc[2], "A");
    EXPECT_NEAR(Degrees(rmc[3], rmc[4]), fix.dLat, 1e-6);
    EXPECT_NEAR(Degrees(rmc[5], rmc[6]), fix.dLon, 1e-6);
    EXPECT_EQ(rmc[7], "27.0"); // knots
    EXPECT_EQ(rmc[8], "271.5");
    EXPECT_EQ(rmc[9], "070326");
    // the south, and a minute that would round up to 60
    fix.dLat = -33.99999999;
    const QList<QByteArray> south = Fields(SimNmea::Gga(fix));
    EXPECT_EQ(south[2], "3400.0000");
    EXPECT_EQ(south[3], "S");
}

TEST(SimDrive, LevelsFallWithDistance)
{
    EXPECT_EQ(CSimDrive::LevelAt(0), 63);
    EXPECT_EQ(CSimDrive::LevelAt(1000), CSimDrive::LEVEL_AT_1KM);
    EXPECT_EQ(CSimDrive::LevelAt(50000), 0);
    for (double d = 10; d < 20000; d *= 1.3)
        EXPECT_LE(CSimDrive::LevelAt(d * 1.3), CSimDrive::LevelAt(d)) << d;
    EXPECT_GT(CSimDrive::LevelAt(200), CSimDrive::LevelAt(400) + 5);
}

TEST(SimDrive, ChangesCellWithHysteresisAlongAStraightRoad)
{
    QTemporaryDir dir;
    SStraightRoad road(dir);
    ASSERT_TRUE(road.route.IsValid());
    ASSERT_EQ(road.cells.size(), 7u);
    CSimDrive drive(road.route, road.cells, 36); // 10 m a second
    const double dRoad = road.route.Length() / 2;
    std::vector<SSimXY> places = {road.route.At(0), road.route.At(dRoad)};
    for (int i = 2; i < 7; ++i)
        places.push_back({20000.0 * i, 0});
    drive.PlaceCells(places);
    int nTa = -1;
    drive.SetOutputs(
        [&](const std::vector<CSimCell>& cells, int n) {
            road.last = cells;
            nTa = n;
        },
        nullptr);
    drive.Step(0);
    ASSERT_EQ(road.last.size(), 7u);
    EXPECT_EQ(road.last[0].nCi, road.cells[0].nCi);
    EXPECT_EQ(road.last[1].nCi, road.cells[1].nCi); // the strongest neighbour next
    EXPECT_EQ(road.last[0].nLevel, 63);
    EXPECT_EQ(nTa, 0);

    // there and back: the cell changes once each way, only past the middle
    // by the hysteresis
    int nChanges = 0;
    int nServingCi = road.cells[0].nCi;
    for (int s = 1; s <= 400; ++s) {
        drive.Step(1);
        const double dAlong = s <= 200 ? s * 10.0 : (400 - s) * 10.0;
        const int nToStart = CSimDrive::LevelAt(dAlong),
                  nToEnd = CSimDrive::LevelAt(dRoad - dAlong);
        EXPECT_EQ(road.last[0].nLevel, road.last[0].nCi == road.cells[0].nCi ? nToStart : nToEnd);
        for (size_t i = 2; i < road.last.size(); ++i)
            EXPECT_GE(road.last[i - 1].nLevel, road.last[i].nLevel);
        if (road.last[0].nCi == nServingCi)
            continue;
        ++nChanges;
        nServingCi = road.last[0].nCi;
        const bool bThere = s <= 200;
        EXPECT_EQ(nServingCi, (bThere ? road.cells[1] : road.cells[0]).nCi) << s;
        EXPECT_GT(bThere ? nToEnd : nToStart, (bThere ? nToStart : nToEnd) + CSimDrive::HYSTERESIS);
        EXPECT_GT(bThere ? dAlong : dRoad - dAlong, dRoad / 2 + 10) << s;
        // one step earlier it was not yet enough
        const double dBefore = bThere ? dAlong - 10 : dAlong + 10;
        const int nOld = CSimDrive::LevelAt(bThere ? dBefore : dRoad - dBefore);
        const int nNew = CSimDrive::LevelAt(bThere ? dRoad - dBefore : dBefore);
        EXPECT_LE(nNew, nOld + CSimDrive::HYSTERESIS) << s;
    }
    EXPECT_EQ(nChanges, 2);
}
