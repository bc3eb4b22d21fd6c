// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>

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
    // The panel emptied its serving cell (MCC, MNC, LAC, CI, BCCH, BSIC).
    void ResetServingCell();
    // The panel emptied its meters (RX Lev, RX Qual, TA, output power), its
    // neighbour rows and its traffic channels.
    void ResetMeters();

    const SSample& Latest() const { return m_latest; }

    // How old a fix may be for a sample to carry it.
    static const int FIX_MAX_AGE_MS = 2000;

signals:
    void SampleReady(const SSample& sample);
    void EventReady(const SMeasureEvent& event);

private:
    void FollowReport(const CTraceReport& r, int nReport);
    void FollowNeighbours(const CTraceReport& r, int nReport);
    void SetMode(int nMode);
    void TakeCell(const char* pszBcch, const char* pszCi);
    SGpsFix CurrentFix(const QDateTime& now) const;

    std::function<QDateTime()> m_clock;
    SSample m_latest; // the latest sample emitted
    SSample m_shown;  // what the panel shows now (no time, no fix)
    SGpsFix m_fix;
    // The panel's band power and what it takes it from: the first row of
    // its traffic channels, or the BCCH text.
    int m_nMaxPowerDbm;
    bool m_bChannelRows = false;
    QString m_strFirstChannel;
    QString m_strBcch;
    // The serving cell last known, for cell_change.
    std::optional<int> m_nCellBcch;
    std::optional<int> m_nCellCi;
    // The BCCH changed and the new cell's CI has not come yet: its arrival
    // is the same change.
    bool m_bCiAwaited = false;
    // The events of the line being followed, emitted after its sample.
    QList<QPair<int, QString>> m_lineEvents;
};
