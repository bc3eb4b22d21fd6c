// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class CProfileFile;

// The fleet feed's settings, section [MQTT] of the settings file.
struct SMqttSettings
{
    enum
    {
        PORT_PLAIN = 1883,
        PORT_TLS = 8883
    };

    bool bEnabled = false;
    QString strHost = QStringLiteral("127.0.0.1");
    int nPort = 0; // 0: not set, the default of the transport (Port())
    QString strTopic = QStringLiteral("tessoly");
    QString strClientId; // empty: "tessoly-" and the IMEI
    QString strUsername;
    QString strPassword;
    bool bTls = false;
    QString strCaFile;

    int Port() const { return nPort > 0 ? nPort : bTls ? PORT_TLS : PORT_PLAIN; }

    void Load(const CProfileFile& ini);
    // Writes the section; a file that then holds a password is saved
    // readable by its owner only.
    void Save(CProfileFile& ini) const;
};
