// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// The events of a drive. Their names (EventName) are the ones the event
// list, the exports and the fleet feed use.
enum
{
    EVENT_POWER_ON = 0,
    EVENT_POWER_OFF,
    EVENT_REGISTERED,
    EVENT_REGISTRATION_LOST,
    EVENT_CELL_CHANGE,
    EVENT_DEDICATED_START,
    EVENT_DEDICATED_END,
    EVENT_CALL_DIALLED,
    EVENT_CALL_INCOMING,
    EVENT_CALL_CONNECTED,
    EVENT_CALL_ENDED,
    EVENT_SMS_SENT,
    EVENT_SMS_FAILED,
    EVENT_LOCATION_UPDATE,
    EVENT_BS_LOCK,
    EVENT_SCAN_START,
    EVENT_SCAN_END,
    EVENT_GPS_FIX,
    EVENT_GPS_LOST,
    EVENT_PORT_LOST,
    EVENT_COUNT
};

struct SMeasureEvent
{
    QDateTime time;
    int nEvent = EVENT_POWER_ON;
    QString strText; // a short text: the operator, the new cell, the number ...
};

// "power_on", "cell_change", ...; null outside 0 .. EVENT_COUNT - 1.
const char* EventName(int nEvent);
// The event of a name, or -1.
int EventOfName(const QString& strName);
