// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the settings-file reader and writer. The input is cut in two at
// its first 0xFF byte: the rest after it is a settings file as it may lie
// on disk; the bytes before it give a section, a key and a value (cut at
// 0xFE bytes) and the probes. The file is read, the key is written and
// saved, the file is read back: the key reads as written, and every probe
// (each section named in the file against each key named in it) reads as it
// did before the write.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FuzzCommon.h"
#include "platform/ProfileFile.h"

namespace {

QString s_strPath;

// What a value reads back as: without blanks at its ends or one pair of
// enclosing quotes, and at most kMaxValue characters.
QString ReadBack(const QString& value)
{
    QString v = value.trimmed();
    if (v.size() >= 2 &&
        ((v.startsWith(u'"') && v.endsWith(u'"')) || (v.startsWith(u'\'') && v.endsWith(u'\''))))
        v = v.mid(1, v.size() - 2);
    return v.left(CProfileFile::kMaxValue);
}

// A section, key and value the file can hold: one line each, names without
// blanks at their ends, a section name without ']', a key that does not read
// as a comment or a section and holds no '='.
bool Writable(const QString& section, const QString& key, const QString& value)
{
    for (const QString& s : {section, key, value}) {
        if (s.contains(u'\r') || s.contains(u'\n'))
            return false;
    }
    return section.trimmed() == section && !section.contains(u']') && key.trimmed() == key &&
           !key.contains(u'=') && !key.startsWith(u';') && !key.startsWith(u'[');
}

void WriteFile(const QByteArray& bytes)
{
    QFile f(s_strPath);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // In memory where there is a file system for it: every save syncs the
    // file to its disk, which would make the run wait on the disk.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/fuzz-profile-XXXXXX"));
    FUZZ_CHECK(dir.isValid());
    s_strPath = dir.filePath(QStringLiteral("Tarn.ini"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype nCut = input.indexOf('\xFF');
    if (nCut < 0)
        return 0;
    const QByteArray fileBytes = input.mid(nCut + 1);
    const QList<QByteArray> words = input.left(nCut).split('\xFE');
    if (words.size() < 3)
        return 0;
    const QString section = QString::fromLatin1(words[0]);
    const QString key = QString::fromLatin1(words[1]);
    const QString value = QString::fromLatin1(words[2]);
    if (!Writable(section, key, value))
        return 0;

    WriteFile(fileBytes);
    CProfileFile before(s_strPath);

    // Probes: the names the file's lines carry, as a reader would ask for them.
    QStringList sections{section}, keys{key};
    for (const QByteArray& raw : fileBytes.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        const qsizetype nEnd = line.indexOf(u']');
        if (line.startsWith(u'[') && nEnd > 0 && sections.size() < 8)
            sections << line.mid(1, nEnd - 1).trimmed();
        else if (line.contains(u'=') && keys.size() < 16)
            keys << line.left(line.indexOf(u'=')).trimmed();
    }
    const QString kMissing = QStringLiteral("\x01");
    QStringList expected;
    for (const QString& s : sections) {
        for (const QString& k : keys)
            expected << before.GetString(s, k, kMissing);
    }

    CProfileFile file(s_strPath);
    file.WriteString(section, key, value);
    FUZZ_CHECK(file.GetString(section, key) == ReadBack(value));
    FUZZ_CHECK(file.Save());
    const CProfileFile after(s_strPath);
    FUZZ_CHECK(after.GetString(section, key, kMissing) == ReadBack(value));
    int i = 0;
    for (const QString& s : sections) {
        for (const QString& k : keys) {
            const bool bWritten = s.compare(section, Qt::CaseInsensitive) == 0 &&
                                  k.compare(key, Qt::CaseInsensitive) == 0;
            FUZZ_CHECK(bWritten || after.GetString(s, k, kMissing) == expected[i]);
            ++i;
        }
    }
    return 0;
}
