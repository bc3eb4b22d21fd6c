// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QProxyStyle>
#include <functional>

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

    // What a picture depends on: the option's size, state, direction and
    // palette, the scale, and what kind of picture with which values.
    struct SKey
    {
        int nKind = 0; // PICTURE_*
        int nWidth = 0;
        int nHeight = 0;
        uint nState = 0;
        int nDirection = 0;
        qint64 nPalette = 0;
        int nScale = 100; // device pixel ratio in per cent
        int anValue[3] = {0, 0, 0};
        bool operator==(const SKey& o) const;
    };
    enum
    {
        PICTURE_EDIT_PANEL = 1,
        PICTURE_BAR = 2
    };
    static SKey KeyOf(int nKind, const QStyleOption& option, qreal dpr);

    // The picture of what draw paints in a rectangle of the key's size at
    // the scale dpr, drawn once and then kept (a few hundred at most).
    static QPixmap Cached(const SKey& key, qreal dpr, const std::function<void(QPainter&)>& draw);
};

size_t qHash(const CCachingStyle::SKey& key, size_t seed = 0);
