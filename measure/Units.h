// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/ChannelPlan.h"

// The units of the module's raw values as the panel shows them; the panel's
// texts and the samples of a drive both take them from here.
namespace Units {

// The band's maximum output power: 30 dBm on the 1800 MHz channels, else 43.
constexpr int kMaxPowerHighBandDbm = 30;
constexpr int kMaxPowerLowBandDbm = 43;
// A neighbour's BSIC that the module reports when it has none.
constexpr int kBsicNone = 99;

// A received level 0 .. 63 in dBm.
constexpr int RxLevDbm(int nLevel)
{
    return nLevel - 110;
}

inline int MaxPowerDbm(int nChannel)
{
    return ChannelPlan::IsHighBand(nChannel) ? kMaxPowerHighBandDbm : kMaxPowerLowBandDbm;
}

// A power control level at the band's maximum power, in dBm.
constexpr int TxPowerDbm(int nMaxPowerDbm, int nPowerLevel)
{
    return nMaxPowerDbm - 2 * nPowerLevel;
}

// A timing advance 0 .. 63 as a distance.
constexpr double TimingAdvanceKm(int nTimingAdvance)
{
    return nTimingAdvance * 35.0 / 63.0;
}

constexpr bool IsBsicShown(int nBsic)
{
    return nBsic != kBsicNone;
}

} // namespace Units
