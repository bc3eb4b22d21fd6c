// SPDX-License-Identifier: GPL-3.0-or-later
// Puts a serial line's pace between a device and its reader: a new
// pseudo-terminal whose reader receives what the device sends at most at
// the given speed (10 bit times a character), in the small pieces a serial
// driver hands on; what the reader writes goes to the device at once.
// Runs until it is killed or the device closes.
//
//   bench_pace <device> <link> [baud [count-file]]
// <link> becomes a symbolic link to the paced terminal; baud is 9600 unless
// given; the number of lines handed on is written to count-file every second.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {
constexpr int kTickMs = 10;

long NowMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

bool Forward(int from, int to)
{
    char buf[4096];
    const ssize_t n = ::read(from, buf, sizeof buf);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO))
        return false;
    for (ssize_t done = 0; n > 0 && done < n;) {
        const ssize_t m = ::write(to, buf + done, n - done);
        if (m > 0)
            done += m;
        else if (m < 0 && errno != EAGAIN && errno != EINTR)
            return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: bench_pace <device> <link> [baud]\n");
        return 1;
    }
    const long nBytesPerSecond = (argc > 3 ? atol(argv[3]) : 9600) / 10;
    const char* pszCountFile = argc > 4 ? argv[4] : nullptr;
    const int device = ::open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK);
    int master = -1, slave = -1;
    char name[256] = {0};
    struct termios tio;
    cfmakeraw(&tio);
    if (device < 0 || nBytesPerSecond <= 0 || openpty(&master, &slave, name, &tio, nullptr) != 0) {
        fprintf(stderr, "bench_pace: cannot open %s or a pseudo-terminal\n", argv[1]);
        return 1;
    }
    struct termios raw;
    if (tcgetattr(device, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(device, TCSANOW, &raw);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    ::unlink(argv[2]);
    if (::symlink(name, argv[2]) != 0) {
        fprintf(stderr, "bench_pace: cannot create %s\n", argv[2]);
        return 1;
    }

    std::string pending; // from the device, not yet handed on
    double credit = 0;   // bytes the line may carry now
    long last = NowMs();
    long nLines = 0, nLinesWritten = -1, lastCount = last;
    for (;;) {
        struct pollfd p[2] = {{device, POLLIN, 0}, {master, POLLIN, 0}};
        const bool bCount = pszCountFile && nLines != nLinesWritten;
        if (::poll(p, 2, pending.empty() && !bCount ? -1 : kTickMs) < 0 && errno != EINTR)
            break;
        // The line carries bytes only while there are some to carry.
        const long now = NowMs();
        credit = pending.empty() ? 0 : credit + (now - last) * nBytesPerSecond / 1000.0;
        last = now;
        if (p[0].revents & POLLIN) {
            char buf[4096];
            const ssize_t n = ::read(device, buf, sizeof buf);
            if (n > 0)
                pending.append(buf, n);
        } else if (p[0].revents & (POLLHUP | POLLERR)) {
            break;
        }
        // The reader's side hangs up between two openings: keep going.
        if ((p[1].revents & POLLIN) && !Forward(master, device))
            break;
        if (!pending.empty()) {
            const size_t n = std::min(pending.size(), static_cast<size_t>(credit));
            if (n > 0) {
                const ssize_t m = ::write(master, pending.data(), n);
                if (m > 0) {
                    nLines += std::count(pending.begin(), pending.begin() + m, '\n');
                    pending.erase(0, m);
                    credit -= m;
                }
            }
        }
        if (bCount && now - lastCount >= 1000) {
            if (FILE* f = fopen(pszCountFile, "w")) {
                fprintf(f, "%ld\n", nLines);
                fclose(f);
            }
            nLinesWritten = nLines;
            lastCount = now;
        }
    }
    ::unlink(argv[2]);
    return 0;
}
