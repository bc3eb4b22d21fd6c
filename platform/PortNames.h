// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The one place where a port number becomes a device name: the settings
// file's section [PORTS] (key COMn, value a device path), else COMn on
// Windows and /dev/ttyS(n-1) elsewhere.
class CPortNames
{
public:
    // The settings file that holds [PORTS]; empty for none.
    static void SetProfilePath(const QString& path);
    static QString ProfilePath();
    static QString DeviceName(int port);
    static QString DefaultDeviceName(int port);
    // Stores a device for a number in [PORTS]; an empty device removes the mapping's value.
    static bool SetDevice(int port, const QString& device);
};
