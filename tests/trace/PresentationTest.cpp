// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FakeFrame.h"
#include "ModalAnswerer.h"
#include "PtyPair.h"
#include "TestAccess.h"
#include "control/TessolyDlg.h"
#include "platform/PortNames.h"

namespace {
class Panel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        f.controller = &dlg;
        ASSERT_TRUE(dlg.CreatePanel());
        dlg.m_nTraceCharDelay = 0;
        dlg.m_nIdlePause = 0;
        dlg.m_nClosePause = 0;
    }
    void TearDown() override { dlg.ClosePanel(); }

    QString Text(int id) const { return dlg.GetDlgItemText(id); }
    QListWidget* Channels() const { return dlg.Item<QListWidget>(IDC_TRAFFICCHANNELS); }

    // Opens both ports on pseudo-terminals (data 1, trace 2).
    bool OpenPorts()
    {
        if (!dir.isValid() || !data.IsValid() || !trace.IsValid())
            return false;
        CPortNames::SetProfilePath(dir.filePath("ports.ini"));
        CPortNames::SetDevice(1, data.SlavePath());
        CPortNames::SetDevice(2, trace.SlavePath());
        int t = 2, d = 1;
        return dlg.OpenPorts(&t, &d);
    }

    FakeFrame f;
    CTessolyDlg dlg{&f};
    QTemporaryDir dir;
    PtyPair data, trace;
};

QString Bcch3Line(const char* a, const char* b)
{
    QString line = "Bcch_Report 23 12 34 1B";
    for (int k = 0; k < 20; ++k)
        line += ' ' + QString(k == 11 ? a : k == 12 ? b : "00");
    return line;
}
} // namespace

TEST_F(Panel, RxLevelAndServingCell)
{
    dlg.HandleTraceLine("Idle_Mode_Rpt 12 45");
    EXPECT_EQ(Text(IDC_BCCH), QString("12"));
    EXPECT_EQ(Text(IDC_RXLEV), QString("45 = -65 dBm"));
    EXPECT_EQ(dlg.BarPos(IDC_RXLEV_BAR), 46);
    dlg.HandleTraceLine("Idle_Mode_Rpt 12 0");
    EXPECT_EQ(Text(IDC_RXLEV), QString("0 = -110 dBm"));
    EXPECT_EQ(dlg.BarPos(IDC_RXLEV_BAR), 1);
    // An empty field reads as 0.
    dlg.HandleTraceLine("Idle_Mode_Rpt 12");
    EXPECT_EQ(Text(IDC_RXLEV), QString(" = -110 dBm"));
    // Unrecognised lines change nothing.
    dlg.HandleTraceLine("Idle_Mode_Rpt");
    dlg.HandleTraceLine("garbage 1 2 3");
    EXPECT_EQ(Text(IDC_RXLEV), QString(" = -110 dBm"));
}

TEST_F(Panel, DedicatedReportPowerLevelQuality)
{
    dlg.HandleTraceLine("Dedicated_Rpt 0 5 0 0 40 3");
    EXPECT_EQ(Text(IDC_OUTPOWER), QString("5=33 dBm"));
    EXPECT_EQ(dlg.BarPos(IDC_OUTPOWER_BAR), 34);
    EXPECT_EQ(Text(IDC_RXLEV), QString("40 = -70 dBm"));
    EXPECT_EQ(Text(IDC_RXQUAL), QString("3 = 1"));
    EXPECT_EQ(dlg.BarPos(IDC_RXQUAL_BAR), 31);
    TestAccess::MaxPowerDbm(dlg) = 30;
    dlg.HandleTraceLine("Dedicated_Rpt 0 5 0 0 40 3");
    EXPECT_EQ(Text(IDC_OUTPOWER), QString("5=20 dBm"));
    EXPECT_EQ(dlg.BarPos(IDC_OUTPOWER_BAR), 21);
    TestAccess::MaxPowerDbm(dlg) = 43;
    dlg.HandleTraceLine("Dedicated_Rpt 0 0 0 0 40 7");
    EXPECT_EQ(Text(IDC_OUTPOWER), QString("0=43 dBm"));
    EXPECT_EQ(dlg.BarPos(IDC_OUTPOWER_BAR), 35);
    EXPECT_EQ(Text(IDC_RXQUAL), QString("7 = 20"));
    EXPECT_EQ(dlg.BarPos(IDC_RXQUAL_BAR), 70);
}

TEST_F(Panel, FullReportsQualityAndTimingAdvance)
{
    dlg.HandleTraceLine("Full Idle Report 20 30 6");
    EXPECT_EQ(Text(IDC_RXQUAL), QString("6 = 10 %"));
    EXPECT_EQ(dlg.BarPos(IDC_RXQUAL_BAR), 61);
    EXPECT_EQ(Text(IDC_BCCH), QString("20"));

    dlg.HandleTraceLine("Full Ded Report 10");
    EXPECT_EQ(Text(IDC_TIMINGADV), QString("10 = 5.56 km"));
    EXPECT_EQ(dlg.BarPos(IDC_TIMINGADV_BAR), 11);
    dlg.HandleTraceLine("Full Ded Report 63");
    EXPECT_EQ(Text(IDC_TIMINGADV), QString("63 = 35.00 km"));
    dlg.HandleTraceLine("Full Ded Report 0");
    EXPECT_EQ(Text(IDC_TIMINGADV), QString("0 = 0.00 km"));

    // The pair selector chooses between the two measurement pairs.
    dlg.HandleTraceLine("Full Ded Report 1 2 40 2 50 4 1");
    EXPECT_EQ(Text(IDC_RXLEV), QString("40 = -70 dBm"));
    EXPECT_EQ(Text(IDC_RXQUAL), QString("2 = 0.5"));
    dlg.HandleTraceLine("Full Ded Report 1 2 40 2 50 4 0");
    EXPECT_EQ(Text(IDC_RXLEV), QString("50 = -60 dBm"));
    EXPECT_EQ(Text(IDC_RXQUAL), QString("4 = 2"));
    dlg.HandleTraceLine("Full Ded Report 1 2 40 2 51 5");
    EXPECT_EQ(Text(IDC_RXLEV), QString("51 = -59 dBm"));
}

TEST_F(Panel, BandOfTheShownChannel)
{
    struct Case
    {
        const char* channel;
        bool inList;
        int expected;
    };
    const Case cases[] = {{"512", true, 30}, {"885", true, 30},  {"886", true, 43},
                          {"124", true, 43}, {"600", false, 30}, {"", false, 43}};
    for (const Case& c : cases) {
        Channels()->clear();
        dlg.SetDlgItemText(IDC_BCCH, QString());
        if (c.inList)
            Channels()->addItem(c.channel);
        else
            dlg.SetDlgItemText(IDC_BCCH, c.channel);
        TestAccess::MaxPowerDbm(dlg) = 0;
        dlg.HandleTraceLine("Full Ded Report 0 5");
        EXPECT_EQ(dlg.MaxPowerDbm(), c.expected) << c.channel;
        EXPECT_EQ(Text(IDC_OUTPOWER), QString("5=%1 dBm").arg(c.expected - 10)) << c.channel;
    }
    // The list's first row wins over the BCCH edit.
    Channels()->clear();
    Channels()->addItem("20");
    dlg.SetDlgItemText(IDC_BCCH, "600");
    dlg.HandleTraceLine("Full Ded Report 0 5");
    EXPECT_EQ(dlg.MaxPowerDbm(), 43);
}

TEST_F(Panel, CellReselectionValues)
{
    // Before any System Information 3, nothing changes.
    dlg.HandleTraceLine("Bcch_Report 23 12 34 19 7F 1F");
    EXPECT_EQ(Text(IDC_DIFFRX), QString());
    EXPECT_EQ(Text(IDC_MINRX), QString());
    dlg.HandleTraceLine(Bcch3Line("7F", "1F"));
    EXPECT_EQ(Text(IDC_DIFFRX), QString("6"));
    EXPECT_EQ(Text(IDC_MINRX), QString("31"));
    dlg.HandleTraceLine(Bcch3Line("e0", "ff"));
    EXPECT_EQ(Text(IDC_DIFFRX), QString("14"));
    EXPECT_EQ(Text(IDC_MINRX), QString("63"));
}

TEST_F(Panel, CellIdentityAndFullIdleDescription)
{
    dlg.HandleTraceLine("Cell ID      CI: 1234 LAC: 567 MNC: 01 MCC: 262");
    EXPECT_EQ(Text(IDC_CI), QString("1234"));
    EXPECT_EQ(Text(IDC_LAC), QString("567"));
    EXPECT_EQ(Text(IDC_MNC), QString("01"));
    EXPECT_EQ(Text(IDC_MCC), QString("262"));

    Channels()->addItem("62");
    dlg.HandleTraceLine("Full Idle Desc BCCH 20 BSIC 33 CI 99 LAC 88 MNC 2 MCC 232");
    EXPECT_EQ(Text(IDC_CI), QString("1234")) << "shown only with its continuation lines";
    dlg.HandleTraceLine("CBCH Supported 1 x 3 a 1 b 0 TCH y 123 z 45");
    EXPECT_EQ(Text(IDC_BCCH), QString("20"));
    EXPECT_EQ(Text(IDC_BSIC), QString("33"));
    EXPECT_EQ(Text(IDC_CI), QString("99"));
    EXPECT_EQ(Text(IDC_LAC), QString("88"));
    EXPECT_EQ(Text(IDC_MNC), QString("2"));
    EXPECT_EQ(Text(IDC_MCC), QString("232"));
    EXPECT_EQ(Text(IDC_TIMESLOT), QString("3"));
    EXPECT_EQ(Channels()->count(), 0);
}

TEST_F(Panel, NeighbourRows)
{
    dlg.HandleTraceLine("Idle_Mode_Rpt 10 40");
    dlg.HandleTraceLine("NCell 3");
    dlg.HandleTraceLine("Idle_Mode_Rpt 10 40 20 30 99 21 45 5 22 32 6 23 33 7");
    const int(*ids)[5] = g_anNeighbourIds;
    EXPECT_EQ(Text(ids[0][0]), QString("20"));
    EXPECT_EQ(Text(ids[0][1]), QString()) << "BSIC 99 is shown empty";
    EXPECT_EQ(Text(ids[0][2]), QString("30 = -80 dBm"));
    EXPECT_EQ(dlg.BarPos(ids[0][3]), 31);
    EXPECT_EQ(Text(ids[1][1]), QString("5"));
    EXPECT_EQ(Text(ids[1][2]), QString("45 = -65 dBm"));
    EXPECT_EQ(Text(ids[2][0]), QString("22"));
    for (int row = 3; row < 6; ++row) {
        EXPECT_EQ(Text(ids[row][0]), QString());
        EXPECT_EQ(Text(ids[row][1]), QString());
        EXPECT_EQ(Text(ids[row][2]), QString());
        EXPECT_EQ(dlg.BarPos(ids[row][3]), 0);
    }
    // A kind without a neighbour table: empty texts, level read as 0.
    TestAccess::Neighbours(TestAccess::Record(dlg)) = 2;
    dlg.ShowNeighbours(REPORT_BCCH);
    EXPECT_EQ(Text(ids[0][0]), QString());
    EXPECT_EQ(Text(ids[1][2]), QString(" = -110 dBm"));
    EXPECT_EQ(dlg.BarPos(ids[1][3]), 1);
    EXPECT_EQ(Text(ids[2][2]), QString());
    // REPORT_NONE leaves the rows alone.
    dlg.ShowNeighbours(REPORT_NONE);
    EXPECT_EQ(Text(ids[1][2]), QString(" = -110 dBm"));
}

TEST_F(Panel, UndefinedRxQualityIsReportedOnceAndDoesNotEndTheProgram)
{
    ModalAnswerer answerer;
    dlg.HandleTraceLine("Dedicated_Rpt 0 5 0 0 40 3");
    ASSERT_EQ(Text(IDC_RXQUAL), QString("3 = 1"));

    dlg.HandleTraceLine("Dedicated_Rpt 0 5 0 0 41 9");
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages[0], QString("Undefined Value for RxQual=9\r\nTarn Error#: 3"));
    EXPECT_EQ(Text(IDC_RXQUAL), QString("3 = 1"));
    EXPECT_EQ(dlg.BarPos(IDC_RXQUAL_BAR), 31);
    EXPECT_EQ(Text(IDC_RXLEV), QString("41 = -69 dBm")) << "the rest of the report is shown";
    EXPECT_EQ(f.closeAppPosts, 0);
    EXPECT_NE(dlg.Log(), nullptr) << "channels and log survive";
    EXPECT_TRUE(dlg.isVisible());

    // Further bad values: no more boxes until a valid value was shown.
    dlg.HandleTraceLine("Dedicated_Rpt 0 5 0 0 40 8");
    dlg.HandleTraceLine("Full Idle Report 1 2 9");
    EXPECT_EQ(answerer.messages.size(), 1);
    dlg.HandleTraceLine("Full Idle Report 1 2 0");
    EXPECT_EQ(Text(IDC_RXQUAL), QString("0 = 0 %"));
    dlg.HandleTraceLine("Full Ded Report 0 0 0 8 0 0 1");
    ASSERT_EQ(answerer.messages.size(), 2);
    EXPECT_EQ(answerer.messages[1], QString("Undefined Value for RxQual=8\r\nTarn Error#: 3"));
    EXPECT_EQ(f.closeAppPosts, 0);
}

TEST_F(Panel, DedicatedChannelSendsTheCommandAndListsChannels)
{
    ASSERT_TRUE(OpenPorts());
    dlg.HandleTraceLine("Dedicated_Chan 60 7 2 x 3 a 1 b 0 TCH/F c 1 d 62");
    EXPECT_EQ(trace.Read(1000, 100), QByteArray("\\C"));
    EXPECT_EQ(Text(IDC_BCCH), QString("60"));
    EXPECT_EQ(Text(IDC_BSIC), QString("7"));
    EXPECT_EQ(Text(IDC_TIMESLOT), QString("3"));
    ASSERT_EQ(Channels()->count(), 1);
    EXPECT_EQ(Channels()->item(0)->text(), QString("62"));

    // Hopping: shown when the Chan_Count line has filled the list.
    dlg.HandleTraceLine("Dedicated_Chan 61 8 2 x 4 a 1 b 0 Hopping c 11 d 22 e 1");
    EXPECT_EQ(trace.Read(300, 50), QByteArray());
    EXPECT_EQ(Text(IDC_BCCH), QString("60"));
    dlg.HandleTraceLine("Chan_Count 3 10 20 30");
    EXPECT_EQ(trace.Read(1000, 100), QByteArray("\\C"));
    EXPECT_EQ(Text(IDC_BCCH), QString("61"));
    EXPECT_EQ(Text(IDC_TIMESLOT), QString("4"));
    ASSERT_EQ(Channels()->count(), 3);
    EXPECT_EQ(Channels()->item(0)->text(), QString("10"));
    EXPECT_EQ(Channels()->item(2)->text(), QString("30"));

    // Consumed: a further Chan_Count presents the cleared fields.
    dlg.HandleTraceLine("Chan_Count 1 40");
    EXPECT_EQ(trace.Read(1000, 100), QByteArray("\\C"));
    EXPECT_EQ(Text(IDC_BCCH), QString());
    EXPECT_EQ(Text(IDC_BSIC), QString());
    EXPECT_EQ(Text(IDC_TIMESLOT), QString());
    ASSERT_EQ(Channels()->count(), 1);
    EXPECT_EQ(Channels()->item(0)->text(), QString());
}

TEST_F(Panel, SendTraceFlagsOnTheWire)
{
    ASSERT_TRUE(OpenPorts());
    dlg.HandleTraceLine("Idle_Mode_Rpt 12 45");
    dlg.HandleTraceLine("Cell ID      CI: 1234 LAC: 567 MNC: 01 MCC: 262");
    dlg.HandleTraceLine(Bcch3Line("7F", "1F"));
    f.traceFlags = "FFFFFF";
    dlg.SendTraceFlags();
    EXPECT_EQ(trace.Read(1000, 150), QByteArray("*WFFFFFF\r"));
    EXPECT_TRUE(dlg.IsTraceReportsOn());
    EXPECT_EQ(TestAccess::TraceFlags(dlg), QString("FFFFFF"));
    EXPECT_EQ(dlg.State(), STEP_IDLE);
    EXPECT_EQ(Text(IDC_RXLEV), QString()) << "the displays were cleared";
    const CTraceReport& r = dlg.TraceReport();
    EXPECT_STREQ(r.IdleMode().szBcch, "");
    EXPECT_STREQ(r.CellId().szCi, "");
    EXPECT_FALSE(r.Bcch().abSysInfo[2]);
    EXPECT_EQ(r.Bcch().nOctets, 0);

    f.traceFlags = "878000";
    dlg.SendTraceFlags();
    EXPECT_EQ(trace.Read(1000, 150), QByteArray("*W878000\r"));
    f.traceFlags.clear();
    dlg.SendTraceFlags();
    EXPECT_EQ(trace.Read(1000, 150), QByteArray("*1*2*I+J+E"));
    EXPECT_TRUE(dlg.IsTraceReportsOn());
}
