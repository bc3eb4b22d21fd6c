// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/PortNames.h"
#include "platform/ProfileFile.h"

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST(ProfileFile, MissingFileAndKeysGiveDefaults)
{
    QTemporaryDir dir;
    CProfileFile ini(dir.filePath(QStringLiteral("none.ini")));
    EXPECT_EQ(
        ini.GetString(QStringLiteral("MISC"), QStringLiteral("Options"), QStringLiteral("13")),
        QStringLiteral("13"));
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("Left"), 176), 176);
    EXPECT_FALSE(ini.HasKey(QStringLiteral("MISC"), QStringLiteral("Options")));
}

TEST(ProfileFile, NamesMatchWithoutCaseAndValuesAreCutAt79)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    WriteAll(path, "; comment\r\n[misc]\r\nOPTIONS = 1b\r\nLong=" + QByteArray(100, 'x') +
                       "\r\n\r\n[Window]\r\nleft=-20px\r\n");
    CProfileFile ini(path);
    EXPECT_EQ(ini.GetString(QStringLiteral("MISC"), QStringLiteral("Options")),
              QStringLiteral("1b"));
    EXPECT_EQ(ini.GetString(QStringLiteral("MISC"), QStringLiteral("long")).size(), 79);
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("Left"), 0), -20);
    // A key of another section is not found.
    EXPECT_FALSE(ini.HasKey(QStringLiteral("WINDOW"), QStringLiteral("Options")));
}

TEST(ProfileFile, WritingKeepsEveryOtherLineWhereItStands)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.ini"));
    const QByteArray original = "; settings of the bench\r\n"
                                "[WINDOW]\r\n"
                                "LEFT=10\r\n"
                                "\r\n"
                                "[Foreign]\r\n"
                                "anything goes here\r\n"
                                "key=value\r\n"
                                "\r\n"
                                "[misc]\r\n"
                                "Options=13\r\n";
    WriteAll(path, original);
    CProfileFile ini(path);
    ini.WriteString(QStringLiteral("WINDOW"), QStringLiteral("Left"), QStringLiteral("176"));
    ini.WriteString(QStringLiteral("WINDOW"), QStringLiteral("Top"), QStringLiteral("146"));
    ini.WriteString(QStringLiteral("MISC"), QStringLiteral("Options"), QStringLiteral("1f"));
    ini.WriteString(QStringLiteral("DATA PORT"), QStringLiteral("Number"), QStringLiteral("3"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadAll(path), QByteArray("; settings of the bench\r\n"
                                        "[WINDOW]\r\n"
                                        "LEFT=176\r\n"
                                        "Top=146\r\n"
                                        "\r\n"
                                        "[Foreign]\r\n"
                                        "anything goes here\r\n"
                                        "key=value\r\n"
                                        "\r\n"
                                        "[misc]\r\n"
                                        "Options=1f\r\n"
                                        "\r\n"
                                        "[DATA PORT]\r\n"
                                        "Number=3\r\n"));
    // Nothing reaches the file before Save.
    CProfileFile again(path);
    again.WriteString(QStringLiteral("MISC"), QStringLiteral("Options"), QStringLiteral("0"));
    EXPECT_EQ(CProfileFile(path).GetString(QStringLiteral("MISC"), QStringLiteral("Options")),
              QStringLiteral("1f"));
}

TEST(PortNames, SectionPortsMapsNumbersElseTheDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tarn.ini"));
    WriteAll(path, "[ports]\r\ncom1=/dev/ttyUSB0\r\n");
    CPortNames::SetProfilePath(path);
    EXPECT_EQ(CPortNames::DeviceName(1), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(CPortNames::DeviceName(3), QStringLiteral("/dev/ttyS2"));
    EXPECT_TRUE(CPortNames::SetDevice(3, QStringLiteral("/dev/pts/7")));
    EXPECT_EQ(CPortNames::DeviceName(3), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(CPortNames::DeviceName(1), QStringLiteral("/dev/ttyUSB0"));
    CPortNames::SetProfilePath(QString());
    EXPECT_EQ(CPortNames::DeviceName(1), QStringLiteral("/dev/ttyS0"));
}

namespace {
// Runs f in a child process as an unprivileged user when the tests run as
// root, so that file permissions count; true when f returned true.
template <class F> bool AsUnprivilegedUser(F f)
{
    if (geteuid() != 0)
        return f();
    const pid_t pid = fork();
    if (pid == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && f() ? 0 : 1);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}
} // namespace

// A folder that refuses a temporary file still gets its writable file
// written in place; a file without write permission is never replaced.
TEST(ProfileFile, SaveInAFolderThatRefusesNewFilesAndOnAReadOnlyFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tarn.ini"));
    WriteAll(path, "[MISC]\r\nOptions=13\r\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                    QFile::WriteOther);
    ASSERT_EQ(chown(path.toLocal8Bit().constData(), geteuid() == 0 ? 65534 : geteuid(),
                    geteuid() == 0 ? 65534 : getegid()),
              0);
    const QFile::Permissions folder = QFile::permissions(dir.path());
    QFile::setPermissions(dir.path(),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const bool saved = AsUnprivilegedUser([&] {
        CProfileFile ini(path);
        ini.WriteString(QStringLiteral("MISC"), QStringLiteral("Options"), QStringLiteral("1f"));
        return ini.Save();
    });
    QFile::setPermissions(dir.path(), folder);
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadAll(path), QByteArray("[MISC]\r\nOptions=1f\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Tarn.ini")});

    // Read-only: refused and unchanged, whoever saves.
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    QFile::setPermissions(path, readOnly);
    CProfileFile ini(path);
    ini.WriteString(QStringLiteral("MISC"), QStringLiteral("Options"), QStringLiteral("11"));
    EXPECT_FALSE(ini.Save());
    EXPECT_NE(ini.LastError(), 0);
    EXPECT_EQ(ReadAll(path), QByteArray("[MISC]\r\nOptions=1f\r\n"));
    EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              readOnly);
}

namespace {
// Sets or clears the immutable attribute of a folder (chattr +i); false
// where the file system or the user's capabilities do not allow it.
bool SetImmutable(const QString& path, bool on)
{
    const int fd = open(path.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return ok;
}
} // namespace

// An immutable folder refuses every new file, to root too: its file is
// still written in place.
TEST(ProfileFile, SaveInAnImmutableFolder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tarn.ini"));
    WriteAll(path, "[MISC]\r\nOptions=1f\r\nLast Number=+49 30 1234\r\n");
    if (!SetImmutable(dir.path(), true))
        GTEST_SKIP() << "no immutable folders here (file system or capability)";
    CProfileFile ini(path);
    ini.WriteString(QStringLiteral("MISC"), QStringLiteral("Options"), QStringLiteral("4"));
    const bool saved = ini.Save();
    EXPECT_TRUE(SetImmutable(dir.path(), false));
    EXPECT_TRUE(saved) << ini.LastError();
    EXPECT_EQ(ReadAll(path), QByteArray("[MISC]\r\nOptions=4\r\nLast Number=+49 30 1234\r\n"));
}
