// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLoggingCategory>
#include <cstring>
#include <gtest/gtest.h>

#include "TestAccess.h"
#include "trace/TraceReport.h"

namespace {
// Collects the lines of the diagnostics category while it lives.
class DiagCapture
{
public:
    DiagCapture()
    {
        s_lines.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("tessoly.trace.debug=true"));
        m_previous = qInstallMessageHandler(&DiagCapture::Handler);
    }
    ~DiagCapture()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }
    static QStringList s_lines;

private:
    static void Handler(QtMsgType, const QMessageLogContext& ctx, const QString& msg)
    {
        if (qstrcmp(ctx.category, "tessoly.trace") == 0)
            s_lines << msg;
    }
    QtMessageHandler m_previous;
};
QStringList DiagCapture::s_lines;

int Parse(CTraceReport& r, const QString& line)
{
    QString copy = line;
    return r.ParseLine(copy);
}

} // namespace

TEST(TraceReport, NameMatching)
{
    CTraceReport r;
    EXPECT_EQ(TestAccess::ReportName(r, 0), QString("Set Flags? "));
    EXPECT_EQ(TestAccess::ReportName(r, 19).size(), 12);
    EXPECT_EQ(TestAccess::ReportName(r, 25).size(), 14);
    // A line made of the name alone is not recognised; one blank more is.
    EXPECT_EQ(Parse(r, "Idle_Mode_Rpt"), REPORT_NONE);
    EXPECT_EQ(r.CurrentReport(), REPORT_NONE);
    EXPECT_EQ(Parse(r, "Idle_Mode_Rpt "), REPORT_IDLE_MODE);
    EXPECT_EQ(Parse(r, "idle_mode_rpt 1 2"), REPORT_NONE);
    EXPECT_EQ(Parse(r, "Cell ID 1 2"), REPORT_NONE); // the trailing blanks belong to the name
    EXPECT_EQ(Parse(r, "Sacch_Report 1 2"), 10);
    EXPECT_EQ(Parse(r, "not implemented x"), 11);
    EXPECT_EQ(Parse(r, ""), REPORT_NONE);
    EXPECT_EQ(Parse(r, "     "), REPORT_NONE);

    // Leading blanks: the fields start after the name.
    strcpy(TestAccess::IdleMode(r).aNeighbour[0].szBcch, "77");
    EXPECT_EQ(Parse(r, "  Idle_Mode_Rpt 45 30"), REPORT_IDLE_MODE);
    EXPECT_STREQ(r.IdleMode().szBcch, "45");
    EXPECT_STREQ(r.IdleMode().szRxLev, "30");
    EXPECT_STREQ(r.IdleMode().aNeighbour[0].szBcch, ""); // emptied by the end of the line
}

TEST(TraceReport, SetFlagsEcho)
{
    CTraceReport r;
    // Name and the eight characters of the word: not shortened, nothing else matches.
    QString line = "Set Flags? 00878000";
    EXPECT_EQ(r.ParseLine(line), REPORT_NONE);
    EXPECT_EQ(line.size(), 19);
    QString longer = "Set Flags? 00878000Idle_Mode_Rpt 12";
    EXPECT_EQ(r.ParseLine(longer), REPORT_IDLE_MODE);
    EXPECT_EQ(longer, QString("Idle_Mode_Rpt 12"));
    EXPECT_STREQ(r.IdleMode().szBcch, "12");

    // With a scan attached the plain echo is a scan data line.
    r.AttachScan();
    EXPECT_EQ(Parse(r, "Set Flags? 00878000"), REPORT_SCAN_DATA);
}

TEST(TraceReport, BcchReport)
{
    CTraceReport r;
    QString line = "Bcch_Report 21 12 34 1B";
    for (int k = 0; k < 22; ++k)
        line += QString(" %1").arg(k, 2, 16, QChar('0'));
    EXPECT_EQ(Parse(r, line), REPORT_BCCH);
    EXPECT_EQ(r.Bcch().nOctets, 21);
    EXPECT_STREQ(r.Bcch().szText1, "12");
    EXPECT_STREQ(r.Bcch().szText2, "34");
    EXPECT_FALSE(r.Bcch().abSysInfo[0]);
    EXPECT_TRUE(r.Bcch().abSysInfo[2]);
    EXPECT_STREQ(r.Bcch().aszSysInfo[2][0], "00");
    EXPECT_STREQ(r.Bcch().aszSysInfo[2][11], "0b");
    EXPECT_STREQ(r.Bcch().aszSysInfo[2][19], "13");

    // Type 1D: header fields only.
    EXPECT_EQ(Parse(r, "Bcch_Report 5 ab cd 1D 11 22 33"), REPORT_BCCH);
    EXPECT_EQ(r.Bcch().nOctets, 5);
    EXPECT_STREQ(r.Bcch().szText1, "ab");
    EXPECT_FALSE(r.Bcch().abSysInfo[3]);
    EXPECT_STREQ(r.Bcch().aszSysInfo[2][0], "00");
    for (int t = 0; t < 4; ++t)
        EXPECT_STREQ(r.Bcch().aszSysInfo[t][1], t == 2 ? "01" : "");

    // A short SI 1 line empties the octet after its last one.
    Parse(r, "Bcch_Report 3 x y 19 aa bb");
    EXPECT_TRUE(r.Bcch().abSysInfo[0]);
    EXPECT_STREQ(r.Bcch().aszSysInfo[0][1], "bb");

    r.ClearReport(REPORT_BCCH);
    EXPECT_EQ(r.Bcch().nOctets, 0);
    EXPECT_FALSE(r.Bcch().abSysInfo[0] || r.Bcch().abSysInfo[2]);
    EXPECT_STREQ(r.Bcch().aszSysInfo[2][11], "");
}

TEST(TraceReport, CapacityBoundaries)
{
    DiagCapture diag;
    CTraceReport r;
    // BCCH text 1 holds 3 characters, RX level of Idle_Mode_Rpt 3 as well.
    Parse(r, "Bcch_Report 1 abc de");
    EXPECT_STREQ(r.Bcch().szText1, "abc");
    EXPECT_TRUE(DiagCapture::s_lines.isEmpty());
    Parse(r, "Bcch_Report 1 abcd de");
    EXPECT_STREQ(r.Bcch().szText1, "abc");
    ASSERT_EQ(DiagCapture::s_lines.size(), 1);
    EXPECT_EQ(DiagCapture::s_lines[0],
              QString("ERROR Report: Bcch_Report, Entry: 1, Item: abcd, MaxLen: 4"));

    // RX quality has room for one character only.
    DiagCapture::s_lines.clear();
    Parse(r, "Full Idle Report 10 20 12");
    EXPECT_STREQ(r.FullIdle().szRxQual, "1");
    ASSERT_EQ(DiagCapture::s_lines.size(), 1);
    EXPECT_TRUE(
        DiagCapture::s_lines[0].contains("Full Idle Report, Entry: 2, Item: 12, MaxLen: 2"));

    // An item too long for the 512-character line is cut so that the line fits.
    DiagCapture::s_lines.clear();
    Parse(r, "Cell ID      1 " + QString(1000, 'x'));
    EXPECT_STREQ(r.CellId().szCi, "xxxx");
    ASSERT_EQ(DiagCapture::s_lines.size(), 1);
    EXPECT_EQ(DiagCapture::s_lines[0].size(), 510); // 511 with the line end
    EXPECT_TRUE(DiagCapture::s_lines[0].endsWith("x, MaxLen: 5"));

    // Non-Latin-1 text does not break the fixed fields.
    Parse(r, QString::fromUtf8("Idle_Mode_Rpt \xe2\x82\xac\xe2\x82\xac 1"));
    EXPECT_STREQ(r.IdleMode().szBcch, "??");
}

TEST(TraceReport, HoppingDedicatedChannel)
{
    CTraceReport r;
    const QString hop = "Dedicated_Chan 60 7 2 x 3 a 1 b 0 Hopping c 11 d 22 e 1";
    EXPECT_EQ(Parse(r, hop), REPORT_NONE);
    EXPECT_EQ(r.CurrentReport(), REPORT_DEDICATED_CHAN);
    EXPECT_STREQ(r.DedicatedChan().szMode, "Hopping");
    EXPECT_STREQ(r.DedicatedChan().szExtra2, "11");
    EXPECT_STREQ(r.DedicatedChan().szExtra3, "22");
    EXPECT_STREQ(r.DedicatedChan().szExtra1, "1");
    EXPECT_STREQ(r.DedicatedChan().szTrafficChannel, "");
    EXPECT_EQ(Parse(r, "Chan_Count 3 10 20 30, "), REPORT_DEDICATED_CHAN);
    EXPECT_EQ(r.Hopping(), QStringList({"10", "20", "30"}));
    EXPECT_STREQ(r.DedicatedChan().szChanCount, "3");
    EXPECT_EQ(r.CurrentReport(), REPORT_DEDICATED_CHAN);
    EXPECT_EQ(r.GetPendingReport(), REPORT_NONE);

    // Not hopping: the same positions are different fields, the line is presented.
    r.ClearReport(REPORT_DEDICATED_CHAN);
    EXPECT_TRUE(r.Hopping().isEmpty());
    EXPECT_EQ(Parse(r, "Dedicated_Chan 60 7 2 x 3 a 1 b 0 TCH/F c 1 d 62 e 9"),
              REPORT_DEDICATED_CHAN);
    EXPECT_STREQ(r.DedicatedChan().szExtra1, "1");
    EXPECT_STREQ(r.DedicatedChan().szTrafficChannel, "62");
    EXPECT_STREQ(r.DedicatedChan().szExtra2, "");
    EXPECT_STREQ(r.DedicatedChan().szTimeSlot, "3");

    // Chan_Count with no report open presents nothing.
    CTraceReport fresh;
    EXPECT_EQ(Parse(fresh, "Chan_Count 1 5"), REPORT_NONE);
}

TEST(TraceReport, NeighbourTables)
{
    CTraceReport r;
    // NCell with no report open opens one of its own; later NCells store nothing.
    EXPECT_EQ(Parse(r, "NCell 1 10 20 30"), REPORT_NCELL);
    EXPECT_EQ(r.CurrentReport(), REPORT_NCELL);
    EXPECT_EQ(r.GetNeighbourCount(), 0);
    EXPECT_EQ(Parse(r, "NCell 2 10 20 30"), REPORT_NCELL);
    EXPECT_EQ(r.GetNeighbourCount(), 2);
    EXPECT_STREQ(r.IdleMode().aNeighbour[1].szBcch, "");

    // Full Idle Report, NCell 1 .. 6, then a header: 27 becomes pending.
    EXPECT_EQ(Parse(r, "Full Idle Report 100 40 3 1 2 3"), REPORT_FULL_IDLE);
    EXPECT_EQ(r.GetPendingReport(), REPORT_NCELL); // the NCell lines changed "their" tables
    for (int e = 1; e <= 6; ++e)
        EXPECT_EQ(
            Parse(r, QString("NCell %1 %2 %3 b1 b2 %4 b3x").arg(e).arg(100 + e).arg(20 + e).arg(e)),
            REPORT_NCELL);
    EXPECT_EQ(r.GetPendingReport(), REPORT_NONE);
    EXPECT_EQ(r.GetNeighbourCount(), 6);
    EXPECT_STREQ(r.FullIdle().aNeighbourA[5].szBcch, "106");
    EXPECT_STREQ(r.FullIdle().aNeighbourA[5].szRxLev, "26");
    EXPECT_STREQ(r.FullIdle().aNeighbourA[5].szBsic, "6");
    EXPECT_STREQ(r.FullIdle().aNeighbourB[5].szField1, "b1");
    EXPECT_STREQ(r.FullIdle().aNeighbourB[5].szField3, "b3x");
    EXPECT_EQ(Parse(r, "L1_Uplink 1 2 3"), 5);
    EXPECT_EQ(r.GetPendingReport(), REPORT_FULL_IDLE);
    EXPECT_EQ(r.NeighbourTable(REPORT_FULL_IDLE), r.FullIdle().aNeighbourA);
    EXPECT_EQ(r.NeighbourTable(REPORT_BCCH), nullptr);

    // A number outside 1 .. 6 stores nothing but is the count.
    Parse(r, "Full Ded Report 1 2 3 4 5 6 7");
    Parse(r, "NCell 7 99 98 97");
    EXPECT_EQ(r.GetNeighbourCount(), 7);
    for (const TrNeighbour& nb : r.FullDed().aNeighbour)
        EXPECT_STREQ(nb.szBcch, "");
    Parse(r, "NCell 2 99 98 97");
    EXPECT_STREQ(r.FullDed().aNeighbour[1].szBsic, "97");

    // Two Idle_Mode_Rpt lines in a row: the second makes the first pending.
    CTraceReport idle;
    EXPECT_EQ(Parse(idle, "Idle_Mode_Rpt 10 40 11 41 5"), REPORT_IDLE_MODE);
    EXPECT_EQ(idle.GetPendingReport(), REPORT_NONE);
    EXPECT_EQ(Parse(idle, "Idle_Mode_Rpt 10 40 11 41 5"), REPORT_IDLE_MODE);
    EXPECT_EQ(idle.GetPendingReport(), REPORT_IDLE_MODE);
    EXPECT_STREQ(idle.IdleMode().aNeighbour[0].szBsic, "5");
}

TEST(TraceReport, ContinuationLines)
{
    CTraceReport r;
    Parse(r, "Idle_Mode_Rpt 10 40 11 41 5");
    Parse(r, "Idle_Mode_Rpt 10 40 11 41 5");
    ASSERT_EQ(r.GetPendingReport(), REPORT_IDLE_MODE);
    // Cell ID: presented as itself, the open report stays open.
    EXPECT_EQ(Parse(r, "Cell ID      CI: 1234 LAC: 567 MNC: 01 MCC: 262"), REPORT_CELL_ID);
    EXPECT_EQ(r.CurrentReport(), REPORT_IDLE_MODE);
    EXPECT_EQ(r.GetPendingReport(), REPORT_NONE);
    EXPECT_STREQ(r.CellId().szCi, "1234");
    EXPECT_STREQ(r.CellId().szLac, "567");
    EXPECT_STREQ(r.CellId().szMnc, "01");
    EXPECT_STREQ(r.CellId().szMcc, "262");
    EXPECT_STREQ(r.IdleMode().szBcch, "10");

    // Full Idle Desc: not presented itself, but through Min Access and CBCH Supported.
    EXPECT_EQ(Parse(r, "Full Idle Desc BCCH 20 BSIC 33 CI 99 LAC 88 MNC 2 MCC 262"), REPORT_NONE);
    EXPECT_EQ(r.CurrentReport(), REPORT_FULL_IDLE_DESC);
    EXPECT_STREQ(r.FullIdleDesc().szBsic, "33");
    EXPECT_STREQ(r.FullIdleDesc().szMcc, "262");
    EXPECT_EQ(Parse(r, "NonC 0 1 2 3 4 5 6 7 8 9 10"), REPORT_NONC);
    EXPECT_STREQ(r.FullIdleDesc().szCombName, "NonC");
    EXPECT_STREQ(r.FullIdleDesc().aszComb[4], "9");
    EXPECT_EQ(Parse(r, "Comb 0 1"), REPORT_COMB);
    EXPECT_STREQ(r.FullIdleDesc().szCombName, "Comb");
    EXPECT_EQ(Parse(r, "Max Retrans 4 a b 7"), REPORT_MAX_RETRANS);
    EXPECT_EQ(Parse(r, "Flags          x 1 y 0"), REPORT_FLAGS);
    EXPECT_EQ(Parse(r, "Min Access 10 a b 20"), REPORT_FULL_IDLE_DESC);
    EXPECT_EQ(Parse(r, "CBCH Supported 1 x 2 a 1 b 0 Hopping x 123 y 45"), REPORT_FULL_IDLE_DESC);
    EXPECT_STREQ(r.FullIdleDesc().szCbchTimeSlot, "2");
    EXPECT_STREQ(r.FullIdleDesc().szCbch9Hopping, "12"); // cap 3 when hopping
    EXPECT_STREQ(r.FullIdleDesc().szCbch9, "");
    EXPECT_EQ(r.CurrentReport(), REPORT_FULL_IDLE_DESC);
    r.ClearReport(REPORT_FULL_IDLE_DESC);
    EXPECT_STREQ(r.FullIdleDesc().szCbchTimeSlot, "");
    EXPECT_STREQ(r.FullIdleDesc().szCombName, "");

    // The ignored kinds are presented headers that store nothing.
    EXPECT_EQ(Parse(r, "Page_Report 1 2 3"), 12);
    EXPECT_EQ(r.CurrentReport(), 12);
}

TEST(TraceReport, ScanDataAndPublication)
{
    CTraceReport r;
    EXPECT_EQ(CTraceReport::ChannelOfIndex(0), 1);
    EXPECT_EQ(CTraceReport::ChannelOfIndex(123), 124);
    EXPECT_EQ(CTraceReport::ChannelOfIndex(124), 512);
    EXPECT_EQ(CTraceReport::ChannelOfIndex(497), 885);
    EXPECT_EQ(CTraceReport::IndexOfChannel(885), 497);
    EXPECT_EQ(CTraceReport::IndexOfChannel(600), 212);
    EXPECT_EQ(r.GetScanLevel(0), -1);

    // Without a scan attached, scan lines are not recognised and RF Scan publishes nothing.
    EXPECT_EQ(Parse(r, "12 45 13"), REPORT_NONE);
    TestAccess::ScanCollect(r)[0] = 30;
    EXPECT_EQ(Parse(r, "RF Scan 1"), REPORT_NONE);
    EXPECT_EQ(r.GetScanLevel(1), -1);

    r.ResetScanLevels();
    int nWithLevels = 0; // publications that carry a level
    r.AttachScan([&nWithLevels](bool bAny) { nWithLevels += bAny; });
    EXPECT_EQ(r.CurrentReport(), REPORT_NONE);
    // Data before the first header after attaching is ignored.
    EXPECT_EQ(Parse(r, "12 45"), REPORT_SCAN_DATA);
    EXPECT_EQ(TestAccess::ScanCollect(r)[11], -1);

    // "RF Scan" alone is the name only: a scan data line, ignored.
    EXPECT_EQ(Parse(r, "RF Scan"), REPORT_SCAN_DATA);
    EXPECT_EQ(r.CurrentReport(), REPORT_NONE);
    EXPECT_EQ(Parse(r, "RF Scan 1"), REPORT_NONE);
    EXPECT_EQ(r.CurrentReport(), REPORT_RF_SCAN);
    EXPECT_EQ(nWithLevels, 0) << "nothing collected yet";
    EXPECT_EQ(TestAccess::ScanCollect(r)[0], -1) << "the cycle's collection starts afresh";

    EXPECT_EQ(Parse(r, "12 45 13"), REPORT_SCAN_DATA);
    EXPECT_TRUE(TestAccess::ScanStarted(r));
    EXPECT_EQ(TestAccess::ScanCollect(r)[11], 45);
    EXPECT_EQ(TestAccess::ScanCollect(r)[12], 0);
    EXPECT_EQ(Parse(r, "  600 33,300 20 0 10 512 7 885 8 886 9 125 5"), REPORT_SCAN_DATA);
    EXPECT_EQ(TestAccess::ScanCollect(r)[212], 33);
    EXPECT_EQ(TestAccess::ScanCollect(r)[124], 7);
    EXPECT_EQ(TestAccess::ScanCollect(r)[497], 8);
    int nSet = 0;
    for (int v : TestAccess::ScanCollect(r))
        nSet += v != -1;
    EXPECT_EQ(nSet, 5);
    EXPECT_EQ(r.GetScanLevel(12), -1) << "not published before the next header";

    EXPECT_EQ(Parse(r, "RF Scan 2"), REPORT_NONE);
    EXPECT_EQ(r.GetScanLevel(12), 45);
    EXPECT_EQ(r.GetScanLevel(600), 33);
    EXPECT_EQ(r.GetScanLevel(300), -1);
    EXPECT_EQ(r.GetScanLevel(886), -1);
    EXPECT_EQ(nWithLevels, 1);

    // The next cycle resets the collection with its first data line.
    EXPECT_EQ(Parse(r, "1 10"), REPORT_SCAN_DATA);
    EXPECT_EQ(TestAccess::ScanCollect(r)[11], -1);
    EXPECT_EQ(TestAccess::ScanCollect(r)[0], 10);

    r.DetachScan();
    EXPECT_FALSE(r.IsScanAttached());
    EXPECT_EQ(Parse(r, "1 10"), REPORT_NONE);
    r.ResetScanLevels();
    for (int i = 0; i < SCAN_CHANNELS; ++i)
        EXPECT_EQ(r.GetScanLevel(CTraceReport::ChannelOfIndex(i)), -1);
}

TEST(TraceReport, HostileInputStaysBounded)
{
    CTraceReport r;
    r.AttachScan();
    Parse(r, "RF Scan 1");
    // Extreme numbers never index outside the tables.
    EXPECT_EQ(Parse(r, "-2147483648 5 2147483647 6 4294967297 7"), REPORT_SCAN_DATA);
    EXPECT_EQ(TestAccess::ScanCollect(r)[0], 7);
    Parse(r, "Idle_Mode_Rpt 1 2");
    Parse(r, "NCell -2147483648 1 2 3");
    Parse(r, "NCell 2147483647 1 2 3");
    Parse(r, "Bcch_Report 1 2 3 -7fffffff 11");
    Parse(r, "Bcch_Report 1 2 3 7fffffff 11");
    // A very long line of many fields.
    QString many = "Dedicated_Rpt";
    for (int i = 0; i < 5000; ++i)
        many += " 1";
    EXPECT_EQ(Parse(r, many), REPORT_DEDICATED);
}
