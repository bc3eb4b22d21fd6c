// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCache>
#include <QSize>
#include <QStyledItemDelegate>
#include <QTextLayout>

// Draws the rows of a log list as the style's own delegate does, but lays
// each text out once: a log scrolls a line at a time, so every row is drawn
// again at each new line while its text stays the same.
class CLogItemDelegate : public QStyledItemDelegate
{
public:
    explicit CLogItemDelegate(QObject* pParent = nullptr);

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    struct Layout
    {
        QTextLayout text; // one line, laid out
        QSizeF size;      // of the line
        QSize hint;       // the style's size for this text; empty until asked
    };
    Layout* LayoutOf(const QString& strText, const QFont& font) const;

    // Room for two full lists of entries, so that a scrolling list finds
    // every row it draws.
    mutable QCache<QString, Layout> m_layouts{2048};
    mutable QFont m_font;
};
