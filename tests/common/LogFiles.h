// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>

// Traffic log files for the tests: a log entry as a session recording has
// it, at ms after a fixed start, and a file of such lines.
inline QByteArray StampedEntry(int ms, const QByteArray& entry)
{
    const QDateTime t = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 2)).addMSecs(ms);
    return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toLatin1() + ' ' + entry;
}

inline bool WriteLogFile(const QString& strPath, const QList<QByteArray>& lines)
{
    QFile f(strPath);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray& l : lines)
        f.write(l + "\r\n");
    return f.flush();
}
