// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Development diagnostics, never shown to the user.
Q_DECLARE_LOGGING_CATEGORY(lcTrace)
Q_DECLARE_LOGGING_CATEGORY(lcSerial)
Q_DECLARE_LOGGING_CATEGORY(lcShell)
