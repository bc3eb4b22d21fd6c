// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimPty.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
// unread bytes on the slave side above which the panel is taken as absent
const int MAX_UNREAD = 3072;
const int RETRY_MS = 200;
} // namespace

CSimPty::CSimPty(QObject* pParent) : QObject(pParent) {}

CSimPty::~CSimPty()
{
    Close();
}

bool CSimPty::Open()
{
    Close();
    int nMaster = -1, nSlave = -1;
    char name[256] = {0};
    struct termios tio;
    memset(&tio, 0, sizeof tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B9600);
    if (openpty(&nMaster, &nSlave, name, &tio, nullptr) != 0)
        return false;
    fcntl(nMaster, F_SETFL, fcntl(nMaster, F_GETFL) | O_NONBLOCK);
    fcntl(nMaster, F_SETFD, FD_CLOEXEC);
    fcntl(nSlave, F_SETFD, FD_CLOEXEC);
    m_nMaster = nMaster;
    m_nSlaveKeep = nSlave;
    m_strSlavePath = QString::fromLocal8Bit(name);

    m_pReadNotifier = std::make_unique<QSocketNotifier>(m_nMaster, QSocketNotifier::Read);
    connect(m_pReadNotifier.get(), &QSocketNotifier::activated, this, &CSimPty::OnReadable);
    m_pWriteNotifier = std::make_unique<QSocketNotifier>(m_nMaster, QSocketNotifier::Write);
    m_pWriteNotifier->setEnabled(false);
    connect(m_pWriteNotifier.get(), &QSocketNotifier::activated, this, &CSimPty::OnWritable);
    m_pRetry = std::make_unique<QTimer>();
    m_pRetry->setSingleShot(true);
    connect(m_pRetry.get(), &QTimer::timeout, this, [this] {
        if (m_pReadNotifier)
            m_pReadNotifier->setEnabled(true);
        Flush();
    });
    return true;
}

void CSimPty::Close()
{
    m_pReadNotifier.reset();
    m_pWriteNotifier.reset();
    m_pRetry.reset();
    if (m_nMaster >= 0)
        ::close(m_nMaster);
    if (m_nSlaveKeep >= 0)
        ::close(m_nSlaveKeep);
    m_nMaster = m_nSlaveKeep = -1;
    m_out.clear();
}

void CSimPty::OnReadable()
{
    char buf[1024];
    const ssize_t n = ::read(m_nMaster, buf, sizeof buf);
    if (n > 0) {
        emit BytesReceived(QByteArray(buf, static_cast<int>(n)));
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    // EIO or end of file: no slave open right now; look again a little later
    PauseReading();
}

void CSimPty::PauseReading()
{
    if (m_pReadNotifier)
        m_pReadNotifier->setEnabled(false);
    if (m_pRetry && !m_pRetry->isActive())
        m_pRetry->start(RETRY_MS);
}

void CSimPty::Write(const QByteArray& bytes)
{
    if (m_nMaster < 0 || bytes.isEmpty())
        return;
    m_out.append(bytes);
    if (m_out.size() > MAX_QUEUE) {
        DropUnread();
        m_out = bytes.right(MAX_QUEUE);
    }
    Flush();
}

qint64 CSimPty::Backlog() const
{
    int nUnread = 0;
    if (m_nSlaveKeep >= 0 && ioctl(m_nSlaveKeep, FIONREAD, &nUnread) != 0)
        nUnread = 0;
    return m_out.size() + nUnread;
}

void CSimPty::DropUnread()
{
    if (m_nSlaveKeep >= 0)
        tcflush(m_nSlaveKeep, TCIFLUSH);
}

void CSimPty::OnWritable()
{
    if (m_pWriteNotifier)
        m_pWriteNotifier->setEnabled(false);
    Flush();
}

void CSimPty::Flush()
{
    if (m_nMaster < 0 || m_out.isEmpty())
        return;
    int nUnread = 0;
    if (m_nSlaveKeep >= 0 && ioctl(m_nSlaveKeep, FIONREAD, &nUnread) == 0 && nUnread > MAX_UNREAD)
        DropUnread(); // nobody reads the slave side: the line loses what it held
    while (!m_out.isEmpty()) {
        const ssize_t n = ::write(m_nMaster, m_out.constData(), m_out.size());
        if (n > 0) {
            m_out.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN && m_pWriteNotifier)
            m_pWriteNotifier->setEnabled(true);
        // look again later in any case, so a reader that went away cannot
        // leave the queue stuck
        if (m_pRetry && !m_pRetry->isActive())
            m_pRetry->start(RETRY_MS);
        return;
    }
}
