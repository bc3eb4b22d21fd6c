// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "gps/GpsFix.h"

class QSocketNotifier;
class QTimer;

// A client of gpsd: asks it for its reports (JSON) and turns each report of
// a position (TPV) into a fix. The connection is made in a thread of its
// own, so a host that does not answer never holds up the user-interface
// thread; once connected, a notifier on the socket wakes the client only
// when gpsd has written. When gpsd goes away, or cannot be reached, the
// client tries again after 1 s, then after twice as long each time, at most
// every 10 s, until gpsd is back. A fix not followed by another within 3 s
// is lost.
class CGpsClient : public QObject
{
    Q_OBJECT
public:
    enum
    {
        GPS_OFF = 0,       // not started
        GPS_NOT_REACHABLE, // started, no connection to gpsd
        GPS_NO_FIX,        // connected, the receiver has no position
        GPS_FIX            // connected, the latest report is a position
    };

    explicit CGpsClient(QObject* parent = nullptr);
    ~CGpsClient() override;

    // Connects to gpsd on the host and port, and stays connected until Stop.
    void Start(const QString& strHost, int nPort);
    void Stop();

    int State() const { return m_nState; }
    // The latest fix; valid while State() is GPS_FIX.
    const SGpsFix& LastFix() const { return m_fix; }

    // "GPS 3D 52.52012 13.40500", "GPS no fix", "GPS not reachable"; empty
    // when off.
    QString StatusText() const;
    // "3D 52.52012 13.40500": the mode and the position of a fix.
    static QString PositionText(const SGpsFix& fix);

    // The waits before reconnecting; tests may shorten them.
    int m_nRetryFirstMs = 1000;
    int m_nRetryMaxMs = 10000;

signals:
    // A report with a position (2D or 3D).
    void FixReceived(const SGpsFix& fix);
    void StateChanged(int nState);

private:
    struct SConnection;

    void Connect();
    void OnConnected();
    void OnReadable();
    // A report from gpsd (one JSON object).
    void HandleReport(const char* pszReport);
    // The connection failed or was lost: close it and try again later.
    void Retry();
    static void Drop(std::unique_ptr<QSocketNotifier>& pNotifier);
    void Disconnect();
    void SetState(int nState);

    QString m_strHost;
    int m_nPort = 0;
    int m_nState = GPS_OFF;
    SGpsFix m_fix;
    std::shared_ptr<SConnection> m_pConn;
    std::unique_ptr<QSocketNotifier> m_pConnectNotifier; // the connecting thread is done
    std::unique_ptr<QSocketNotifier> m_pReadNotifier;    // gpsd wrote
    QTimer* m_pRetryTimer = nullptr;
    QTimer* m_pStaleTimer = nullptr;
    int m_nRetryMs = 0;
};
