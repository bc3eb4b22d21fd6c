// SPDX-License-Identifier: GPL-3.0-or-later
// The program's dialogs against the simulated test mobile: report flags,
// BCCH System Info, and the screenshots of the panel for the README.
#include <QAbstractButton>
#include <QDir>
#include <QListView>
#include <QTest>
#include <QTreeWidget>

#include "E2EFixture.h"
#include "ListRows.h"
#include "scan/ChannelScanDlg.h"
#include "scan/ScanGraph.h"
#include "sysinfo/BcchSysInfoDlg.h"
#include "trace/ReportFlagsDlg.h"

namespace {
void SaveScreen(QWidget* w, const char* name)
{
    QDir().mkpath(QStringLiteral(SCREENS_DIR));
    EXPECT_TRUE(w->grab().save(QStringLiteral(SCREENS_DIR "/%1.png").arg(QLatin1String(name))));
}

QTreeWidgetItem* ElementItem(QTreeWidget* tree, int type, const QString& label)
{
    QTreeWidgetItem* t = tree->topLevelItem(type - 1);
    for (int i = 0; t && i < t->childCount(); ++i)
        if (t->child(i)->text(0) == label)
            return t->child(i);
    return nullptr;
}
} // namespace

TEST_F(E2E, ReportFlagsChangedFromTheDialogReachTheModule)
{
    Start(FastSim());
    ToIdle();
    sim->ClearReceived();
    answer.handler = [](QWidget* w) {
        auto* dlg = qobject_cast<CReportFlagsDlg*>(w);
        if (!dlg)
            return false;
        dlg->Item<QAbstractButton>(1147)->click(); // Default
        dlg->Item<QAbstractButton>(IDOK)->click();
        return true;
    };
    frame->OnCommand(ID_OPTIONS_REPORTFLAGS);
    EXPECT_EQ(frame->GetTraceFlags(), QStringLiteral("878000"));
    // Sent at once because reports are on: the panel passed through idle again.
    EXPECT_TRUE(WaitFor([&] { return sim->ReceivedTrace().contains("*W878000\r"); }));
    EXPECT_TRUE(WaitFor([&] { return sim->Status().nFlags == 0x878000u; }));
    EXPECT_EQ(c->State(), STEP_IDLE);
}

TEST_F(E2E, BcchSystemInfoShowsTheSimulatedCell)
{
    Start(FastSim());
    ToIdle();
    // Wait for System Information 3 of the serving cell.
    ASSERT_TRUE(WaitFor([&] {
        return c->TraceReport().Bcch().abSysInfo[2] && c->TraceReport().Bcch().abSysInfo[3];
    }));
    frame->OnCommand(ID_CONTROL_BCCHSYSINFO);
    CBcchSysInfoDlg* dlg = frame->BcchDlg();
    ASSERT_TRUE(dlg->HasWindow());
    QTreeWidgetItem* lai =
        ElementItem(dlg->Tree(), 3, QStringLiteral("Location Area Identification"));
    ASSERT_NE(lai, nullptr);
    dlg->Tree()->setCurrentItem(lai);
    EXPECT_TRUE(dlg->Text().contains(QStringLiteral("Mobile Country Code (MCC):  262")))
        << dlg->Text().toStdString();
    // The LAC decoded from the octets is the one the Cell ID report gave.
    ASSERT_TRUE(WaitFor([&] { return !Text(IDC_LAC).isEmpty(); }));
    EXPECT_TRUE(dlg->Text().contains(QStringLiteral("(LAC): ") + Text(IDC_LAC).toUpper()))
        << dlg->Text().toStdString() << " LAC " << Text(IDC_LAC).toStdString();
    QTreeWidgetItem* rach = ElementItem(dlg->Tree(), 3, QStringLiteral("RACCH Control Parameter"));
    ASSERT_NE(rach, nullptr);
    dlg->Tree()->setCurrentItem(rach);
    EXPECT_TRUE(dlg->Text().contains(QStringLiteral("ECC 10: ")));
    QTreeWidgetItem* sel = ElementItem(dlg->Tree(), 3, QStringLiteral("Cell Selection Parameters"));
    dlg->Tree()->setCurrentItem(sel);
    EXPECT_TRUE(dlg->Text().contains(QStringLiteral("RXLEV-ACCESS-MIN: ")));
    SaveScreen(dlg, "readme-bcch");
    // A second command while it is open does nothing; OK closes it and the
    // frame destroys its window.
    frame->OnCommand(ID_CONTROL_BCCHSYSINFO);
    EXPECT_TRUE(dlg->HasWindow());
    dlg->Item<QAbstractButton>(IDOK)->click();
    EXPECT_TRUE(WaitFor([&] { return !dlg->HasWindow(); }, 2000));
}

TEST_F(E2E, ScreensOfThePanelIdleAndInACall)
{
    CSimOptions o = FastSim();
    Start(o, "17"); // with the log pane
    ToIdle();
    ASSERT_TRUE(WaitFor([&] {
        return !c->GetDlgItemText(g_anNeighbourIds[2][0]).isEmpty() && !Text(IDC_MCC).isEmpty() &&
               !Text(IDC_MINRX).isEmpty();
    }));
    // The log follows the newest entry.
    auto* log = c->Item<QListView>(IDC_LOG);
    EXPECT_TRUE(WaitFor([&] { return CurrentRow(*log) == RowCount(*log) - 1; }, 2000))
        << CurrentRow(*log) << " of " << RowCount(*log);
    SaveScreen(frame.get(), "readme-idle");
    ASSERT_TRUE(sim->RingFrom(QStringLiteral("+4930123456")));
    // The state goes back to ringing at every RING; the caller's number stays.
    ASSERT_TRUE(WaitFor([&] { return Text(IDC_NUMBER) == QStringLiteral("+4930123456"); }));
    QTest::mouseClick(c->Item<QAbstractButton>(IDC_YES), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] {
        return Text(IDC_OUTPOWER).endsWith(QStringLiteral("dBm")) &&
               Text(IDC_TIMINGADV).endsWith(QStringLiteral("km")) && !Text(IDC_TIMESLOT).isEmpty();
    }));
    SaveScreen(frame.get(), "readme-call");
}

TEST_F(E2E, ChannelScanDrawsLevelsAndGoLocksTheChosenChannel)
{
    Start(FastSim());
    ToIdle();
    ASSERT_TRUE(frame->Action(ID_CONTROL_CHANNELSCAN)->isEnabled());
    int chosen = 0;
    bool drawn = false;
    answer.handler = [&](QWidget* w) {
        auto* dlg = qobject_cast<CChannelScanDlg*>(w);
        if (!dlg)
            return false;
        dlg->SetDlgItemText(1050, QStringLiteral("1"));
        dlg->SetDlgItemText(1043, QStringLiteral("124"));
        dlg->Model().m_anRange[0] = 1;
        dlg->Model().m_anRange[1] = 124;
        dlg->OnSelect();
        // Levels arrive with the module's "RF Scan" cycles and are drawn.
        drawn = QTest::qWaitFor(
            [&] {
                for (int ch = 1; ch <= 124; ++ch)
                    if (dlg->Layout().m_anBarX[CTraceReport::IndexOfChannel(ch)] < 0)
                        return false;
                return true;
            },
            8000);
        // The strongest channel is picked with the pointer.
        int best = -1;
        for (int ch = 1; ch <= 124; ++ch) {
            const int level = c->TraceReport().GetScanLevel(ch);
            if (level > best) {
                best = level;
                chosen = ch;
            }
        }
        const int x = dlg->Layout().m_anBarX[CTraceReport::IndexOfChannel(chosen)];
        const QPoint at(x + qMax(dlg->Layout().m_nBarWidth / 2, 0), dlg->Graph()->height() / 2);
        QTest::mouseMove(dlg->Graph(), at);
        QTest::mousePress(dlg->Graph(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(dlg->Graph(), Qt::LeftButton, Qt::NoModifier, at);
        SaveScreen(dlg, "readme-scan");
        dlg->Item<QAbstractButton>(IDOK)->click(); // Go
        return true;
    };
    sim->ClearReceived();
    frame->OnCommand(ID_CONTROL_CHANNELSCAN);
    ASSERT_TRUE(drawn);
    ASSERT_GT(chosen, 0);
    EXPECT_TRUE(WaitFor([&] { return sim->ReceivedData().contains(QStringLiteral("AT+COPS=0")); }));
    const QByteArray trace = sim->ReceivedTrace();
    EXPECT_TRUE(trace.startsWith("*6+FT+Q\\8\\66QF*S\r\r1-124\r")) << trace.left(40).constData();
    const QByteArray lock =
        "5" + QByteArray::number(chosen) + "\r\\F" + QByteArray::number(chosen) + "\r";
    EXPECT_GT(trace.indexOf(lock), trace.indexOf("*S1\r\r1\r")) << trace.constData();
    EXPECT_TRUE(WaitFor([&] { return sim->ReceivedData().contains(QStringLiteral("AT+COPS=0")); }));
    EXPECT_TRUE(
        WaitFor([&] { return sim->Status().bLocked && sim->Status().nServingArfcn == chosen; }));
    EXPECT_TRUE(c->IsDlgButtonChecked(IDC_BSLOCK));
    EXPECT_EQ(c->GetDlgItemText(IDC_BSLOCK_CHANNEL), QString::number(chosen));
}
