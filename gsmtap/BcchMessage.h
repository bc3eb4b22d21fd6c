// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// One System Information message for Wireshark: the BCCH block and the
// serving cell's carrier and level when it was received.
struct SBcchMessage
{
    int nArfcn = 0;
    int nLevelDbm = 0;
    QByteArray block; // 23 octets
};
