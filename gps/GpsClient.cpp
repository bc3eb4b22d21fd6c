// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/GpsClient.h"

#include <QSocketNotifier>
#include <QTimeZone>
#include <QTimer>
#include <cmath>
#include <cstring>
#include <gps.h>
#include <mutex>
#include <string>
#include <thread>

#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
// The reports of a position; the others (the version, the devices, the
// satellites) are of no use here.
constexpr char kPositionReport[] = "{\"class\":\"TPV\"";
// Reports handled in one wake-up before the others wait for the next turn
// of the event loop.
constexpr int kReportsPerWake = 64;
// A fix not followed by another within this time is lost (gpsd goes quiet
// when its receiver does).
constexpr int kFixStaleMs = 3000;
} // namespace

// One connection to gpsd, shared by the client and the thread that makes
// it: whichever lets go of it last closes it. The thread touches nothing
// else, so the client may stop (or go) while a host keeps it waiting.
struct CGpsClient::SConnection
{
    std::mutex mutex;
    bool bDone = false; // the thread has finished
    bool bOpen = false; // connected and asked for reports
    int nWake = -1;     // written once by the thread when it has finished
    gps_data_t data{};

    ~SConnection()
    {
        if (bOpen)
            gps_close(&data);
        if (nWake >= 0)
            ::close(nWake);
    }
};

CGpsClient::CGpsClient(QObject* parent) : QObject(parent)
{
    m_pRetryTimer = new QTimer(this);
    m_pRetryTimer->setSingleShot(true);
    connect(m_pRetryTimer, &QTimer::timeout, this, &CGpsClient::Connect);
    m_pStaleTimer = new QTimer(this);
    m_pStaleTimer->setSingleShot(true);
    m_pStaleTimer->setInterval(kFixStaleMs);
    connect(m_pStaleTimer, &QTimer::timeout, this, [this] { SetState(GPS_NO_FIX); });
}

CGpsClient::~CGpsClient()
{
    Disconnect();
}

void CGpsClient::Start(const QString& strHost, int nPort)
{
    if (m_nState != GPS_OFF && strHost == m_strHost && nPort == m_nPort)
        return;
    Disconnect();
    m_pRetryTimer->stop();
    m_strHost = strHost;
    m_nPort = nPort;
    m_nRetryMs = m_nRetryFirstMs;
    SetState(GPS_NOT_REACHABLE);
    Connect();
}

void CGpsClient::Stop()
{
    Disconnect();
    m_pRetryTimer->stop();
    SetState(GPS_OFF);
}

void CGpsClient::Connect()
{
    Disconnect();
    auto conn = std::make_shared<SConnection>();
    conn->nWake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (conn->nWake < 0) {
        Retry();
        return;
    }
    m_pConn = conn;
    m_pConnectNotifier =
        std::make_unique<QSocketNotifier>(conn->nWake, QSocketNotifier::Read, this);
    connect(m_pConnectNotifier.get(), &QSocketNotifier::activated, this, &CGpsClient::OnConnected);
    std::thread([conn, host = m_strHost.toStdString(), port = std::to_string(m_nPort)] {
        // gpsd closing at once would raise SIGPIPE on the request below; in
        // this thread the write fails instead.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        bool bOpen = gps_open(host.c_str(), port.c_str(), &conn->data) == 0;
        if (bOpen) {
            if (gps_stream(&conn->data, WATCH_ENABLE | WATCH_JSON, nullptr) != 0) {
                gps_close(&conn->data);
                bOpen = false;
            } else {
                // Reads never wait: the notifier says when there is something.
                const int fd = conn->data.gps_fd;
                ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            }
        }
        {
            std::lock_guard<std::mutex> lock(conn->mutex);
            conn->bOpen = bOpen;
            conn->bDone = true;
        }
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t n = ::write(conn->nWake, &one, sizeof one);
    }).detach();
}

void CGpsClient::OnConnected()
{
    if (!m_pConn)
        return;
    quint64 value;
    [[maybe_unused]] const ssize_t n = ::read(m_pConn->nWake, &value, sizeof value);
    bool bOpen;
    {
        std::lock_guard<std::mutex> lock(m_pConn->mutex);
        if (!m_pConn->bDone)
            return;
        bOpen = m_pConn->bOpen;
    }
    Drop(m_pConnectNotifier);
    if (!bOpen) {
        Retry();
        return;
    }
    m_nRetryMs = m_nRetryFirstMs;
    m_pReadNotifier =
        std::make_unique<QSocketNotifier>(m_pConn->data.gps_fd, QSocketNotifier::Read, this);
    connect(m_pReadNotifier.get(), &QSocketNotifier::activated, this, &CGpsClient::OnReadable);
    SetState(GPS_NO_FIX);
}

void CGpsClient::OnReadable()
{
    if (!m_pConn || !m_pReadNotifier)
        return;
    gps_data_t* pData = &m_pConn->data;
    char report[64]; // the start of the report is enough to know its class
    for (int i = 0; i < kReportsPerWake; ++i) {
        report[0] = '\0';
        const int nRead = gps_read(pData, report, sizeof report);
        if (nRead < 0) { // gpsd went away, or wrote nonsense
            Retry();
            return;
        }
        if (nRead == 0) // no whole report yet
            return;
        HandleReport(report);
        if (!m_pConn) // stopped meanwhile
            return;
        if (!gps_waiting(pData, 0))
            return;
    }
    // More waits: after the other events.
    QMetaObject::invokeMethod(this, &CGpsClient::OnReadable, Qt::QueuedConnection);
}

void CGpsClient::HandleReport(const char* pszReport)
{
    if (std::strncmp(pszReport, kPositionReport, sizeof kPositionReport - 1) != 0)
        return;
    const gps_fix_t& f = m_pConn->data.fix;
    if (f.mode != MODE_2D && f.mode != MODE_3D) {
        SetState(GPS_NO_FIX);
        return;
    }
    if (!std::isfinite(f.latitude) || !std::isfinite(f.longitude))
        return;
    SGpsFix fix;
    fix.nMode = f.mode == MODE_3D ? SGpsFix::FIX_3D : SGpsFix::FIX_2D;
    if (f.time.tv_sec != 0)
        fix.time = QDateTime::fromMSecsSinceEpoch(
            qint64(f.time.tv_sec) * 1000 + f.time.tv_nsec / 1000000, QTimeZone::utc());
    fix.dLat = f.latitude;
    fix.dLon = f.longitude;
    // Above the ellipsoid, as gpsd gives it (above the geoid is altMSL).
    if (fix.nMode == SGpsFix::FIX_3D)
        fix.dAltM = f.altHAE;
    fix.dSpeedKmh = f.speed * 3.6;
    fix.dErrM = f.eph;
    m_fix = fix;
    SetState(GPS_FIX);
    m_pStaleTimer->start();
    emit FixReceived(fix);
}

void CGpsClient::Retry()
{
    Disconnect();
    SetState(GPS_NOT_REACHABLE);
    m_pRetryTimer->start(m_nRetryMs);
    m_nRetryMs = qMin(m_nRetryMs * 2, m_nRetryMaxMs);
}

// A notifier may be let go from its own signal: it is switched off at once
// and deleted once the signal has returned (or with the client, its parent).
void CGpsClient::Drop(std::unique_ptr<QSocketNotifier>& pNotifier)
{
    if (!pNotifier)
        return;
    pNotifier->setEnabled(false);
    pNotifier.release()->deleteLater();
}

void CGpsClient::Disconnect()
{
    Drop(m_pConnectNotifier);
    Drop(m_pReadNotifier);
    m_pConn.reset();
}

void CGpsClient::SetState(int nState)
{
    if (nState != GPS_FIX) {
        m_fix = SGpsFix();
        m_pStaleTimer->stop();
    }
    if (nState == m_nState)
        return;
    m_nState = nState;
    emit StateChanged(nState);
}

QString CGpsClient::PositionText(const SGpsFix& fix)
{
    return QStringLiteral("%1D %2 %3")
        .arg(fix.nMode)
        .arg(fix.dLat, 0, 'f', 5)
        .arg(fix.dLon, 0, 'f', 5);
}

QString CGpsClient::StatusText() const
{
    switch (m_nState) {
    case GPS_NOT_REACHABLE:
        return QStringLiteral("GPS not reachable");
    case GPS_NO_FIX:
        return QStringLiteral("GPS no fix");
    case GPS_FIX:
        return QStringLiteral("GPS ") + PositionText(m_fix);
    default:
        return QString();
    }
}
