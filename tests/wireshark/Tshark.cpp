// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tshark.h"

#include <QProcess>
#include <QStandardPaths>

namespace Tshark {
bool Available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("tshark")).isEmpty();
}

QString Read(const QString& strFile, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("tshark"),
            QStringList{QStringLiteral("-n"), QStringLiteral("-r"), strFile} + args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList Fields(const QString& strFile, const QStringList& fields)
{
    QStringList args{QStringLiteral("-T"), QStringLiteral("fields"), QStringLiteral("-E"),
                     QStringLiteral("separator=|")};
    for (const QString& f : fields)
        args << QStringLiteral("-e") << f;
    return Read(strFile, args).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace Tshark
