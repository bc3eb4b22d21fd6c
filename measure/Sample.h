// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <optional>

#include "gps/GpsFix.h"

// One neighbour of a sample.
struct SNeighbourSample
{
    std::optional<int> nBcch;
    std::optional<int> nBsic;
    std::optional<int> nRxLevDbm;
};

// What the panel shows of the serving cell, the air interface and the
// neighbours at one moment, as numbers in the units of the panel's texts.
// A value is empty where the module has not reported it.
struct SSample
{
    enum
    {
        MODE_IDLE = 0,
        MODE_DEDICATED = 1
    };

    QDateTime time;
    int nMode = MODE_IDLE;
    std::optional<int> nMcc; // decimal; the panel shows the module's hexadecimal text
    std::optional<int> nMnc;
    std::optional<int> nLac;
    std::optional<int> nCi;
    std::optional<int> nBcch;
    std::optional<int> nBsic;
    std::optional<int> nRxLevDbm;
    std::optional<int> nRxQual;
    std::optional<int> nTa;
    std::optional<int> nTxPwrDbm;
    SNeighbourSample aNeighbour[6];
    SGpsFix fix; // the latest fix not older than 2 s, or none (FIX_NONE)
};
