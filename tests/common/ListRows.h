// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemView>
#include <QStringList>

// A list view read as it shows its rows.
inline int RowCount(const QAbstractItemView& view)
{
    return view.model() ? view.model()->rowCount() : 0;
}

inline QString RowText(const QAbstractItemView& view, int nRow)
{
    return view.model() ? view.model()->index(nRow, 0).data().toString() : QString();
}

inline QStringList RowTexts(const QAbstractItemView& view)
{
    QStringList rows;
    for (int i = 0; i < RowCount(view); ++i)
        rows << RowText(view, i);
    return rows;
}

inline int CurrentRow(const QAbstractItemView& view)
{
    return view.currentIndex().row();
}
