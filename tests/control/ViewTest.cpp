// SPDX-License-Identifier: GPL-3.0-or-later
// What the module's conversation shows, as it lands on the form.
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>

#include "PanelFixture.h"
#include "TestAccess.h"
#include "platform/UiServices.h"

using View = PanelTest;

TEST_F(View, TextsAndFieldsLandOnTheirControls)
{
    CSequencerView& view = *dlg;
    view.ShowStatus(QStringLiteral("Searching"));
    view.SetPowerButton(QStringLiteral("Off"));
    view.ShowImei(QStringLiteral("350123456789012"));
    view.ShowImsi(QStringLiteral("262011234567890"));
    view.ShowRegistration(QStringLiteral("5"));
    EXPECT_EQ(Text(IDC_STATUS), "Searching");
    EXPECT_EQ(Text(IDC_POWER), "Off");
    EXPECT_EQ(Text(IDC_IMEI), "350123456789012");
    EXPECT_EQ(Text(IDC_IMSI), "262011234567890");
    EXPECT_EQ(Text(IDC_LAC), "5");

    // The entry field: a number as the user's input is kept, a caller as it came.
    dlg->RunStep(STEP_CALLER_ID);
    view.ShowNumber(QStringLiteral("12a3"));
    EXPECT_EQ(Text(IDC_NUMBER), "123");
    view.ShowCaller(QStringLiteral("Anonym"));
    EXPECT_EQ(Text(IDC_NUMBER), "Anonym");
    view.EnableNumber(false);
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_NUMBER));
    view.EnableNumber(true);
    EXPECT_TRUE(dlg->IsDlgItemEnabled(IDC_NUMBER));

    dlg->Item<QComboBox>(IDC_CALLTYPE)->setCurrentIndex(2);
    view.ResetCallType();
    EXPECT_EQ(Text(IDC_CALLTYPE), "Voice");
    EXPECT_EQ(dlg->Item<QComboBox>(IDC_CALLTYPE)->currentIndex(), 0);

    // The library's rows.
    view.AddLibraryEntry(3, QStringLiteral("Smith, John"), QStringLiteral("+555"));
    view.AddLibraryEntry(-1, QStringLiteral("Office"), QStringLiteral("5678"));
    EXPECT_EQ(TestAccess::Library(*dlg).m_arrEntries,
              QStringList({":Smith, John; 3;| +555", " Office; -1;| 5678"}));
    view.ClearLibrary();
    EXPECT_TRUE(TestAccess::Library(*dlg).m_arrEntries.isEmpty());
}

TEST_F(View, ClearingsEmptyTheirControls)
{
    CSequencerView& view = *dlg;
    const int cell[] = {IDC_MNC,  IDC_MCC,  IDC_LAC,   IDC_CI,
                        IDC_BCCH, IDC_BSIC, IDC_MINRX, IDC_DIFFRX};
    const int meters[] = {IDC_RXLEV,
                          IDC_RXQUAL,
                          IDC_TIMESLOT,
                          IDC_TIMINGADV,
                          IDC_OUTPOWER,
                          g_anNeighbourIds[2][0],
                          g_anNeighbourIds[5][2]};
    for (int id : cell)
        dlg->SetDlgItemText(id, QStringLiteral("7"));
    for (int id : meters)
        dlg->SetDlgItemText(id, QStringLiteral("7"));
    dlg->SetDlgItemText(IDC_BSLOCK_CHANNEL, QStringLiteral("62"));
    dlg->CheckDlgButton(IDC_BSLOCK, true);
    dlg->SetBar(IDC_RXLEV_BAR, 30);
    dlg->SetBar(g_anNeighbourIds[0][3], 20);
    dlg->Item<QListWidget>(IDC_TRAFFICCHANNELS)->addItem(QStringLiteral("12"));
    const int nBsLockCalls = frame.bsLockCalls;

    view.ClearServingCell();
    for (int id : cell)
        EXPECT_EQ(Text(id), "") << id;
    // The lock box is cleared without release commands and without telling the frame.
    view.ClearBsLock();
    EXPECT_FALSE(dlg->IsDlgButtonChecked(IDC_BSLOCK));
    EXPECT_EQ(Text(IDC_BSLOCK_CHANNEL), "");
    EXPECT_EQ(frame.bsLockCalls, nBsLockCalls);
    EXPECT_TRUE(Trace(20).isEmpty());
    view.ClearMeters();
    for (int id : meters)
        EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(dlg->BarPos(IDC_RXLEV_BAR), 0);
    EXPECT_EQ(dlg->BarPos(g_anNeighbourIds[0][3]), 0);
    EXPECT_EQ(dlg->Item<QListWidget>(IDC_TRAFFICCHANNELS)->count(), 0);

    // The call meters: on for a call, off afterwards with their bars at 0.
    view.EnableCallMeters();
    for (int id : {IDC_TIMINGADV, IDC_TIMINGADV_BAR, IDC_OUTPOWER, IDC_OUTPOWER_BAR})
        EXPECT_TRUE(dlg->IsDlgItemEnabled(id)) << id;
    dlg->SetBar(IDC_TIMINGADV_BAR, 10);
    dlg->SetBar(IDC_OUTPOWER_BAR, 10);
    view.DisableCallMeters();
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_TIMINGADV));
    EXPECT_FALSE(dlg->IsDlgItemEnabled(IDC_OUTPOWER));
    EXPECT_EQ(dlg->BarPos(IDC_TIMINGADV_BAR), 0);
    EXPECT_EQ(dlg->BarPos(IDC_OUTPOWER_BAR), 0);
}

TEST_F(View, CursorsPausesAndQuestions)
{
    CSequencerView& view = *dlg;
    view.WaitCursor();
    EXPECT_TRUE(CUiServices::IsWaitCursor());
    view.ArrowCursor();
    EXPECT_FALSE(CUiServices::IsWaitCursor());
    const int nBeeps = CUiServices::BeepCount();
    view.Beep();
    EXPECT_EQ(CUiServices::BeepCount(), nBeeps + 1);
    QElapsedTimer t;
    t.start();
    view.Pause(30);
    EXPECT_GE(t.elapsed(), 25);

    answerer.answerCancel = true;
    EXPECT_FALSE(view.Confirm(QStringLiteral("Do you want to set power off?")));
    answerer.answerCancel = false;
    EXPECT_TRUE(view.Confirm(QStringLiteral("Do you want to set power off?")));
    EXPECT_EQ(answerer.messages,
              QStringList({"Do you want to set power off?", "Do you want to set power off?"}));

    frame.resetOnStart = 1;
    frame.traceFlags = QStringLiteral("878000");
    EXPECT_TRUE(view.IsResetOnStart());
    EXPECT_EQ(view.TraceFlags(), "878000");
}
