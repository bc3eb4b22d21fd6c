// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

ModalAnswerer::ModalAnswerer()
{
    qApp->installEventFilter(this);
}

ModalAnswerer::~ModalAnswerer()
{
    qApp->removeEventFilter(this);
}

bool ModalAnswerer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && (qobject_cast<QMessageBox*>(w) || qobject_cast<QDialog*>(w)) &&
            w->isModal()) {
            QPointer<QWidget> guard(w);
            // Answer once the modal loop runs.
            QTimer::singleShot(0, this, [this, guard] {
                if (guard)
                    Answer(guard);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void ModalAnswerer::Answer(QWidget* w)
{
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        messages << box->text();
        if (handler && handler(w))
            return;
        QAbstractButton* b = answerCancel ? box->button(QMessageBox::Cancel) : nullptr;
        if (!b)
            b = box->button(QMessageBox::Ok);
        if (!b)
            b = box->defaultButton();
        if (b)
            b->click();
        else
            box->reject();
        return;
    }
    ++dialogsSeen;
    if (handler && handler(w))
        return;
    if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
}
