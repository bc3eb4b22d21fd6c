// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <gtest/gtest.h>

#include "ModalAnswerer.h"
#include "ShellFixture.h"
#include "control/TessolyDlg.h"
#include "serial/SerialPort.h"
#include "session/SessionRecorder.h"

TEST(Recording, SwitchedFromTheLoggingMenuShownInTheStatusBarAndKeptInTheSettings)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n[RECORDING]\r\nEnabled=1\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    fx.frame->show();
    CMainFrame& f = *fx.frame;
    // Recording from the start, into "sessions" beside the settings file.
    ASSERT_TRUE(f.m_pRecorder->IsRecording());
    EXPECT_EQ(QFileInfo(f.m_pRecorder->FilePath()).absolutePath(),
              QFileInfo(fx.IniPath()).absolutePath() + QStringLiteral("/sessions"));
    EXPECT_TRUE(f.RecordingLabel()->isVisible());
    EXPECT_EQ(f.RecordingLabel()->text(), QStringLiteral("REC"));
    EXPECT_EQ(f.statusBar()->currentMessage(), QStringLiteral("Ready"));
    // The last item of the Logging menu, checked while it records.
    QAction* item = f.Action(ID_LOGGING_RECORD);
    QMenu* menu = nullptr;
    for (QObject* o : item->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o))
            menu = m;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("&Logging"));
    EXPECT_EQ(menu->actions().last(), item);
    EXPECT_EQ(item->text(), QStringLiteral("&Record Session"));
    EXPECT_FALSE(item->statusTip().isEmpty());
    EXPECT_TRUE(item->isChecked());

    f.OnCommand(ID_LOGGING_RECORD);
    EXPECT_FALSE(f.m_pRecorder->IsRecording());
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(f.RecordingLabel()->isVisible());
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(fx.IniText().contains("[RECORDING]\r\nEnabled=0\r\nFolder=\r\n"))
        << fx.IniText().constData();
    EXPECT_EQ(answer.messages.size(), 1) << answer.messages.join(QLatin1Char('|')).toStdString();
}

TEST(Recording, AFolderThatCannotBeWrittenGivesOneMessageAndThePanelGoesOn)
{
    ShellFixture probe;
    const QString notFolder = probe.m_dir.filePath(QStringLiteral("taken"));
    QFile(notFolder).open(QIODevice::WriteOnly);
    ShellFixture fx("[RECORDING]\r\nEnabled=1\r\nFolder=" + notFolder.toUtf8() + "\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    ASSERT_EQ(answer.messages.size(), 1);
    EXPECT_TRUE(answer.messages[0].startsWith(QStringLiteral("Recording stopped: ")));
    EXPECT_TRUE(answer.messages[0].contains(QStringLiteral("Tarn Error#: ")));
    EXPECT_FALSE(fx.frame->m_pRecorder->IsRecording());
    EXPECT_FALSE(fx.frame->Action(ID_LOGGING_RECORD)->isChecked());
    EXPECT_TRUE(fx.frame->m_pController->DataPort()->IsOpen());
}
