// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString WithSeparator(const QString& dir)
{
    QString d = QDir::toNativeSeparators(dir);
    if (!d.endsWith(QDir::separator()))
        d += QDir::separator();
    return d;
}
} // namespace

CProgramFiles::CProgramFiles(const QString& programDir)
{
    const QDir dir(programDir);
    const QString name = QString::fromLatin1(HelpFileName());
    const QString installedHelp = dir.absoluteFilePath(QStringLiteral("../share/tessoly/") + name);
    m_bInstalled = !dir.exists(name) && QFileInfo::exists(installedHelp);
    if (m_bInstalled) {
        m_strSettingsDir =
            WithSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          QStringLiteral("/tessoly"));
        m_strHelpFile = QDir::toNativeSeparators(QDir::cleanPath(installedHelp));
    } else {
        m_strSettingsDir = WithSeparator(programDir);
        m_strHelpFile = m_strSettingsDir + name;
    }
}

bool CProgramFiles::MakeSettingsDir() const
{
    return QDir().mkpath(m_strSettingsDir);
}
