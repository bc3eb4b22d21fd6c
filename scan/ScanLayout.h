// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

#include "protocol/ChannelPlan.h"
#include "scan/ScanModel.h"

// Where the channel scan's graph puts its axes and bars, in the graph's
// pixels (x to the right, y downward, origin at the top left corner). The
// graph paints from it and the pointer is matched against it.
class CScanLayout
{
public:
    // One bar: a channel with a level.
    struct Bar
    {
        int nChannel;
        int x;
        int nHeight;
    };
    // One range of the list in force: its start written under the axis at
    // nLabelX, its bars m_bars[nFirstBar .. nEndBar), and the separator line
    // that follows it when another range follows.
    struct Range
    {
        int nStart;
        int nLabelX;
        int nFirstBar;
        int nEndBar;
        bool bSeparator;
        int nSeparatorX;
    };

    CScanLayout();

    // The graph's size in pixels: the graph area and the level scale follow.
    void SetSize(const QSize& size);
    // Forgets every bar.
    void ClearBars();
    // Lays out the bars of the list in force; levelOf gives a channel's
    // level, -1 when none is known. A channel without a level takes no room.
    void Arrange(const int (&anActive)[SCAN_RANGE_FIELDS], const std::function<int(int)>& levelOf);

    // The y of the label of level step v, and the height of a level's bar.
    int LevelY(int v) const;
    int BarHeight(int level) const;
    bool InGraph(const QPoint& pt) const;
    // The channel of the bar at x (with half the space on either side), 0 if none.
    int BarAt(int x) const;
    // As BarAt, but left of the bars nFirst and right of them nLast.
    int ChannelAt(int x, int nFirst, int nLast) const;
    // The end of the last range laid out, 0 if none.
    int LastEnd() const { return m_nLastEnd; }

    QRect m_rcClient;
    QRect m_rcGraph;
    float m_fScale = 1.0f;
    int m_nBarWidth = 0;
    int m_nBarSpacing = 0;
    int m_anBarX[ChannelPlan::kChannels];
    int m_nScanLeft = 0;
    int m_nScanRight = 0;
    std::vector<Bar> m_bars;
    std::vector<Range> m_ranges;

private:
    int m_nLastEnd = 0;
};
