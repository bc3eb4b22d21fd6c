// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One line of a session file, split as a test reads it.
struct SessionLine
{
    qint64 nTime = -1; // local time in ms since the epoch
    QByteArray prefix; // "D>, ", "D<, ", "t>, " or "t<, "
    QByteArray text;   // the rest of the line
};

// The complete lines (ended by CR LF) of a session file. A line that does not
// have the form "YYYY-MM-DDTHH:MM:SS.mmm PREFIX TEXT" counts in *pBad.
QList<SessionLine> ReadSessionLines(const QString& path, int* pBad);
