// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The frame's client view. It paints nothing; its rectangle tells the
// frame where the front panel goes.
class CChildView : public QWidget
{
    Q_OBJECT
public:
    explicit CChildView(QWidget* parent = nullptr);

signals:
    void Resized();

protected:
    void paintEvent(QPaintEvent*) override {}
    void resizeEvent(QResizeEvent*) override { emit Resized(); }
};
