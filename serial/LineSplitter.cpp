// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/LineSplitter.h"

QStringList CLineSplitter::Feed(const QByteArray& bytes)
{
    QStringList lines;
    Feed(bytes.constData(), bytes.size(), [&lines](const QString& line) { lines.append(line); });
    return lines;
}
