// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <cmath>

// One position from the GPS receiver, as gpsd reports it.
struct SGpsFix
{
    enum
    {
        FIX_NONE = 0,
        FIX_2D = 2,
        FIX_3D = 3
    };

    QDateTime time; // the receiver's time of the fix
    int nMode = FIX_NONE;
    double dLat = NAN;  // degrees, north positive
    double dLon = NAN;  // degrees, east positive
    double dAltM = NAN; // metres above the ellipsoid; unknown in 2D
    double dSpeedKmh = NAN;
    double dErrM = NAN; // horizontal error estimate, metres

    bool IsFix() const { return nMode == FIX_2D || nMode == FIX_3D; }
};
