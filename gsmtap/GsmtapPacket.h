// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

struct SBcchMessage;

// The GSMTAP pseudo-header (version 2, Um, BCCH, time slot 0, frame 0)
// followed by the message's block: the payload of one UDP datagram to
// Wireshark's port.
class CGsmtapPacket
{
public:
    enum
    {
        GSMTAP_PORT = 4729
    };
    static QByteArray Make(const SBcchMessage& message);
};
