// SPDX-License-Identifier: GPL-3.0-or-later
// tessoly-export on a recorded drive, its output read by the field's own
// tools: Python's csv module, ogrinfo (GDAL) and gpsbabel.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct ToolRun
{
    int nExit = -1;
    QString strOut;
    QString strErr;
};

ToolRun Start(const QString& program, const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(program, args);
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

ToolRun Export(const QStringList& args)
{
    return Start(QStringLiteral(TESSOLY_EXPORT), args);
}

#define SKIP_WITHOUT(tool)                                                                         \
    if (QStandardPaths::findExecutable(QStringLiteral(tool)).isEmpty())                            \
    GTEST_SKIP() << tool " is not installed (scripts/deps.sh)"

// A drive recorded at +01:00 from 03:00:00: a fix each second but from 10 s
// to 19 s (lost), a level line at each half second, one dBm weaker each
// time, on BCCH 20 and from 5.5 s on BCCH 30.
QByteArray Drive()
{
    QByteArray s;
    auto stamp = [](int nMs) {
        return QStringLiteral("2026-12-10T03:00:%1.%2+01:00 ")
            .arg(nMs / 1000, 2, 10, QLatin1Char('0'))
            .arg(nMs % 1000, 3, 10, QLatin1Char('0'))
            .toLatin1();
    };
    for (int i = 0; i < 30; ++i) {
        if (i < 10 || i >= 20)
            s += stamp(i * 1000) +
                 QStringLiteral("G<, 2026-12-10T02:00:%1.000Z 3D %2 13.4000000 50.00 36.0 5.0\r\n")
                     .arg(i, 2, 10, QLatin1Char('0'))
                     .arg(52.5 + i * 0.0001, 0, 'f', 7)
                     .toLatin1();
        s += stamp(i * 1000 + 500) + "t<, Idle_Mode_Rpt " + (i < 5 ? "20 " : "30 ") +
             QByteArray::number(40 - i) + "\r\n";
    }
    return s + "a line that is no entry\r\n";
}

class ExportTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        in = dir.filePath(QStringLiteral("drive.session"));
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Drive());
    }
    QString Out(const char* name) const { return dir.filePath(QLatin1String(name)); }

    QTemporaryDir dir;
    QString in;
};
} // namespace

TEST_F(ExportTool, CsvHasTheHeaderARowPerSampleAndEventAndPositionsAtTheirTimes)
{
    SKIP_WITHOUT("python3");
    const ToolRun run = Export({in, Out("drive.csv")});
    ASSERT_EQ(run.nExit, 0) << run.strErr.toStdString();
    EXPECT_EQ(run.strOut.toStdString(), "51 lines read, 31 rows written, 1 lines skipped\n");
    // time, lat, fix, bcch, rxlev and event of chosen rows, as csv reads them.
    const char* script = R"(
import csv, sys
with open(sys.argv[1], newline='') as f:
    rows = list(csv.reader(f))
print(','.join(rows[0]))
d = [dict(zip(rows[0], r)) for r in rows[1:]]
print(len(d))
for r in d[0], d[5], d[6], d[10], d[11], d[12], d[19], d[20], d[30]:
    print(' '.join(r[k] or '-' for k in ('time', 'lat', 'lon', 'fix', 'bcch', 'rxlev_dbm', 'event')))
)";
    const ToolRun py = Start(QStringLiteral("python3"),
                             {QStringLiteral("-c"), QLatin1String(script), Out("drive.csv")});
    ASSERT_EQ(py.nExit, 0) << py.strErr.toStdString();
    EXPECT_EQ(py.strOut.toStdString(),
              "time,lat,lon,alt_m,speed_kmh,err_m,fix,mode,mcc,mnc,lac,ci,bcch,bsic,rxlev_dbm,"
              "rxqual,ta,txpwr_dbm,n1_bcch,n1_bsic,n1_rxlev_dbm,n2_bcch,n2_bsic,n2_rxlev_dbm,"
              "n3_bcch,n3_bsic,n3_rxlev_dbm,n4_bcch,n4_bsic,n4_rxlev_dbm,n5_bcch,n5_bsic,"
              "n5_rxlev_dbm,n6_bcch,n6_bsic,n6_rxlev_dbm,event\n"
              "31\n"
              // between two fixes 1 s apart: interpolated
              "2026-12-10T03:00:00.500+01:00 52.500050 13.400000 3d 20 -70 -\n"
              "2026-12-10T03:00:05.500+01:00 52.500550 13.400000 3d 30 -75 -\n"
              // the cell change after its sample
              "2026-12-10T03:00:05.500+01:00 52.500550 13.400000 3d - - cell_change\n"
              // the fixes around are 11 s apart: the nearest within 2 s, then none
              "2026-12-10T03:00:09.500+01:00 52.500900 13.400000 3d 30 -79 -\n"
              "2026-12-10T03:00:10.500+01:00 52.500900 13.400000 3d 30 -80 -\n"
              "2026-12-10T03:00:11.500+01:00 - - none 30 -81 -\n"
              "2026-12-10T03:00:18.500+01:00 52.502000 13.400000 3d 30 -88 -\n"
              "2026-12-10T03:00:19.500+01:00 52.502000 13.400000 3d 30 -89 -\n"
              "2026-12-10T03:00:29.500+01:00 52.502900 13.400000 3d 30 -99 -\n");
}

TEST_F(ExportTool, KmlPlacemarksInAFolderPerCellAndEventsAsOgrinfoReadsThem)
{
    SKIP_WITHOUT("ogrinfo");
    const ToolRun run = Export({in, Out("drive.kml")});
    ASSERT_EQ(run.nExit, 0) << run.strErr.toStdString();
    EXPECT_EQ(run.strOut.toStdString(), "51 lines read, 24 placemarks written, 1 lines skipped\n");
    const ToolRun info =
        Start(QStringLiteral("ogrinfo"), {QStringLiteral("-ro"), QStringLiteral("-al"),
                                          QStringLiteral("-q"), Out("drive.kml")});
    ASSERT_EQ(info.nExit, 0) << info.strErr.toStdString();
    QStringList layers, names;
    for (const QString& line : info.strOut.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Layer name: ")))
            layers << line.mid(12);
        if (line.startsWith(QLatin1String("  Name (String) = ")))
            names << line.mid(18);
    }
    EXPECT_EQ(layers, QStringList({"BCCH 20", "BCCH 30", "Events"}));
    ASSERT_EQ(names.size(), 24);
    EXPECT_EQ(names.first(), QStringLiteral("03:00:00 -70 dBm"));
    EXPECT_EQ(names.last(), QStringLiteral("cell_change"));
    // The colour of its level band on each placemark, and the legend.
    EXPECT_TRUE(info.strOut.contains(QLatin1String("Style = @rx1")));
    QFile kml(Out("drive.kml"));
    ASSERT_TRUE(kml.open(QIODevice::ReadOnly));
    const QByteArray text = kml.readAll();
    EXPECT_TRUE(text.contains("<color>ff00ffaa</color>"));
    EXPECT_TRUE(text.contains("light green: -70 to -61 dBm"));
    EXPECT_TRUE(text.contains(
        "Cell (MCC-MNC-LAC-CI) -\nBCCH 20\nBSIC -\nRX level -70 dBm\nRX Qual -\nTA -"));
}

TEST_F(ExportTool, GpxTrackBreaksWhereTheFixWasLostAndGpsbabelReadsItsPointsAndTimes)
{
    SKIP_WITHOUT("gpsbabel");
    const ToolRun run = Export({in, Out("drive.gpx")});
    ASSERT_EQ(run.nExit, 0) << run.strErr.toStdString();
    const ToolRun csv =
        Start(QStringLiteral("gpsbabel"),
              {"-t", "-i", "gpx", "-f", Out("drive.gpx"), "-o", "unicsv,utc=0", "-F", "-"});
    ASSERT_EQ(csv.nExit, 0) << csv.strErr.toStdString();
    QStringList points = csv.strOut.trimmed().split(QStringLiteral("\n"));
    ASSERT_EQ(points.size(), 1 + 23) << csv.strOut.toStdString();
    EXPECT_TRUE(points[1].contains(QLatin1String("52.500050,13.400000")))
        << points[1].toStdString();
    EXPECT_TRUE(points[1].contains(QLatin1String("2026/12/10,02:00:00.500")))
        << points[1].toStdString();
    // Read and written again by gpsbabel: two segments.
    const ToolRun gpx =
        Start(QStringLiteral("gpsbabel"),
              {"-t", "-i", "gpx", "-f", Out("drive.gpx"), "-o", "gpx,gpxver=1.1", "-F", "-"});
    EXPECT_EQ(gpx.strOut.count(QLatin1String("<trkseg>")), 2) << gpx.strOut.toStdString();
}

TEST_F(ExportTool, BadInputOrOutputFailsClearlyAndLeavesNoFile)
{
    const QString notLog = Out("notes.txt");
    QFile f(notLog);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("shopping list\nmilk\n");
    f.close();
    struct Case
    {
        QStringList args;
        const char* why;
    } cases[] = {
        {{Out("missing.session"), Out("out.csv")}, "cannot read"},
        {{notLog, Out("out.kml")}, "not a traffic log"},
        {{in, Out("no/such/folder/out.gpx")}, "cannot write"},
        {{in, Out("out.txt")}, "cannot tell the format"},
        {{"--format", "xls", in, Out("out.csv")}, "unknown format"},
        {{in}, "usage"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Export(c.args);
        EXPECT_NE(run.nExit, 0) << c.why;
        EXPECT_TRUE(run.strErr.contains(QLatin1String(c.why))) << run.strErr.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                  QStringList({"drive.session", "notes.txt"}))
            << c.why;
    }
    // An older export stays as it was; --format wins over the extension.
    QFile older(Out("out.kml"));
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("older");
    older.close();
    EXPECT_NE(Export({notLog, Out("out.kml")}).nExit, 0);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), QByteArray("older"));
    older.close();
    ASSERT_EQ(Export({"--format", "csv", in, Out("out.kml")}).nExit, 0);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_TRUE(older.readAll().startsWith("time,lat,lon,"));
}
