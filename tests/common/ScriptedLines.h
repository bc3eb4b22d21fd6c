// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QObject>
#include <QStringList>

#include "serial/LineSource.h"

// Lines for the panel from a script instead of a port: each line pushed
// posts one line message to the owner, as the serial channel does.
class ScriptedLines : public CLineSource
{
public:
    ScriptedLines(QObject* owner, QEvent::Type message) : m_owner(owner), m_message(message) {}
    void Push(const QString& line);
    QString GetLine() override;

private:
    QObject* m_owner;
    QEvent::Type m_message;
    QStringList m_lines;
};
