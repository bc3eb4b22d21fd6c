// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "sim/SimOptions.h"

class CSimModule;

// Command line of the tarnsim program: fills the options; false with an
// error text for a bad option. bHelp is set when --help was given.
struct CSimCommandLine
{
    CSimOptions opt;
    QString strLinkDir;
    bool bHelp = false;
    QString strError;
    QString strHelp;
};
bool ParseSimCommandLine(const QStringList& args, CSimCommandLine* pResult);

// The live-event console on standard input: one command per line.
class CSimConsole
{
public:
    explicit CSimConsole(CSimModule* pModule) : m_pModule(pModule) {}
    // Runs one command and returns the reply (without line end); *pQuit is
    // set by "quit".
    QString Execute(const QString& strLine, bool* pQuit);
    static QString HelpText();

private:
    QString ReplayCommand(const QString& cmd, const QString& strArg);

    CSimModule* m_pModule;
};
