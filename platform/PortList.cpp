// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PortList.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <QStringList>
#include <algorithm>

namespace {
QString s_strRoot = QStringLiteral("/dev");

// "FTDI, FT232R USB UART, serial A50285BI, USB 0403:6001"
QString Details(const QSerialPortInfo* pInfo)
{
    QStringList parts;
    if (!pInfo)
        return QString();
    if (!pInfo->manufacturer().isEmpty())
        parts << pInfo->manufacturer();
    if (!pInfo->description().isEmpty() && pInfo->description() != pInfo->manufacturer())
        parts << pInfo->description();
    if (!pInfo->serialNumber().isEmpty())
        parts << QStringLiteral("serial %1").arg(pInfo->serialNumber());
    if (pInfo->hasVendorIdentifier() && pInfo->hasProductIdentifier())
        parts << QStringLiteral("USB %1:%2")
                     .arg(pInfo->vendorIdentifier(), 4, 16, QLatin1Char('0'))
                     .arg(pInfo->productIdentifier(), 4, 16, QLatin1Char('0'));
    return parts.join(QStringLiteral(", "));
}

// Names in numeric order: ttyUSB2 before ttyUSB10.
void SortByNumber(QStringList* names)
{
    std::sort(names->begin(), names->end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
}
} // namespace

void CPortList::SetDeviceRoot(const QString& root)
{
    s_strRoot = root;
}

QString CPortList::DeviceRoot()
{
    return s_strRoot;
}

QList<SSerialDevice> CPortList::Devices()
{
    QHash<QString, QSerialPortInfo> infos; // by the device's path
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        infos.insert(info.systemLocation(), info);
    auto infoOf = [&infos](const QString& path) {
        auto it = infos.constFind(QFileInfo(path).canonicalFilePath());
        if (it == infos.constEnd())
            it = infos.constFind(path);
        return it == infos.constEnd() ? nullptr : &*it;
    };

    QList<SSerialDevice> devices;
    QStringList listed;
    const QDir byId(s_strRoot + QStringLiteral("/serial/by-id"));
    const QStringList links =
        byId.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : links) {
        const QString path = byId.filePath(name);
        const QFileInfo target(QFileInfo(path).canonicalFilePath());
        if (!target.exists())
            continue;
        // The stable name says which adapter; the kernel's name says where it is now.
        const QString details = Details(infoOf(path));
        devices.append({path, details.isEmpty()
                                  ? target.fileName()
                                  : target.fileName() + QStringLiteral(": ") + details});
        listed << path;
    }

    const QDir root(s_strRoot);
    for (const char* pattern : {"ttyUSB*", "ttyACM*", "ttyS*"}) {
        QStringList names = root.entryList({QString::fromLatin1(pattern)},
                                           QDir::Files | QDir::System | QDir::NoDotAndDotDot);
        SortByNumber(&names);
        const bool bBuiltIn = pattern[3] == 'S';
        for (const QString& name : names) {
            const QString path = root.filePath(name);
            const QSerialPortInfo* pInfo = infoOf(path);
            // The kernel makes ttyS0 to ttyS31 whether or not a UART is behind them.
            if (bBuiltIn && !pInfo)
                continue;
            devices.append({path, Details(pInfo)});
            listed << path;
        }
    }

    for (const QSerialPortInfo& info : ports) {
        const QString path = info.systemLocation();
        if (path.startsWith(s_strRoot + QLatin1Char('/')) && !listed.contains(path)) {
            devices.append({path, Details(&info)});
            listed << path;
        }
    }
    return devices;
}
