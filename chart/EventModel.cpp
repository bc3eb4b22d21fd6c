// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/EventModel.h"

#include <algorithm>

void CEventModel::Clear()
{
    beginResetModel();
    m_events.clear();
    endResetModel();
}

int CEventModel::RowAtOrBefore(const QDateTime& time) const
{
    const auto later =
        std::upper_bound(m_events.begin(), m_events.end(), time,
                         [](const QDateTime& t, const SMeasureEvent& e) { return t < e.time; });
    return int(later - m_events.begin()) - 1;
}

void CEventModel::Add(const SMeasureEvent& event)
{
    if (m_events.size() >= EVENTS_MAX) {
        beginRemoveRows(QModelIndex(), 0, 0);
        m_events.pop_front();
        endRemoveRows();
    }
    const int nRow = int(m_events.size());
    beginInsertRows(QModelIndex(), nRow, nRow);
    m_events.push_back(event);
    endInsertRows();
}

int CEventModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_events.size());
}

int CEventModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : COL_COUNT;
}

QVariant CEventModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return QVariant();
    const SMeasureEvent& e = Event(index.row());
    switch (index.column()) {
    case COL_TIME:
        return e.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case COL_EVENT: {
        const char* name = EventName(e.nEvent);
        return name ? QString::fromLatin1(name) : QString::number(e.nEvent);
    }
    case COL_TEXT:
        return e.strText;
    default:
        return QVariant();
    }
}

QVariant CEventModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QVariant();
    static const char* const kHeaders[COL_COUNT] = {"Time", "Event", "Text"};
    return section >= 0 && section < COL_COUNT ? QString::fromLatin1(kHeaders[section])
                                               : QVariant();
}
