// SPDX-License-Identifier: GPL-3.0-or-later
// The fleet feed in the main frame, against a real Mosquitto broker.
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ModalAnswerer.h"
#include "ShellFixture.h"
#include "control/TessolyDlg.h"
#include "fleet/MqttPublisher.h"
#include "fleet/TestBroker.h"
#include "measure/Measurer.h"

TEST(Mqtt, TheFrameSwitchesTheFeedShowsItsStateAndKeepsThePasswordPrivate)
{
    if (!CTestBroker::IsInstalled())
        GTEST_SKIP() << "mosquitto is not installed";
    CTestBroker broker;
    ASSERT_TRUE(broker.Start());
    CTestSubscriber sub(broker.Port(), QStringLiteral("tessoly/#"));
    ASSERT_TRUE(sub.WaitSubscribed());
    ShellFixture fx("[MISC]\r\nOptions=11\r\n[MQTT]\r\nEnabled=1\r\nPort=" +
                    QByteArray::number(broker.Port()) + "\r\nUsername=car1\r\nPassword=secret\r\n");
    ModalAnswerer answer;
    CMainFrame& f = *fx.frame;
    ASSERT_TRUE(fx.Create());
    f.show();

    QAction* item = f.Action(ID_CONTROL_MQTT);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked());
    QMenu* menu = qobject_cast<QMenu*>(item->associatedObjects().value(0));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().last(), item);
    QTRY_COMPARE_WITH_TIMEOUT(f.MqttLabel()->text(), QStringLiteral("MQTT"), 3000);

    // The IMEI the module gives names the topics; events of the measurement
    // layer go out under it.
    f.m_pController->ShowImei(QStringLiteral("490154203237518"));
    f.m_pController->Measurer().OnEvent(EVENT_POWER_ON, QString());
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/event"), 1));
    EXPECT_EQ(sub.On(QStringLiteral("/event"))[0].strTopic,
              QStringLiteral("tessoly/490154203237518/event"));

    // Off: the status says so and the pane goes.
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(f.MqttLabel()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto status = sub.On(QStringLiteral("490154203237518/status"));
            return !status.empty() && status.back().Json().value(QStringLiteral("status")) ==
                                          QStringLiteral("offline");
        },
        3000));

    // The settings file holds the password: readable by its owner only.
    f.SaveSettings();
    EXPECT_TRUE(fx.IniText().contains("Password=secret"));
    EXPECT_TRUE(fx.IniText().contains("[MQTT]\r\nEnabled=0"));
    struct stat st;
    ASSERT_EQ(stat(fx.IniPath().toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    for (const auto& m : sub.Messages())
        EXPECT_FALSE(m.payload.contains("secret"));
}
