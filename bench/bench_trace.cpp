// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the trace report parser on a realistic mix of lines.
#include <QApplication>
#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>

#include "protocol/StringE.h"
#include "trace/TraceReport.h"

namespace {
QStringList MixedLines()
{
    return {
        "Idle_Mode_Rpt 62 45 70 30 12 81 28 33 95 22 99 17 19 41 520 15 7 600 12 99",
        "NCell 1 70 30 12",
        "NCell 2 81 28 33",
        "Cell ID      CI: 12345 LAC: 1001 MNC: 01 MCC: 262",
        "Dedicated_Rpt 1 5 40 0 41 1 70 30 12 81 28 33 95 22 99 17 19 41 520 15 7 600 12 99 3",
        "Full Ded Report 10 5 40 0 41 1 1",
        "Full Idle Report 62 45 0 12 13 1",
        "Bcch_Report 23 12 34 1B 00 11 22 33 44 55 66 77 88 99 aa 7F 1F cc dd ee ff 01 02 03",
        "L1_Uplink 1 2 3 4 5 6 7 8",
        "Set Flags? 00878000",
        "  Idle_Mode_Rpt 62 44",
        "some line the parser does not know",
        "Dedicated_Chan 60 7 2 x 3 a 1 b 0 TCH/F c 1 d 62",
        "Full Idle Desc BCCH 20 BSIC 33 CI 99 LAC 88 MNC 2 MCC 232",
        "Min Access 10 a b 20",
        "CBCH Supported 1 x 3 a 1 b 0 TCH y 123 z 45",
    };
}

void BM_ParseLineMix(benchmark::State& state)
{
    const QStringList lines = MixedLines();
    CTraceReport report;
    qsizetype i = 0;
    for (auto _ : state) {
        QString line = lines[i];
        benchmark::DoNotOptimize(report.ParseLine(line));
        if (++i == lines.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseLineMix);

void BM_ParseIdleModeReport(benchmark::State& state)
{
    const QString src = MixedLines()[0];
    CTraceReport report;
    for (auto _ : state) {
        QString line = src;
        benchmark::DoNotOptimize(report.ParseLine(line));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseIdleModeReport);

void BM_ScanDataLine(benchmark::State& state)
{
    QString src;
    for (int c = 1; c <= 124; c += 4)
        src += QString("%1 %2 ").arg(c).arg(c % 64);
    CTraceReport report;
    report.AttachScan();
    QString header = "RF Scan 1";
    report.ParseLine(header);
    for (auto _ : state) {
        QString line = src;
        benchmark::DoNotOptimize(report.ParseLine(line));
    }
    report.DetachScan();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScanDataLine);

void BM_StringEFields(benchmark::State& state)
{
    const QString src = MixedLines()[0];
    for (auto _ : state) {
        CStringE s(src);
        int n = 0;
        while (!s.GetNextToken().isEmpty())
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StringEFields);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
