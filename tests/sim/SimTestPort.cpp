// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimTestPort.h"

#include <QElapsedTimer>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

SimTestPort::SimTestPort(const QString& strPath)
{
    m_fd = ::open(strPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return;
    struct termios tio;
    if (tcgetattr(m_fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_fd, TCSANOW, &tio);
    }
}

SimTestPort::~SimTestPort()
{
    Close();
}

void SimTestPort::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool SimTestPort::Write(const QByteArray& bytes)
{
    qsizetype done = 0;
    QElapsedTimer t;
    t.start();
    while (m_fd >= 0 && done < bytes.size() && t.elapsed() < 5000) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
            continue;
        }
        struct pollfd p = {m_fd, POLLOUT, 0};
        ::poll(&p, 1, 20);
    }
    return done == bytes.size();
}

int SimTestPort::ReadSome(int nWaitMs)
{
    if (m_fd < 0)
        return -1;
    struct pollfd p = {m_fd, POLLIN, 0};
    if (::poll(&p, 1, nWaitMs) <= 0)
        return 0;
    char buf[4096];
    const ssize_t n = ::read(m_fd, buf, sizeof buf);
    if (n > 0)
        m_in.append(buf, static_cast<int>(n));
    return static_cast<int>(n);
}

bool SimTestPort::WaitFor(const QByteArray& wanted, int nTimeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!m_in.contains(wanted)) {
        const int left = nTimeoutMs - static_cast<int>(t.elapsed());
        if (left <= 0 || ReadSome(left) < 0)
            return m_in.contains(wanted);
    }
    return true;
}

void SimTestPort::Collect(int nMs)
{
    QElapsedTimer t;
    t.start();
    int left;
    while ((left = nMs - static_cast<int>(t.elapsed())) > 0) {
        if (ReadSome(left) < 0)
            return;
    }
}

QList<QByteArray> SimTestPort::Lines() const
{
    QList<QByteArray> lines;
    QByteArray cur;
    for (char c : m_in) {
        if (c == '\r' || c == '\n') {
            if (!cur.isEmpty())
                lines << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    return lines;
}
