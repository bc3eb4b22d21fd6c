// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimNmeaFeed.h"

#include <cstring>
#include <netdb.h>
#include <unistd.h>

CSimNmeaFeed::~CSimNmeaFeed()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CSimNmeaFeed::Open(const QString& strHost, int nPort, QString* pError)
{
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* pList = nullptr;
    const QByteArray port = QByteArray::number(nPort);
    const int rc =
        ::getaddrinfo(strHost.toLocal8Bit().constData(), port.constData(), &hints, &pList);
    if (rc != 0 || !pList) {
        *pError = QStringLiteral("--nmea-udp: cannot resolve %1: %2")
                      .arg(strHost, QString::fromLocal8Bit(::gai_strerror(rc)));
        return false;
    }
    m_fd = ::socket(pList->ai_family, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd >= 0) {
        std::memcpy(&m_to, pList->ai_addr, pList->ai_addrlen);
        m_nToLength = pList->ai_addrlen;
    }
    ::freeaddrinfo(pList);
    if (m_fd < 0) {
        *pError = QStringLiteral("--nmea-udp: cannot open a socket: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

void CSimNmeaFeed::Send(const SSimFix& fix)
{
    if (m_fd < 0)
        return;
    // RMC first: it brings the date the receiver needs to use GGA's time
    for (const QByteArray& s : {SimNmea::Rmc(fix), SimNmea::Gga(fix)}) {
        if (::sendto(m_fd, s.constData(), static_cast<size_t>(s.size()), MSG_DONTWAIT,
                     reinterpret_cast<const sockaddr*>(&m_to), m_nToLength) == s.size())
            ++m_nSent;
    }
}
