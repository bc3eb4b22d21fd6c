// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Diagnostics.h"

Q_LOGGING_CATEGORY(lcTrace, "tessoly.trace", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSerial, "tessoly.serial", QtWarningMsg)
Q_LOGGING_CATEGORY(lcShell, "tessoly.shell", QtWarningMsg)
