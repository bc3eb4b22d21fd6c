// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/SampleFields.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {
const char* const kFieldNames[SAMPLE_FIELD_N1_BCCH] = {
    "time", "lat", "lon", "alt_m", "speed_kmh", "err_m",     "fix",    "mode", "mcc",
    "mnc",  "lac", "ci",  "bcch",  "bsic",      "rxlev_dbm", "rxqual", "ta",   "txpwr_dbm",
};
const char* const kNeighbourFieldNames[3] = {"bcch", "bsic", "rxlev_dbm"};

void AppendInt(QByteArray& out, int n)
{
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr - buf);
}

// n in nDigits decimal digits, with leading zeros.
void AppendPadded(QByteArray& out, int n, int nDigits)
{
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    for (int k = static_cast<int>(r.ptr - buf); k < nDigits; ++k)
        out += '0';
    out.append(buf, r.ptr - buf);
}

void Number(QByteArray& out, const std::optional<int>& n)
{
    if (n)
        AppendInt(out, *n);
}

void Decimal(QByteArray& out, double d, int nDecimals)
{
    if (std::isfinite(d))
        out += QByteArray::number(d, 'f', nDecimals);
}

const char* FixText(int nMode)
{
    switch (nMode) {
    case SGpsFix::FIX_2D:
        return "2d";
    case SGpsFix::FIX_3D:
        return "3d";
    default:
        return "none";
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

QString SampleFieldText(const SSample& sample, int nField)
{
    QByteArray text;
    AppendSampleFieldText(text, sample, nField);
    return QString::fromLatin1(text);
}

void AppendSampleFieldText(QByteArray& out, const SSample& s, int nField)
{
    const SGpsFix& f = s.fix;
    const bool bFix = f.IsFix();
    switch (nField) {
    case SAMPLE_FIELD_TIME:
        return AppendMeasureTimeText(out, s.time);
    case SAMPLE_FIELD_LAT:
        if (bFix)
            Decimal(out, f.dLat, 6);
        return;
    case SAMPLE_FIELD_LON:
        if (bFix)
            Decimal(out, f.dLon, 6);
        return;
    case SAMPLE_FIELD_ALT_M:
        if (bFix)
            Decimal(out, f.dAltM, 1);
        return;
    case SAMPLE_FIELD_SPEED_KMH:
        if (bFix)
            Decimal(out, f.dSpeedKmh, 1);
        return;
    case SAMPLE_FIELD_ERR_M:
        if (bFix)
            Decimal(out, f.dErrM, 1);
        return;
    case SAMPLE_FIELD_FIX:
        out += FixText(bFix ? f.nMode : SGpsFix::FIX_NONE);
        return;
    case SAMPLE_FIELD_MODE:
        out += s.nMode == SSample::MODE_DEDICATED ? "dedicated" : "idle";
        return;
    case SAMPLE_FIELD_MCC:
        return Number(out, s.nMcc);
    case SAMPLE_FIELD_MNC:
        return Number(out, s.nMnc);
    case SAMPLE_FIELD_LAC:
        return Number(out, s.nLac);
    case SAMPLE_FIELD_CI:
        return Number(out, s.nCi);
    case SAMPLE_FIELD_BCCH:
        return Number(out, s.nBcch);
    case SAMPLE_FIELD_BSIC:
        return Number(out, s.nBsic);
    case SAMPLE_FIELD_RXLEV_DBM:
        return Number(out, s.nRxLevDbm);
    case SAMPLE_FIELD_RXQUAL:
        return Number(out, s.nRxQual);
    case SAMPLE_FIELD_TA:
        return Number(out, s.nTa);
    case SAMPLE_FIELD_TXPWR_DBM:
        return Number(out, s.nTxPwrDbm);
    default:
        break;
    }
    if (nField >= SAMPLE_FIELD_N1_BCCH && nField < SAMPLE_FIELD_EVENT) {
        const int k = nField - SAMPLE_FIELD_N1_BCCH;
        const SNeighbourSample& n = s.aNeighbour[k / 3];
        Number(out, k % 3 == 0 ? n.nBcch : k % 3 == 1 ? n.nBsic : n.nRxLevDbm);
    }
}

QString MeasureTimeText(const QDateTime& time)
{
    QByteArray text;
    AppendMeasureTimeText(text, time);
    return QString::fromLatin1(text);
}

void AppendMeasureTimeText(QByteArray& out, const QDateTime& time)
{
    if (!time.isValid())
        return;
    const QDate d = time.date();
    const QTime t = time.time();
    AppendPadded(out, d.year(), 4);
    out += '-';
    AppendPadded(out, d.month(), 2);
    out += '-';
    AppendPadded(out, d.day(), 2);
    out += 'T';
    AppendPadded(out, t.hour(), 2);
    out += ':';
    AppendPadded(out, t.minute(), 2);
    out += ':';
    AppendPadded(out, t.second(), 2);
    out += '.';
    AppendPadded(out, t.msec(), 3);
    const int nOffset = time.offsetFromUtc();
    const int nMinutes = std::abs(nOffset) / 60;
    out += nOffset < 0 ? '-' : '+';
    AppendPadded(out, nMinutes / 60, 2);
    out += ':';
    AppendPadded(out, nMinutes % 60, 2);
}
