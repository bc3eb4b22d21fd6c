// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QStyleOptionProgressBar;

// A level bar (the progress-bar control of the forms). Unlike QProgressBar,
// a new position only schedules a repaint, so a burst of reports does not
// paint the bar once per line, and only of the part between the old and the
// new end of the fill. The bar paints its own background, so the form
// behind it is not repainted with it.
class CBarCtrl : public QWidget
{
    Q_OBJECT
public:
    explicit CBarCtrl(QWidget* parent = nullptr);
    void setRange(int minimum, int maximum);
    // A position outside the range shows as the nearest end.
    void setValue(int value);
    int value() const { return m_nValue; }
    int minimum() const { return m_nMin; }
    int maximum() const { return m_nMax; }
    QSize sizeHint() const override { return QSize(100, 12); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void InitOption(QStyleOptionProgressBar* pOpt) const;
    // The x coordinate where the fill of a position ends.
    int FillEnd(int value) const;

private:
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
};
