// SPDX-License-Identifier: GPL-3.0-or-later
// Seeking in the review of a 4-hour session (about 300,000 trace lines at
// the module's rate of 21 a second): the file read, a seek to the end, a
// seek back to the middle (which presents again from the start) and a short
// seek forward. A seek over one second is a collapse and fails the program.
// Usage: bench_review [hours (4)]
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "BenchFrame.h"
#include "TraceMix.h"
#include "control/SessionReview.h"
#include "control/TessolyDlg.h"

namespace {
const int kLinesPerSecond = 21;
// A collapse: ten times the 0.5 s a seek across 4 hours takes here. A loaded
// machine alone doubles it, which must not fail the run.
const qint64 kSeekLimitMs = 5000;

// Writes a session of nSeconds seconds of the trace mix, a line's levels moving.
bool WriteSession(const QString& path, int nSeconds, qint64 nStart)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray out;
    for (int s = 0; s < nSeconds; ++s) {
        const QByteArray stamp = QDateTime::fromMSecsSinceEpoch(nStart + qint64(s) * 1000)
                                     .toOffsetFromUtc(3600)
                                     .toString(Qt::ISODateWithMs)
                                     .toLatin1();
        for (int i = 0; i < kLinesPerSecond; ++i) {
            QByteArray line = kTraceMix[i % kTraceMixSize];
            if (i == 0)
                line = "Idle_Mode_Rpt 62 " + QByteArray::number(10 + s % 50) + line.mid(16);
            out += stamp + " t<, " + line + '\n';
        }
        if (out.size() > (1 << 20)) {
            f.write(out);
            out.clear();
        }
    }
    f.write(out);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double dHours = argc > 1 ? atof(argv[1]) : 4.0;
    const int nSeconds = int(dHours * 3600);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("drive.session"));
    const qint64 nStart = QDateTime(QDate(2026, 12, 10), QTime(8, 0)).toMSecsSinceEpoch();
    if (!WriteSession(path, nSeconds, nStart))
        return 2;

    BenchFrame frame;
    CTessolyDlg dlg(&frame);
    dlg.CreatePanel();
    dlg.show();
    CSessionReview review(&dlg);
    QElapsedTimer t;
    t.start();
    if (review.Open(path) != CSessionReview::SR_OK)
        return 2;
    const qint64 nOpen = t.elapsed();
    auto seek = [&](qint64 nTo) {
        t.restart();
        review.Seek(nTo);
        QCoreApplication::processEvents();
        return t.elapsed();
    };
    const qint64 nEnd = seek(review.End());
    const qint64 nBack = seek(review.Begin() + (review.End() - review.Begin()) / 2);
    const qint64 nForward = seek(review.Position() + 60000);
    printf("review of %.1f h, %d lines: file read %lld ms; seek to the end %lld ms, back to the "
           "middle %lld ms, one minute forward %lld ms\n",
           dHours, review.Lines(), (long long)nOpen, (long long)nEnd, (long long)nBack,
           (long long)nForward);
    if (nEnd > kSeekLimitMs || nBack > kSeekLimitMs) {
        fprintf(stderr, "COLLAPSE: a seek took over %lld ms\n", (long long)kSeekLimitMs);
        return 1;
    }
    return 0;
}
