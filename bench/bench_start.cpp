// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time of the program: from its start to the first "AT" on its
// data port. The ports are two pseudo-terminals held here; the program's
// settings file beside it maps them and leaves the module off.
//
//   bench_start <program> [runs]       (default 5 runs; prints each and the median)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "BenchPty.h"
#include "protocol/AtCommands.h"

namespace {
// Milliseconds from the program's start until "AT\r" arrives, -1 after 20 s.
qint64 OneRun(const QString& program, int dataMaster)
{
    char drain[256];
    while (::read(dataMaster, drain, sizeof drain) > 0) {
    }
    QProcess p;
    p.setProgram(program);
    p.setArguments({QStringLiteral("-startup")});
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    QByteArray seen;
    QElapsedTimer clock;
    clock.start();
    p.start();
    qint64 ms = -1;
    while (clock.elapsed() < 20000) {
        struct pollfd fd = {dataMaster, POLLIN, 0};
        if (::poll(&fd, 1, 100) > 0) {
            char buf[256];
            const ssize_t n = ::read(dataMaster, buf, sizeof buf);
            if (n > 0)
                seen.append(buf, n);
            if (seen.contains(QByteArray(AT_ATTENTION) + '\r')) {
                ms = clock.elapsed();
                break;
            }
        }
    }
    p.kill();
    p.waitForFinished(5000);
    return ms;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: bench_start <program> [runs]\n");
        return 1;
    }
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int nRuns = argc > 2 ? qMax(1, atoi(argv[2])) : 5;
    BenchPty data, trace;
    if (data.path.isEmpty() || trace.path.isEmpty()) {
        fprintf(stderr, "bench_start: no pseudo-terminal\n");
        return 1;
    }
    // The settings file the program's argument "-startup" names.
    const QString ini = QFileInfo(program).dir().filePath(QStringLiteral("startup.ini"));
    QFile f(ini);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fprintf(stderr, "bench_start: cannot write %s\n", qPrintable(ini));
        return 1;
    }
    f.write("[MISC]\r\nOptions=4\r\n[PORTS]\r\nCOM1=" + data.path.toLocal8Bit() +
            "\r\nCOM2=" + trace.path.toLocal8Bit() + "\r\n");
    f.close();

    std::vector<qint64> runs;
    for (int i = 0; i < nRuns; ++i) {
        const qint64 ms = OneRun(program, data.master);
        if (ms < 0) {
            fprintf(stderr, "bench_start: no \"AT\" within 20 s\n");
            QFile::remove(ini);
            return 2;
        }
        runs.push_back(ms);
    }
    QFile::remove(ini);
    QByteArray list;
    for (qint64 ms : runs)
        list += (list.isEmpty() ? "" : ", ") + QByteArray::number(ms);
    std::sort(runs.begin(), runs.end());
    printf("start-up to the first \"AT\": median %lld ms (runs: %s ms)\n",
           static_cast<long long>(runs[runs.size() / 2]), list.constData());
    return 0;
}
