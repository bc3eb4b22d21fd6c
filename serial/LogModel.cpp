// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/LogModel.h"

CLogModel::CLogModel(int nMaxEntries, QObject* pParent)
    : QAbstractListModel(pParent), m_nMaxEntries(nMaxEntries)
{
}

int CLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nRows;
}

QVariant CLogModel::data(const QModelIndex& index, int nRole) const
{
    if (!index.isValid() || index.row() >= m_nRows ||
        (nRole != Qt::DisplayRole && nRole != Qt::EditRole))
        return QVariant();
    return m_entries.at(index.row());
}

int CLogModel::Append(const QStringList& lines)
{
    if (lines.isEmpty())
        return 0;
    m_entries.append(lines);
    const qsizetype nDrop = m_entries.size() - m_nMaxEntries;
    int nShift = 0;
    if (nDrop > 0) {
        m_entries.remove(0, nDrop);
        // The rows there already now show later entries.
        if (m_nRows > 0)
            nShift = static_cast<int>(nDrop);
    }
    const int nRows = static_cast<int>(m_entries.size());
    if (nRows > m_nRows) {
        beginInsertRows(QModelIndex(), m_nRows, nRows - 1);
        m_nRows = nRows;
        endInsertRows();
    }
    return nShift;
}

void CLogModel::Clear()
{
    beginResetModel();
    m_entries.clear();
    m_nRows = 0;
    endResetModel();
}
