// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The entries of one log list, at most a given number of them. New lines
// come in batches; once the list is full its rows stay and take the next
// texts. The rows are one text line each and keep their places and sizes,
// so the list's own view is then only drawn again: the model does not say
// dataChanged for them, because a list view lays every row out again on it.
class CLogModel : public QAbstractListModel
{
public:
    explicit CLogModel(int nMaxEntries, QObject* pParent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;

    // Appends the lines as entries; the oldest go beyond the maximum. Gives
    // how many places the entries in the rows the views know of moved up
    // (0: none moved): the caller has its view drawn again.
    int Append(const QStringList& lines);
    void Clear();
    const QStringList& Entries() const { return m_entries; }

private:
    const int m_nMaxEntries;
    QStringList m_entries;
    // Rows the views know of: the entries, but for a moment while appending.
    int m_nRows = 0;
};
