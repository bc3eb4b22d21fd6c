// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileInfo>
#include <QImage>

#include "E2EFixture.h"
#include "shell/IdleSnapshot.h"

TEST_F(E2E, IdleSnapshotIsSavedAfterTheOperatorIsShown)
{
    Start(FastSim());
    const QString path = dir.filePath(QStringLiteral("screens/idle.png"));
    auto* shot = new CIdleSnapshot(frame.get(), path);
    ToIdle();
    EXPECT_FALSE(QFileInfo::exists(path)) << "taken before the first reports were shown";
    ASSERT_TRUE(WaitFor([&] { return shot->IsSaved(); }, 5000));
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), frame->grab().size());
}
