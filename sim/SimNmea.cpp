// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimNmea.h"

#include <cmath>

#include "sim/SimFormat.h"

namespace SimNmea {
namespace {
const char TALKER[] = "GP";
const double KNOTS_PER_KMH = 1 / 1.852;

// Degrees as NMEA writes them: ddmm.mmmm (dddmm.mmmm for longitudes) and the hemisphere.
QByteArray Angle(double dDegrees, int nDegreeDigits, char cPositive, char cNegative)
{
    const double a = std::fabs(dDegrees);
    int nDeg = static_cast<int>(a);
    double dMin = (a - nDeg) * 60;
    if (dMin >= 59.99995) { // would round up to 60.0000
        ++nDeg;
        dMin = 0;
    }
    return Fmt("%0*d%07.4f,%c", nDegreeDigits, nDeg, dMin, dDegrees < 0 ? cNegative : cPositive);
}

QByteArray Time(const QDateTime& utc)
{
    const QDateTime t = utc.toUTC();
    return t.toString(QStringLiteral("HHmmss.zzz")).left(9).toLatin1(); // hundredths
}
} // namespace

QByteArray Checksum(const QByteArray& body)
{
    unsigned char x = 0;
    for (char c : body)
        x ^= static_cast<unsigned char>(c);
    return Fmt("%02X", x);
}

QByteArray Sentence(const QByteArray& body)
{
    return '$' + body + '*' + Checksum(body) + "\r\n";
}

QByteArray Gga(const SSimFix& fix)
{
    return Sentence(Fmt("%sGGA,%s,%s,%s,1,%02d,%.1f,%.1f,M,0.0,M,,", TALKER,
                        Time(fix.utc).constData(), Angle(fix.dLat, 2, 'N', 'S').constData(),
                        Angle(fix.dLon, 3, 'E', 'W').constData(), fix.nSatellites, fix.dHdop,
                        fix.dAltitude));
}

QByteArray Rmc(const SSimFix& fix)
{
    const QByteArray date = fix.utc.toUTC().toString(QStringLiteral("ddMMyy")).toLatin1();
    return Sentence(Fmt("%sRMC,%s,A,%s,%s,%.1f,%.1f,%s,,,A", TALKER, Time(fix.utc).constData(),
                        Angle(fix.dLat, 2, 'N', 'S').constData(),
                        Angle(fix.dLon, 3, 'E', 'W').constData(), fix.dSpeedKmh * KNOTS_PER_KMH,
                        fix.dCourse, date.constData()));
}
} // namespace SimNmea
