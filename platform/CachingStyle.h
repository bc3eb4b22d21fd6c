// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>
#include <functional>

class QPixmap;

// The application's style with the frames of the edit fields kept as
// pictures: the panel rewrites a dozen fields on every report, and drawing
// a field's rounded, antialiased frame costs far more than its text. The
// picture is drawn by the style itself once per size, state and palette, so
// what is shown is the same.
class CCachingStyle : public QProxyStyle
{
public:
    CCachingStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

    // The picture of what draw paints in a rectangle of size at the painter's
    // scale, from the cache when it has one for the key.
    static QPixmap Cached(const QString& strKey, const QSize& size, qreal dpr,
                          const std::function<void(QPainter&)>& draw);
    // The part of a cache key that every drawing of a style option shares:
    // size, state, direction and palette.
    static QString OptionKey(const QStyleOption& option, qreal dpr);
};
