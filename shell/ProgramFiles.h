// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the program finds its help document and keeps its settings file,
// decided from where the program file lies beside its own files.
//
// A program with its help document beside it (a build tree, a folder copied
// as a whole) keeps its settings there too. An installed program lies in
// bin/ with its help document in share/tessoly/; that folder belongs to root,
// so each user's settings live in the user's own configuration folder
// ($XDG_CONFIG_HOME/tessoly, by default ~/.config/tessoly).
class CProgramFiles
{
public:
    explicit CProgramFiles(const QString& programDir);

    bool IsInstalled() const { return m_bInstalled; }
    // The folder of the settings file, with a trailing separator.
    QString SettingsDir() const { return m_strSettingsDir; }
    QString HelpFile() const { return m_strHelpFile; }
    // Creates the settings folder when it is missing; false when it cannot be made.
    bool MakeSettingsDir() const;

    static const char* HelpFileName() { return "Tarn Front Panel Software.html"; }

private:
    bool m_bInstalled = false;
    QString m_strSettingsDir;
    QString m_strHelpFile;
};
