// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// A settings file in the Windows private profile format: sections in
// square brackets, key=value lines. Section and key names match without
// regard to case; blank lines, comments and foreign lines are kept where
// they stand. Every write replaces the file atomically, or writes it in
// place where the folder takes no new file.
class CProfileFile
{
public:
    explicit CProfileFile(const QString& path);

    const QString& Path() const { return m_strPath; }
    // The value of a key, at most 79 characters; the default when the file,
    // the section or the key is missing.
    QString GetString(const QString& section, const QString& key,
                      const QString& def = QString()) const;
    int GetInt(const QString& section, const QString& key, int def) const;
    bool HasKey(const QString& section, const QString& key) const;
    // Replaces the key's value where it stands, or adds the key at the end
    // of its section, or the section at the end of the file.
    void WriteString(const QString& section, const QString& key, const QString& value);
    // Writes the text to the file, atomically where the folder allows it and
    // in place where it refuses new files; true on success. A file without
    // write permission is left alone.
    bool Save();
    // The next Save leaves the file readable and writable by its owner only
    // (it holds a password).
    void SetOwnerOnly(bool bOn) { m_bOwnerOnly = bOn; }
    // Why the last Save failed (a QFileDevice::FileError), 0 after a success.
    int LastError() const { return m_nError; }

    static constexpr int kMaxValue = 79;

private:
    QStringList ReadLines() const;
    bool WriteInPlace(const QByteArray& out);
    bool RestrictToOwner(int fd);
    static bool IsSection(QStringView line, QStringView* name);
    static bool SplitKey(QStringView line, QStringView* key, QStringView* value);

    QString m_strPath;
    QStringList m_lines;
    int m_nError = 0;
    bool m_bOwnerOnly = false;
};
