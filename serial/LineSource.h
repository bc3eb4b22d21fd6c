// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the panel takes the lines of one port from: the serial channel, or
// in tests a script of lines. The source posts one line message to its
// owner per line; each message takes one line.
class CLineSource
{
public:
    virtual ~CLineSource() = default;
    // The next line; called once per line message.
    virtual QString GetLine() = 0;
};
