// SPDX-License-Identifier: GPL-3.0-or-later
// The fleet feed's cost: the processor time of publishing a sample to a real
// Mosquitto broker on loopback (both threads of this process, until the
// broker has acknowledged it), as a share of one core at the module's rate;
// and the memory of a queue at its limit through a long outage.
//
//   bench_fleet [seconds [rate [outage]]]
//     (default 10 s at 21 samples a second, the trace line's rate; outage 0 skips it)
#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

#include "fleet/MqttPublisher.h"
#include "fleet/TestBroker.h"

namespace {
// At most a sample for each of the module's 21 trace lines a second; the
// simulator's reports give two a second.
constexpr double kMaxRate = 21.0;
// Ten times what a sample costs at 21 a second (processor time of both
// threads, about 100 us, most of it the wake-ups of the two threads): beyond
// it the feed has collapsed, and the benchmark fails.
constexpr double kCollapseUs = 10 * 100.0;

double CpuSeconds(int who = RUSAGE_SELF)
{
    rusage u{};
    getrusage(who, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec +
           u.ru_stime.tv_usec / 1e6;
}

long RssKb()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

SSample Sample(int i)
{
    SSample s;
    s.time = QDateTime::currentDateTimeUtc();
    s.nMcc = 262;
    s.nMnc = 1;
    s.nLac = 4660;
    s.nCi = 1234 + i / 600; // a new cell every few minutes, as a drive's
    s.nBcch = 62;
    s.nBsic = 45;
    s.nRxLevDbm = -60 - i % 30; // the value whose change made the sample
    s.nRxQual = 0;
    s.nTa = 1;
    s.nTxPwrDbm = 33;
    for (int k = 0; k < 6; ++k)
        s.aNeighbour[k] = {20 + k, 10 + k, -80 - k};
    return s;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const double rate = argc > 2 ? std::max(0.1, std::atof(argv[2])) : kMaxRate;
    if (!CTestBroker::IsInstalled()) {
        std::printf("bench_fleet: mosquitto is not installed\n");
        return 0;
    }
    CTestBroker broker;
    if (!broker.Start()) {
        std::printf("bench_fleet: the broker did not start\n");
        return 1;
    }
    CMqttPublisher publisher;
    publisher.SetRetryDelays(100, 400);
    SMqttSettings settings;
    settings.bEnabled = true;
    settings.nPort = broker.Port();
    publisher.SetImei(QStringLiteral("490154203237518"));
    publisher.Configure(settings);
    if (!QTest::qWaitFor([&] { return publisher.IsConnected(); }, 5000)) {
        std::printf("bench_fleet: no connection\n");
        return 1;
    }

    // Live, at the module's rate, against the same time without samples.
    auto run = [&](bool bPublish) {
        QTimer pace;
        int i = 0;
        QObject::connect(&pace, &QTimer::timeout, [&] {
            if (bPublish)
                publisher.PublishSample(Sample(i));
            ++i;
        });
        const double cpu0 = CpuSeconds();
        const double ui0 = CpuSeconds(RUSAGE_THREAD);
        pace.start(static_cast<int>(1000 / rate));
        // A plain event loop: QTest::qWait would wake a hundred times a second.
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        pace.stop();
        if (!QTest::qWaitFor([&] { return publisher.Queued() == 0; }, 10000))
            std::printf("bench_fleet: not all acknowledged\n");
        std::printf("  %s: this thread %.1f ms\n", bPublish ? "publishing" : "idle",
                    (CpuSeconds(RUSAGE_THREAD) - ui0) * 1e3);
        return std::make_pair(CpuSeconds() - cpu0, i);
    };
    const auto idle = run(false);
    const auto busy = run(true);
    const double share = (busy.first - idle.first) / (seconds + 0.0) * 100;
    std::printf("publish: %d samples in %d s (%.0f a second), all acknowledged; processor time "
                "%.1f ms against %.1f ms idle: %.3f %% of one core, %.0f us a sample\n",
                busy.second, seconds, busy.second / (seconds + 0.0), busy.first * 1e3,
                idle.first * 1e3, share, (busy.first - idle.first) / busy.second * 1e6);

    const double us = (busy.first - idle.first) / busy.second * 1e6;
    if (us > kCollapseUs) {
        std::fprintf(stderr, "bench_fleet: COLLAPSE: %.0f us a sample (limit %.0f us)\n", us,
                     kCollapseUs);
        return 1;
    }
    if (argc > 3 && std::atoi(argv[3]) == 0)
        return 0;
    // An outage: the queue fills to its limit, then holds.
    broker.Stop();
    if (!QTest::qWaitFor([&] { return !publisher.IsConnected(); }, 5000))
        std::printf("bench_fleet: still connected\n");
    const long rss0 = RssKb();
    const int limit = CMqttPublisher::QUEUE_LIMIT;
    for (int i = 0; i < limit; ++i)
        publisher.PublishSample(Sample(i));
    const long rssFull = RssKb();
    for (int i = 0; i < 2 * limit; ++i)
        publisher.PublishSample(Sample(i));
    const long rssLater = RssKb();
    std::printf("outage: %d waiting, %lld dropped; memory +%ld KiB at the limit (%.0f bytes a "
                "message), +%ld KiB more after %d further samples\n",
                publisher.Waiting(), static_cast<long long>(publisher.Dropped()), rssFull - rss0,
                (rssFull - rss0) * 1024.0 / limit, rssLater - rssFull, 2 * limit);
    return 0;
}
