// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The module's channel plan: the 900 MHz band, channels 1 to 124, and the
// 1800 MHz band, channels 512 to 885. The 498 channels are indexed 0 to 497,
// the low band first; channel 0 is no channel.
namespace ChannelPlan {

constexpr int kLowFirst = 1;
constexpr int kLowLast = 124;
constexpr int kHighFirst = 512;
constexpr int kHighLast = 885;

constexpr int kLowCount = kLowLast - kLowFirst + 1;    // 124
constexpr int kHighCount = kHighLast - kHighFirst + 1; // 374
constexpr int kChannels = kLowCount + kHighCount;      // 498

// True for the channels of the plan.
bool Contains(int nChannel);
// True for the channels of the 1800 MHz band.
bool IsHighBand(int nChannel);

// Index to channel and back. Numbers outside the plan are mapped by the same
// arithmetic (the low band's below it, the high band's above it); callers
// that take them check the index they get.
int ChannelOfIndex(int nIndex);
int IndexOfChannel(int nChannel);

// The channel before and after one of the plan (124 and 512 are neighbours).
// A number in the gap between the bands steps to the band edge on its side
// of the step: 124 before, 512 after.
int Previous(int nChannel);
int Next(int nChannel);

// The channel a typed number is corrected to: below the plan its first
// channel, above it its last; in the gap between the bands the low band's
// last channel below nFirstUp and the high band's first from nFirstUp on;
// a channel of the plan stays.
int Correct(int nNumber, int nFirstUp);

} // namespace ChannelPlan
