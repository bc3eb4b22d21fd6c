// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/LogItemDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <limits>

CLogItemDelegate::CLogItemDelegate(QObject* pParent) : QStyledItemDelegate(pParent) {}

CLogItemDelegate::Layout* CLogItemDelegate::LayoutOf(const QString& strText,
                                                     const QFont& font) const
{
    if (font != m_font) {
        m_layouts.clear();
        m_font = font;
    }
    if (Layout* pLayout = m_layouts.object(strText))
        return pLayout;
    auto* pLayout = new Layout;
    QTextLayout& text = pLayout->text;
    text.setText(strText);
    text.setFont(font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    text.setTextOption(option);
    text.setCacheEnabled(true); // drawn from the glyphs laid out here
    text.beginLayout();
    QTextLine line = text.createLine();
    if (line.isValid()) {
        // Lays it out: one line, never cut.
        line.setLineWidth(std::numeric_limits<int>::max() / 256);
        line.setPosition(QPointF(0, 0));
        pLayout->size = QSizeF(line.naturalTextWidth(), line.height());
    }
    text.endLayout();
    m_layouts.insert(strText, pLayout);
    return pLayout;
}

QSize CLogItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    Layout* pLayout = LayoutOf(opt.text, opt.font);
    if (pLayout->hint.isEmpty())
        pLayout->hint = QStyledItemDelegate::sizeHint(option, index);
    return pLayout->hint;
}

void CLogItemDelegate::paint(QPainter* pPainter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* pWidget = opt.widget;
    QStyle* pStyle = pWidget ? pWidget->style() : QApplication::style();
    // The text's place and colour as the style draws a one-line item.
    const int nMargin = pStyle->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pWidget) + 1;
    const QRect textRect = opt.rect.adjusted(nMargin, 0, -nMargin, 0);
    Layout* pLayout = LayoutOf(opt.text, opt.font);
    const QSizeF size = pLayout->size;
    const bool bPlain = opt.features == QStyleOptionViewItem::HasDisplay && opt.icon.isNull() &&
                        size.width() <= textRect.width() &&
                        (opt.displayAlignment & Qt::AlignHorizontal_Mask) == Qt::AlignLeft;
    if (!bPlain) {
        // Anything else (cut with an ellipsis, an icon, a check box) is left to the style.
        QStyledItemDelegate::paint(pPainter, option, index);
        return;
    }
    // A row that is neither selected, current nor under the mouse has
    // nothing but its text on the list's own background.
    const QStyle::State marked =
        QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver;
    if ((opt.state & marked) || opt.backgroundBrush.style() != Qt::NoBrush) {
        opt.text.clear();
        pStyle->drawControl(QStyle::CE_ItemViewItem, &opt, pPainter, pWidget);
    }

    QPalette::ColorGroup group = QPalette::Normal;
    if (!(opt.state & QStyle::State_Enabled))
        group = QPalette::Disabled;
    else if (!(opt.state & QStyle::State_Active))
        group = QPalette::Inactive;
    pPainter->save();
    pPainter->setFont(opt.font);
    pPainter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    // Placed as the style places a laid-out text: its size rounded, aligned in whole pixels.
    const QRect at =
        QStyle::alignedRect(opt.direction, opt.displayAlignment, size.toSize(), textRect);
    pLayout->text.draw(pPainter, at.topLeft());
    pPainter->restore();
}
