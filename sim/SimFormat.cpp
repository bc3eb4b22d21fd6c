// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimFormat.h"

#include <cstdarg>
#include <cstdio>

QByteArray Fmt(const char* pszFormat, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, pszFormat);
    vsnprintf(buf, sizeof buf, pszFormat, ap);
    va_end(ap);
    return QByteArray(buf);
}

QByteArray Unquote(QByteArray s)
{
    s = s.trimmed();
    if (s.size() >= 2 && s.startsWith('"') && s.endsWith('"'))
        return s.mid(1, s.size() - 2);
    return s;
}

bool IsPhoneNumber(const QByteArray& s)
{
    if (s.isEmpty() || s.size() > MAX_NUMBER)
        return false;
    for (char c : s) {
        if (!((c >= '0' && c <= '9') || c == '+' || c == '*' || c == '#'))
            return false;
    }
    return true;
}
