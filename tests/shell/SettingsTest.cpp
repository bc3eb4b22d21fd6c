// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ModalAnswerer.h"
#include "ShellFixture.h"
#include "control/TessolyDlg.h"
#include "platform/ProfileFile.h"

TEST(Settings, FileNameComesFromTheCommandLine)
{
    const QString dir = QStringLiteral("/opt/t/");
    EXPECT_EQ(CMainFrame::SettingsFileFor(QStringLiteral("\"/opt/t/tessoly\""), dir),
              QStringLiteral("/opt/t/Tarn.ini"));
    EXPECT_EQ(CMainFrame::SettingsFileFor(QStringLiteral("\"/opt/t/tessoly\" -bench"), dir),
              QStringLiteral("/opt/t/bench.ini"));
    EXPECT_EQ(CMainFrame::SettingsFileFor(QStringLiteral("\"/opt/t/tessoly\" -bench.cfg"), dir),
              QStringLiteral("/opt/t/bench.cfg"));
    // A hyphen inside the program's own path does not count: only a blank and a hyphen do.
    EXPECT_EQ(CMainFrame::SettingsFileFor(QStringLiteral("\"/opt/my-t/tessoly\""), dir),
              QStringLiteral("/opt/t/Tarn.ini"));
}

TEST(Settings, NoFileGivesEveryDefault)
{
    QTemporaryDir dir;
    CMainFrame frame({QStringLiteral("/x/tessoly")});
    frame.SetProgramDir(dir.path());
    frame.LoadSettings();
    EXPECT_EQ(frame.m_nDataPort, 1);
    EXPECT_EQ(frame.m_nTracePort, 2);
    EXPECT_EQ(QString(frame.m_strOptions), QStringLiteral("13"));
    EXPECT_TRUE(frame.IsPowerOffOnExit());
    EXPECT_TRUE(frame.TestOption(2));
    EXPECT_TRUE(frame.IsResetOnStart());
    EXPECT_FALSE(frame.TestOption(4 | 8));
    EXPECT_EQ(frame.GetTraceFlags(), QStringLiteral("FFFFFF"));
    EXPECT_EQ(frame.m_nLoggingHeight, 50);
    EXPECT_EQ(frame.m_rcNormal.topLeft(), QPoint(176, 146));
    EXPECT_EQ(frame.m_nShow, 1);
    EXPECT_EQ(frame.SettingsFile(),
              QDir::toNativeSeparators(dir.path()) + QStringLiteral("/Tarn.ini"));
}

// A placement left on a monitor since unplugged comes back onto the primary
// screen with its size; one on a screen stays where it was.
TEST(Settings, PlacementOnNoScreenIsBroughtOntoThePrimaryScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint beyond = QGuiApplication::primaryScreen()->virtualGeometry().bottomRight();
    const QSize size = screen.size() / 2;
    for (const bool bOnScreen : {false, true}) {
        const QRect saved(
            bOnScreen ? screen.topLeft() + QPoint(40, 30) : beyond + QPoint(1000, 1000), size);
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("Tarn.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[WINDOW]\r\nLeft=%1\r\nTop=%2\r\nRight=%3\r\nBottom=%4\r\n")
                    .arg(saved.left())
                    .arg(saved.top())
                    .arg(saved.right() + 1)
                    .arg(saved.bottom() + 1)
                    .toLatin1());
        f.close();
        CMainFrame frame({QStringLiteral("/x/tessoly")});
        frame.SetProgramDir(dir.path());
        frame.LoadSettings();
        const QRect placed = frame.m_rcNormal;
        EXPECT_EQ(placed.size(), size);
        EXPECT_TRUE(screen.contains(placed)) << placed.x() << "," << placed.y();
        if (bOnScreen) {
            EXPECT_EQ(placed, saved);
        }
        EXPECT_EQ(frame.pos(), placed.topLeft());
    }
}

TEST(Settings, OptionsAreToggledAndWrittenInLowerCaseHex)
{
    QTemporaryDir dir;
    CMainFrame frame({QStringLiteral("/x/tessoly")});
    frame.SetProgramDir(dir.path());
    frame.LoadSettings();
    frame.SetOption(8, true);
    EXPECT_EQ(QString(frame.m_strOptions), QStringLiteral("1b"));
    frame.SetOption(4, true);
    EXPECT_EQ(QString(frame.m_strOptions), QStringLiteral("1f"));
    frame.SetOption(1, false);
    EXPECT_EQ(QString(frame.m_strOptions), QStringLiteral("1e"));
    // Text that is not hexadecimal reads as 0: every option off; other bits are kept.
    frame.m_strOptions = CStringE("xyz");
    EXPECT_EQ(frame.TestOption(0x1f), 0);
    frame.m_strOptions = CStringE("1A0");
    frame.SetOption(2, true);
    EXPECT_EQ(QString(frame.m_strOptions), QStringLiteral("1a2"));
}

TEST(Settings, SaveKeepsForeignLinesAndWritesEveryKey)
{
    ShellFixture fx("; bench settings, do not lose this comment\r\n"
                    "[misc]\r\n"
                    "OPTIONS=11\r\n"
                    "last number=+49 30 1234\r\n"
                    "\r\n"
                    "[Foreign]\r\n"
                    "Owner=lab 3\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    EXPECT_EQ(fx.frame->m_strStoredNumber, QStringLiteral("+49 30 1234"));
    fx.frame->SetOption(8, true);
    fx.frame->SaveSettings();
    const QString text = QString::fromLatin1(fx.IniText());
    EXPECT_TRUE(text.startsWith(QStringLiteral("; bench settings, do not lose this comment\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("[Foreign]\r\nOwner=lab 3\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("OPTIONS=19\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("last number=+49 30 1234\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("[PORTS]\r\nCOM1=")));
    CProfileFile ini(fx.IniPath());
    EXPECT_EQ(ini.GetString(QStringLiteral("MISC"), QStringLiteral("Trace Flags")),
              QStringLiteral("FFFFFF"));
    EXPECT_EQ(
        ini.GetString(QStringLiteral("MISC"), QStringLiteral("Last Logfile"), QStringLiteral("?")),
        QString());
    EXPECT_EQ(ini.GetInt(QStringLiteral("DATA PORT"), QStringLiteral("Number"), 0), 1);
    EXPECT_EQ(ini.GetInt(QStringLiteral("TRACE PORT"), QStringLiteral("Number"), 0), 2);
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("Show"), 0), 1);
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("LoggingHeight"), 0), 50);
}

TEST(Settings, MaximisedWindowWritesShow3AndItsRestoredRectangle)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n[WINDOW]\r\nLeft=40\r\nTop=30\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    fx.frame->show();
    const QRect normal = fx.frame->frameGeometry();
    fx.frame->setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    fx.frame->SaveSettings();
    CProfileFile ini(fx.IniPath());
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("Show"), 0), 3);
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("Left"), 0), normal.left());
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("Top"), 0), normal.top());
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("Right"), 0), normal.right() + 1);
    EXPECT_EQ(ini.GetInt(QStringLiteral("WINDOW"), QStringLiteral("Bottom"), 0),
              normal.bottom() + 1);
}

// The log pane's height is the list's as the user left it, kept while the pane is hidden.
TEST(Settings, LogPaneHeightSurvivesHidingAndIsWritten)
{
    const auto written = [](ShellFixture& fx) {
        fx.frame->SaveSettings();
        return CProfileFile(fx.IniPath())
            .GetInt(QStringLiteral("WINDOW"), QStringLiteral("LoggingHeight"), 0);
    };
    {
        ShellFixture fx("[MISC]\r\nOptions=11\r\n[WINDOW]\r\nLoggingHeight=120\r\n");
        ModalAnswerer answer;
        ASSERT_TRUE(fx.Create());
        fx.frame->show();
        EXPECT_EQ(written(fx), 120);
    }
    ShellFixture fx("[MISC]\r\nOptions=15\r\n[WINDOW]\r\nLoggingHeight=120\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    CMainFrame& f = *fx.frame;
    f.show();
    QWidget* log = f.m_pController->GetDlgItem(IDC_LOG);
    const int shown = log->height();
    const int frameHeight = f.height();
    f.OnCommand(ID_VIEW_LOGGING);
    f.OnCommand(ID_VIEW_LOGGING);
    EXPECT_EQ(log->height(), shown);
    EXPECT_EQ(f.height(), frameHeight);
    // Dragged 40 pixels taller, then hidden: the dragged height is what is kept.
    f.resize(f.width(), f.height() + 40);
    QCoreApplication::processEvents();
    ASSERT_EQ(log->height(), shown + 40);
    f.OnCommand(ID_VIEW_LOGGING);
    f.OnCommand(ID_VIEW_LOGGING);
    EXPECT_EQ(log->height(), shown + 40);
    f.OnCommand(ID_VIEW_LOGGING);
    EXPECT_EQ(written(fx), 160);
}

// Settings that cannot be written: the file stays as it was and the user is told once.
TEST(Settings, UnwritableFileIsLeftAloneAndTheUserIsTold)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    fx.frame->show();
    QFile::setPermissions(fx.IniPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = fx.IniText();
    fx.frame->OnCommand(ID_VIEW_LOGGING);
    EXPECT_TRUE(fx.frame->close());
    ASSERT_EQ(answer.messages.size(), 2);
    EXPECT_EQ(answer.messages[1], QStringLiteral("Settings not saved: %1\r\nTarn Error#: %2")
                                      .arg(fx.frame->SettingsFile())
                                      .arg(int(QFileDevice::PermissionsError)));
    EXPECT_EQ(fx.IniText(), before);
    EXPECT_FALSE(QFileInfo(fx.IniPath()).permissions() & QFile::WriteOwner);
}

TEST(Settings, GsmtapSectionIsReadToggledAndWrittenBack)
{
    QTemporaryDir dir;
    CMainFrame fresh({QStringLiteral("/x/tessoly")});
    fresh.SetProgramDir(dir.path());
    fresh.LoadSettings();
    EXPECT_FALSE(fresh.m_bGsmtap);
    EXPECT_EQ(fresh.m_strGsmtapHost, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(fresh.m_nGsmtapPort, 4729);

    QFile f(dir.filePath(QStringLiteral("Tarn.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[gsmtap]\r\nenabled=1\r\nHost=wireshark.lab\r\nPort=5000\r\n");
    f.close();
    CMainFrame frame({QStringLiteral("/x/tessoly")});
    frame.SetProgramDir(dir.path());
    frame.LoadSettings();
    EXPECT_TRUE(frame.m_bGsmtap);
    frame.OnCommand(ID_CONTROL_GSMTAP);
    frame.SaveSettings();
    CProfileFile ini(frame.SettingsFile());
    EXPECT_EQ(ini.GetString(QStringLiteral("GSMTAP"), QStringLiteral("Enabled")),
              QStringLiteral("0"));
    EXPECT_EQ(ini.GetString(QStringLiteral("GSMTAP"), QStringLiteral("Host")),
              QStringLiteral("wireshark.lab"));
    EXPECT_EQ(ini.GetInt(QStringLiteral("GSMTAP"), QStringLiteral("Port"), 0), 5000);
}
