// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>

// Posted window messages of the program, as custom event types numbered
// QEvent::User + n.
constexpr QEvent::Type WM_DATA_LINE = static_cast<QEvent::Type>(QEvent::User + 5);
constexpr QEvent::Type WM_TRACE_LINE = static_cast<QEvent::Type>(QEvent::User + 7);
constexpr QEvent::Type WM_BCCH_CLOSED = static_cast<QEvent::Type>(QEvent::User + 9);
constexpr QEvent::Type WM_CLOSE_APP = static_cast<QEvent::Type>(QEvent::User + 10);
