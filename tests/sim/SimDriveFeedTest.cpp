// SPDX-License-Identifier: GPL-3.0-or-later
// The drive's positions on the network: the module in drive mode sends NMEA
// datagrams and changes its serving cell, and a real gpsd reads the
// sentences as fixes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "SimTestPort.h"
#include "protocol/TraceReports.h"
#include "sim/SimModule.h"
#include "sim/SimNmea.h"
#include "sim/SimNmeaFeed.h"
#include "sim/SimRoute.h"

namespace {
// A socket on loopback with a port of its own; closed with the object.
struct SLoopbackSocket
{
    int fd = -1;
    int nPort = 0;
    explicit SLoopbackSocket(int nType)
    {
        fd = ::socket(AF_INET, nType | SOCK_CLOEXEC, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), n) != 0 ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n) != 0)
            return;
        nPort = ntohs(a.sin_port);
    }
    ~SLoopbackSocket() { Close(); }
    void Close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    // What arrives within the time, or nothing.
    QByteArray Read(int nMs)
    {
        pollfd p = {fd, POLLIN, 0};
        if (::poll(&p, 1, nMs) != 1)
            return QByteArray();
        char buf[4096];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        return n > 0 ? QByteArray(buf, static_cast<int>(n)) : QByteArray();
    }
};

// A port free on loopback now: bound, looked at and let go.
int FreePort(int nType)
{
    return SLoopbackSocket(nType).nPort;
}

int ConnectTcp(int nPort)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(nPort));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
        return fd;
    ::close(fd);
    return -1;
}

QString GpsdProgram()
{
    QString path = QStandardPaths::findExecutable(QStringLiteral("gpsd"));
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(
            QStringLiteral("gpsd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    return path;
}
} // namespace

TEST(SimDriveFeed, ModuleSendsPositionsAndReportsTheNewCells)
{
    SLoopbackSocket receiver(SOCK_DGRAM);
    ASSERT_GT(receiver.nPort, 0);
    CSimOptions o;
    o.nBootMs = 20;
    o.nReportIntervalMs = 20;
    o.drive.bOn = true;
    o.drive.strNmeaHost = QStringLiteral("127.0.0.1");
    o.drive.nNmeaPort = receiver.nPort;
    o.drive.nStepMs = 20;
    o.drive.dSpeedKmh = 50000; // 280 m a step: round the loop in a third of a second
    CSimModule module(o);
    ASSERT_TRUE(module.Start());
    SimTestPort data(module.DataPath()), trace(module.TracePath());
    trace.Write("**O");
    bool bOn = false;
    for (int i = 0; i < 60 && !bOn; ++i) {
        data.Write("AT\r");
        bOn = data.WaitFor("OK\r\n", 50);
    }
    ASSERT_TRUE(bOn);
    trace.Write("*W1\r"); // the standard idle reports

    QByteArray rmc, gga;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1500 || rmc.isEmpty() || gga.isEmpty()) {
        const QByteArray d = receiver.Read(50);
        if (d.startsWith("$GPRMC,"))
            rmc = d;
        else if (d.startsWith("$GPGGA,"))
            gga = d;
        if (t.elapsed() > 5000)
            break;
    }
    trace.Collect(100);
    module.Stop();
    EXPECT_TRUE(rmc.endsWith("\r\n"));
    const int star = gga.lastIndexOf('*');
    ASSERT_GT(star, 0);
    EXPECT_EQ(gga.mid(star + 1, 2), SimNmea::Checksum(gga.mid(1, star - 1)));
    // the cells along the loop took turns, each reported by its identity
    QSet<QByteArray> ids;
    for (const QByteArray& line : trace.Lines()) {
        if (line.startsWith(ReportName(REPORT_CELL_ID)))
            ids.insert(line);
    }
    EXPECT_GE(ids.size(), 3);
}

TEST(SimDriveFeed, GpsdReadsTheSentencesAsFixes)
{
    const QString gpsd = GpsdProgram();
    if (gpsd.isEmpty())
        GTEST_SKIP() << "gpsd is not installed";
    const int nUdp = FreePort(SOCK_DGRAM), nTcp = FreePort(SOCK_STREAM);
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(gpsd, {QStringLiteral("-N"), QStringLiteral("-n"), QStringLiteral("-S"),
                        QString::number(nTcp), QStringLiteral("udp://127.0.0.1:%1").arg(nUdp)});
    ASSERT_TRUE(server.waitForStarted(3000));
    int fd = -1;
    QElapsedTimer t;
    t.start();
    while (fd < 0 && t.elapsed() < 5000 && server.state() == QProcess::Running) {
        QThread::msleep(50);
        fd = ConnectTcp(nTcp);
    }
    ASSERT_GE(fd, 0) << server.readAll().constData();
    const QByteArray watch = "?WATCH={\"enable\":true,\"json\":true};\n";
    ASSERT_EQ(::write(fd, watch.constData(), watch.size()), watch.size());

    const CSimRoute route = CSimRoute::BuiltIn();
    const SSimGeo here = route.ToGeo(route.At(1234));
    CSimNmeaFeed feed;
    QString strError;
    ASSERT_TRUE(feed.Open(QStringLiteral("127.0.0.1"), nUdp, &strError)) << qPrintable(strError);
    QJsonObject tpv;
    QByteArray pending;
    while (tpv.isEmpty() && t.elapsed() < 12000) {
        SSimFix fix;
        fix.utc = QDateTime::currentDateTimeUtc();
        fix.dLat = here.dLat;
        fix.dLon = here.dLon;
        fix.dAltitude = 40;
        fix.dSpeedKmh = 50;
        feed.Send(fix);
        pollfd p = {fd, POLLIN, 0};
        if (::poll(&p, 1, 200) != 1)
            continue;
        char buf[8192];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        pending.append(buf, static_cast<int>(n));
        int nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QJsonObject o = QJsonDocument::fromJson(pending.left(nl)).object();
            pending.remove(0, nl + 1);
            if (o.value(QLatin1String("class")).toString() == QLatin1String("TPV") &&
                o.contains(QLatin1String("lat")) && o.contains(QLatin1String("time")))
                tpv = o;
        }
    }
    ::close(fd);
    server.terminate();
    server.waitForFinished(3000);
    ASSERT_FALSE(tpv.isEmpty()) << "no fix from gpsd within 12 s";
    EXPECT_GE(tpv.value(QLatin1String("mode")).toInt(), 2);
    EXPECT_NEAR(tpv.value(QLatin1String("lat")).toDouble(), here.dLat, 1e-5);
    EXPECT_NEAR(tpv.value(QLatin1String("lon")).toDouble(), here.dLon, 1e-5);
    EXPECT_NEAR(tpv.value(QLatin1String("speed")).toDouble(), 50 / 3.6, 0.1);
    const QDateTime fixTime =
        QDateTime::fromString(tpv.value(QLatin1String("time")).toString(), Qt::ISODateWithMs);
    EXPECT_LT(std::abs(fixTime.msecsTo(QDateTime::currentDateTimeUtc())), 5000);
}
