// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BarCtrl.h"

#include "platform/CachingStyle.h"

#include <QPainter>
#include <QStyleOptionProgressBar>

namespace {
// Pixels either side of the fill's end that the style may draw differently
// (rounded or highlighted end).
constexpr int kEdge = 4;
} // namespace

CBarCtrl::CBarCtrl(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
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
    const int nOldEnd = FillEnd(m_nValue);
    m_nValue = v;
    const int nNewEnd = FillEnd(v);
    update(QRect(QPoint(qMin(nOldEnd, nNewEnd) - kEdge, 0),
                 QPoint(qMax(nOldEnd, nNewEnd) + kEdge, height() - 1)));
}

void CBarCtrl::InitOption(QStyleOptionProgressBar* pOpt) const
{
    pOpt->initFrom(this);
    pOpt->minimum = m_nMin;
    pOpt->maximum = m_nMax;
    pOpt->progress = m_nValue;
    pOpt->textVisible = false;
    pOpt->state |= QStyle::State_Horizontal;
}

int CBarCtrl::FillEnd(int value) const
{
    QStyleOptionProgressBar opt;
    InitOption(&opt);
    const QRect r = style()->subElementRect(QStyle::SE_ProgressBarContents, &opt, this);
    const qint64 nSpan = qint64(m_nMax) - m_nMin;
    if (nSpan <= 0)
        return r.right();
    return r.left() + static_cast<int>(r.width() * (qint64(value) - m_nMin) / nSpan);
}

// The bar at each position is drawn by the style once and then kept as a
// picture: the style's rounded, shaded bar is costly, and the panel redraws
// a dozen bars on every report.
void CBarCtrl::paintEvent(QPaintEvent*)
{
    QStyleOptionProgressBar opt;
    InitOption(&opt);
    const qreal dpr = devicePixelRatioF();
    CCachingStyle::SKey key = CCachingStyle::KeyOf(CCachingStyle::PICTURE_BAR, opt, dpr);
    key.anValue[0] = m_nMin;
    key.anValue[1] = m_nMax;
    key.anValue[2] = m_nValue;
    const QPixmap pixmap = CCachingStyle::Cached(key, dpr, [&](QPainter& p) {
        style()->drawControl(QStyle::CE_ProgressBar, &opt, &p, this);
    });
    QPainter p(this);
    p.drawPixmap(0, 0, pixmap);
}
