// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of one received trace line through the panel: log entry,
// parser and presentation on the shown form (the work OnTraceLine does
// after taking the line from its channel), with and without the session
// recording.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchFrame.h"
#include "TraceMix.h"
#include "control/TessolyDlg.h"
#include "serial/TrafficLog.h"
#include "session/SessionRecorder.h"

// Arguments: form shown (0/1), session recorded (0/1).
static void BM_PanelTraceLine(benchmark::State& state)
{
    BenchFrame frame;
    QTemporaryDir dir;
    CSessionRecorder recorder;
    if (state.range(1)) {
        recorder.Start(dir.path());
        frame.recorder = &recorder;
    }
    CTessolyDlg dlg(&frame);
    dlg.CreatePanel();
    if (state.range(0))
        dlg.show();
    const int n = kTraceMixSize;
    QString lines[n];
    for (int i = 0; i < n; ++i)
        lines[i] = QString::fromLatin1(kTraceMix[i]);
    int i = 0;
    for (auto _ : state) {
        const QString& line = lines[i++ % n];
        dlg.Log()->Log(LOG_TRACE, "t<, ", line);
        dlg.HandleTraceLine(line);
        if ((i & 1023) == 0)
            QCoreApplication::processEvents(); // the log's deferred selection and repaints
    }
    QCoreApplication::processEvents();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PanelTraceLine)->Args({0, 0})->Args({1, 0})->Args({1, 1})->MeasureProcessCPUTime();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
