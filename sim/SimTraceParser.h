// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Cuts the trace port's character stream into the module's commands. The
// panel sends them one character at a time with no separator, so the parser
// keeps the characters that can still begin a command and drops the oldest
// one whenever the collected text cannot be the start of any command.
class CSimTraceParser
{
public:
    enum ECommand
    {
        TC_NONE,
        TC_POWER_ON,        // "**O"
        TC_POWER_OFF_PREP,  // "Z"
        TC_POWER_OFF,       // "**Z"
        TC_RESET,           // "&F"
        TC_SETUP_1,         // "0+0*0"
        TC_SETUP_B,         // "*B"
        TC_SETUP_0,         // "0\r"
        TC_SETUP_M,         // "*M*M"
        TC_FLAGS,           // "*W" hex CR
        TC_DEFAULT_REPORTS, // "*1*2*I+J+E"
        TC_DIAL,            // "\D" number CR
        TC_ANSWER,          // "\S"
        TC_LOCK_SELECT,     // "5" channel CR
        TC_LOCK,            // "\F" channel CR
        TC_LOCATION_UPDATE, // "\O"
        TC_ACCEPT,          // "\C"
        TC_SCAN_SETUP,      // "*6+FT+Q\8\66QF"
        TC_SCAN_START,      // "*S" CR CR list CR
        TC_SCAN_END         // "*S" "1" CR CR "1" CR
    };

    struct SCommand
    {
        ECommand eCmd = TC_NONE;
        QByteArray arg; // the variable part, without its CR
    };

    // Takes one character; returns the command it completes, or TC_NONE.
    SCommand Feed(char c);
    void Reset() { m_buf.clear(); }
    const QByteArray& Pending() const { return m_buf; }

    static const char* Name(ECommand e);

private:
    QByteArray m_buf;
};
