// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CachingStyle.h"
#include <QApplication>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/tessoly-runtime-" + QByteArray::number(getuid());
        mkdir(dir.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    QApplication app(argc, argv);
    app.setStyle(new CCachingStyle); // as the program has it
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
