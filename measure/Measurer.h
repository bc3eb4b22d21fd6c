// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>

#include "gps/GpsFix.h"
#include "measure/EventSink.h"
#include "measure/MeasureEvent.h"
#include "measure/Sample.h"

class CTraceReport;

// The measurement layer: follows the parsed trace lines and the events of
// the conversation, and turns them into samples and events of a drive.
// Fed live by the panel, or line by line from a session recording with the
// recorded times (SetClock). It holds no widget; the chart, the event list,
// the exports and the fleet feed take what it emits.
class CMeasurer : public QObject, public CEventSink
{
    Q_OBJECT
public:
    explicit CMeasurer(QObject* parent = nullptr);

    // The time of what follows; the wall clock unless set.
    void SetClock(std::function<QDateTime()> clock);
    QDateTime Now() const;

    // One trace line after the parser took it (the record and the kind
    // ParseLine returned), before the panel presents it. Emits a sample when
    // the line changes what the panel shows of the serving cell, the air
    // interface or the neighbours, and the events the line causes
    // (cell_change, dedicated_start, dedicated_end).
    void Follow(const CTraceReport& report, int nReport);

    // An event now, with its text.
    void OnEvent(int nEvent, const QString& strText) override;

    // The latest position; samples take it while it is at most 2 s old.
    void SetFix(const SGpsFix& fix);

    // The displays were cleared: the next sample starts from nothing.
    void Reset();

    const SSample& Latest() const { return m_latest; }

signals:
    void SampleReady(const SSample& sample);
    void EventReady(const SMeasureEvent& event);

private:
    std::function<QDateTime()> m_clock;
    SSample m_latest;
    SGpsFix m_fix;
};
