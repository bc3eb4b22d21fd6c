// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <sys/socket.h>

// A non-blocking UDP socket that sends datagrams to one address. It is not
// connected: with nobody listening on the port (Wireshark only captures),
// a connected socket would get the port-unreachable answers back as errors
// and lose every other datagram. A failure goes to the diagnostics output
// once, until a datagram gets through again.
class CGsmtapSocket
{
public:
    CGsmtapSocket() = default;
    ~CGsmtapSocket();
    CGsmtapSocket(const CGsmtapSocket&) = delete;
    CGsmtapSocket& operator=(const CGsmtapSocket&) = delete;

    // Looks the host up (may take a while for a name) and opens the socket.
    bool Open(const QString& strHost, int nPort);
    void Close();
    bool IsOpen() const { return m_nFd >= 0; }
    // Sends one datagram without waiting; false when it did not go out.
    bool Send(const QByteArray& datagram);

private:
    void Warn(const QString& strWhat);

    int m_nFd = -1;
    sockaddr_storage m_addr{};
    socklen_t m_nAddrLen = 0;
    QString m_strTarget;
    bool m_bWarned = false;
};
