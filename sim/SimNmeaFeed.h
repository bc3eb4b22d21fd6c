// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <sys/socket.h>

#include "sim/SimNmea.h"

// Sends each position as an RMC and a GGA sentence, one UDP datagram each,
// to one address. Sending never blocks; a datagram nobody takes is lost.
class CSimNmeaFeed
{
public:
    CSimNmeaFeed() = default;
    ~CSimNmeaFeed();
    CSimNmeaFeed(const CSimNmeaFeed&) = delete;
    CSimNmeaFeed& operator=(const CSimNmeaFeed&) = delete;

    // Resolves the host (a name or an address) and opens the socket; false
    // with the reason when it cannot.
    bool Open(const QString& strHost, int nPort, QString* pError);
    void Send(const SSimFix& fix);
    int SentDatagrams() const { return m_nSent; }

private:
    int m_fd = -1;
    sockaddr_storage m_to = {};
    socklen_t m_nToLength = 0;
    int m_nSent = 0;
};
