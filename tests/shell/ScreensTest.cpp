// SPDX-License-Identifier: GPL-3.0-or-later
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

// After a failed attempt the dialog says, readably, which ports and why.
TEST(Screens, PortConfigurationSaysWhyPortsDidNotOpen)
{
    const QString stable =
        QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    const QString reason = QStringLiteral("Permission denied: add your user to the group dialout "
                                          "(sudo usermod -aG dialout alice) and log in again");
    CPortConfig dlg(1, 2);
    dlg.ShowFailures({{true, 2, stable, reason},
                      {false, 1, QStringLiteral("/dev/ttyUSB1"),
                       QStringLiteral("In use by another program: tessoly (pid 4711); close it "
                                      "there, or choose another device")}});
    EXPECT_TRUE(dlg.FailureText().startsWith(
        QStringLiteral("Trace port COM2 did not open:\n%1\n%2").arg(stable, reason)));
    dlg.show();
    SavePng(&dlg, "port_config_failed");
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
