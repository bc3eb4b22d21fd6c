// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

// The tree control of the forms. Besides the items it draws what the
// template's styles ask for in the indentation: dotted lines joining each
// item to its parent and siblings, lines joining the top-level items, and
// the small plus and minus boxes of items that have children.
class CTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CTreeCtrl(QWidget* parent = nullptr);
    void SetStyles(bool bButtons, bool bLines, bool bLinesAtRoot);

protected:
    void drawBranches(QPainter* p, const QRect& rect, const QModelIndex& index) const override;

private:
    bool m_bButtons = false;
    bool m_bLines = false;
};
