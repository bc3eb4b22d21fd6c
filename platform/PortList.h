// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// A serial device as the port dialog offers it.
struct SSerialDevice
{
    QString strPath;        // what is stored in [PORTS] and opened
    QString strDescription; // the adapter as the user knows it; may be empty
};

// The serial devices a user picks from, in the order they are offered: the
// stable names in serial/by-id (they survive re-plugging), then the ttyUSB,
// ttyACM and ttyS devices that exist, then any other port the system
// reports. USB adapters carry their vendor, product and serial number.
class CPortList
{
public:
    static QList<SSerialDevice> Devices();
    // The folder that stands for /dev; tests give one of their own.
    static void SetDeviceRoot(const QString& root);
    static QString DeviceRoot();
};
