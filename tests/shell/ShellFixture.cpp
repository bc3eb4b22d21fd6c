// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include <QFile>

#include "control/TessolyDlg.h"
#include "serial/SerialPort.h"

ShellFixture::ShellFixture(const QByteArray& iniText, const QStringList& args)
{
    QByteArray text = iniText;
    text += "\r\n[PORTS]\r\nCOM1=" + data.SlavePath().toLatin1() +
            "\r\nCOM2=" + trace.SlavePath().toLatin1() + "\r\n";
    QFile f(IniPath());
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    f.close();
    QStringList a = args;
    a.prepend(QStringLiteral("/opt/tessoly/tessoly"));
    frame = std::make_unique<CMainFrame>(a);
    frame->SetProgramDir(m_dir.path());
}

bool ShellFixture::Create()
{
    CTessolyDlg* c = frame->m_pController.get();
    // Fast pacing for tests; the order of the commands is what is checked.
    c->m_nTraceCharDelay = 0;
    c->m_nPowerOnWait = 0;
    c->m_nPowerOffDelay = 0;
    c->m_nClosePause = 0;
    c->m_nIdlePause = 0;
    if (!frame->Create())
        return false;
    // Every test here runs with both ports open.
    return c->DataPort() && c->DataPort()->IsOpen() && c->TracePort() && c->TracePort()->IsOpen();
}

QByteArray ShellFixture::IniText() const
{
    QFile f(IniPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
