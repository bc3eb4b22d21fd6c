// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/ScanLayout.h"

#include <QtGlobal>

namespace {
const int kRanges = SCAN_RANGE_FIELDS / 2;
const int kGapWidth = 20; // between two ranges, unless the bars are wide
const int kWideStep = 40; // above this the gaps take a bar's step
const int kTopLevel = 63; // the highest level fills the graph area

// A product with the scale, truncated toward zero (the float scale times
// the integer, computed without rounding it to single precision first).
int Scaled(int v, float fScale)
{
    return static_cast<int>(static_cast<double>(v) * static_cast<double>(fScale));
}
} // namespace

CScanLayout::CScanLayout()
{
    ClearBars();
}

void CScanLayout::SetSize(const QSize& size)
{
    m_rcClient = QRect(QPoint(0, 0), size);
    const int W = m_rcClient.width();
    const int H = m_rcClient.height();
    m_rcGraph = QRect(QPoint(30, 30), QPoint(W - 15, H - 20));
    m_fScale = static_cast<float>(H - 40) / static_cast<float>(kTopLevel);
}

void CScanLayout::ClearBars()
{
    for (int& x : m_anBarX)
        x = -1;
    m_bars.clear();
    m_ranges.clear();
}

void CScanLayout::Arrange(const int (&anActive)[SCAN_RANGE_FIELDS],
                          const std::function<int(int)>& levelOf)
{
    const int L = m_rcGraph.left(), R = m_rcGraph.right();
    // The bars share the width: N channels and G gaps between ranges.
    int N = 0, nRanges = 0;
    for (int r = 0; r < kRanges; ++r) {
        if (anActive[2 * r] == 0)
            continue;
        N += qMax(0, anActive[2 * r + 1] - anActive[2 * r] + 1);
        ++nRanges;
    }
    const int G = nRanges - 1;
    int w = 1, g = kGapWidth;
    if (N > 0) {
        w = (R - L - kGapWidth * G) / N;
        if (w > kWideStep) {
            w = (R - L) / (N + G);
            g = w;
        }
    }
    const int b = w > 1 ? w / 2 : 1;
    const int s = w - b;
    m_nBarWidth = b;
    m_nBarSpacing = s;
    ClearBars();

    int x = L + s;
    m_nScanLeft = x;
    m_nLastEnd = 0;
    for (int r = 0; r < kRanges && N > 0; ++r) {
        const int a = anActive[2 * r];
        if (a == 0)
            continue;
        const int e = anActive[2 * r + 1];
        m_nLastEnd = e;
        Range range{a, x, static_cast<int>(m_bars.size()), 0, false, 0};
        for (int c = a; c <= e && c <= ChannelPlan::kHighLast; ++c) {
            const int level = ChannelPlan::Contains(c) ? levelOf(c) : -1;
            if (level == -1)
                continue;
            m_anBarX[ChannelPlan::IndexOfChannel(c)] = x;
            m_bars.push_back(Bar{c, x, BarHeight(level)});
            x += w;
        }
        range.nEndBar = static_cast<int>(m_bars.size());
        if (r < kRanges - 1 && anActive[2 * r + 2] != 0) {
            x += g / 2 - s;
            range.bSeparator = true;
            range.nSeparatorX = x;
            x += g / 2;
        }
        m_ranges.push_back(range);
    }
    m_nScanRight = x - s;
}

int CScanLayout::LevelY(int v) const
{
    return m_rcGraph.bottom() - Scaled(v, m_fScale);
}

int CScanLayout::BarHeight(int level) const
{
    return Scaled(level, m_fScale);
}

bool CScanLayout::InGraph(const QPoint& pt) const
{
    return pt.x() > 0 && pt.x() < m_rcClient.width() && pt.y() > m_rcGraph.top() &&
           pt.y() < m_rcGraph.bottom();
}

int CScanLayout::BarAt(int x) const
{
    // A bar answers for itself and half the space on either side. With an
    // even space the two halves would share a pixel with the next bar's
    // (with no space at all, the next bar itself), so the right end is then
    // left out: every pixel belongs to one bar.
    const int half = m_nBarSpacing / 2;
    const int right = m_nBarWidth + half - (m_nBarSpacing % 2 == 0 ? 1 : 0);
    for (int i = 0; i < ChannelPlan::kChannels; ++i) {
        const int e = m_anBarX[i];
        if (e != -1 && e - half <= x && x <= e + right)
            return ChannelPlan::ChannelOfIndex(i);
    }
    return 0;
}

int CScanLayout::ChannelAt(int x, int nFirst, int nLast) const
{
    if (x < m_nScanLeft)
        return nFirst;
    if (x > m_nScanRight)
        return nLast;
    return BarAt(x);
}
