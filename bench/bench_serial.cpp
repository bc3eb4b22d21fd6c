// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the serial link's line cutting and of the traffic log.
#include "serial/LineSplitter.h"
#include "serial/LogList.h"
#include "serial/TrafficLog.h"

#include <QApplication>
#include <QListView>
#include <benchmark/benchmark.h>

namespace {
// About 64 KB of what the two ports carry: trace reports with neighbour
// fields, AT answers, blank lines between them and CR LF endings.
QByteArray MakeStream()
{
    QByteArray s;
    int i = 0;
    while (s.size() < 64 * 1024) {
        switch (i % 5) {
        case 0:
            s += "Idle_Mode_Rpt 62 45 17 3 65 40 22 70 38 11 81 33 9 90 29 30 101 25 44 112 21 "
                 "7\r\n";
            break;
        case 1:
            s += "Ded_Mode_Rpt 45 3 12 5 2 1 0 0 1\r\n";
            break;
        case 2:
            s += "\r\n+CREG: 0,1\r\n\r\nOK\r\n";
            break;
        case 3:
            s += "BCCH_SI3 06 1b 12 34 62 f2 10 00 01 c9 03 05 27 47 40 e5 04 00 2b 2b 2b\r\n";
            break;
        default:
            s += "Scan_Data ";
            for (int k = 0; k < 40; ++k)
                s += QByteArray::number((i * 7 + k) % 64) + ' ';
            s += "\n";
            break;
        }
        ++i;
    }
    return s;
}

void BM_LineSplitter(benchmark::State& state)
{
    const QByteArray stream = MakeStream();
    const qsizetype nChunk = state.range(0);
    CLineSplitter splitter;
    int64_t nLines = 0;
    for (auto _ : state) {
        for (qsizetype i = 0; i < stream.size(); i += nChunk) {
            splitter.Feed(stream.constData() + i, qMin(nChunk, stream.size() - i),
                          [&nLines](const QString& line) {
                              benchmark::DoNotOptimize(line.constData());
                              ++nLines;
                          });
        }
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(nLines), benchmark::Counter::kIsRate);
}
// 4096: one full read request; 64: a trickle at 9600 baud.
BENCHMARK(BM_LineSplitter)->Arg(4096)->Arg(64);

// Log into a list that already holds 999 entries: every entry also removes
// the oldest and selects the newest. Arg: entries logged between two passes
// of the event loop while the list is on screen (0: the list is not shown).
void BM_TrafficLogFull(benchmark::State& state)
{
    const int nBurst = static_cast<int>(state.range(0));
    QListView visible, hidden;
    visible.resize(600, 160);
    if (nBurst > 0) {
        visible.show();
        QCoreApplication::processEvents();
    }
    CTrafficLog log(&visible, &hidden, true, true, false);
    for (int i = 0; i < CLogList::kMaxEntries; ++i)
        log.Log(LOG_TRACE, "t<, ", QStringLiteral("Idle_Mode_Rpt %1 62 45 17 3").arg(i));
    const QString line = QStringLiteral("Idle_Mode_Rpt 62 45 17 3 65 40 22 70 38 11 81 33 9");
    int64_t nItems = 0;
    for (auto _ : state) {
        const int nCount = nBurst > 0 ? nBurst : 1;
        for (int i = 0; i < nCount; ++i)
            log.Log(LOG_TRACE, "t<, ", line);
        if (nBurst > 0)
            QCoreApplication::processEvents();
        nItems += nCount;
    }
    state.SetItemsProcessed(nItems);
}
// A single line now and then, and a burst of 1000 lines before the screen
// is updated.
BENCHMARK(BM_TrafficLogFull)->Arg(0)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

// One showing of a full list on screen at the module's rate: two new lines,
// then the list is laid out and drawn as the event loop does it.
void BM_TrafficLogShowing(benchmark::State& state)
{
    QListView visible, hidden;
    visible.resize(600, 160);
    visible.show();
    CTrafficLog log(&visible, &hidden, true, true, false);
    int n = 0;
    for (; n < CLogList::kMaxEntries; ++n)
        log.Log(LOG_TRACE, "t<, ", QStringLiteral("Idle_Mode_Rpt %1 62 45 17 3").arg(n));
    log.Flush();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        for (int i = 0; i < 2; ++i, ++n)
            log.Log(LOG_TRACE, "t<, ", QStringLiteral("Idle_Mode_Rpt %1 62 45 17 3").arg(n));
        log.Flush();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TrafficLogShowing)->Unit(benchmark::kMicrosecond);

// Unfreezing with 999 entries held back, into a full visible list.
void BM_TrafficLogUnfreeze(benchmark::State& state)
{
    QListView visible, hidden;
    CTrafficLog log(&visible, &hidden, true, true, false);
    for (int i = 0; i < CLogList::kMaxEntries; ++i)
        log.Log(LOG_DATA, "D<, ", QStringLiteral("old %1").arg(i));
    for (auto _ : state) {
        state.PauseTiming();
        log.Freeze(true);
        for (int i = 0; i < CLogList::kMaxEntries; ++i)
            log.Log(LOG_DATA, "D<, ", QStringLiteral("held %1").arg(i));
        state.ResumeTiming();
        log.Freeze(false);
    }
    state.SetItemsProcessed(state.iterations() * CLogList::kMaxEntries);
}
BENCHMARK(BM_TrafficLogUnfreeze)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
