#include "protocol/AtCommands.h"

namespace {
bool IsControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}
} // namespace

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
