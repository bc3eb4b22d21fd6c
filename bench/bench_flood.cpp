// SPDX-License-Identifier: GPL-3.0-or-later
// A flood of trace lines on a pseudo-terminal into the shown panel: the
// writer writes as fast as the terminal takes the bytes, the panel handles
// every line (log entry, parser, presentation). Prints the time, the lines
// lost or out of order, the longest line queue seen and the resident memory
// at its peak and after the flood. With EVERY, line EVERY, 2 EVERY, ... is a
// Dedicated_Chan report, which the panel answers on the trace port while the
// flood goes on; each answer must arrive.
//
//   bench_flood [lines [EVERY]]       (default 100000 lines, no answers asked)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "BenchFrame.h"
#include "BenchPty.h"
#include "TraceMix.h"
#include "control/TessolyDlg.h"
#include "platform/PortNames.h"
#include "protocol/TraceCommands.h"
#include "serial/SerialPort.h"

namespace {
long g_nEvery = 0;

// Line i of the flood: a line of the mix with its number as a last field, or
// every g_nEvery lines a channel assignment that the panel answers.
QByteArray FloodLine(long i)
{
    if (g_nEvery > 0 && i % g_nEvery == g_nEvery - 1)
        return "Dedicated_Chan 60 7 2 x 3 a 1 b 0 TCH/F c 1 d 62";
    return QByteArray(kTraceMix[i % kTraceMixSize]) + ' ' + QByteArray::number(qint64(i));
}

// Reads the trace port's answers until bStop is set; counts the accepts.
long CountAnswers(int fd, const std::atomic<bool>& bStop)
{
    const QByteArray accept(TRACE_ACCEPT_CHANNEL);
    QByteArray seen;
    while (!bStop) {
        struct pollfd p = {fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            seen.append(buffer, n);
    }
    return seen.count(accept);
}

// Writes all bytes, waiting while the terminal is full, until bStop is set.
bool WriteAll(int fd, const QByteArray& bytes, const std::atomic<bool>& bStop)
{
    qsizetype done = 0;
    while (done < bytes.size() && !bStop) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EAGAIN) {
            struct pollfd p = {fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else if (n < 0 && errno != EINTR) {
            return false;
        }
    }
    return done == bytes.size();
}

// kB of a line of /proc/self/status ("VmRSS", "VmHWM").
long StatusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long nLines = argc > 1 ? atol(argv[1]) : 100000;
    g_nEvery = argc > 2 ? atol(argv[2]) : 0;
    const long nAsked = g_nEvery > 0 ? nLines / g_nEvery : 0;

    QTemporaryDir dir;
    BenchPty data, trace;
    if (!dir.isValid() || trace.path.isEmpty() || data.path.isEmpty()) {
        fprintf(stderr, "bench_flood: no pseudo-terminal\n");
        return 1;
    }
    CPortNames::SetProfilePath(dir.filePath(QStringLiteral("Tarn.ini")));
    CPortNames::SetDevice(1, data.path);
    CPortNames::SetDevice(2, trace.path);
    BenchFrame frame;
    CTessolyDlg dlg(&frame);
    dlg.CreatePanel();
    dlg.show();
    int nTrace = 2, nData = 1;
    if (!dlg.OpenPorts(&nTrace, &nData)) {
        fprintf(stderr, "bench_flood: the ports could not be opened\n");
        return 1;
    }

    long nHandled = 0, nWrong = 0;
    int nQueuePeak = 0;
    QObject::connect(&dlg, &CTessolyDlg::TraceLineHandled, [&](const QString& line) {
        if (line.toLatin1() != FloodLine(nHandled))
            ++nWrong;
        if (nHandled % 1000 == 0)
            nQueuePeak = qMax(nQueuePeak, dlg.TracePort()->QueuedLines());
        if (++nHandled == nLines)
            app.quit();
    });
    // Nothing handled for 10 s: the rest is lost.
    long nSeen = -1;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&]() {
        if (nHandled == nSeen)
            app.quit();
        nSeen = nHandled;
    });
    watchdog.start(10000);

    QElapsedTimer clock;
    clock.start();
    std::atomic<bool> bWriteOk{true}, bStop{false}, bAnswersDone{false};
    long nAnswered = 0;
    std::thread answers([&]() { nAnswered = CountAnswers(trace.master, bAnswersDone); });
    std::thread writer([&]() {
        QByteArray chunk;
        for (long i = 0; i < nLines && bWriteOk; ++i) {
            chunk += FloodLine(i) + "\r\n";
            if (chunk.size() >= 4096 || i == nLines - 1) {
                bWriteOk = WriteAll(trace.master, chunk, bStop);
                chunk.clear();
            }
        }
    });
    app.exec();
    const double seconds = clock.elapsed() / 1000.0;
    bStop = true;
    writer.join();
    const long nPeakKb = StatusKb("VmHWM");
    // What stays once the flood is over.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    const long nAfterKb = StatusKb("VmRSS");
    dlg.ClosePanel();
    bAnswersDone = true;
    answers.join();

    printf("flood of %ld lines: %ld shown, %ld lost, %ld out of order, %.2f s (%.0f lines/s), "
           "queue at most %d lines, RSS peak %.1f MB, after %.1f MB\n",
           nLines, nHandled, nLines - nHandled, nWrong, seconds, nHandled / seconds, nQueuePeak,
           nPeakKb / 1024.0, nAfterKb / 1024.0);
    // A write lost, or a flood that crawls (a tenth of the usual rate), fails
    // loudly. The panel pauses by design after each character it sends: that
    // time is not the flood's.
    const double dPauses =
        nAnswered * qstrlen(TRACE_ACCEPT_CHANNEL) * dlg.m_nTraceCharDelay / 1000.0;
    const double dRate = nHandled / qMax(seconds - dPauses, 0.001);
    if (g_nEvery > 0)
        printf("  a Dedicated_Chan every %ld lines: %ld of %ld answered; %.0f lines/s without "
               "the %.1f s of pauses after each character sent\n",
               g_nEvery, nAnswered, nAsked, dRate, dPauses);
    if (dRate < 10000)
        fprintf(stderr, "bench_flood: COLLAPSE: %.0f lines/s, under 10,000\n", dRate);
    if (nAnswered != nAsked)
        fprintf(stderr, "bench_flood: LOST WRITES: %ld of %ld answers missing\n",
                nAsked - nAnswered, nAsked);
    return nHandled == nLines && nWrong == 0 && bWriteOk && nAnswered == nAsked && dRate >= 10000
               ? 0
               : 2;
}
