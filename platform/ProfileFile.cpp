// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>

CProfileFile::CProfileFile(const QString& path) : m_strPath(path), m_lines(ReadLines()) {}

QStringList CProfileFile::ReadLines() const
{
    QFile f(m_strPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(f.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool CProfileFile::Save()
{
    m_nError = QFileDevice::NoError;
    // A read-only file stays as it is, whoever runs the program: a privileged
    // user passes every access check and would replace it.
    const QFileInfo info(m_strPath);
    if (info.exists() &&
        !(info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther))) {
        m_nError = QFileDevice::PermissionsError;
        return false;
    }
    QByteArray out;
    for (const QString& l : m_lines) {
        out += l.toLatin1();
        out += "\r\n";
    }
    QSaveFile f(m_strPath);
    if (!f.open(QIODevice::WriteOnly)) {
        // The folder refuses a temporary file (no write permission, an
        // immutable or otherwise locked folder): a writable file is then
        // written where it stands.
        m_nError = f.error();
        return WriteInPlace(out);
    }
    // The mode is set before the text is written: a password is never
    // readable by others, not even for a moment.
    if (!RestrictToOwner(f.handle())) {
        f.cancelWriting();
        return false;
    }
    f.write(out);
    if (!f.commit()) {
        m_nError = f.error() != QFileDevice::NoError ? f.error() : QFileDevice::WriteError;
        return false;
    }
    return true;
}

bool CProfileFile::WriteInPlace(const QByteArray& out)
{
    // The new text overwrites the old from the start, and only then is the
    // file cut to its length: the blocks the file holds are used again.
    QFile f(m_strPath);
    if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || !RestrictToOwner(f.handle()))
        return false;
    if (f.write(out) != out.size() || !f.resize(out.size()) || !f.flush()) {
        m_nError = f.error() != QFileDevice::NoError ? f.error() : QFileDevice::WriteError;
        return false;
    }
    m_nError = QFileDevice::NoError;
    return true;
}

bool CProfileFile::RestrictToOwner(int fd)
{
    if (!m_bOwnerOnly || fchmod(fd, S_IRUSR | S_IWUSR) == 0)
        return true;
    m_nError = QFileDevice::PermissionsError;
    return false;
}

// The parsers look at views of the line: a settings file is read key by key,
// and each look would otherwise copy every line it passes.
bool CProfileFile::IsSection(QStringView line, QStringView* name)
{
    const QStringView t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype end = t.indexOf(QLatin1Char(']'));
    if (end < 0)
        return false;
    *name = t.mid(1, end - 1).trimmed();
    return true;
}

bool CProfileFile::SplitKey(QStringView line, QStringView* key, QStringView* value)
{
    const QStringView t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    *value = line.mid(eq + 1).trimmed();
    return true;
}

QString CProfileFile::GetString(const QString& section, const QString& key,
                                const QString& def) const
{
    bool inSection = false;
    for (const QString& l : m_lines) {
        QStringView name, k, v;
        if (IsSection(l, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection && SplitKey(l, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            if (v.size() >= 2 &&
                ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'))) ||
                 (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
                v = v.mid(1, v.size() - 2);
            return v.left(kMaxValue).toString();
        }
    }
    return def.left(kMaxValue);
}

bool CProfileFile::HasKey(const QString& section, const QString& key) const
{
    const QString marker = QStringLiteral("\x01missing\x01");
    return GetString(section, key, marker) != marker;
}

int CProfileFile::GetInt(const QString& section, const QString& key, int def) const
{
    const QString v = GetString(section, key, QString::number(def)).trimmed();
    int i = 0;
    bool neg = false;
    if (i < v.size() && (v[i] == QLatin1Char('-') || v[i] == QLatin1Char('+')))
        neg = v[i++] == QLatin1Char('-');
    long long n = 0;
    while (i < v.size() && v[i].isDigit()) {
        n = n * 10 + (v[i++].unicode() - '0');
        n &= 0xFFFFFFFFLL;
    }
    return static_cast<int>(static_cast<unsigned>(neg ? -n : n));
}

void CProfileFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    QStringList& lines = m_lines;
    int sectionStart = -1; // line index of the section header
    int lastKeyLine = -1;  // last non-blank line inside the section
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        QStringView name, k, v;
        if (IsSection(lines[i], &name)) {
            if (inSection)
                break;
            if (name.compare(section, Qt::CaseInsensitive) == 0) {
                inSection = true;
                sectionStart = i;
                lastKeyLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!QStringView(lines[i]).trimmed().isEmpty())
            lastKeyLine = i;
        if (SplitKey(lines[i], &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = k.toString() + QLatin1Char('=') + value;
            return;
        }
    }
    const QString entry = key + QLatin1Char('=') + value;
    if (sectionStart >= 0) {
        lines.insert(lastKeyLine + 1, entry);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(entry);
    }
}
