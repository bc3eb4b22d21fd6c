// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BarCtrl.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Collects the area of the bar's paint events.
class PaintSpy : public QObject
{
public:
    QRegion m_painted;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            m_painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

QImage OnScreen(QWidget& w)
{
    return w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

// A new position repaints only the part between the old and the new end of
// the fill, and what is on screen afterwards is the bar at its new position.
TEST(BarCtrl, RepaintsOnlyTheChangedPartAndShowsTheNewPosition)
{
    CBarCtrl bar;
    bar.setRange(0, 63);
    bar.resize(200, 12);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    PaintSpy spy;
    bar.installEventFilter(&spy);
    for (int v : {30, 31, 63, 62, 1, 0, 40}) {
        spy.m_painted = QRegion();
        bar.setValue(v);
        QApplication::processEvents();
        const QRect painted = spy.m_painted.boundingRect();
        EXPECT_FALSE(painted.isEmpty()) << v;
        if (v == 31 || v == 62) {
            EXPECT_LT(painted.width(), bar.width() / 4) << v;
        }

        CBarCtrl fresh;
        fresh.setRange(0, 63);
        fresh.setValue(v);
        fresh.resize(bar.size());
        EXPECT_EQ(OnScreen(bar), fresh.grab().toImage().convertToFormat(QImage::Format_RGB32))
            << "position " << v;
    }
    spy.m_painted = QRegion();
    bar.setValue(40);
    QApplication::processEvents();
    EXPECT_TRUE(spy.m_painted.isEmpty());
}
