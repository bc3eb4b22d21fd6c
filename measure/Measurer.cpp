// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/Measurer.h"

#include <QStringList>
#include <cstdlib>
#include <utility>

#include "measure/Units.h"
#include "protocol/StringE.h"
#include "trace/TraceReport.h"

namespace {
// A field that names something (a channel, a code, a cell): its number, or
// nothing for a text that is empty or no number in that base.
std::optional<int> Code(const char* psz, int nBase = 10)
{
    bool bOk = false;
    const int n = QString::fromLatin1(psz).toInt(&bOk, nBase);
    return bOk ? std::optional<int>(n) : std::nullopt;
}

// A measured value: read as the panel reads it (no number reads as 0), or
// nothing for an empty field, which the module did not report.
std::optional<int> Value(const char* psz)
{
    if (!psz || !*psz)
        return std::nullopt;
    return CStringE(psz).ToInt(10);
}

std::optional<int> RxLevDbm(const char* psz)
{
    const std::optional<int> v = Value(psz);
    return v ? std::optional<int>(Units::RxLevDbm(*v)) : std::nullopt;
}

bool SameNeighbour(const SNeighbourSample& a, const SNeighbourSample& b)
{
    return a.nBcch == b.nBcch && a.nBsic == b.nBsic && a.nRxLevDbm == b.nRxLevDbm;
}

// The values the panel shows; time and position aside.
bool SameValues(const SSample& a, const SSample& b)
{
    if (a.nMode != b.nMode || a.nMcc != b.nMcc || a.nMnc != b.nMnc || a.nLac != b.nLac ||
        a.nCi != b.nCi || a.nBcch != b.nBcch || a.nBsic != b.nBsic || a.nRxLevDbm != b.nRxLevDbm ||
        a.nRxQual != b.nRxQual || a.nTa != b.nTa || a.nTxPwrDbm != b.nTxPwrDbm)
        return false;
    for (int i = 0; i < 6; ++i)
        if (!SameNeighbour(a.aNeighbour[i], b.aNeighbour[i]))
            return false;
    return true;
}

const int kRxQualMax = 7;
} // namespace

CMeasurer::CMeasurer(QObject* parent) : QObject(parent), m_nMaxPowerDbm(Units::kMaxPowerLowBandDbm)
{
}

void CMeasurer::SetClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QDateTime CMeasurer::Now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

void CMeasurer::Follow(const CTraceReport& report, int nReport)
{
    // The panel presents nothing for such a line.
    if (nReport == REPORT_NONE)
        return;
    m_lineEvents.clear();
    FollowReport(report, nReport);
    FollowNeighbours(report, report.GetPendingReport());
    const bool bChanged = !SameValues(m_shown, m_latest);
    const auto events = std::exchange(m_lineEvents, {});
    if (!bChanged && events.isEmpty())
        return;
    const QDateTime now = Now();
    if (bChanged) {
        m_latest = m_shown;
        m_latest.time = now;
        m_latest.fix = CurrentFix(now);
        emit SampleReady(m_latest);
    }
    for (const auto& e : events)
        OnEvent(e.first, e.second);
}

void CMeasurer::FollowReport(const CTraceReport& r, int nReport)
{
    SSample& s = m_shown;
    switch (nReport) {
    case REPORT_IDLE_MODE:
        SetMode(SSample::MODE_IDLE);
        m_strBcch = QString::fromLatin1(r.IdleMode().szBcch);
        s.nBcch = Code(r.IdleMode().szBcch);
        s.nRxLevDbm = RxLevDbm(r.IdleMode().szRxLev);
        TakeCell(r.IdleMode().szBcch, nullptr);
        break;
    case REPORT_DEDICATED: {
        SetMode(SSample::MODE_DEDICATED);
        const TrDedicatedRpt& d = r.Dedicated();
        if (const auto l = Value(d.szTxPower))
            s.nTxPwrDbm = Units::TxPowerDbm(m_nMaxPowerDbm, *l);
        else
            s.nTxPwrDbm.reset();
        s.nRxLevDbm = RxLevDbm(d.szRxLev2);
        if (const auto q = Value(d.szRxQual2); !q || (*q >= 0 && *q <= kRxQualMax))
            s.nRxQual = q;
        break;
    }
    case REPORT_DEDICATED_CHAN: {
        SetMode(SSample::MODE_DEDICATED);
        const TrDedicatedChan& c = r.DedicatedChan();
        m_strBcch = QString::fromLatin1(c.szBcch);
        s.nBcch = Code(c.szBcch);
        s.nBsic = Code(c.szBsic);
        // The traffic channels the panel lists.
        if (qstrcmp(c.szMode, "Hopping") != 0) {
            m_bChannelRows = true;
            m_strFirstChannel = QString::fromLatin1(c.szTrafficChannel);
        } else {
            m_bChannelRows = !r.Hopping().isEmpty();
            m_strFirstChannel = m_bChannelRows ? r.Hopping().first() : QString();
        }
        TakeCell(c.szBcch, nullptr);
        break;
    }
    case REPORT_CELL_ID: {
        const TrCellId& c = r.CellId();
        s.nCi = Code(c.szCi, 16);
        s.nLac = Code(c.szLac, 16);
        s.nMnc = Code(c.szMnc);
        s.nMcc = Code(c.szMcc);
        TakeCell(nullptr, c.szCi);
        break;
    }
    case REPORT_FULL_IDLE_DESC: {
        SetMode(SSample::MODE_IDLE);
        const TrFullIdleDesc& d = r.FullIdleDesc();
        m_strBcch = QString::fromLatin1(d.szBcch);
        s.nBcch = Code(d.szBcch);
        s.nBsic = Code(d.szBsic);
        s.nCi = Code(d.szCi, 16);
        s.nLac = Code(d.szLac, 16);
        s.nMnc = Code(d.szMnc);
        s.nMcc = Code(d.szMcc);
        m_bChannelRows = false;
        m_strFirstChannel.clear();
        TakeCell(d.szBcch, d.szCi);
        break;
    }
    case REPORT_FULL_IDLE: {
        SetMode(SSample::MODE_IDLE);
        const TrFullIdleReport& f = r.FullIdle();
        m_strBcch = QString::fromLatin1(f.szBcch);
        s.nBcch = Code(f.szBcch);
        s.nRxLevDbm = RxLevDbm(f.szRxLev);
        if (const auto q = Value(f.szRxQual); !q || (*q >= 0 && *q <= kRxQualMax))
            s.nRxQual = q;
        TakeCell(f.szBcch, nullptr);
        break;
    }
    case REPORT_FULL_DED: {
        SetMode(SSample::MODE_DEDICATED);
        const QString channel = m_bChannelRows ? m_strFirstChannel : m_strBcch;
        m_nMaxPowerDbm = Units::MaxPowerDbm(CStringE(channel).ToInt(10));
        const TrFullDedReport& d = r.FullDed();
        s.nTa = Value(d.szTimingAdvance);
        if (const auto l = Value(d.szTxPower))
            s.nTxPwrDbm = Units::TxPowerDbm(m_nMaxPowerDbm, *l);
        else
            s.nTxPwrDbm.reset();
        const bool bFirstPair = CStringE(d.szPairSelect).ToInt(10) != 0;
        s.nRxLevDbm = RxLevDbm(bFirstPair ? d.szRxLev1 : d.szRxLev2);
        if (const auto q = Value(bFirstPair ? d.szRxQual1 : d.szRxQual2);
            !q || (*q >= 0 && *q <= kRxQualMax))
            s.nRxQual = q;
        break;
    }
    default:
        break;
    }
}

void CMeasurer::FollowNeighbours(const CTraceReport& r, int nReport)
{
    if (nReport == REPORT_NONE)
        return;
    const int n = r.GetNeighbourCount();
    const TrNeighbour* table = r.NeighbourTable(nReport);
    for (int i = 0; i < 6; ++i) {
        SNeighbourSample& ns = m_shown.aNeighbour[i];
        ns = SNeighbourSample();
        if (i >= n || !table)
            continue;
        const TrNeighbour& t = table[i];
        ns.nBcch = Code(t.szBcch);
        const std::optional<int> bsic = Code(t.szBsic);
        if (bsic && Units::IsBsicShown(*bsic))
            ns.nBsic = bsic;
        ns.nRxLevDbm = RxLevDbm(t.szRxLev);
    }
}

void CMeasurer::SetMode(int nMode)
{
    if (m_shown.nMode == nMode)
        return;
    m_shown.nMode = nMode;
    m_lineEvents.append(qMakePair(
        nMode == SSample::MODE_DEDICATED ? EVENT_DEDICATED_START : EVENT_DEDICATED_END, QString()));
}

// A cell change is a known BCCH or CI that differs from the last known one.
// The BCCH and the CI often come on separate lines: the CI that follows a
// new BCCH belongs to the same change.
void CMeasurer::TakeCell(const char* pszBcch, const char* pszCi)
{
    const std::optional<int> bcch = pszBcch ? Code(pszBcch) : std::nullopt;
    const std::optional<int> ci = pszCi ? Code(pszCi, 16) : std::nullopt;
    bool bChange = false;
    bool bBcchChanged = false;
    if (bcch) {
        bBcchChanged = m_nCellBcch && *m_nCellBcch != *bcch;
        m_nCellBcch = bcch;
    }
    if (ci) {
        if (m_nCellCi && *m_nCellCi != *ci && !m_bCiAwaited)
            bChange = true;
        m_nCellCi = ci;
        m_bCiAwaited = false;
    }
    if (bBcchChanged) {
        bChange = true;
        m_bCiAwaited = !ci;
    }
    if (!bChange)
        return;
    QStringList parts;
    if (m_nCellBcch)
        parts << QStringLiteral("BCCH %1").arg(*m_nCellBcch);
    if (m_nCellCi && !m_bCiAwaited)
        parts << QStringLiteral("CI %1").arg(*m_nCellCi);
    const QString text = parts.join(QLatin1Char(' '));
    m_lineEvents.append(qMakePair(int(EVENT_CELL_CHANGE), text));
}

SGpsFix CMeasurer::CurrentFix(const QDateTime& now) const
{
    if (!m_fix.IsFix() || !m_fix.time.isValid() || !now.isValid())
        return SGpsFix();
    const qint64 age = m_fix.time.msecsTo(now);
    return std::llabs(age) <= FIX_MAX_AGE_MS ? m_fix : SGpsFix();
}

void CMeasurer::OnEvent(int nEvent, const QString& strText)
{
    SMeasureEvent event;
    event.time = Now();
    event.nEvent = nEvent;
    event.strText = strText;
    emit EventReady(event);
}

void CMeasurer::SetFix(const SGpsFix& fix)
{
    m_fix = fix;
}

void CMeasurer::Reset()
{
    ResetServingCell();
    ResetMeters();
    m_shown.nMode = SSample::MODE_IDLE;
    m_latest = m_shown;
}

void CMeasurer::ResetServingCell()
{
    SSample& s = m_shown;
    s.nMcc.reset();
    s.nMnc.reset();
    s.nLac.reset();
    s.nCi.reset();
    s.nBcch.reset();
    s.nBsic.reset();
    m_strBcch.clear();
    m_nCellBcch.reset();
    m_nCellCi.reset();
    m_bCiAwaited = false;
    m_latest = SSample();
    m_latest.nMode = s.nMode;
}

void CMeasurer::ResetMeters()
{
    SSample& s = m_shown;
    s.nRxLevDbm.reset();
    s.nRxQual.reset();
    s.nTa.reset();
    s.nTxPwrDbm.reset();
    for (SNeighbourSample& n : s.aNeighbour)
        n = SNeighbourSample();
    m_bChannelRows = false;
    m_strFirstChannel.clear();
    m_latest = SSample();
    m_latest.nMode = s.nMode;
}
