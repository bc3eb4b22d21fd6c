// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Takes the events of a drive (EVENT_* of MeasureEvent.h) as they happen;
// the measurement layer stamps them with their time.
class CEventSink
{
public:
    virtual ~CEventSink() = default;
    virtual void OnEvent(int nEvent, const QString& strText) = 0;
};
