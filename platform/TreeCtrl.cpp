// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TreeCtrl.h"

#include <QPainter>

namespace {
// Dotted lines every other pixel, as the platform's trees draw them.
void DotLine(QPainter* p, int x1, int y1, int x2, int y2)
{
    if (x1 == x2) {
        for (int y = y1 + ((y1 & 1) ? 1 : 0); y <= y2; y += 2)
            p->drawPoint(x1, y);
    } else {
        for (int x = x1 + ((x1 & 1) ? 1 : 0); x <= x2; x += 2)
            p->drawPoint(x, y1);
    }
}

bool HasNextSibling(const QModelIndex& index)
{
    return index.sibling(index.row() + 1, index.column()).isValid();
}
} // namespace

CTreeCtrl::CTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
}

void CTreeCtrl::SetStyles(bool bButtons, bool bLines, bool bLinesAtRoot)
{
    m_bButtons = bButtons;
    m_bLines = bLines;
    // The top-level items get a column of their own only with lines at the root.
    setRootIsDecorated(bLinesAtRoot);
    viewport()->update();
}

void CTreeCtrl::drawBranches(QPainter* p, const QRect& rect, const QModelIndex& index) const
{
    if (!m_bButtons && !m_bLines) {
        QTreeWidget::drawBranches(p, rect, index);
        return;
    }
    const int indent = indentation();
    if (indent <= 0 || rect.width() < indent)
        return;
    p->save();
    p->setPen(palette().color(QPalette::Mid));
    // The rightmost column belongs to the item itself, the ones left of it to its ancestors.
    int left = rect.left() + rect.width() - indent;
    const int cx = left + indent / 2;
    const int cy = rect.top() + rect.height() / 2;
    if (m_bLines) {
        const bool bFirstAtRoot = !index.parent().isValid() && index.row() == 0;
        DotLine(p, cx, bFirstAtRoot ? cy : rect.top(), cx,
                HasNextSibling(index) ? rect.bottom() : cy);
        DotLine(p, cx, cy, left + indent - 1, cy);
        for (QModelIndex a = index.parent(); a.isValid(); a = a.parent()) {
            left -= indent;
            if (left < rect.left())
                break;
            if (HasNextSibling(a))
                DotLine(p, left + indent / 2, rect.top(), left + indent / 2, rect.bottom());
        }
    }
    if (m_bButtons && model()->hasChildren(index)) {
        const QRect box(cx - 4, cy - 4, 9, 9);
        p->fillRect(box, palette().color(QPalette::Base));
        p->drawRect(box.adjusted(0, 0, -1, -1));
        p->setPen(palette().color(QPalette::Text));
        p->drawLine(cx - 2, cy, cx + 2, cy);
        if (!isExpanded(index))
            p->drawLine(cx, cy - 2, cx, cy + 2);
    }
    p->restore();
}
