// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FieldEdit.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QImage OnScreen(QWidget& w)
{
    return w.window()
        ->screen()
        ->grabWindow(w.window()->winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(QRect(w.mapTo(w.window(), QPoint(0, 0)), w.size()));
}
} // namespace

// A read-only field shows each text exactly as an edit field draws it: when
// first shown, when shown again from its kept picture, when the text is too
// wide for one, when it is empty, and while it has the focus and a selection.
TEST(FieldEdit, ShowsWhatAnEditFieldShows)
{
    QWidget window;
    window.resize(200, 40);
    CFieldEdit field(&window);
    QLineEdit plain(&window);
    for (QLineEdit* e : {static_cast<QLineEdit*>(&field), &plain}) {
        e->setReadOnly(true);
        e->setAutoFillBackground(true);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setTextMargins(0, 0, 0, 0);
        e->setGeometry(e == &field ? 5 : 105, 9, 90, 22);
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    field.clearFocus(); // the window gives its first field the focus
    const QString wide = QStringLiteral("a text far wider than the field is");
    for (const QString& text : {QStringLiteral("-75"), QStringLiteral("12"), QStringLiteral("-75"),
                                wide, QString(), QStringLiteral("12"), wide, QString()}) {
        field.setText(text);
        plain.setText(text);
        QTest::qWait(20);
        EXPECT_EQ(OnScreen(field), OnScreen(plain)) << text.toStdString();
    }
    QImage shown[2];
    for (QLineEdit* e : {static_cast<QLineEdit*>(&field), &plain}) {
        e->setText(QStringLiteral("-75"));
        e->setFocus();
        e->selectAll();
        ASSERT_TRUE(e->hasFocus());
        QTest::qWait(20);
        shown[e == &plain] = OnScreen(*e);
    }
    EXPECT_EQ(shown[0], shown[1]);
}
