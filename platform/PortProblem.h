// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Why a serial device did not open, in the user's words and with the way out:
// "No such device ...", "Permission denied: add your user to the group
// dialout ...", "In use by another program: tessoly (pid 4711) ...". It looks
// at the device as the system sees it now (does it exist, may this user read
// and write it, who holds it); it never opens the device.
class CPortProblem
{
public:
    // nCode is the channel's result of the failed open (1 in use or not
    // permitted, 2 no such device, 4 opened but not set up, anything else
    // another failure);
    // systemText is the system's own message, used where nothing better is known.
    static QString Explain(const QString& device, int nCode, const QString& systemText);
};
