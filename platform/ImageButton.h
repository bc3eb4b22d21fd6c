// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A push button that draws itself from three images named after its
// caption with "U" (released), "D" (pressed) and "F" (focused) appended.
class CImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    CImageButton(const QString& name, QWidget* parent = nullptr);
    // Loads the three images; false when one of them is missing.
    bool LoadBitmaps(const QString& name);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_up, m_down, m_focus;
};
