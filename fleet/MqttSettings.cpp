// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/MqttSettings.h"

#include "platform/ProfileFile.h"

namespace {
const QString kSection = QStringLiteral("MQTT");
const QString kEnabled = QStringLiteral("Enabled");
const QString kHost = QStringLiteral("Host");
const QString kPort = QStringLiteral("Port");
const QString kTopic = QStringLiteral("Topic");
const QString kClientId = QStringLiteral("ClientId");
const QString kUsername = QStringLiteral("Username");
const QString kPassword = QStringLiteral("Password");
const QString kTls = QStringLiteral("Tls");
const QString kCaFile = QStringLiteral("CaFile");

QString Flag(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

void SMqttSettings::Load(const CProfileFile& ini)
{
    const SMqttSettings def;
    bEnabled = ini.GetInt(kSection, kEnabled, 0) != 0;
    strHost = ini.GetString(kSection, kHost, def.strHost);
    nPort = ini.GetInt(kSection, kPort, 0);
    if (nPort < 0 || nPort > 65535)
        nPort = 0;
    strTopic = ini.GetString(kSection, kTopic, def.strTopic);
    strClientId = ini.GetString(kSection, kClientId);
    strUsername = ini.GetString(kSection, kUsername);
    strPassword = ini.GetString(kSection, kPassword);
    bTls = ini.GetInt(kSection, kTls, 0) != 0;
    strCaFile = ini.GetString(kSection, kCaFile);
}

void SMqttSettings::Save(CProfileFile& ini) const
{
    ini.WriteString(kSection, kEnabled, Flag(bEnabled));
    ini.WriteString(kSection, kHost, strHost);
    // A port never set follows the transport: 8883 once TLS is switched on.
    if (nPort > 0 || ini.HasKey(kSection, kPort))
        ini.WriteString(kSection, kPort, nPort > 0 ? QString::number(nPort) : QString());
    ini.WriteString(kSection, kTopic, strTopic);
    ini.WriteString(kSection, kClientId, strClientId);
    ini.WriteString(kSection, kUsername, strUsername);
    ini.WriteString(kSection, kPassword, strPassword);
    ini.WriteString(kSection, kTls, Flag(bTls));
    ini.WriteString(kSection, kCaFile, strCaFile);
    if (!strPassword.isEmpty())
        ini.SetOwnerOnly(true);
}
