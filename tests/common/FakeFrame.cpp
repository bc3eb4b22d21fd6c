#include "FakeFrame.h"

int FakeFrame::HasTraceFlag(int mask) const
{
    bool ok = false;
    const int v = static_cast<int>(traceFlags.trimmed().toUInt(&ok, 16));
    return ok && (v & mask) ? 1 : 0;
}
