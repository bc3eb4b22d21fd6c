// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>

// Posted by a channel's reader to the channel's owner at the moment the
// device goes away (hung up, unplugged, the other end closed). It names the
// channel by the line message the channel posts, which the owner already
// tells its channels apart by.
class CPortLostEvent : public QEvent
{
public:
    explicit CPortLostEvent(QEvent::Type nLineMessage)
        : QEvent(Type()), m_nLineMessage(nLineMessage)
    {
    }
    static QEvent::Type Type()
    {
        static const QEvent::Type nType = static_cast<QEvent::Type>(QEvent::registerEventType());
        return nType;
    }
    QEvent::Type LineMessage() const { return m_nLineMessage; }

private:
    QEvent::Type m_nLineMessage;
};
