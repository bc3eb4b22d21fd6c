// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <deque>

#include "measure/MeasureEvent.h"

// The events of the run for the event list, oldest first: time, name and
// text. It keeps the latest EVENTS_MAX; older ones are dropped.
class CEventModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum
    {
        EVENTS_MAX = 100000
    };
    enum
    {
        COL_TIME = 0,
        COL_EVENT,
        COL_TEXT,
        COL_COUNT
    };

    using QAbstractTableModel::QAbstractTableModel;

    void Add(const SMeasureEvent& event);
    void Clear();
    // The row of the latest event at or before time; -1 when none is.
    int RowAtOrBefore(const QDateTime& time) const;
    const SMeasureEvent& Event(int nRow) const { return m_events[size_t(nRow)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::deque<SMeasureEvent> m_events;
};
