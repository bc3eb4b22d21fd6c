// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;

// Sees every line the traffic log is given, before its switches, freeze,
// cap and cut apply (the session recording is one).
class CLogObserver
{
public:
    virtual ~CLogObserver() = default;
    virtual void Record(const char* pszPrefix, const QString& strText) = 0;
};
