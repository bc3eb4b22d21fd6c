// SPDX-License-Identifier: GPL-3.0-or-later
// The module's conversation runs without widgets: its tests run on a
// QCoreApplication, on which creating a widget would abort.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
