// SPDX-License-Identifier: GPL-3.0-or-later
// The channel plan's corrections at the edges of the bands and of the gap.
#include <gtest/gtest.h>

#include "protocol/ChannelPlan.h"

TEST(ChannelPlan, CorrectionAtEveryEdge)
{
    // The BS lock splits the gap at 256, the scan's range fields at 194.
    const int cases[][3] = {{256, -5, 1},    {256, 0, 1},     {256, 1, 1},     {256, 124, 124},
                            {256, 125, 124}, {256, 255, 124}, {256, 256, 512}, {256, 511, 512},
                            {256, 512, 512}, {256, 885, 885}, {256, 886, 885}, {194, 193, 124},
                            {194, 194, 512}};
    for (const auto& c : cases)
        EXPECT_EQ(ChannelPlan::Correct(c[1], c[0]), c[2]) << c[1] << " split " << c[0];
}
