// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/PositionTrack.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// A value between two, or the known one when the other is unknown.
double Between(double a, double b, double t)
{
    if (!std::isfinite(a))
        return b;
    if (!std::isfinite(b))
        return a;
    return a + (b - a) * t;
}
} // namespace

void CPositionTrack::Add(const SGpsFix& fix, qint64 nTimeMs)
{
    if (!fix.IsFix() || !std::isfinite(fix.dLat) || !std::isfinite(fix.dLon))
        return;
    const qint64 nMs = fix.time.isValid() ? fix.time.toMSecsSinceEpoch() : nTimeMs;
    if (!m_fixes.empty() && nMs < m_fixes.back().nMs)
        m_bSorted = false;
    m_fixes.push_back({nMs, fix});
}

void CPositionTrack::Sort() const
{
    if (m_bSorted)
        return;
    std::stable_sort(m_fixes.begin(), m_fixes.end(),
                     [](const SPoint& a, const SPoint& b) { return a.nMs < b.nMs; });
    m_bSorted = true;
}

SGpsFix CPositionTrack::At(const QDateTime& time) const
{
    SGpsFix none;
    if (m_fixes.empty() || !time.isValid())
        return none;
    Sort();
    const qint64 t = time.toMSecsSinceEpoch();
    // The first fix after t, and the one at or before it.
    const auto after = std::upper_bound(m_fixes.begin(), m_fixes.end(), t,
                                        [](qint64 v, const SPoint& p) { return v < p.nMs; });
    const SPoint* pNext = after != m_fixes.end() ? &*after : nullptr;
    const SPoint* pPrev = after != m_fixes.begin() ? &*(after - 1) : nullptr;
    SGpsFix fix;
    if (pPrev && pNext && pNext->nMs - pPrev->nMs <= INTERPOLATE_MAX_GAP_MS) {
        const double k = pNext->nMs == pPrev->nMs
                             ? 0.0
                             : double(t - pPrev->nMs) / double(pNext->nMs - pPrev->nMs);
        const SGpsFix& a = pPrev->fix;
        const SGpsFix& b = pNext->fix;
        fix.nMode = std::min(a.nMode, b.nMode);
        fix.dLat = Between(a.dLat, b.dLat, k);
        fix.dLon = Between(a.dLon, b.dLon, k);
        fix.dAltM = fix.nMode == SGpsFix::FIX_3D ? Between(a.dAltM, b.dAltM, k) : NAN;
        fix.dSpeedKmh = Between(a.dSpeedKmh, b.dSpeedKmh, k);
        fix.dErrM = Between(a.dErrM, b.dErrM, k);
    } else {
        const qint64 dPrev = pPrev ? t - pPrev->nMs : NEAREST_MAX_MS + 1;
        const qint64 dNext = pNext ? pNext->nMs - t : NEAREST_MAX_MS + 1;
        const SPoint* pNear = dPrev <= dNext ? pPrev : pNext;
        if (!pNear || std::min(dPrev, dNext) > NEAREST_MAX_MS)
            return none;
        fix = pNear->fix;
    }
    fix.time = time;
    return fix;
}
