// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ChildView.h"

CChildView::CChildView(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Front panel view"));
}
