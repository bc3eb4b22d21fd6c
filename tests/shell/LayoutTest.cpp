// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QStatusBar>
#include <gtest/gtest.h>

#include "ModalAnswerer.h"
#include "ShellFixture.h"
#include "control/TessolyDlg.h"
#include "shell/ChildView.h"

namespace {
struct Combo
{
    int options;
    const char* name;
};

void SavePng(QWidget* w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENS_DIR));
    w->grab().save(QStringLiteral(SCREENS_DIR "/") + name + QStringLiteral(".png"));
}
} // namespace

// The frame's view follows the panel: width by Phone Pad only, height by both options.
TEST(Layout, FourCombinationsOfLoggingAndPhonePadOnly)
{
    const Combo combos[] = {{0x11, "main-full"},
                            {0x15, "main-full-logging"},
                            {0x19, "main-padonly"},
                            {0x1d, "main-padonly-logging"}};
    for (const Combo& c : combos) {
        ShellFixture fx(QByteArray("[MISC]\r\nOptions=") + QByteArray::number(c.options, 16) +
                        "\r\n");
        ModalAnswerer answer;
        ASSERT_TRUE(fx.Create());
        CMainFrame& f = *fx.frame;
        f.show();
        QCoreApplication::processEvents();
        const bool padOnly = c.options & 8;
        const bool logging = c.options & 4;
        const QSize view = f.View()->size();
        EXPECT_EQ(view.width(), padOnly ? f.PadSize().width() + 4 : f.FullSize().width()) << c.name;
        int height = (padOnly && !logging) ? f.PadSize().height() : f.FullSize().height();
        if (logging)
            height += f.LoggingHeight() + 3;
        EXPECT_EQ(view.height(), height) << c.name;
        CTessolyDlg* panel = f.m_pController.get();
        EXPECT_EQ(panel->geometry(), f.View()->rect().adjusted(1, 1, -1, -1)) << c.name;
        QWidget* log = panel->GetDlgItem(IDC_LOG);
        if (logging) {
            EXPECT_EQ(log->geometry().left(), 5);
            EXPECT_EQ(log->geometry().bottom() + 1, panel->height() - 5) << c.name;
            EXPECT_GT(log->height(), 20);
        }
        // The phone pad group is always fully inside the panel.
        EXPECT_TRUE(panel->rect().contains(panel->GetDlgItem(IDC_PHONEPAD)->geometry())) << c.name;
        if (!padOnly) {
            EXPECT_TRUE(panel->rect().contains(panel->GetDlgItem(IDC_AIRINTERFACE)->geometry()));
        }
        SavePng(&f, QString::fromLatin1(c.name));
    }
}

TEST(Layout, SwitchingOptionsAndBarsRelaysTheFrame)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    CMainFrame& f = *fx.frame;
    f.show();
    const int fullHeight = f.height();
    f.OnCommand(ID_VIEW_LOGGING);
    EXPECT_EQ(f.height(), fullHeight + f.LoggingHeight() + 3);
    EXPECT_EQ(QString(f.m_strOptions), QStringLiteral("15"));
    f.OnCommand(ID_VIEW_LOGGING);
    EXPECT_EQ(f.height(), fullHeight);
    const int statusHeight = f.statusBar()->height();
    f.OnCommand(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(f.m_bStatusBar);
    EXPECT_EQ(f.height(), fullHeight - statusHeight);
    f.OnCommand(ID_VIEW_STATUS_BAR);
    EXPECT_EQ(f.height(), fullHeight);
    // The width cannot be changed; the height only while the log pane is shown.
    EXPECT_EQ(f.minimumWidth(), f.maximumWidth());
    EXPECT_EQ(f.minimumHeight(), f.maximumHeight());
    f.OnCommand(ID_VIEW_LOGGING);
    EXPECT_LT(f.minimumHeight(), f.maximumHeight());
}
