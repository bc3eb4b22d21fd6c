// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/LogItemDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

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
    pLayout->text.setText(strText);
    pLayout->text.setTextFormat(Qt::PlainText);
    pLayout->text.setPerformanceHint(QStaticText::AggressiveCaching);
    pLayout->text.prepare(QTransform(), font);
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
    const QSizeF size = pLayout->text.size();
    const bool bPlain = opt.features == QStyleOptionViewItem::HasDisplay && opt.icon.isNull() &&
                        size.width() <= textRect.width() &&
                        (opt.displayAlignment & Qt::AlignHorizontal_Mask) == Qt::AlignLeft;
    if (!bPlain) {
        // Anything else (cut with an ellipsis, an icon, a check box) is left to the style.
        QStyledItemDelegate::paint(pPainter, option, index);
        return;
    }
    opt.text.clear();
    pStyle->drawControl(QStyle::CE_ItemViewItem, &opt, pPainter, pWidget);

    QPalette::ColorGroup group = QPalette::Normal;
    if (!(opt.state & QStyle::State_Enabled))
        group = QPalette::Disabled;
    else if (!(opt.state & QStyle::State_Active))
        group = QPalette::Inactive;
    pPainter->save();
    pPainter->setFont(opt.font);
    pPainter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    qreal y = textRect.top();
    if (opt.displayAlignment & Qt::AlignVCenter)
        y += (textRect.height() - size.height()) / 2;
    else if (opt.displayAlignment & Qt::AlignBottom)
        y = textRect.bottom() + 1 - size.height();
    pPainter->drawStaticText(QPointF(textRect.left(), y), pLayout->text);
    pPainter->restore();
}
