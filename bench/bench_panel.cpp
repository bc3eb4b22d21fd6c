// Throughput of one received trace line through the panel: log entry,
// parser and presentation on the shown form (the work OnTraceLine does
// after taking the line from its channel), with and without the session
// recording.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "control/FrameHost.h"
#include "control/TessolyDlg.h"
#include "serial/TrafficLog.h"
#include "session/SessionRecorder.h"

namespace {
class BenchFrame : public CFrameHost
{
public:
    int IsPowerOffOnExit() const override { return 0; }
    int IsResetOnStart() const override { return 0; }
    QString GetTraceFlags() const override { return QStringLiteral("878000"); }
    void SetTraceFlags(const QString&) override {}
    int HasTraceFlag(int) const override { return 1; }
    void SetBsLock(bool) override {}
    void PostCloseApp() override {}
    void PostBcchClosed() override {}
    CTessolyDlg* Controller() const override { return nullptr; }
    CLogObserver* Recorder() const override { return recorder; }
    CSessionRecorder* recorder = nullptr;
};

const char* const kLines[] = {
    "Idle_Mode_Rpt 62 40 84 27 47 50 8 99 71 15 10 46 19 20 7 30 37 121 22 63",
    "Full Idle Report 62 41 0 12 3 1",
    "NCell 1 84 27 12 11 47 20",
    "NCell 2 50 8 10 9 99 15",
    "Cell ID     CI 2206 LAC 4425 MNC 01 MCC 262",
    "Bcch_Report 21 12 34 1B 22 06 62 F2 10 44 25 48 02 0A 17 65 48 79 00 00 2C 0B 2B 2B",
    "Dedicated_Rpt 12 6 34 0 33 1 84 27 47 50 10 39 71 15 10 46 18 20 7 29 37 121 24 63 0",
    "Full Ded Report 12 6 34 0 33 1 1",
};
} // namespace

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
    const int n = sizeof kLines / sizeof kLines[0];
    QString lines[n];
    for (int i = 0; i < n; ++i)
        lines[i] = QString::fromLatin1(kLines[i]);
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
