#include "sim/SimTraceParser.h"

#include <cstring>

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
    const char* pszLiteral;
    EVar eVar;
    CSimTraceParser::ECommand eCmd;
};

const SPattern PATTERNS[] = {
    {"**O", V_NONE, CSimTraceParser::TC_POWER_ON},
    {"**Z", V_NONE, CSimTraceParser::TC_POWER_OFF},
    {"Z", V_NONE, CSimTraceParser::TC_POWER_OFF_PREP},
    {"&F", V_NONE, CSimTraceParser::TC_RESET},
    {"0+0*0", V_NONE, CSimTraceParser::TC_SETUP_1},
    {"*B", V_NONE, CSimTraceParser::TC_SETUP_B},
    {"0\r", V_NONE, CSimTraceParser::TC_SETUP_0},
    {"*M*M", V_NONE, CSimTraceParser::TC_SETUP_M},
    {"*W", V_HEX, CSimTraceParser::TC_FLAGS},
    {"*1*2*I+J+E", V_NONE, CSimTraceParser::TC_DEFAULT_REPORTS},
    {"\\D", V_PHONE, CSimTraceParser::TC_DIAL},
    {"\\S", V_NONE, CSimTraceParser::TC_ANSWER},
    {"5", V_DIGITS, CSimTraceParser::TC_LOCK_SELECT},
    {"\\F", V_DIGITS, CSimTraceParser::TC_LOCK},
    {"\\O", V_NONE, CSimTraceParser::TC_LOCATION_UPDATE},
    {"\\C", V_NONE, CSimTraceParser::TC_ACCEPT},
    {"*6+FT+Q\\8\\66QF", V_NONE, CSimTraceParser::TC_SCAN_SETUP},
    {"*S\r\r", V_LIST, CSimTraceParser::TC_SCAN_START},
    {"*S1\r\r1\r", V_NONE, CSimTraceParser::TC_SCAN_END},
};

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
    const int nLit = static_cast<int>(strlen(p.pszLiteral));
    const int nCmp = qMin(nLit, static_cast<int>(buf.size()));
    if (memcmp(buf.constData(), p.pszLiteral, nCmp) != 0)
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
        for (const SPattern& p : PATTERNS) {
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
    for (const SPattern& p : PATTERNS) {
        if (p.eCmd == e)
            return p.pszLiteral;
    }
    return "";
}
