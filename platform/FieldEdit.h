// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <algorithm>

// A one-line edit field of a form. While nobody works in it (no focus, no
// selection) a read-only field shows its text from a picture it took the
// first time it drew that text, size and look (from the window's picture,
// or drawn once more where there is none): the panel writes its fields on every
// report, with values that come round again, and laying out and drawing a
// text costs far more than copying a picture. A text that does not fit, or
// a field in use, is drawn as any edit field is.
class CFieldEdit : public QLineEdit
{
public:
    explicit CFieldEdit(QWidget* pParent = nullptr);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

public:
    // What a picture depends on: the field, its text and its look.
    struct SKey
    {
        quint64 nSerial = 0; // the field
        quint32 nLook = 0;   // its font and style so far
        QString strText;
        int nWidth = 0;
        int nHeight = 0;
        qint64 nPalette = 0;
        int nScale = 100; // device pixel ratio in per cent
        int nAlignment = 0;
        uint nFlags = 0; // enabled, active window, under the mouse, framed
        int anMargins[4] = {0, 0, 0, 0};
        bool operator==(const SKey& o) const
        {
            return nSerial == o.nSerial && nLook == o.nLook && strText == o.strText &&
                   nWidth == o.nWidth && nHeight == o.nHeight && nPalette == o.nPalette &&
                   nScale == o.nScale && nAlignment == o.nAlignment && nFlags == o.nFlags &&
                   std::equal(anMargins, anMargins + 4, o.anMargins);
        }
    };

private:
    // Whether the field may show a kept picture now.
    bool Plain() const;
    SKey Key() const;
    // Draws the picture of what the field shows now and keeps it.
    void Keep();
    // What the field painted last, from the window's picture; null when that
    // is not what it shows now.
    QPixmap Painted() const;

    // Each field draws its own pictures: this tells them from another
    // field's, and the look they were drawn with from a later one.
    const quint64 m_nSerial;
    quint32 m_nLook = 0;
    bool m_bDrawing = false; // drawing a picture: the edit field's own painting
    bool m_bKeepQueued = false;
    bool m_bWhollyPainted = false; // the last painting covered the whole field
    SKey m_paintedKey;             // and showed this
    QPoint m_paintedAt;            // at this place in its window
};
