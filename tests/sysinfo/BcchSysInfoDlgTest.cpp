// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <cstring>

#include "FakeFrame.h"
#include "TestAccess.h"
#include "control/TessolyDlg.h"
#include "sysinfo/BcchSysInfoDlg.h"

namespace {
class BcchDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(panel.CreatePanel());
        frame.controller = &panel;
    }
    void TearDown() override { dlg.DestroyWindow(); }

    // A Bcch_Report as the trace port delivers it.
    void Report(const char* line)
    {
        QString s = QString::fromLatin1(line);
        TestAccess::Record(panel).ParseLine(s);
    }

    QTreeWidgetItem* Element(int type, int element) const
    {
        QTreeWidgetItem* t = dlg.Tree()->topLevelItem(type - 1);
        return element == 0 ? t : t->child(element - 1);
    }
    void Select(int type, int element) { dlg.Tree()->setCurrentItem(Element(type, element)); }

    FakeFrame frame;
    CTessolyDlg panel{&frame};
    CBcchSysInfoDlg dlg{&frame, &panel.TraceReport()};
};

QString Header(int type, const char* item)
{
    QString h = QStringLiteral("System Information Type %1  -  %2\r\n").arg(type).arg(item);
    return h + QString(h.size() * 155 / 100, QLatin1Char('-')) + QStringLiteral("\r\n");
}
} // namespace

TEST_F(BcchDlgTest, FreshWindowTreeAndHeader)
{
    EXPECT_FALSE(dlg.HasWindow());
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.isVisible());
    QTreeWidget* tree = dlg.Tree();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 4);
    const int counts[4] = {3, 3, 7, 6};
    for (int t = 1; t <= 4; ++t) {
        QTreeWidgetItem* item = tree->topLevelItem(t - 1);
        EXPECT_EQ(item->text(0), QStringLiteral("System Information Type %1").arg(t));
        EXPECT_EQ(item->data(0, Qt::UserRole).toInt(), 10 * t);
        EXPECT_FALSE(item->isExpanded());
        ASSERT_EQ(item->childCount(), counts[t - 1]);
        for (int e = 1; e <= counts[t - 1]; ++e)
            EXPECT_EQ(item->child(e - 1)->data(0, Qt::UserRole).toInt(), 10 * t + e);
    }
    EXPECT_EQ(tree->topLevelItem(2)->child(0)->text(0), QStringLiteral("Cell Identify Value"));
    EXPECT_TRUE(tree->selectedItems().isEmpty());
    EXPECT_TRUE(dlg.TextField()->toPlainText().isEmpty());
    EXPECT_TRUE(dlg.TextField()->isReadOnly());

    // Nothing received yet: header of 56 characters, 86 dashes, the waiting text.
    Select(1, 1);
    const QString first =
        QStringLiteral("System Information Type 1  -  Cell Channel Description\r\n");
    ASSERT_EQ(first.size(), 56);
    EXPECT_EQ(dlg.Text(),
              first + QString(86, QLatin1Char('-')) +
                  QStringLiteral("\r\n\r\nNo data available. Waiting for BCCH-Report..."));
    // The field shows plain line ends.
    EXPECT_EQ(dlg.TextField()->toPlainText(), QString(dlg.Text()).replace("\r\n", "\n"));

    // A type 2 element before any type 2 message, while type 1 has arrived.
    Report("Bcch_Report 21 12 34 19 08 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 45 00 04 2B");
    Select(2, 3);
    EXPECT_EQ(dlg.Text(), Header(2, "RACCH Control Parameter") +
                              QStringLiteral("\r\nNo data available. Waiting for BCCH-Report..."));
}

TEST_F(BcchDlgTest, OctetsShownStoredAndDecoded)
{
    ASSERT_TRUE(dlg.Create());
    // Octet count 21: all 20 octets.
    Report("Bcch_Report 21 12 34 19 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 45 00 04 2b");
    Select(1, 1);
    EXPECT_EQ(dlg.Text(), Header(1, "Cell Channel Description") +
                              QStringLiteral("12 34  [ 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                                             "00 01 45 00 04 2b ]\r\n"
                                             "\r\nNeigbouring channel list:\r\n1, 121 - 124"));
    EXPECT_EQ(dlg.m_abySysInfo[0][19], 0x2B);
    Select(1, 2);
    EXPECT_TRUE(dlg.Text().contains(QStringLiteral("]\r\n\r\nMax Retrans: 1 = 2 Maximum")));
    EXPECT_TRUE(dlg.Text().contains(QStringLiteral("\r\nACC 2: 1 = Access is barred")));

    // A shorter message of another type: octet count 11 gives 10 octets and 10 "??".
    std::memset(dlg.m_abySysInfo[3], 0xEE, 20);
    Report("Bcch_Report 11 AB C 1C 62 F2 10 12 34 45 0A 45 00 04");
    Select(4, 1);
    EXPECT_EQ(dlg.Text(), Header(4, "Location Area Identification") +
                              QStringLiteral("AB C  [ 62 F2 10 12 34 45 0A 45 00 04 ?? ?? ?? ?? ?? "
                                             "?? ?? ?? ?? ?? ]\r\n"
                                             "\r\nMobile Country Code (MCC):  262"
                                             "\r\nMobile Network Code (MNC): 01"
                                             "\r\nLocation Area Country Code (LAC): 1234"));
    for (int k = 10; k < 20; ++k)
        EXPECT_EQ(dlg.m_abySysInfo[3][k], 0) << k;
    Select(4, 4);
    EXPECT_TRUE(dlg.Text().endsWith(QStringLiteral("\r\nNo CBCH Channel Description defined")));

    // The header texts and the count come from the latest report of any
    // type, the octets from the latest report of the selected type.
    Select(1, 1);
    EXPECT_TRUE(dlg.Text().contains(
        QStringLiteral("AB C  [ 0F 00 00 00 00 00 00 00 00 00 ?? ?? ?? ?? ?? ?? ?? ?? ?? ?? ]")));
    EXPECT_TRUE(dlg.Text().endsWith(QStringLiteral("list:\r\n121 - 124")));

    // A field that is not hexadecimal decodes as 0; the band power comes
    // from the controller.
    std::strcpy(TestAccess::Bcch(TestAccess::Record(panel)).aszSysInfo[3][5], "zz");
    TestAccess::MaxPowerDbm(panel) = 30;
    Select(4, 2);
    EXPECT_TRUE(dlg.Text().contains(QStringLiteral(" zz 0A ")));
    EXPECT_TRUE(dlg.Text().contains(QStringLiteral("\r\nMS-TXPWR-MAX-CCH: 0 = 30 dBm")));
}

// The panel's diff RX and min RX are the dialog's cell selection values,
// also for an octet field the module would never send.
TEST_F(BcchDlgTest, PanelShowsTheCellSelectionTheDialogDecodes)
{
    ASSERT_TRUE(dlg.Create());
    panel.HandleTraceLine("Bcch_Report 21 12 34 1B 00 00 00 00 00 00 00 00 00 00 00 -1 1F 00 00 "
                          "00 00 00 00 00");
    Select(3, 5);
    EXPECT_TRUE(dlg.Text().contains(QStringLiteral("HYSTERESIS: 7 = 14 dB")));
    EXPECT_TRUE(dlg.Text().contains(QStringLiteral("RXLEV-ACCESS-MIN: 31 ")));
    EXPECT_EQ(panel.GetDlgItemText(IDC_DIFFRX), QStringLiteral("14"));
    EXPECT_EQ(panel.GetDlgItemText(IDC_MINRX), QStringLiteral("31"));
}

TEST_F(BcchDlgTest, RestOctetsFollowTheTraceFlags)
{
    ASSERT_TRUE(dlg.Create());
    Report("Bcch_Report 21 12 34 1B 2A 5F 62 F2 20 1A 2B 48 02 0A 17 65 48 79 00 00 2C 0B 2B 2B");
    frame.traceFlags = QStringLiteral("878000");
    Select(3, 7);
    EXPECT_TRUE(dlg.Text().endsWith(QStringLiteral("]\r\n\r\nRest Octets: 2C B 2B 2B ")));
    frame.traceFlags = QStringLiteral("80");
    Select(3, 6);
    Select(3, 7);
    EXPECT_TRUE(
        dlg.Text().endsWith(QStringLiteral("]\r\n\r\nBcch-Protocol without Rest Octets used!")));
}

TEST_F(BcchDlgTest, TypeItemKeepsTheTextAndNoRefreshOnNewReport)
{
    ASSERT_TRUE(dlg.Create());
    Report("Bcch_Report 21 12 34 1B 2A 5F 62 F2 20 1A 2B 48 02 0A 17 65 48 79 00 00 2C 0B 2B 2B");
    Select(3, 1);
    const QString shown = dlg.Text();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("\r\nCell Identity Value (CI): 2A5F")));
    Select(3, 0);
    EXPECT_EQ(dlg.Text(), shown);
    EXPECT_EQ(dlg.TextField()->toPlainText(), QString(shown).replace("\r\n", "\n"));
    // A newer report is shown only when the element is selected again.
    Report("Bcch_Report 21 12 34 1B 00 01 62 F2 20 1A 2B 48 02 0A 17 65 48 79 00 00 2C 0B 2B 2B");
    EXPECT_EQ(dlg.Text(), shown);
    Select(3, 1);
    EXPECT_TRUE(dlg.Text().endsWith(QStringLiteral("\r\nCell Identity Value (CI): 1")));
}

TEST_F(BcchDlgTest, CloseAndReopen)
{
    ASSERT_TRUE(dlg.Create());
    Select(2, 2);
    dlg.Tree()->expandAll();
    ASSERT_FALSE(dlg.Text().isEmpty());

    // OK asks the frame to destroy the window.
    auto* ok = qobject_cast<QPushButton*>(dlg.GetDlgItem(IDOK));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_EQ(frame.bcchClosedPosts, 1);
    EXPECT_FALSE(dlg.isVisible());
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(dlg.Tree(), nullptr);

    // A fresh window: collapsed tree, nothing selected, empty text.
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(dlg.Tree()->topLevelItemCount(), 4);
    for (int t = 0; t < 4; ++t)
        EXPECT_FALSE(dlg.Tree()->topLevelItem(t)->isExpanded());
    EXPECT_TRUE(dlg.Tree()->selectedItems().isEmpty());
    EXPECT_TRUE(dlg.TextField()->toPlainText().isEmpty());
    EXPECT_TRUE(dlg.Text().isEmpty());

    // The close box does the same.
    dlg.close();
    EXPECT_EQ(frame.bcchClosedPosts, 2);
    EXPECT_FALSE(dlg.isVisible());
    dlg.DestroyWindow();

    // Enter (OK is the default button) and Escape close it too; a window
    // only hidden could never be opened again from the menu.
    ASSERT_TRUE(dlg.Create());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &enter);
    EXPECT_EQ(frame.bcchClosedPosts, 3);
    dlg.DestroyWindow();
    ASSERT_TRUE(dlg.Create());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &escape);
    EXPECT_EQ(frame.bcchClosedPosts, 4);
    EXPECT_FALSE(dlg.isVisible());
    dlg.DestroyWindow();

    // Destroying a dialog that has no window is harmless.
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.HasWindow());
}

TEST_F(BcchDlgTest, WithoutController)
{
    FakeFrame bare;
    CBcchSysInfoDlg lone(&bare, nullptr);
    ASSERT_TRUE(lone.Create());
    lone.Tree()->setCurrentItem(lone.Tree()->topLevelItem(0)->child(0));
    EXPECT_TRUE(
        lone.Text().endsWith(QStringLiteral("\r\nNo data available. Waiting for BCCH-Report...")));
    lone.DestroyWindow();
}

TEST_F(BcchDlgTest, Screenshot)
{
    ASSERT_TRUE(dlg.Create());
    Report("Bcch_Report 21 12 34 1B 2A 5F 62 F2 20 1A 2B 48 02 0A 17 65 48 79 00 00 2C 0B 2B 2B");
    dlg.Tree()->expandItem(Element(3, 0));
    Select(3, 3);
    QCoreApplication::processEvents();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(SCREENS_DIR)));
    const QString path = QStringLiteral(SCREENS_DIR "/bcch_sysinfo.png");
    EXPECT_TRUE(dlg.grab().save(path));
    EXPECT_TRUE(QFile::exists(path));
}

// The window has a minimize box; the tree joins its items with lines, the
// top-level ones too, and marks items with children by a box.
TEST_F(BcchDlgTest, MinimizeBoxAndTreeLinesAndButtons)
{
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
    QTreeWidget* tree = dlg.Tree();
    tree->expandItem(tree->topLevelItem(1));
    QCoreApplication::processEvents();
    const QImage image = tree->viewport()->grab().toImage();
    QDir().mkpath(QStringLiteral(SCREENS_DIR));
    dlg.grab().save(QStringLiteral(SCREENS_DIR "/bcch-tree.png"));
    const QRgb background = tree->palette().color(QPalette::Base).rgb();
    const auto inked = [&](int x, int y1, int y2) {
        int n = 0;
        for (int y = y1; y <= y2; ++y)
            n += image.pixel(x, y) != background;
        return n;
    };
    const QRect first = tree->visualItemRect(tree->topLevelItem(0));
    const QRect second = tree->visualItemRect(tree->topLevelItem(1));
    const int cx = first.left() - tree->indentation() + tree->indentation() / 2;
    // A line runs down from the first top-level item to the second.
    EXPECT_GT(inked(cx, first.center().y() + 5, second.center().y() - 5), 0);
    // The box of an item with children: its left edge is solid.
    EXPECT_EQ(inked(cx - 4, first.center().y() - 2, first.center().y() + 2), 5);
    // A child is joined to its parent's line.
    const QRect child = tree->visualItemRect(tree->topLevelItem(1)->child(0));
    const int childX = child.left() - tree->indentation() / 2;
    EXPECT_GT(inked(childX, child.top(), child.center().y()), 2);
    EXPECT_GT(inked(cx, child.top(), child.bottom()), 2); // the top-level line passes by
}
