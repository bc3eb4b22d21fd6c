// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/ChannelPlan.h"

namespace ChannelPlan {

namespace {
// Channel minus index in the high band.
constexpr int kHighOffset = kHighFirst - kLowCount;
} // namespace

bool Contains(int nChannel)
{
    return (nChannel >= kLowFirst && nChannel <= kLowLast) || IsHighBand(nChannel);
}

bool IsHighBand(int nChannel)
{
    return nChannel >= kHighFirst && nChannel <= kHighLast;
}

int ChannelOfIndex(int nIndex)
{
    return nIndex < kLowCount ? nIndex + kLowFirst : nIndex + kHighOffset;
}

int IndexOfChannel(int nChannel)
{
    return nChannel <= kLowLast ? nChannel - kLowFirst : nChannel - kHighOffset;
}

int Previous(int nChannel)
{
    if (nChannel > kLowLast && nChannel < kHighFirst)
        return kLowLast;
    return ChannelOfIndex(IndexOfChannel(nChannel) - 1);
}

int Next(int nChannel)
{
    if (nChannel > kLowLast && nChannel < kHighFirst)
        return kHighFirst;
    return ChannelOfIndex(IndexOfChannel(nChannel) + 1);
}

int Correct(int nNumber, int nFirstUp)
{
    if (nNumber < kLowFirst)
        return kLowFirst;
    if (nNumber > kHighLast)
        return kHighLast;
    if (nNumber > kLowLast && nNumber < nFirstUp)
        return kLowLast;
    if (nNumber >= nFirstUp && nNumber < kHighFirst)
        return kHighFirst;
    return nNumber;
}

} // namespace ChannelPlan
