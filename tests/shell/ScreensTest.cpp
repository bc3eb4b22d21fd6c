#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

#include "platform/PortConfig.h"
#include "shell/AboutDlg.h"

namespace {
void SavePng(QWidget* w, const char* name)
{
    QDir().mkpath(QStringLiteral(SCREENS_DIR));
    EXPECT_TRUE(w->grab().save(QStringLiteral(SCREENS_DIR "/%1.png").arg(QLatin1String(name))));
}
} // namespace

TEST(Screens, AboutBoxShowsVersionAndIcon)
{
    CAboutDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About Tarn"));
    bool version = false;
    for (QLabel* l : dlg.findChildren<QLabel*>())
        version |= l->text() == QStringLiteral("Front Panel SW Version 3.0.0.0");
    EXPECT_TRUE(version);
    EXPECT_NE(dlg.GetDlgItem(IDOK), nullptr);
    SavePng(&dlg, "about");
}

TEST(Screens, PortConfigurationListsNumbersAndDevices)
{
    CPortConfig dlg(3, 4);
    EXPECT_EQ(dlg.DataPort(), 3);
    EXPECT_EQ(dlg.TracePort(), 4);
    EXPECT_FALSE(dlg.DataDevice().isEmpty());
    dlg.show();
    SavePng(&dlg, "port_config");
}
