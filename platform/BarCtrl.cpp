#include "platform/BarCtrl.h"

#include <QPainter>
#include <QStyleOptionProgressBar>

CBarCtrl::CBarCtrl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CBarCtrl::setRange(int minimum, int maximum)
{
    m_nMin = minimum;
    m_nMax = qMax(minimum, maximum);
    setValue(m_nValue);
    update();
}

void CBarCtrl::setValue(int value)
{
    const int v = qBound(m_nMin, value, m_nMax);
    if (v == m_nValue)
        return;
    m_nValue = v;
    update();
}

void CBarCtrl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOptionProgressBar opt;
    opt.initFrom(this);
    opt.minimum = m_nMin;
    opt.maximum = m_nMax;
    opt.progress = m_nValue;
    opt.textVisible = false;
    opt.state |= QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_ProgressBar, &opt, &p, this);
}
