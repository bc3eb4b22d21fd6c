// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A one-line edit field of a form. While nobody works in it (no focus, no
// selection) a read-only field shows its text from a picture it drew once
// for that text, size and look: the panel writes its fields on every
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
    struct SKey;

private:
    // Whether the field may show a kept picture now.
    bool Plain() const;
    SKey Key() const;
    // Draws the picture of what the field shows now and keeps it.
    void Keep();

    // Each field draws its own pictures: this tells them from another
    // field's, and the look they were drawn with from a later one.
    const quint64 m_nSerial;
    quint32 m_nLook = 0;
    bool m_bDrawing = false; // drawing a picture: the edit field's own painting
    bool m_bKeepQueued = false;
};
