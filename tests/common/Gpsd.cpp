// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gpsd.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
sockaddr_in Loopback(int nPort)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(quint16(nPort));
    return a;
}

// A port of loopback nobody listens on (TCP and UDP alike, as the kernel hands them out).
int FreePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(0);
    socklen_t n = sizeof a;
    int nPort = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) == 0)
        nPort = ntohs(a.sin_port);
    ::close(s);
    return nPort;
}

bool Listens(int nPort)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(nPort);
    const bool bOk = ::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return bOk;
}

// "$BODY*CS" and CR LF.
QByteArray Nmea(const QByteArray& body)
{
    quint8 sum = 0;
    for (char c : body)
        sum ^= quint8(c);
    return '$' + body + '*' + QByteArray::number(sum, 16).toUpper().rightJustified(2, '0') + "\r\n";
}
} // namespace

Gpsd::Gpsd() : m_nPort(FreePort()), m_nUdpPort(FreePort()) {}

bool Gpsd::Start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("gpsd"));
    if (program.isEmpty())
        return false;
    m_process.start(program, {QStringLiteral("-N"), QStringLiteral("-n"), QStringLiteral("-S"),
                              QString::number(m_nPort), QStringLiteral("-F"),
                              m_dir.filePath(QStringLiteral("control")),
                              QStringLiteral("udp://127.0.0.1:%1").arg(m_nUdpPort)});
    // Up when it takes connections.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        if (Listens(m_nPort))
            return true;
        QTest::qWait(50);
    }
    return false;
}

void Gpsd::Stop()
{
    m_process.terminate();
    m_process.waitForFinished(3000);
}

void Gpsd::SendFix(int nSecond)
{
    const QByteArray t = QByteArray("0915") + QByteArray::number(nSecond).rightJustified(2, '0');
    const QByteArray d =
        Nmea("GPRMC," + t + ".00,A,5231.2072,N,01324.3000,E,19.438,84.4,091226,,,A") +
        Nmea("GPGGA," + t + ".00,5231.2072,N,01324.3000,E,1,08,0.9,34.5,M,39.8,M,,");
    const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in a = Loopback(m_nUdpPort);
    ::sendto(s, d.constData(), size_t(d.size()), 0, reinterpret_cast<const sockaddr*>(&a),
             sizeof a);
    ::close(s);
}
