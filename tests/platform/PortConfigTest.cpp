// SPDX-License-Identifier: GPL-3.0-or-later
// The port dialog's list of devices and what a pick stores.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "AccessibleChild.h"
#include "ModalAnswerer.h"
#include "PtyPair.h"
#include "platform/PortConfig.h"
#include "platform/PortList.h"
#include "platform/PortNames.h"
#include "serial/SerialPort.h"

// Adapters are offered by their stable names first, then by the kernel's;
// a picked stable name is stored, so the adapter is found again when it
// comes back under another kernel name.
TEST(PortConfig, OffersStableNamesFirstAndStoresThePickedOne)
{
    QTemporaryDir dev;
    PtyPair before, after;
    ASSERT_TRUE(dev.isValid() && before.IsValid() && after.IsValid());
    const QString byId = dev.filePath(QStringLiteral("serial/by-id/"));
    const QString stable = byId + QStringLiteral("usb-Tarn_GSM_Module_T0042-if00-port0");
    ASSERT_TRUE(QDir().mkpath(byId));
    ASSERT_TRUE(QFile::link(before.SlavePath(), dev.filePath(QStringLiteral("ttyUSB0"))));
    ASSERT_TRUE(QFile::link(before.SlavePath(), dev.filePath(QStringLiteral("ttyUSB10"))));
    ASSERT_TRUE(QFile::link(before.SlavePath(), dev.filePath(QStringLiteral("ttyACM0"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB0"), stable));
    // Left behind by an adapter that is gone.
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB7"), byId + QStringLiteral("usb-Gone")));
    CPortList::SetDeviceRoot(dev.path());
    CPortNames::SetProfilePath(dev.filePath(QStringLiteral("Tarn.ini")));

    QStringList offered;
    ModalAnswerer answer;
    answer.handler = [&](QWidget* w) {
        auto* box = AccessibleChild<QComboBox>(w, QStringLiteral("Trace port device"));
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemData(i).toString();
        box->setCurrentIndex(1);
        static_cast<CPortConfig*>(w)->accept();
        return true;
    };
    EXPECT_EQ(CPortConfig::ShowConfigureDlg(1, 2, 1), 1);
    EXPECT_EQ(offered, QStringList({CPortNames::DefaultDeviceName(2), stable,
                                    dev.filePath(QStringLiteral("ttyUSB0")),
                                    dev.filePath(QStringLiteral("ttyUSB10")),
                                    dev.filePath(QStringLiteral("ttyACM0"))}));
    EXPECT_EQ(CPortNames::DeviceName(2), stable);

    // Re-plugged, it is ttyUSB1 now.
    ASSERT_TRUE(QFile::remove(dev.filePath(QStringLiteral("ttyUSB0"))));
    ASSERT_TRUE(QFile::link(after.SlavePath(), dev.filePath(QStringLiteral("ttyUSB1"))));
    ASSERT_TRUE(QFile::remove(stable));
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB1"), stable));
    QObject owner;
    CSerialPort port(&owner, QEvent::User, 4096, 1024, 100);
    ASSERT_EQ(port.Open(2), SP_OK);
    EXPECT_EQ(port.Write("AT\r", 3), SP_OK);
    EXPECT_EQ(after.ReadExactly(3), QByteArray("AT\r"));
    port.Close();
    CPortList::SetDeviceRoot(QStringLiteral("/dev"));
    CPortNames::SetProfilePath(QString());
}
