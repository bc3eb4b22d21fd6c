// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

// A gpsd of the test's own on free loopback ports, reading NMEA from a UDP
// port; started and stopped by the test.
class Gpsd
{
public:
    Gpsd();
    ~Gpsd() { Stop(); }
    // False when gpsd is not installed or does not take connections in 5 s.
    bool Start();
    void Stop();
    // One second of a drive at 36 km/h: RMC and GGA of the same moment.
    void SendFix(int nSecond);
    int Port() const { return m_nPort; }
    int UdpPort() const { return m_nUdpPort; }

private:
    QTemporaryDir m_dir;
    int m_nPort;
    int m_nUdpPort;
    QProcess m_process;
};
