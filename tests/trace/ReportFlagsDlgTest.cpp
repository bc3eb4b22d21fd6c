// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "FakeFrame.h"
#include "ModalAnswerer.h"
#include "trace/ReportFlagsDlg.h"

namespace {
// Group switches and their alternatives, as tabled for the dialog.
const int kSwitches[] = {1129, 1108, 1114, 1116, 1121, 1124};
const int kLeft[] = {1138, 1135, 1137, 1111, 1113, 1112, 1127, 1128, 1133, 1134, 1110, 1136};

class FlagsDlg : public ::testing::Test
{
protected:
    void Open(const QString& flags)
    {
        f.traceFlags = flags;
        dlg.DestroyWindow();
        ASSERT_TRUE(dlg.Create());
    }
    void TearDown() override { dlg.DestroyWindow(); }
    void Click(int id)
    {
        auto* b = dlg.Item<QAbstractButton>(id);
        ASSERT_NE(b, nullptr) << id;
        b->click();
    }
    bool Checked(int id) const { return dlg.IsDlgButtonChecked(id); }
    bool Enabled(int id) const { return dlg.IsDlgItemEnabled(id); }
    QString PressOk()
    {
        Click(IDOK);
        return f.traceFlags;
    }

    FakeFrame f;
    CReportFlagsDlg dlg{&f};
};
} // namespace

TEST_F(FlagsDlg, Presets)
{
    Open("0");
    Click(1148); // All
    for (int id : kLeft)
        EXPECT_TRUE(Checked(id)) << id;
    for (int id : kSwitches)
        EXPECT_TRUE(Checked(id)) << id;
    // The first alternative of each group in priority order.
    for (int id : {1131, 1132, 1115, 1117, 1122, 1125})
        EXPECT_TRUE(Checked(id)) << id;
    for (int id : {1130, 1109, 1118, 1119, 1120, 1123, 1126})
        EXPECT_FALSE(Checked(id)) << id;
    const int all = 0x1FFFFFF & ~(0x1 | 0x2 | 0x4 | 0x100 | 0x2000 | 0x80 | 0x800);
    EXPECT_EQ(dlg.Flags(), all);

    Click(1147); // Default
    EXPECT_EQ(dlg.Flags(), 0x878000);
    for (int id : {1131, 1132, 1122, 1138, 1137, 1129, 1108, 1121})
        EXPECT_TRUE(Checked(id)) << id;
    for (int id : {1135, 1111, 1113, 1112, 1127, 1128, 1133, 1134, 1110, 1136, 1114, 1116, 1124})
        EXPECT_FALSE(Checked(id)) << id;
    for (int id : {1115, 1119, 1117, 1120, 1125, 1126})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(1130));
    EXPECT_EQ(PressOk(), QString("878000"));
}

TEST_F(FlagsDlg, ResetAndAllWrittenInLowerCase)
{
    Open("878000");
    Click(1150); // Reset
    for (int id : kSwitches)
        EXPECT_FALSE(Checked(id));
    for (int id : {1130, 1131, 1109, 1118, 1132, 1115, 1119, 1117, 1120, 1122, 1123, 1125, 1126})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(PressOk(), QString("0"));
}

TEST_F(FlagsDlg, OpensOnTheSettingsDefaultAndNormalises)
{
    Open("FFFFFF");
    EXPECT_TRUE(Checked(1131)); // Idle Mode Full
    EXPECT_FALSE(Checked(1130));
    EXPECT_TRUE(Checked(1132)); // Dedicated Mode Full
    EXPECT_FALSE(Checked(1109));
    EXPECT_FALSE(Checked(1118));
    EXPECT_TRUE(Checked(1115)); // SACCH complete
    EXPECT_TRUE(Checked(1117)); // Channel Request Rest Octets
    EXPECT_TRUE(Checked(1122)); // BCCH Rest Octets
    EXPECT_TRUE(Checked(1126)); // Paging standard
    EXPECT_FALSE(Checked(1125));
    const int expected = 0xFFFFFF & ~(0x1 | 0x2 | 0x4 | 0x100 | 0x2000 | 0x80);
    EXPECT_EQ(PressOk(), QString::number(expected, 16));
    EXPECT_EQ(f.traceFlags, QString("ffde78"));

    // "Last" reads the stored text again; text that is not hexadecimal reads as 0.
    Open("xyz");
    for (int id : kSwitches)
        EXPECT_FALSE(Checked(id));
    EXPECT_EQ(dlg.Flags(), 0);
}

TEST_F(FlagsDlg, GroupSwitchesAndAlternatives)
{
    Open("0");
    Click(1124); // Paging on: "standard"
    EXPECT_EQ(dlg.Flags(), 0x800);
    EXPECT_TRUE(Checked(1126));
    EXPECT_TRUE(Enabled(1125));
    Click(1125); // Rest Octets chosen
    EXPECT_EQ(dlg.Flags(), 0x1000000);
    EXPECT_FALSE(Checked(1126));
    Click(1125); // choosing it again keeps it
    EXPECT_TRUE(Checked(1125));
    EXPECT_EQ(dlg.Flags(), 0x1000000);
    Click(1124); // Paging off
    EXPECT_EQ(dlg.Flags(), 0);
    EXPECT_FALSE(Checked(1125));
    EXPECT_FALSE(Enabled(1126));

    // The Channel Request group touches only its own bits.
    Click(1114); // SACCH on
    Click(1116);
    EXPECT_EQ(dlg.Flags(), 0x100 | 0x2000);
    Click(1117);
    EXPECT_EQ(dlg.Flags(), 0x100 | 0x400000);
    Click(1116);
    EXPECT_EQ(dlg.Flags(), 0x100);
    EXPECT_TRUE(Checked(1119));

    // Dedicated Mode "With FER" clears the other two.
    Click(1108);
    Click(1132);
    EXPECT_EQ(dlg.Flags() & 0x40006, 0x40000);
    Click(1118);
    EXPECT_EQ(dlg.Flags() & 0x40006, 0x4);
    EXPECT_FALSE(Checked(1132));
    EXPECT_FALSE(Checked(1109));

    // Left-column boxes set and clear their bit.
    Click(1133);
    EXPECT_TRUE(dlg.Flags() & 0x80000);
    Click(1133);
    EXPECT_FALSE(dlg.Flags() & 0x80000);
}

TEST_F(FlagsDlg, CancelStoresNothing)
{
    Open("878000");
    Click(1148);
    Click(1124);
    Click(IDCANCEL);
    EXPECT_EQ(f.traceFlags, QString("878000"));
}

TEST(ReportFlagsDialog, ModalRunAndScreenshot)
{
    FakeFrame f;
    f.traceFlags = "878000";
    CReportFlagsDlg dlg(&f);
    ModalAnswerer answerer;
    bool grabbed = false;
    answerer.handler = [&](QWidget* w) {
        if (w != &dlg)
            return false;
        QDir().mkpath(SCREENS_DIR);
        grabbed = dlg.grab().save(QString(SCREENS_DIR) + "/report_flags.png");
        dlg.Item<QAbstractButton>(1133)->click();
        dlg.Item<QAbstractButton>(IDOK)->click();
        return true;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(grabbed);
    EXPECT_EQ(f.traceFlags, QString("8f8000"));
    EXPECT_EQ(dlg.windowTitle(), QString("Report Flags"));
}
