// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>

// Converts dialog units to pixels from the dialog font's base units, as the
// original platform does: horizontal base = average character width,
// vertical base = character height; x * base / 4 and y * base / 8.
class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont& font);
    CDialogUnits(int baseX, int baseY) : m_nBaseX(baseX), m_nBaseY(baseY) {}

    int X(int du) const { return MulDiv(du, m_nBaseX, 4); }
    int Y(int du) const { return MulDiv(du, m_nBaseY, 8); }
    QRect Rect(int x, int y, int cx, int cy) const { return QRect(X(x), Y(y), X(cx), Y(cy)); }
    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }

    // The font every template asks for ("MS Sans Serif" 8, substituted by
    // the system's sans-serif where it does not exist).
    static QFont DialogFont(const char* family, int pointSize);

private:
    static int MulDiv(int a, int b, int c);
    int m_nBaseX;
    int m_nBaseY;
};
