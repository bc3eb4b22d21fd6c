// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeFrame.h"

#include "control/TessolyDlg.h"

int FakeFrame::HasTraceFlag(int mask) const
{
    bool ok = false;
    const int v = static_cast<int>(traceFlags.trimmed().toUInt(&ok, 16));
    return ok && (v & mask) ? 1 : 0;
}

int FakeFrame::MaxPowerDbm() const
{
    return controller ? controller->MaxPowerDbm() : 43;
}
