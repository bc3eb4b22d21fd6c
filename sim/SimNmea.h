// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>

// One position of the simulated receiver.
struct SSimFix
{
    QDateTime utc;
    double dLat = 0;      // degrees, north positive
    double dLon = 0;      // degrees, east positive
    double dAltitude = 0; // metres above mean sea level
    double dSpeedKmh = 0;
    double dCourse = 0; // degrees clockwise from north
    int nSatellites = 8;
    double dHdop = 0.9;
};

// NMEA 0183 sentences of a GPS receiver with a fix, as a gpsd reads them.
namespace SimNmea {
// The XOR of the characters between '$' and '*', as two hexadecimal digits.
QByteArray Checksum(const QByteArray& body);
// "$" body "*" checksum CR LF.
QByteArray Sentence(const QByteArray& body);
// Time, position, fix quality 1, satellites, HDOP, altitude.
QByteArray Gga(const SSimFix& fix);
// Time and date, status A, position, speed over ground and course.
QByteArray Rmc(const SSimFix& fix);
} // namespace SimNmea
