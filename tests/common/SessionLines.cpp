// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionLines.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

QList<SessionLine> ReadSessionLines(const QString& path, int* pBad)
{
    static const QRegularExpression kLine(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d) "
                       "([Dt][<>], )(.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    QList<SessionLine> lines;
    *pBad = 0;
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return lines;
    const QByteArray all = f.readAll();
    qsizetype start = 0;
    for (qsizetype end; (end = all.indexOf("\r\n", start)) >= 0; start = end + 2) {
        const QString line = QString::fromLatin1(all.mid(start, end - start));
        const QRegularExpressionMatch m = kLine.match(line);
        if (!m.hasMatch() || m.captured(3).contains(QLatin1Char('\r')) ||
            m.captured(3).contains(QLatin1Char('\n'))) {
            ++*pBad;
            continue;
        }
        SessionLine s;
        s.nTime = QDateTime::fromString(m.captured(1), Qt::ISODateWithMs).toMSecsSinceEpoch();
        s.prefix = m.captured(2).toLatin1();
        s.text = m.captured(3).toLatin1();
        lines << s;
    }
    return lines;
}
