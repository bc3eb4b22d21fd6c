// SPDX-License-Identifier: GPL-3.0-or-later
#include "gsmtap/GsmtapPacket.h"

#include <algorithm>

#include "gsmtap/BcchMessage.h"

extern "C" {
#include <osmocom/core/gsmtap.h>
#include <osmocom/core/gsmtap_util.h>
#include <osmocom/core/msgb.h>
}

static_assert(CGsmtapPacket::GSMTAP_PORT == GSMTAP_UDP_PORT);

QByteArray CGsmtapPacket::Make(const SBcchMessage& m)
{
    const int nLevel = std::clamp(m.nLevelDbm, -128, 127);
    msgb* pMsg = gsmtap_makemsg_ex(
        GSMTAP_TYPE_UM, static_cast<uint16_t>(m.nArfcn & GSMTAP_ARFCN_MASK), 0, GSMTAP_CHANNEL_BCCH,
        0, 0, static_cast<int8_t>(nLevel), 0, reinterpret_cast<const uint8_t*>(m.block.constData()),
        static_cast<unsigned>(m.block.size()));
    if (!pMsg)
        return QByteArray();
    QByteArray packet(reinterpret_cast<const char*>(msgb_data(pMsg)), msgb_length(pMsg));
    msgb_free(pMsg);
    return packet;
}
