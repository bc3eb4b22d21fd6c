// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/ScanModel.h"

#include <QtGlobal>

#include "protocol/ChannelPlan.h"

namespace {
// Typed numbers in the gap between the bands from this one on go up to the
// high band, those below it down to the low band.
const int kFirstRoundedUp = 194;

bool IsEndField(int n)
{
    return (n % 2) == 1;
}
} // namespace

int CScanModel::Corrected(int n, int nTyped) const
{
    int v = ChannelPlan::Correct(nTyped, kFirstRoundedUp);
    const bool bEnd = IsEndField(n);
    // Order with the field before.
    if (n >= 1) {
        const int p = m_anRange[n - 1];
        if (bEnd && v < p)
            v = p;
        else if (!bEnd && v <= p)
            v = p == ChannelPlan::kHighLast ? 0 : p + 1;
    }
    // Order with the field after.
    if (n <= SCAN_RANGE_FIELDS - 2 && m_anRange[n + 1] != 0) {
        const int q = m_anRange[n + 1];
        if (!bEnd && v > q)
            v = q;
        else if (bEnd && v >= q)
            v = q - 1;
    }
    return v;
}

void CScanModel::ClearRanges()
{
    for (int& v : m_anRange)
        v = 0;
}

void CScanModel::SetWholePlan()
{
    ClearRanges();
    m_anRange[0] = ChannelPlan::kLowFirst;
    m_anRange[1] = ChannelPlan::kLowLast;
    m_anRange[2] = ChannelPlan::kHighFirst;
    m_anRange[3] = ChannelPlan::kHighLast;
}

QString CScanModel::ScanList(const QStringList& texts) const
{
    QString list;
    int i = 0;
    for (; i < SCAN_RANGE_FIELDS; ++i) {
        if (m_anRange[i] == 0)
            break;
        const QString text = texts.value(i);
        if (!IsEndField(i)) {
            if (i > 1)
                list += QLatin1Char(',');
            list += text + QLatin1Char('-');
        } else {
            list += text;
        }
    }
    const bool bValid = i == SCAN_RANGE_FIELDS || (!IsEndField(i) && i != 0);
    return bValid ? list : QString();
}

void CScanModel::Request()
{
    for (int i = 0; i < SCAN_RANGE_FIELDS; ++i)
        m_anActive[i] = m_anRange[i];
    m_nSelected = m_anActive[0];
}

void CScanModel::Narrow(int a, int b)
{
    const int lo = qMin(a, b);
    const int hi = qMax(a, b);
    ClearRanges();
    m_anRange[0] = lo;
    int k = 0;
    for (int j = 1; j < SCAN_RANGE_FIELDS; ++j) {
        const int f = m_anActive[j];
        if (f == 0 || f < lo)
            continue;
        // A range that starts at lo already has lo as its start.
        if (!IsEndField(j) && f == lo)
            continue;
        ++k;
        if (f <= hi) {
            m_anRange[k] = f;
            continue;
        }
        // hi ends the list; when hi closed the range before, the list ends
        // there instead of opening a range without an end.
        if (IsEndField(k))
            m_anRange[k] = hi;
        break;
    }
}

int CScanModel::LastActive() const
{
    for (int i = SCAN_RANGE_FIELDS - 1; i >= 1; --i)
        if (m_anActive[i] != 0)
            return m_anActive[i];
    return 0;
}

bool CScanModel::SelectPrevious()
{
    if (m_nSelected == 0 || m_nSelected == ChannelPlan::kLowFirst)
        return false;
    m_nSelected = m_nShown = ChannelPlan::Previous(m_nSelected);
    return true;
}

bool CScanModel::SelectNext()
{
    if (m_nSelected == 0 || m_nSelected >= ChannelPlan::kHighLast)
        return false;
    m_nSelected = m_nShown = ChannelPlan::Next(m_nSelected);
    return true;
}
