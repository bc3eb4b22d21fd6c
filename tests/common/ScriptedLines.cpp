// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedLines.h"

#include <QCoreApplication>

void ScriptedLines::Push(const QString& line)
{
    m_lines.append(line);
    QCoreApplication::postEvent(m_owner, new QEvent(m_message));
}

QString ScriptedLines::GetLine()
{
    return m_lines.isEmpty() ? QString() : m_lines.takeFirst();
}
