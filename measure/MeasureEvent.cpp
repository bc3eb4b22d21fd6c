// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/MeasureEvent.h"

namespace {
const char* const kEventNames[EVENT_COUNT] = {
    "power_on",        "power_off",     "registered",   "registration_lost", "cell_change",
    "dedicated_start", "dedicated_end", "call_dialled", "call_incoming",     "call_connected",
    "call_ended",      "sms_sent",      "sms_failed",   "location_update",   "bs_lock",
    "scan_start",      "scan_end",      "gps_fix",      "gps_lost",          "port_lost",
};
} // namespace

const char* EventName(int nEvent)
{
    return nEvent >= 0 && nEvent < EVENT_COUNT ? kEventNames[nEvent] : nullptr;
}

int EventOfName(const QString& strName)
{
    for (int i = 0; i < EVENT_COUNT; ++i)
        if (strName == QLatin1String(kEventNames[i]))
            return i;
    return -1;
}
