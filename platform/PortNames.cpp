// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PortNames.h"

#include "platform/ProfileFile.h"

namespace {
QString s_strProfile;
const char* const kSection = "PORTS";
} // namespace

void CPortNames::SetProfilePath(const QString& path)
{
    s_strProfile = path;
}

QString CPortNames::ProfilePath()
{
    return s_strProfile;
}

QString CPortNames::DefaultDeviceName(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

QString CPortNames::DeviceName(int port)
{
    if (!s_strProfile.isEmpty()) {
        CProfileFile ini(s_strProfile);
        const QString dev =
            ini.GetString(QString::fromLatin1(kSection), QStringLiteral("COM%1").arg(port))
                .trimmed();
        if (!dev.isEmpty())
            return dev;
    }
    return DefaultDeviceName(port);
}

bool CPortNames::SetDevice(int port, const QString& device)
{
    if (s_strProfile.isEmpty())
        return false;
    CProfileFile ini(s_strProfile);
    ini.WriteString(QString::fromLatin1(kSection), QStringLiteral("COM%1").arg(port), device);
    return ini.Save();
}
