// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its settings and finds its help document; the
// program itself, started as a user starts it from an installed layout
// (bin/tessoly, its help document in share/tessoly/) with a home of its own.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "PtyPair.h"
#include "shell/ProgramFiles.h"

TEST(ProgramFiles, SettingsBesideAProgramWithItsHelpElseInTheUsersFolder)
{
    QTemporaryDir dir;
    const QString help = QString::fromLatin1(CProgramFiles::HelpFileName());
    QDir(dir.path()).mkpath("build");
    QFile(dir.filePath("build/") + help).open(QIODevice::WriteOnly);
    const CProgramFiles built(dir.filePath("build"));
    EXPECT_FALSE(built.IsInstalled());
    EXPECT_EQ(built.SettingsDir(), dir.filePath("build/"));
    EXPECT_EQ(built.HelpFile(), dir.filePath("build/") + help);

    QDir(dir.path()).mkpath("usr/bin");
    QDir(dir.path()).mkpath("usr/share/tessoly");
    QFile(dir.filePath("usr/share/tessoly/") + help).open(QIODevice::WriteOnly);
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.filePath("cfg").toLocal8Bit());
    const CProgramFiles installed(dir.filePath("usr/bin"));
    if (oldConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_TRUE(installed.IsInstalled());
    EXPECT_EQ(installed.SettingsDir(), dir.filePath("cfg/tessoly/"));
    EXPECT_EQ(installed.HelpFile(), dir.filePath("usr/share/tessoly/") + help);
}

namespace {
struct InstalledProgram
{
    InstalledProgram()
    {
        const QString built = QCoreApplication::applicationDirPath() + "/../tessoly";
        QDir(root.path()).mkpath("usr/bin");
        QDir(root.path()).mkpath("usr/share/tessoly");
        QDir(root.path()).mkpath("home");
        bOk = QFile::copy(built, Path("usr/bin/tessoly"));
        QFile help(Path("usr/share/tessoly/") + CProgramFiles::HelpFileName());
        bOk = bOk && help.open(QIODevice::WriteOnly);
    }
    QString Path(const QString& rel) const { return root.filePath(rel); }
    QString UserDir() const { return Path("home/.config/tessoly"); }
    void Start(const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", Path("home"));
        env.remove("XDG_CONFIG_HOME");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(Path("usr/bin/tessoly"), args);
    }
    ~InstalledProgram()
    {
        program.kill();
        program.waitForFinished(5000);
    }

    QTemporaryDir root;
    QProcess program;
    bool bOk = false;
};
} // namespace

TEST(InstalledProgram, FirstStartMakesTheUsersSettingsFolder)
{
    InstalledProgram p;
    ASSERT_TRUE(p.bOk) << "the program is not built";
    p.Start({});
    ASSERT_TRUE(p.program.waitForStarted(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QDir(p.UserDir()).exists(); }, 10000));
    EXPECT_EQ(p.program.state(), QProcess::Running);
}

// Qt would take -reverse (and -style, -platform, ...) for itself and leave the
// program reading Tarn.ini; every -NAME names the settings file.
TEST(InstalledProgram, DashArgumentQtKnowsNamesTheSettingsFile)
{
    InstalledProgram p;
    ASSERT_TRUE(p.bOk) << "the program is not built";
    PtyPair data, trace;
    QDir().mkpath(p.UserDir());
    QFile ini(p.UserDir() + "/reverse.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    // Module not powered on at start: the panel says "AT" on the data port.
    ini.write("[MISC]\r\nOptions=0\r\n[PORTS]\r\nCOM1=" + data.SlavePath().toLatin1() +
              "\r\nCOM2=" + trace.SlavePath().toLatin1() + "\r\n");
    ini.close();
    p.Start({"-reverse"});
    ASSERT_TRUE(p.program.waitForStarted(5000));
    EXPECT_TRUE(data.Read(10000, 200).contains("AT\r"));
}
