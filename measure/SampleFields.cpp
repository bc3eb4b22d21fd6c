// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/SampleFields.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace {
const char* const kFieldNames[SAMPLE_FIELD_N1_BCCH] = {
    "time", "lat", "lon", "alt_m", "speed_kmh", "err_m",     "fix",    "mode", "mcc",
    "mnc",  "lac", "ci",  "bcch",  "bsic",      "rxlev_dbm", "rxqual", "ta",   "txpwr_dbm",
};
const char* const kNeighbourFieldNames[3] = {"bcch", "bsic", "rxlev_dbm"};

QString Number(const std::optional<int>& n)
{
    return n ? QString::number(*n) : QString();
}

QString Decimal(double d, int nDecimals)
{
    return std::isfinite(d) ? QString::number(d, 'f', nDecimals) : QString();
}

QString FixText(int nMode)
{
    switch (nMode) {
    case SGpsFix::FIX_2D:
        return QStringLiteral("2d");
    case SGpsFix::FIX_3D:
        return QStringLiteral("3d");
    default:
        return QStringLiteral("none");
    }
}
} // namespace

QString SampleFieldName(int nField)
{
    if (nField < 0 || nField >= SAMPLE_FIELD_COUNT)
        return QString();
    if (nField < SAMPLE_FIELD_N1_BCCH)
        return QLatin1String(kFieldNames[nField]);
    if (nField == SAMPLE_FIELD_EVENT)
        return QStringLiteral("event");
    const int k = nField - SAMPLE_FIELD_N1_BCCH;
    return QStringLiteral("n%1_").arg(k / 3 + 1) + QLatin1String(kNeighbourFieldNames[k % 3]);
}

bool IsSampleFieldNumber(int nField)
{
    return nField > SAMPLE_FIELD_TIME && nField < SAMPLE_FIELD_EVENT &&
           nField != SAMPLE_FIELD_FIX && nField != SAMPLE_FIELD_MODE;
}

QString SampleFieldText(const SSample& s, int nField)
{
    const SGpsFix& f = s.fix;
    const bool bFix = f.IsFix();
    switch (nField) {
    case SAMPLE_FIELD_TIME:
        return MeasureTimeText(s.time);
    case SAMPLE_FIELD_LAT:
        return bFix ? Decimal(f.dLat, 6) : QString();
    case SAMPLE_FIELD_LON:
        return bFix ? Decimal(f.dLon, 6) : QString();
    case SAMPLE_FIELD_ALT_M:
        return bFix ? Decimal(f.dAltM, 1) : QString();
    case SAMPLE_FIELD_SPEED_KMH:
        return bFix ? Decimal(f.dSpeedKmh, 1) : QString();
    case SAMPLE_FIELD_ERR_M:
        return bFix ? Decimal(f.dErrM, 1) : QString();
    case SAMPLE_FIELD_FIX:
        return FixText(bFix ? f.nMode : SGpsFix::FIX_NONE);
    case SAMPLE_FIELD_MODE:
        return s.nMode == SSample::MODE_DEDICATED ? QStringLiteral("dedicated")
                                                  : QStringLiteral("idle");
    case SAMPLE_FIELD_MCC:
        return Number(s.nMcc);
    case SAMPLE_FIELD_MNC:
        return Number(s.nMnc);
    case SAMPLE_FIELD_LAC:
        return Number(s.nLac);
    case SAMPLE_FIELD_CI:
        return Number(s.nCi);
    case SAMPLE_FIELD_BCCH:
        return Number(s.nBcch);
    case SAMPLE_FIELD_BSIC:
        return Number(s.nBsic);
    case SAMPLE_FIELD_RXLEV_DBM:
        return Number(s.nRxLevDbm);
    case SAMPLE_FIELD_RXQUAL:
        return Number(s.nRxQual);
    case SAMPLE_FIELD_TA:
        return Number(s.nTa);
    case SAMPLE_FIELD_TXPWR_DBM:
        return Number(s.nTxPwrDbm);
    default:
        break;
    }
    if (nField >= SAMPLE_FIELD_N1_BCCH && nField < SAMPLE_FIELD_EVENT) {
        const int k = nField - SAMPLE_FIELD_N1_BCCH;
        const SNeighbourSample& n = s.aNeighbour[k / 3];
        return Number(k % 3 == 0 ? n.nBcch : k % 3 == 1 ? n.nBsic : n.nRxLevDbm);
    }
    return QString();
}

QString MeasureTimeText(const QDateTime& time)
{
    if (!time.isValid())
        return QString();
    const int nOffset = time.offsetFromUtc();
    const int nMinutes = std::abs(nOffset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           QLatin1Char(nOffset < 0 ? '-' : '+') +
           QStringLiteral("%1:%2")
               .arg(nMinutes / 60, 2, 10, QLatin1Char('0'))
               .arg(nMinutes % 60, 2, 10, QLatin1Char('0'));
}
