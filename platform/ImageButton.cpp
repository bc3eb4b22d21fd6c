// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ImageButton.h"

#include <QPainter>
#include <QStyleOptionButton>

CImageButton::CImageButton(const QString& name, QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    LoadBitmaps(name);
}

bool CImageButton::LoadBitmaps(const QString& name)
{
    const QString base = QStringLiteral(":/images/") + name.toUpper();
    m_up = QPixmap(base + QLatin1Char('U'));
    m_down = QPixmap(base + QLatin1Char('D'));
    m_focus = QPixmap(base + QLatin1Char('F'));
    return !m_up.isNull() && !m_down.isNull() && !m_focus.isNull();
}

QSize CImageButton::sizeHint() const
{
    return m_up.isNull() ? QSize(32, 22) : m_up.size();
}

void CImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPixmap& pm = isDown() ? m_down : (hasFocus() ? m_focus : m_up);
    if (!pm.isNull()) {
        p.drawPixmap(rect(), pm);
    } else {
        QStyleOptionButton opt;
        opt.initFrom(this);
        opt.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_PushButton, &opt, &p, this);
    }
    if (!isEnabled()) {
        p.fillRect(rect(), QColor(255, 255, 255, 110));
    }
}
