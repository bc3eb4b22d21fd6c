// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the module's conversation sends its commands: the panel, which owns
// both ports and logs every command.
class CModuleWriter
{
public:
    virtual ~CModuleWriter() = default;
    // A command line on the data port: command, argument and suffix, and CR
    // (a message's text ends with the argument Ctrl-Z instead). 0 when it
    // went out or was not to go out; else the write's failure code.
    virtual int SendData(const char* pszCommand, const char* pszArgument = nullptr,
                         const char* pszSuffix = nullptr) = 0;
    // A command on the trace port, one character at a time; the failure code
    // of the last character written.
    virtual int SendTrace(const char* pszCommand, const char* pszArgument = nullptr,
                          const char* pszSuffix = nullptr) = 0;
    // The data port's number, for error reports.
    virtual int DataPortNumber() const = 0;
};
