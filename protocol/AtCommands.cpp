// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/AtCommands.h"

namespace {
bool IsControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}
} // namespace

QByteArray AtCommandLine(const char* pszCommand, const char* pszArgument, const char* pszSuffix)
{
    QByteArray text(pszCommand ? pszCommand : "");
    if (pszArgument) {
        if (!*pszArgument)
            return QByteArray();
        text += pszArgument;
    }
    if (pszSuffix)
        text += pszSuffix;
    if (!(pszArgument && qstrcmp(pszArgument, AT_END_OF_TEXT) == 0))
        text += '\r';
    return text;
}

QString AtMessageText(const QString& strText)
{
    QString clean;
    clean.reserve(strText.size());
    for (QChar c : strText) {
        if (!IsControl(c))
            clean.append(c);
    }
    return clean;
}
