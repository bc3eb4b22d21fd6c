// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CachingStyle.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleOption>
#include <QWidget>

CCachingStyle::CCachingStyle() = default;

QString CCachingStyle::OptionKey(const QStyleOption& option, qreal dpr)
{
    return QStringLiteral("%1x%2:%3:%4:%5:%6")
        .arg(option.rect.width())
        .arg(option.rect.height())
        .arg(static_cast<uint>(option.state))
        .arg(static_cast<int>(option.direction))
        .arg(option.palette.cacheKey())
        .arg(dpr);
}

QPixmap CCachingStyle::Cached(const QString& strKey, const QSize& size, qreal dpr,
                              const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap;
    if (QPixmapCache::find(strKey, &pixmap))
        return pixmap;
    pixmap = QPixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        draw(p);
    }
    QPixmapCache::insert(strKey, pixmap);
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
    const QString key = QStringLiteral("tessoly-edit:") + OptionKey(*option, dpr) +
                        QStringLiteral(":%1:%2:%3")
                            .arg(frame->lineWidth)
                            .arg(frame->midLineWidth)
                            .arg(static_cast<int>(frame->features));
    QStyleOptionFrame at(*frame);
    at.rect = QRect(QPoint(0, 0), option->rect.size());
    const QPixmap pixmap = Cached(key, at.rect.size(), dpr, [&](QPainter& p) {
        QProxyStyle::drawPrimitive(element, &at, &p, widget);
    });
    painter->drawPixmap(option->rect.topLeft(), pixmap);
}
