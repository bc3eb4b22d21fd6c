// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

// The child of w of type T with the accessible name, as assistive tools find it.
template <class T> T* AccessibleChild(const QWidget* w, const QString& name)
{
    for (T* c : w->findChildren<T*>()) {
        if (c->accessibleName() == name)
            return c;
    }
    return nullptr;
}
