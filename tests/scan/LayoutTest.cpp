// SPDX-License-Identifier: GPL-3.0-or-later
// Where the graph area and the bars end, without a window.
#include <gtest/gtest.h>

#include "scan/ScanLayout.h"

TEST(ScanLayout, EdgesOfTheGraphAndOfTheBars)
{
    CScanLayout layout;
    layout.SetSize(QSize(621, 300));
    // Strictly inside: the frame's left and right edges, the top and the axis are out.
    EXPECT_TRUE(layout.InGraph(QPoint(1, 31)));
    EXPECT_TRUE(layout.InGraph(QPoint(620, 279)));
    EXPECT_FALSE(layout.InGraph(QPoint(0, 100)));
    EXPECT_FALSE(layout.InGraph(QPoint(621, 100)));
    EXPECT_FALSE(layout.InGraph(QPoint(100, 30)));
    EXPECT_FALSE(layout.InGraph(QPoint(100, 280)));

    const int active[SCAN_RANGE_FIELDS] = {1, 10};
    layout.Arrange(active, [](int) { return 20; });
    const int left = layout.m_nScanLeft, right = layout.m_nScanRight;
    EXPECT_EQ(layout.ChannelAt(left - 1, 1, 10), 1);
    EXPECT_EQ(layout.ChannelAt(right + 1, 1, 10), 10);
    // The scan ends themselves are the outer bars' own pixels.
    EXPECT_EQ(layout.ChannelAt(left, 7, 8), 1);
    EXPECT_EQ(layout.ChannelAt(right, 7, 8), 10);
    EXPECT_EQ(layout.LastEnd(), 10);
}
