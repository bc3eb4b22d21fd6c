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
