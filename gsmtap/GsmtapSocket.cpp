// SPDX-License-Identifier: GPL-3.0-or-later
#include "gsmtap/GsmtapSocket.h"

#include <QLoggingCategory>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcGsmtap, "tessoly.gsmtap", QtWarningMsg)

CGsmtapSocket::~CGsmtapSocket()
{
    Close();
}

void CGsmtapSocket::Warn(const QString& strWhat)
{
    if (m_bWarned)
        return;
    m_bWarned = true;
    qCWarning(lcGsmtap, "GSMTAP to %s: %s", qPrintable(m_strTarget), qPrintable(strWhat));
}

bool CGsmtapSocket::Open(const QString& strHost, int nPort)
{
    Close();
    m_bWarned = false;
    m_strTarget = strHost + QLatin1Char(':') + QString::number(nPort);
    if (nPort <= 0 || nPort > 65535) {
        Warn(QStringLiteral("no such port"));
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* pList = nullptr;
    const int rc = getaddrinfo(strHost.toUtf8().constData(), QByteArray::number(nPort).constData(),
                               &hints, &pList);
    if (rc != 0 || !pList) {
        Warn(QString::fromLocal8Bit(gai_strerror(rc)));
        return false;
    }
    m_nFd = socket(pList->ai_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_nFd >= 0) {
        memcpy(&m_addr, pList->ai_addr, pList->ai_addrlen);
        m_nAddrLen = pList->ai_addrlen;
    } else {
        Warn(QString::fromLocal8Bit(strerror(errno)));
    }
    freeaddrinfo(pList);
    return m_nFd >= 0;
}

void CGsmtapSocket::Close()
{
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
}

bool CGsmtapSocket::Send(const QByteArray& datagram)
{
    if (m_nFd < 0)
        return false;
    const ssize_t n = sendto(m_nFd, datagram.constData(), datagram.size(), MSG_DONTWAIT,
                             reinterpret_cast<const sockaddr*>(&m_addr), m_nAddrLen);
    if (n != datagram.size()) {
        Warn(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    m_bWarned = false;
    return true;
}
