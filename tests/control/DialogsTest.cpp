// SPDX-License-Identifier: GPL-3.0-or-later
// The number library and data content dialogs, alone and from the phone pad.
#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "PanelFixture.h"
#include "TestAccess.h"
#include "common/ModalAnswerer.h"
#include "control/DataContent.h"
#include "control/LibraryDlg.h"
#include "platform/UiServices.h"
#include "protocol/AtCommands.h"

namespace {
QStringList Rows(QListWidget* list)
{
    QStringList rows;
    for (int i = 0; list && i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

void ClickButton(QWidget* dlg, int id)
{
    for (auto* b : dlg->findChildren<QAbstractButton*>()) {
        if (CTemplateDialog::CtrlId(b) == id) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << id;
}

void SaveScreen(QWidget* w, const char* name)
{
    QDir().mkpath(QStringLiteral(SCREENS_DIR));
    EXPECT_TRUE(w->grab().save(QStringLiteral(SCREENS_DIR "/") + QLatin1String(name)));
}
} // namespace

TEST(LibraryDlg, RowsAndSelection)
{
    CLibraryDlg dlg;
    dlg.AddEntry(1, QStringLiteral("Home"), QStringLiteral("+1234"));
    dlg.AddEntry(2, QStringLiteral("Office"), QStringLiteral("5678"));
    dlg.AddEntry(-1, QStringLiteral("Blank"), QStringLiteral("9"));
    EXPECT_EQ(dlg.m_arrEntries,
              QStringList({":Home; 1;| +1234", ":Office; 2;| 5678", " Blank; -1;| 9"}));

    ModalAnswerer answerer;
    QStringList shown;
    QStringList picked;
    answerer.handler = [&](QWidget* w) {
        auto* list = dlg.m_listNumbers;
        shown = Rows(list);
        picked << dlg.m_strSelected; // nothing selected at the start
        list->setCurrentRow(2);
        picked << dlg.m_strSelected;
        list->setCurrentRow(0);
        picked << dlg.m_strSelected;
        list->clearSelection(); // no row: the last choice stays
        picked << dlg.m_strSelected;
        list->setCurrentRow(2);
        SaveScreen(w, "library.png");
        ClickButton(w, IDOK);
        return true;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, QStringList({"######################", ":Home; 1;| +1234", ":Office; 2;| 5678",
                                  " Blank; -1;| 9"}));
    EXPECT_EQ(picked, QStringList({"", "5678", "####################", "####################"}));
    EXPECT_EQ(dlg.m_strSelected, "5678");
    EXPECT_FALSE(dlg.HasWindow());

    // The rows survive from one showing to the next; the choice does not.
    answerer.handler = [&](QWidget* w) {
        shown = Rows(dlg.m_listNumbers);
        ClickButton(w, IDCANCEL);
        return true;
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(shown.size(), 4);
    EXPECT_EQ(dlg.m_strSelected, "");

    dlg.RemoveAllEntries();
    EXPECT_TRUE(dlg.m_arrEntries.isEmpty());
}

TEST(LibraryDlg, AwkwardNamesAndLongRows)
{
    CLibraryDlg dlg;
    // A name holding the number mark does not change the number picked.
    dlg.AddEntry(5, QStringLiteral("A;| B"), QStringLiteral("123"));
    // A row longer than its room gives up the end of the name, not the number.
    dlg.AddEntry(6, QString(250, QLatin1Char('n')), QStringLiteral("+49301234"));
    ASSERT_EQ(dlg.m_arrEntries.size(), 2);
    EXPECT_EQ(dlg.m_arrEntries[1].size(), CLibraryDlg::kRowLength);
    EXPECT_TRUE(dlg.m_arrEntries[1].endsWith(QLatin1String("; 6;| +49301234")));
    dlg.AddEntry(7, QStringLiteral("x"), QString(300, QLatin1Char('1')));
    EXPECT_EQ(dlg.m_arrEntries[2].size(), CLibraryDlg::kRowLength);

    ModalAnswerer answerer;
    QStringList picked;
    answerer.handler = [&](QWidget* w) {
        dlg.m_listNumbers->setCurrentRow(1);
        picked << dlg.m_strSelected;
        dlg.m_listNumbers->setCurrentRow(2);
        picked << dlg.m_strSelected;
        ClickButton(w, IDOK);
        return true;
    };
    dlg.DoModal();
    EXPECT_EQ(picked, QStringList({"123", "+49301234"}));
}

TEST(DataContentDlg, TextIsTakenOnOkOnly)
{
    CDataContent dlg;
    ModalAnswerer answerer;
    QString seen;
    answerer.handler = [&](QWidget* w) {
        seen = dlg.m_editContent->text();
        EXPECT_EQ(w->focusWidget(), dlg.m_editContent);
        QTest::keyClicks(dlg.m_editContent, QStringLiteral("Hello"));
        SaveScreen(w, "datacontent.png");
        ClickButton(w, IDOK);
        return true;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strContent, "Hello");

    // Reopened empty; Cancel keeps the last text.
    answerer.handler = [&](QWidget* w) {
        seen = dlg.m_editContent->text();
        dlg.m_editContent->setText(QStringLiteral("other"));
        ClickButton(w, IDCANCEL);
        return true;
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(seen, "");
    EXPECT_EQ(dlg.m_strContent, "Hello");
}

TEST(DataContentDlg, ControlCharactersAreRemovedBeforeTheTextIsTaken)
{
    EXPECT_EQ(AtMessageText(QString::fromLatin1("a\x1a"
                                                "b\x1b"
                                                "c\r\nd\te\x7f"
                                                "f\x85g")),
              "abcdefg");
    EXPECT_EQ(AtMessageText(QString::fromUtf8("Grüße, 10€!")), QString::fromUtf8("Grüße, 10€!"));

    CDataContent dlg;
    ModalAnswerer answerer;
    QStringList fieldAfterOk;
    int nBeeps = 0;
    answerer.handler = [&](QWidget* w) {
        dlg.m_editContent->setText(QString::fromLatin1("Hi\x1a"
                                                       "ATD112\r"));
        nBeeps = CUiServices::BeepCount();
        ClickButton(w, IDOK);
        // The first OK shows the cleaned text and beeps; the dialog stays.
        fieldAfterOk << dlg.m_editContent->text();
        EXPECT_EQ(CUiServices::BeepCount(), nBeeps + 1);
        EXPECT_TRUE(w->isVisible());
        ClickButton(w, IDOK);
        return true;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(fieldAfterOk, QStringList({"HiATD112"}));
    EXPECT_EQ(dlg.m_strContent, "HiATD112");
}

using PadDialogs = PanelTest;

TEST_F(PadDialogs, LibraryPickDialsTheNumber)
{
    dlg->RunStep(STEP_IDLE);
    TestAccess::Library(*dlg).AddEntry(1, QStringLiteral("Home"), QStringLiteral("+1234"));
    TestAccess::Library(*dlg).AddEntry(2, QStringLiteral("Office"), QStringLiteral("5678"));
    answerer.handler = [&](QWidget* w) {
        TestAccess::Library(*dlg).m_listNumbers->setCurrentRow(2);
        ClickButton(w, IDOK);
        return true;
    };
    dlg->OnLibrary();
    EXPECT_EQ(Text(IDC_NUMBER), "5678");
    EXPECT_EQ(Trace(), QByteArray("\\D5678\r"));
    EXPECT_EQ(dlg->State(), STEP_ESTABLISH_CALL);

    // OK without a choice: "yes" runs on an empty field, which sends nothing.
    dlg->RunStep(STEP_IDLE);
    answerer.handler = [&](QWidget* w) {
        ClickButton(w, IDOK);
        return true;
    };
    dlg->OnLibrary();
    EXPECT_EQ(Text(IDC_NUMBER), "");
    EXPECT_EQ(dlg->State(), STEP_IDLE);
    EXPECT_TRUE(Trace(20).isEmpty());

    // Cancel changes nothing.
    dlg->SetDlgItemText(IDC_NUMBER, QStringLiteral("11"));
    answerer.handler = [&](QWidget* w) {
        TestAccess::Library(*dlg).m_listNumbers->setCurrentRow(1);
        ClickButton(w, IDCANCEL);
        return true;
    };
    dlg->OnLibrary();
    EXPECT_EQ(Text(IDC_NUMBER), "11");
    EXPECT_TRUE(Trace(20).isEmpty());
}

TEST_F(PadDialogs, MessageTextFromTheDataContentDialog)
{
    answerer.handler = [&](QWidget* w) {
        TestAccess::DataContent(*dlg).m_editContent->setText(QString::fromLatin1("Meet\x1a\x1b"
                                                                                 "AT+CMGD=1\r"));
        ClickButton(w, IDOK); // cleaned and shown
        ClickButton(w, IDOK); // taken
        return true;
    };
    dlg->OnDataContent();
    EXPECT_EQ(TestAccess::MessageText(*dlg), "MeetAT+CMGD=1");

    // The whole message on the wire: one command, the text, one Ctrl-Z.
    dlg->RunStep(STEP_IDLE);
    dlg->SetDlgItemText(IDC_CALLTYPE, QStringLiteral("SMS"));
    dlg->SetDlgItemText(IDC_NUMBER, QStringLiteral("0170"));
    dlg->OnYes();
    EXPECT_EQ(Data(), QByteArray("AT+CMGS=\"0170\"\r"));
    Line("AT+CMGS=\"0170\"");
    EXPECT_EQ(Data(), QByteArray("MeetAT+CMGD=1\x1a"));

    // Cancel keeps the text.
    answerer.handler = [&](QWidget* w) {
        TestAccess::DataContent(*dlg).m_editContent->setText(QStringLiteral("new"));
        ClickButton(w, IDCANCEL);
        return true;
    };
    dlg->OnDataContent();
    EXPECT_EQ(TestAccess::MessageText(*dlg), "MeetAT+CMGD=1");
}
