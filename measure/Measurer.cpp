// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/Measurer.h"

#include "trace/TraceReport.h"

CMeasurer::CMeasurer(QObject* parent) : QObject(parent) {}

void CMeasurer::SetClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QDateTime CMeasurer::Now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

void CMeasurer::Follow(const CTraceReport& report, int nReport)
{
    Q_UNUSED(report);
    Q_UNUSED(nReport);
}

void CMeasurer::OnEvent(int nEvent, const QString& strText)
{
    SMeasureEvent event;
    event.time = Now();
    event.nEvent = nEvent;
    event.strText = strText;
    emit EventReady(event);
}

void CMeasurer::SetFix(const SGpsFix& fix)
{
    m_fix = fix;
}

void CMeasurer::Reset()
{
    m_latest = SSample();
}
