// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/DialogUnits.h"
#include "platform/TemplateDialog.h"

TEST(DialogUnits, ConvertLikeThePlatform)
{
    // 8-point MS Sans Serif on the original platform: base units 6 x 13.
    CDialogUnits du(6, 13);
    EXPECT_EQ(du.X(4), 6);
    EXPECT_EQ(du.Y(8), 13);
    EXPECT_EQ(du.Rect(3, 0, 116, 156), QRect(5, 0, 174, 254));
    CDialogUnits real(CDialogUnits::DialogFont("MS Sans Serif", 8));
    EXPECT_GE(real.BaseX(), 4);
    EXPECT_GE(real.BaseY(), 10);
}

TEST(TemplateDialog, BuildsEveryControlWithItsIdCaptionAndRectangle)
{
    CTemplateDialog dlg(102);
    ASSERT_TRUE(dlg.Create());
    const DlgTemplate& t = GetDlgTemplate(102);
    int withId = 0;
    for (const CtlTemplate& c : t.controls) {
        if (c.id < 0)
            continue;
        ++withId;
        QWidget* w = dlg.GetDlgItem(c.id);
        ASSERT_NE(w, nullptr) << c.id;
        EXPECT_EQ(CTemplateDialog::CtrlId(w), c.id);
        EXPECT_EQ(w->accessibleDescription(), QString::number(c.id));
        EXPECT_FALSE(w->accessibleName().isEmpty()) << c.id;
        if (c.kind != CtlKind::ComboDropDown) {
            EXPECT_EQ(w->geometry(), dlg.Units().Rect(c.x, c.y, c.cx, c.cy)) << c.id;
        }
    }
    EXPECT_GE(withId, 80);
    EXPECT_EQ(dlg.GetDlgItemText(1018), QStringLiteral("yes"));
    EXPECT_EQ(dlg.Item<QGroupBox>(1017)->title(), QStringLiteral("Phone Pad"));
    EXPECT_EQ(dlg.Item<QComboBox>(1020)->count(), 3);
    EXPECT_EQ(dlg.Item<QComboBox>(1020)->itemText(2), QStringLiteral("Data"));
    EXPECT_FALSE(dlg.GetDlgItem(1025)->isEnabled()); // created disabled
    EXPECT_TRUE(dlg.GetDlgItem(1037)->isHidden());
    EXPECT_EQ(dlg.GetDlgItem(1038)->accessibleName(), QStringLiteral("Neighbour 1 BCCH"));
    EXPECT_EQ(dlg.GetDlgItem(1049)->accessibleName(), QStringLiteral("Neighbour 3 BSIC"));
    EXPECT_EQ(dlg.GetDlgItem(1026)->accessibleName(), QStringLiteral("RX Lev"));
}

TEST(TemplateDialog, WindowCanBeDestroyedAndCreatedAgain)
{
    CTemplateDialog dlg(162);
    ASSERT_TRUE(dlg.Create());
    dlg.SetDlgItemText(1041, QStringLiteral("x"));
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(dlg.GetDlgItem(1041), nullptr);
    ASSERT_TRUE(dlg.Create());
    EXPECT_NE(dlg.GetDlgItem(1041), nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Corvane Tarn Number Library Dialog"));
}

TEST(TemplateDialog, TextHelpersWorkOnEveryKind)
{
    CTemplateDialog dlg(130);
    ASSERT_TRUE(dlg.Create());
    dlg.CheckDlgButton(1138, true);
    EXPECT_TRUE(dlg.IsDlgButtonChecked(1138));
    dlg.EnableDlgItem(1130, false);
    EXPECT_FALSE(dlg.IsDlgItemEnabled(1130));
    CTemplateDialog scan(103);
    ASSERT_TRUE(scan.Create());
    scan.SetDlgItemText(1050, QStringLiteral("124"));
    EXPECT_EQ(scan.GetDlgItemInt(1050), 124);
    // The range fields take digits only.
    auto* edit = scan.Item<QLineEdit>(1050);
    edit->clear();
    edit->insert(QStringLiteral("1a2"));
    EXPECT_EQ(edit->text(), QString());
}
