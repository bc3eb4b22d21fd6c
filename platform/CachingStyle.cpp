// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CachingStyle.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QStyleOption>
#include <QWidget>

namespace {
// Pictures kept: far more than the panel's sizes, states and values need;
// beyond it (a palette changing again and again) they are drawn anew.
constexpr int kMaxPictures = 512;
} // namespace

CCachingStyle::CCachingStyle() = default;

bool CCachingStyle::SKey::operator==(const SKey& o) const
{
    return nKind == o.nKind && nWidth == o.nWidth && nHeight == o.nHeight && nState == o.nState &&
           nDirection == o.nDirection && nPalette == o.nPalette && nScale == o.nScale &&
           anValue[0] == o.anValue[0] && anValue[1] == o.anValue[1] && anValue[2] == o.anValue[2];
}

size_t qHash(const CCachingStyle::SKey& k, size_t seed)
{
    return qHashMulti(seed, k.nKind, k.nWidth, k.nHeight, k.nState, k.nDirection, k.nPalette,
                      k.nScale, k.anValue[0], k.anValue[1], k.anValue[2]);
}

CCachingStyle::SKey CCachingStyle::KeyOf(int nKind, const QStyleOption& option, qreal dpr)
{
    SKey key;
    key.nKind = nKind;
    key.nWidth = option.rect.width();
    key.nHeight = option.rect.height();
    key.nState = static_cast<uint>(option.state);
    key.nDirection = static_cast<int>(option.direction);
    key.nPalette = option.palette.cacheKey();
    key.nScale = qRound(dpr * 100);
    return key;
}

QPixmap CCachingStyle::Cached(const SKey& key, qreal dpr,
                              const std::function<void(QPainter&)>& draw)
{
    // The user-interface thread's own: pictures are drawn there only. They
    // go with the application, while the window system is still there.
    static QHash<SKey, QPixmap> s_pictures;
    static const bool s_bCleared = [] {
        qAddPostRoutine([] { s_pictures.clear(); });
        return true;
    }();
    Q_UNUSED(s_bCleared);
    const auto it = s_pictures.constFind(key);
    if (it != s_pictures.constEnd())
        return *it;
    QPixmap pixmap(QSize(key.nWidth, key.nHeight) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        draw(p);
    }
    if (s_pictures.size() >= kMaxPictures)
        s_pictures.clear();
    s_pictures.insert(key, pixmap);
    return pixmap;
}

void CCachingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != PE_PanelLineEdit || !frame || option->rect.isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    SKey key = KeyOf(PICTURE_EDIT_PANEL, *option, dpr);
    key.anValue[0] = frame->lineWidth;
    key.anValue[1] = frame->midLineWidth;
    key.anValue[2] = static_cast<int>(frame->features);
    QStyleOptionFrame at(*frame);
    at.rect = QRect(QPoint(0, 0), option->rect.size());
    const QPixmap pixmap = Cached(
        key, dpr, [&](QPainter& p) { QProxyStyle::drawPrimitive(element, &at, &p, widget); });
    painter->drawPixmap(option->rect.topLeft(), pixmap);
}
