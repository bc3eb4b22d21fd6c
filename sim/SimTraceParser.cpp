// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimTraceParser.h"

#include <cstring>
#include <string>
#include <vector>

#include "protocol/TraceCommands.h"

namespace {
// What may follow a command's fixed part before its CR.
enum EVar
{
    V_NONE,
    V_HEX,    // flag word
    V_DIGITS, // channel number
    V_PHONE,  // dialled number
    V_LIST    // channel ranges
};

struct SPattern
{
    std::string literal;
    EVar eVar;
    CSimTraceParser::ECommand eCmd;
};

// The commands the module takes, built from the words the panel sends.
const std::vector<SPattern>& Patterns()
{
    using C = CSimTraceParser;
    const std::string cr = TRACE_CR;
    static const std::vector<SPattern> patterns = {
        {TRACE_POWER_ON, V_NONE, C::TC_POWER_ON},
        {TRACE_POWER_OFF, V_NONE, C::TC_POWER_OFF},
        {TRACE_POWER_OFF_PREPARE, V_NONE, C::TC_POWER_OFF_PREP},
        {TRACE_RESET, V_NONE, C::TC_RESET},
        {TRACE_SETUP_CHANNELS, V_NONE, C::TC_SETUP_1},
        {TRACE_SETUP_BAND, V_NONE, C::TC_SETUP_B},
        {TRACE_SETUP_BAND_ZERO, V_NONE, C::TC_SETUP_0},
        {TRACE_SETUP_MODE, V_NONE, C::TC_SETUP_M},
        {TRACE_FLAGS, V_HEX, C::TC_FLAGS},
        {TRACE_DEFAULT_REPORTS, V_NONE, C::TC_DEFAULT_REPORTS},
        {TRACE_DIAL, V_PHONE, C::TC_DIAL},
        {TRACE_ANSWER, V_NONE, C::TC_ANSWER},
        {TRACE_LOCK_SELECT, V_DIGITS, C::TC_LOCK_SELECT},
        {TRACE_LOCK, V_DIGITS, C::TC_LOCK},
        {TRACE_LOCATION_UPDATE, V_NONE, C::TC_LOCATION_UPDATE},
        {TRACE_ACCEPT_CHANNEL, V_NONE, C::TC_ACCEPT},
        {TRACE_SCAN_SETUP, V_NONE, C::TC_SCAN_SETUP},
        {TRACE_SCAN + cr + cr, V_LIST, C::TC_SCAN_START},
        {TRACE_SCAN + std::string(TRACE_SCAN_STOP) + cr + TRACE_SCAN_STOP_CONFIRM + cr, V_NONE,
         C::TC_SCAN_END},
    };
    return patterns;
}

int MaxLength(EVar e)
{
    switch (e) {
    case V_HEX:
        return 8;
    case V_DIGITS:
        return 4;
    case V_PHONE:
        return 40;
    case V_LIST:
        return 200;
    default:
        return 0;
    }
}

bool Allowed(EVar e, char c)
{
    switch (e) {
    case V_HEX:
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    case V_DIGITS:
        return c >= '0' && c <= '9';
    case V_PHONE:
        return (c >= '0' && c <= '9') || c == '+' || c == '*' || c == '#';
    case V_LIST:
        return (c >= '0' && c <= '9') || c == '-' || c == ',';
    default:
        return false;
    }
}

enum EMatch
{
    M_NO,
    M_PREFIX,
    M_COMPLETE
};

EMatch Match(const QByteArray& buf, const SPattern& p, QByteArray* pArg)
{
    const int nLit = static_cast<int>(p.literal.size());
    const int nCmp = qMin(nLit, static_cast<int>(buf.size()));
    if (memcmp(buf.constData(), p.literal.data(), nCmp) != 0)
        return M_NO;
    if (buf.size() < nLit)
        return M_PREFIX;
    if (p.eVar == V_NONE)
        return buf.size() == nLit ? M_COMPLETE : M_NO;
    const QByteArray rest = buf.mid(nLit);
    for (int i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '\r') {
            // the variable part needs at least one character and ends the command
            if (i == 0 || i != rest.size() - 1)
                return M_NO;
            *pArg = rest.left(i);
            return M_COMPLETE;
        }
        if (!Allowed(p.eVar, c) || i >= MaxLength(p.eVar))
            return M_NO;
    }
    return M_PREFIX;
}
} // namespace

CSimTraceParser::SCommand CSimTraceParser::Feed(char c)
{
    m_buf.append(c);
    while (!m_buf.isEmpty()) {
        bool bPrefix = false;
        for (const SPattern& p : Patterns()) {
            QByteArray arg;
            const EMatch m = Match(m_buf, p, &arg);
            if (m == M_COMPLETE) {
                m_buf.clear();
                return SCommand{p.eCmd, arg};
            }
            bPrefix = bPrefix || m == M_PREFIX;
        }
        if (bPrefix)
            break;
        m_buf.remove(0, 1); // cannot start a command: resynchronise
    }
    return SCommand{};
}

const char* CSimTraceParser::Name(ECommand e)
{
    for (const SPattern& p : Patterns()) {
        if (p.eCmd == e)
            return p.literal.c_str();
    }
    return "";
}
