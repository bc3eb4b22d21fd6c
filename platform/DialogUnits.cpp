// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DialogUnits.h"

#include <QFontMetrics>

CDialogUnits::CDialogUnits(const QFont& font)
{
    QFontMetrics fm(font);
    // The classic average: the width of the 52 letters, rounded.
    const int width = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (width / 26 + 1) / 2;
    m_nBaseY = fm.height();
    if (m_nBaseX < 1)
        m_nBaseX = 1;
    if (m_nBaseY < 1)
        m_nBaseY = 1;
}

QFont CDialogUnits::DialogFont(const char* family, int pointSize)
{
    QFont font(QString::fromLatin1(family ? family : "MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize > 0 ? pointSize : 8);
    // Forms show plain Latin text: laid out glyph by glyph, without the
    // font's optional shaping (kerning pairs), as the classic dialogs drew
    // it. Every field and log row is laid out anew as values arrive, and
    // shaping is most of that cost.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

int CDialogUnits::MulDiv(int a, int b, int c)
{
    const long long p = static_cast<long long>(a) * b;
    // Rounded like the platform's MulDiv.
    return static_cast<int>(p >= 0 ? (p + c / 2) / c : (p - c / 2) / c);
}
