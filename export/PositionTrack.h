// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <vector>

#include "gps/GpsFix.h"

// The positions of a drive, and the position at any time of it: between
// two fixes at most 5 s apart, interpolated; otherwise the nearest fix
// within 2 s; otherwise none.
class CPositionTrack
{
public:
    // A fix with a position; fixes may come in any order. A fix without
    // its own time takes nTimeMs (ms since the epoch).
    void Add(const SGpsFix& fix, qint64 nTimeMs);
    int Count() const { return int(m_fixes.size()); }

    // The position at the time, with that time; FIX_NONE when there is none.
    SGpsFix At(const QDateTime& time) const;

    static const int INTERPOLATE_MAX_GAP_MS = 5000;
    static const int NEAREST_MAX_MS = 2000;

private:
    struct SPoint
    {
        qint64 nMs;
        SGpsFix fix;
    };
    void Sort() const;

    mutable std::vector<SPoint> m_fixes;
    mutable bool m_bSorted = true;
};
