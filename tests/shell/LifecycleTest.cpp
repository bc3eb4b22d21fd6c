// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QToolBar>
#include <QToolTip>
#include <gtest/gtest.h>

#include "AccessibleChild.h"
#include "ModalAnswerer.h"
#include "ShellFixture.h"
#include "TestAccess.h"
#include "control/TessolyDlg.h"
#include "platform/PortConfig.h"
#include "serial/SerialPort.h"

// Start-up opens the ports only after the settings were read and the window laid out.
TEST(Lifecycle, StartOpensThePortsFromTheSettingsAndGreetsTheModule)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    CTessolyDlg* c = fx.frame->m_pController.get();
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->DataPort()->IsOpen());
    EXPECT_TRUE(c->TracePort()->IsOpen());
    // Without Power on on Start the panel sends "AT" and waits for the module's "OK".
    EXPECT_EQ(fx.data.Read(1000), QByteArray("AT\r"));
    EXPECT_TRUE(answer.messages.isEmpty());
    EXPECT_FALSE(fx.frame->Action(ID_CONTROL_BCCHSYSINFO)->isEnabled());
    EXPECT_FALSE(fx.frame->Action(ID_CONTROL_CHANNELSCAN)->isEnabled());
    EXPECT_FALSE(fx.frame->Action(ID_OPTIONS_RESETMOBILE)->isEnabled());
    EXPECT_TRUE(fx.frame->Action(ID_LOGGING_DATA)->isChecked());
    EXPECT_FALSE(fx.frame->Action(ID_VIEW_LOGGING)->isChecked());
    EXPECT_TRUE(fx.frame->Action(ID_OPTIONS_POWEROFFONEXIT)->isChecked());
}

TEST(Lifecycle, CancelledExitChangesNothing)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    fx.frame->show();
    fx.DataWire();
    const QByteArray before = fx.IniText();
    answer.answerCancel = true;
    EXPECT_FALSE(fx.frame->close());
    ASSERT_EQ(answer.messages.size(), 1);
    EXPECT_EQ(answer.messages[0], QStringLiteral("Do you want to exit program?"));
    EXPECT_TRUE(fx.frame->isVisible());
    EXPECT_TRUE(fx.frame->m_pController->DataPort()->IsOpen());
    EXPECT_EQ(fx.IniText(), before);
}

TEST(Lifecycle, ConfirmedExitSavesClosesAndPowersOffOnlyWhenOnAndAsked)
{
    for (int poweredOn = 0; poweredOn < 2; ++poweredOn) {
        ShellFixture fx("[MISC]\r\nOptions=11\r\n");
        ModalAnswerer answer;
        ASSERT_TRUE(fx.Create());
        fx.frame->show();
        fx.DataWire();
        CTessolyDlg* c = fx.frame->m_pController.get();
        TestAccess::PoweredOn(*c) = poweredOn != 0;
        // Closing purges what the line has not sent yet; the pacing after each
        // character lets the command leave first, as it does on a real line.
        c->m_nTraceCharDelay = 20;
        fx.frame->SetOption(4, true); // something to save
        EXPECT_TRUE(fx.frame->close());
        EXPECT_EQ(c->DataPort(), nullptr); // channels deleted
        if (poweredOn) {
            EXPECT_EQ(fx.trace.ReadExactly(4), QByteArray("Z**Z"))
                << answer.messages.join(QLatin1Char('|')).toStdString();
        }
        EXPECT_EQ(fx.TraceWire(), QByteArray());
        EXPECT_TRUE(fx.IniText().contains("Options=15"));
    }
    // Power off on Exit not set: nothing is sent even with the module on.
    ShellFixture fx("[MISC]\r\nOptions=10\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    TestAccess::PoweredOn(*fx.frame->m_pController) = true;
    EXPECT_TRUE(fx.frame->close());
    EXPECT_EQ(fx.TraceWire(), QByteArray());
}

TEST(Lifecycle, ForcedExitAsksNothingAndSavesNothing)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    fx.frame->show();
    fx.frame->SetOption(8, true);
    const QByteArray before = fx.IniText();
    CTessolyDlg* c = fx.frame->m_pController.get();
    // A fatal report shows its message, releases the ports and asks the frame to close.
    c->ReportError(2, 4, true, "Setup Data Port", 1);
    ASSERT_EQ(answer.messages.size(), 1);
    EXPECT_EQ(answer.messages[0], QStringLiteral("Setup Data Port on COM1\r\nError#: 4"));
    EXPECT_EQ(c->DataPort(), nullptr);
    QTRY_VERIFY(!fx.frame->isVisible());
    EXPECT_EQ(answer.messages.size(), 1); // no exit question
    EXPECT_EQ(fx.IniText(), before);
}

TEST(Lifecycle, MenuCommandsToggleTheirChecks)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    CMainFrame& f = *fx.frame;
    f.OnCommand(ID_OPTIONS_POWERONONSTART);
    EXPECT_TRUE(f.Action(ID_OPTIONS_POWERONONSTART)->isChecked());
    EXPECT_EQ(QString(f.m_strOptions), QStringLiteral("13"));
    f.OnCommand(ID_LOGGING_DATA);
    EXPECT_FALSE(f.Action(ID_LOGGING_DATA)->isChecked());
    f.OnCommand(ID_LOGGING_FREEZE);
    EXPECT_TRUE(f.Action(ID_LOGGING_FREEZE)->isChecked());
    // BCCH System Info with no BCCH flag shows its message and opens nothing.
    f.SetTraceFlags(QStringLiteral("7f"));
    f.OnCommand(ID_CONTROL_BCCHSYSINFO);
    ASSERT_EQ(answer.messages.size(), 1);
    EXPECT_EQ(answer.messages[0], QStringLiteral("No Flags for BCCH-Report set"));
    // The tool bar carries the eight commands with their tips.
    EXPECT_EQ(f.Action(ID_LOGGING_DATA)->toolTip(), QStringLiteral("Toggle data"));
    EXPECT_EQ(f.Action(ID_LOGGING_DATA)->statusTip(),
              QStringLiteral("Show or hide data from data port"));
    EXPECT_EQ(f.Action(ID_OPTIONS_POWERONONSTART)->statusTip(),
              QStringLiteral("Set power on on  program start"));
    // A tool button shows a tip only where its prompt has one after the line
    // break. The quiet ones first: a tip shown stays up a moment after it is hidden.
    f.show();
    const std::pair<int, const char*> tips[] = {{ID_CONTROL_BCCHSYSINFO, ""},
                                                {ID_CONTROL_CHANNELSCAN, ""},
                                                {ID_LOGGING_CLEAR, ""},
                                                {ID_LOGGING_SAVE, ""},
                                                {ID_HELP_TOPICS, ""},
                                                {ID_LOGGING_DATA, "Toggle data"},
                                                {ID_LOGGING_TRACE, "Toggle trace"},
                                                {ID_LOGGING_FREEZE, "Toggle Freeze"}};
    for (const auto& [id, tip] : tips) {
        QWidget* button = f.ToolBar()->widgetForAction(f.Action(id));
        ASSERT_NE(button, nullptr) << id;
        const QPoint at = button->rect().center();
        QHelpEvent help(QEvent::ToolTip, at, button->mapToGlobal(at));
        QCoreApplication::sendEvent(button, &help);
        EXPECT_EQ((QToolTip::isVisible() ? QToolTip::text() : QString()).toStdString(), tip) << id;
    }
    QToolTip::hideText();
}

// With no program to show the help document (the offscreen platform has
// none) the user learns where it lies.
TEST(Lifecycle, HelpTopicsWithoutABrowserNamesTheDocument)
{
    ShellFixture fx;
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    fx.frame->OnCommand(ID_HELP_TOPICS);
    ASSERT_EQ(answer.messages.size(), 1);
    EXPECT_TRUE(answer.messages[0].endsWith(QStringLiteral("\n") + fx.frame->m_strHelpFile))
        << answer.messages[0].toStdString();
    EXPECT_TRUE(fx.frame->m_strHelpFile.endsWith(QStringLiteral("Tarn Front Panel Software.html")));
}

// The menu bar and the tool bar, item by item, separators included.
TEST(Lifecycle, MenuAndToolBarCarryTheCommandsInTheirOrder)
{
    ShellFixture fx;
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    QStringList menus;
    for (QAction* popup : fx.frame->menuBar()->actions()) {
        QStringList items;
        for (QAction* a : popup->menu()->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        menus << popup->text() + QStringLiteral(": ") + items.join(QLatin1Char(','));
    }
    EXPECT_EQ(menus.join(QLatin1Char('|')).toStdString(),
              "&File: &Open Session...,E&xit|&View: &Phone Pad only,&Logging,-,&Toolbar,&Status "
              "Bar,-,Level Chart,"
              "Event List|"
              "&Control: &BCCH System Info...,-,&Channel Scan...,B&S Lock,-,&Location Update,-,"
              "Send to Wireshark (GSMTAP),Publish to MQTT|"
              "&Logging: &Data,&Trace,-,&Freeze,&Clear,-,&Save,&Record Session|"
              "&Options: &Report Flags...,Power off on &Exit,Power on on &Start,R&eset on Start,-,"
              "&Configure,Reset &Mobile,-,Use GPS (gpsd)|&Help: &Topics...,&About Tarn...");
    QStringList buttons;
    for (QAction* a : fx.frame->ToolBar()->actions())
        buttons << (a->isSeparator() ? QStringLiteral("-") : a->data().toString());
    EXPECT_EQ(buttons.join(QLatin1Char(' ')).toStdString(),
              "32778 32779 - 32784 32786 32787 32788 32783 - 32777");
}

// Options > Configure with a device that does not open does not end as if
// all were well: the dialog comes again, saying which port and why.
TEST(Lifecycle, ConfigureAsksAgainWithTheReasonUntilThePortsOpen)
{
    ShellFixture fx("[MISC]\r\nOptions=11\r\n");
    ModalAnswerer answer;
    ASSERT_TRUE(fx.Create());
    const QString missing = fx.m_dir.filePath(QStringLiteral("ttyUSB1"));
    QStringList shown;
    answer.handler = [&](QWidget* w) {
        auto* config = qobject_cast<CPortConfig*>(w);
        if (!config)
            return false;
        shown << config->FailureText();
        AccessibleChild<QComboBox>(config, QStringLiteral("Trace port device"))
            ->setEditText(shown.size() == 1 ? missing : fx.trace.SlavePath());
        config->accept();
        return true;
    };
    fx.frame->OnCommand(ID_OPTIONS_CONFIGURE);
    EXPECT_EQ(shown, QStringList({QString(), QStringLiteral("Trace port COM2 did not open:\n%1\nNo "
                                                            "such device: plug the adapter in, or "
                                                            "choose another device")
                                                 .arg(missing)}));
    EXPECT_TRUE(fx.frame->m_pController->TracePort()->IsOpen());
    EXPECT_TRUE(fx.frame->m_pController->DataPort()->IsOpen());
    EXPECT_TRUE(answer.messages.isEmpty());
}
