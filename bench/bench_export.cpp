// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting a 4-hour drive: a session of about 20 trace lines a second with
// a fix each second, made here, exported to CSV, KML and GPX. Prints the
// time of each; exits 1 when one takes ten times what it took when this
// benchmark was written (a collapse, not a slow machine).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

#include "export/SessionExport.h"
#include "gps/GpsFix.h"
#include "session/SessionLog.h"

namespace {
constexpr int kHours = 4;
constexpr int kLinesPerSecond = 20;
// Ten times the seconds each export took when this was written (2 shared
// cores: CSV 3.1 s, KML 4.3 s, GPX 6.9 s for 288,000 lines).
constexpr double kCollapseS[EXPORT_FORMAT_COUNT] = {31, 43, 69, 0};
const QDateTime kStart(QDate(2026, 12, 10), QTime(6, 0, 0), Qt::OffsetFromUTC, 3600);

// The drive: the serving level and the neighbours' wander, the cell changes
// every five minutes, a fix each second along a straight road.
QByteArray Drive()
{
    std::mt19937 random(7);
    QByteArray s;
    s.reserve(kHours * 3600 * kLinesPerSecond * 90);
    int nLevel = 40;
    int nCell = 0;
    for (int second = 0; second < kHours * 3600; ++second) {
        const qint64 t0 = kStart.toMSecsSinceEpoch() + qint64(second) * 1000;
        SGpsFix fix;
        fix.time = QDateTime::fromMSecsSinceEpoch(t0, Qt::UTC);
        fix.nMode = SGpsFix::FIX_3D;
        fix.dLat = 52.0 + second * 0.0001;
        fix.dLon = 13.0 + second * 0.00005;
        fix.dAltM = 50;
        fix.dSpeedKmh = 40;
        fix.dErrM = 5;
        s += CSessionLog::FormatStamp(t0, 3600) + CSessionLog::kGpsPrefix +
             CSessionLog::FormatFix(fix) + "\r\n";
        if (second % 300 == 0) {
            ++nCell;
            s += CSessionLog::FormatStamp(t0 + 10, 3600) + "t<, Cell ID     CI " +
                 QByteArray::number(0x2200 + nCell, 16).toUpper() + " LAC 4425 MNC 01 MCC 262\r\n";
        }
        const int nBcch = 60 + nCell % 20;
        for (int i = 1; i < kLinesPerSecond; ++i) {
            nLevel = qBound(5, nLevel + int(random() % 5) - 2, 60);
            const QByteArray stamp =
                CSessionLog::FormatStamp(t0 + i * 1000 / kLinesPerSecond, 3600);
            if (i % 2)
                s += stamp + "t<, Idle_Mode_Rpt " + QByteArray::number(nBcch) + ' ' +
                     QByteArray::number(nLevel) + " 84 27 " + QByteArray::number(nLevel - 3) +
                     " 50 8 99 71 15 10 46 19 20 7 30 37 121 22 63\r\n";
            else
                s += stamp + "t<, Full Idle Report " + QByteArray::number(nBcch) + ' ' +
                     QByteArray::number(nLevel) + " 0 12 3 1\r\n";
        }
    }
    return s;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("drive.session"));
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly) || f.write(Drive()) < 0) {
            std::fprintf(stderr, "bench_export: cannot write %s\n", qPrintable(in));
            return 1;
        }
        std::printf("export of a %d-hour session: %.1f MB\n", kHours, f.size() / 1e6);
    }
    int nFailed = 0;
    for (int format : {EXPORT_CSV, EXPORT_KML, EXPORT_GPX}) {
        const QString out = dir.filePath(QStringLiteral("drive.") +
                                         QLatin1String(CSessionExport::FormatName(format)));
        SExportCounts counts;
        QString error;
        QElapsedTimer timer;
        timer.start();
        const int r = CSessionExport::Run(in, out, format, &counts, &error);
        const double s = timer.nsecsElapsed() / 1e9;
        if (r != CSessionExport::EX_OK) {
            std::fprintf(stderr, "bench_export: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("export %s: %.2f s for %d lines (%.1f us a line), %d %s, %.1f MB\n",
                    CSessionExport::FormatName(format), s, counts.nLines, s * 1e6 / counts.nLines,
                    counts.nWritten, counts.pszUnit, QFile(out).size() / 1e6);
        if (kCollapseS[format] > 0 && s > kCollapseS[format]) {
            std::fprintf(stderr, "bench_export: COLLAPSE: %s export takes %.1f s (limit %.0f s)\n",
                         CSessionExport::FormatName(format), s, kCollapseS[format]);
            ++nFailed;
        }
    }
    return nFailed ? 1 : 0;
}
