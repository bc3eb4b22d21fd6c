// SPDX-License-Identifier: GPL-3.0-or-later
// The program against the simulator replaying a field session: the panel
// reaches idle, then shows the recorded cells instead of the radio model's.
#include "E2EFixture.h"
#include "LogFiles.h"

namespace {
// Three report cycles of a cell the radio model never has, as the panel
// logs them: serving cell, two neighbours, Cell ID.
QList<QByteArray> FieldCycles()
{
    QList<QByteArray> lines;
    for (int i = 0; i < 3; ++i)
        lines << "t<, Idle_Mode_Rpt 77 41 80 30 12 81 25 13"
              << "t<, NCell 1 80 30 12"
              << "t<, NCell 2 81 25 13"
              << "t<, Cell ID     CI 1A2B LAC 3C4D MNC 07 MCC 234"
              << "t>, \\C";
    return lines;
}

class ReplayE2E : public E2E
{
protected:
    void Replay(const QList<QByteArray>& lines)
    {
        const QString path = dir.filePath(QStringLiteral("field.log"));
        ASSERT_TRUE(WriteLogFile(path, lines));
        CSimOptions o = FastSim();
        o.replay.strFile = path;
        o.replay.nRate = 100;
        o.replay.bLoop = true; // the registration answers write into LAC meanwhile
        Start(o);
        ToIdle();
        EXPECT_TRUE(WaitFor([&] { return Text(IDC_LAC) == QStringLiteral("3C4D"); }));
        EXPECT_EQ(Text(IDC_MCC), QStringLiteral("234"));
        EXPECT_EQ(Text(IDC_BCCH), QStringLiteral("77"));
        EXPECT_EQ(Text(IDC_RXLEV), QStringLiteral("41 = -69 dBm"));
        EXPECT_EQ(Text(IDC_CI), QStringLiteral("1A2B"));
        EXPECT_EQ(Text(IDC_MNC), QStringLiteral("07"));
        EXPECT_EQ(c->GetDlgItemText(g_anNeighbourIds[0][0]), QStringLiteral("80"));
        EXPECT_EQ(c->GetDlgItemText(g_anNeighbourIds[1][0]), QStringLiteral("81"));
        EXPECT_EQ(c->GetDlgItemText(g_anNeighbourIds[1][1]), QStringLiteral("13"));
        EXPECT_TRUE(c->GetDlgItemText(g_anNeighbourIds[2][0]).isEmpty());
        EXPECT_TRUE(answer.messages.isEmpty())
            << answer.messages.join(QLatin1Char('|')).toStdString();
    }
};
} // namespace

TEST_F(ReplayE2E, SessionRecordingShowsTheRecordedCells)
{
    QList<QByteArray> lines;
    int ms = 0;
    for (const QByteArray& l : FieldCycles())
        lines << StampedEntry(ms += 20, l);
    Replay(lines);
}

TEST_F(ReplayE2E, SavedLogShowsTheRecordedCells)
{
    Replay(FieldCycles());
}
