// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>
#include <memory>

#include "PtyPair.h"
#include "shell/MainFrm.h"

// A main frame on a settings file of its own whose two ports are
// pseudo-terminals held by the test.
class ShellFixture
{
public:
    explicit ShellFixture(const QByteArray& iniText = QByteArray(), const QStringList& args = {});
    // Creates the frame (reads the settings, lays out, opens the ports).
    bool Create();
    QString IniPath() const { return m_dir.filePath(QStringLiteral("Tarn.ini")); }
    QByteArray IniText() const;
    // Everything written to the data / trace port so far.
    QByteArray DataWire(int quietMs = 30) { return data.Read(200, quietMs); }
    QByteArray TraceWire(int quietMs = 30) { return trace.Read(200, quietMs); }

    QTemporaryDir m_dir;
    PtyPair data;
    PtyPair trace;
    std::unique_ptr<CMainFrame> frame;
};
