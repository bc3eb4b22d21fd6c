// SPDX-License-Identifier: GPL-3.0-or-later
#include "PtyPair.h"

#include <QElapsedTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    int master = -1, slave = -1;
    char name[256] = {0};
    struct termios tio;
    cfmakeraw(&tio);
    if (openpty(&master, &slave, name, &tio, nullptr) != 0)
        return;
    m_master = master;
    m_slaveKeep = slave;
    m_slavePath = QString::fromLocal8Bit(name);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    CloseMaster();
    if (m_slaveKeep >= 0)
        ::close(m_slaveKeep);
}

void PtyPair::CloseMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool PtyPair::Write(const QByteArray& bytes)
{
    qsizetype done = 0;
    QElapsedTimer t;
    t.start();
    while (done < bytes.size() && m_master >= 0) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (t.elapsed() > 10000)
                return false;
            struct pollfd p = {m_master, POLLOUT, 0};
            ::poll(&p, 1, 20);
        } else {
            return false;
        }
    }
    return done == bytes.size();
}

QByteArray PtyPair::Read(int timeoutMs, int quietMs)
{
    QByteArray out;
    if (m_master < 0)
        return out;
    int wait = timeoutMs;
    for (;;) {
        struct pollfd p = {m_master, POLLIN, 0};
        const int r = ::poll(&p, 1, wait);
        if (r <= 0)
            break;
        char buf[4096];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, n);
        wait = quietMs;
    }
    return out;
}

QByteArray PtyPair::ReadExactly(int n, int timeoutMs)
{
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (out.size() < n && m_master >= 0) {
        const int left = timeoutMs - static_cast<int>(t.elapsed());
        if (left <= 0)
            break;
        struct pollfd p = {m_master, POLLIN, 0};
        if (::poll(&p, 1, left) <= 0)
            break;
        char buf[4096];
        const ssize_t r = ::read(m_master, buf, qMin<qsizetype>(sizeof buf, n - out.size()));
        if (r <= 0)
            break;
        out.append(buf, r);
    }
    return out;
}
