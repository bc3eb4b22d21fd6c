// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement layer on scripted trace lines: the samples' values against
// the panel's texts, the events the lines cause, positions and clearing.
#include <QListWidget>
#include <QStringList>
#include <gtest/gtest.h>

#include "PanelHarness.h"
#include "measure/Measurer.h"
#include "measure/Units.h"
#include "trace/TraceReport.h"

namespace {
// The number after "=" in a panel text such as "45 = -65 dBm" or "5=20 dBm".
int AfterEquals(const QString& text)
{
    const QString rest = text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed();
    return rest.section(QLatin1Char(' '), 0, 0).toInt();
}

// The number before "=" in "10 = 5.56 km" or "4 = 2".
int BeforeEquals(const QString& text)
{
    return text.section(QLatin1Char('='), 0, 0).trimmed().toInt();
}

// A code as the panel shows it: empty, or a number in the base.
std::optional<int> Code(const QString& text, int nBase = 10)
{
    return text.isEmpty() ? std::nullopt : std::optional<int>(text.toInt(nullptr, nBase));
}

// A level as the panel shows it, "45 = -65 dBm": nothing where the module's
// field was empty (" = -110 dBm"), else the dBm.
std::optional<int> Level(const QString& text)
{
    if (BeforeEquals(text) == 0 && text.section(QLatin1Char('='), 0, 0).trimmed().isEmpty())
        return std::nullopt;
    return AfterEquals(text);
}

// Every value of the sample as the panel's texts show it.
void ExpectShownAsOnPanel(CTessolyDlg& dlg, const SSample& s, const char* line)
{
    SCOPED_TRACE(line);
    auto text = [&](int id) { return dlg.GetDlgItemText(id); };
    EXPECT_EQ(s.nMcc, Code(text(IDC_MCC)));
    EXPECT_EQ(s.nMnc, Code(text(IDC_MNC)));
    EXPECT_EQ(s.nLac, Code(text(IDC_LAC), 16));
    EXPECT_EQ(s.nCi, Code(text(IDC_CI), 16));
    EXPECT_EQ(s.nBcch, Code(text(IDC_BCCH)));
    EXPECT_EQ(s.nBsic, Code(text(IDC_BSIC)));
    EXPECT_EQ(s.nRxLevDbm, Level(text(IDC_RXLEV)));
    if (s.nTa) {
        EXPECT_EQ(*s.nTa, BeforeEquals(text(IDC_TIMINGADV)));
        EXPECT_TRUE(text(IDC_TIMINGADV)
                        .endsWith(QString::number(Units::TimingAdvanceKm(*s.nTa), 'f', 2) + " km"));
    }
    if (s.nTxPwrDbm)
        EXPECT_EQ(*s.nTxPwrDbm, AfterEquals(text(IDC_OUTPOWER)));
    if (s.nRxQual)
        EXPECT_EQ(*s.nRxQual, BeforeEquals(text(IDC_RXQUAL)));
    for (int i = 0; i < 6; ++i) {
        const int* ids = g_anNeighbourIds[i];
        const SNeighbourSample& n = s.aNeighbour[i];
        EXPECT_EQ(n.nBcch, Code(text(ids[0]))) << "row " << i + 1;
        EXPECT_EQ(n.nBsic, Code(text(ids[1]))) << "row " << i + 1;
        EXPECT_EQ(n.nRxLevDbm, text(ids[2]).isEmpty() ? std::nullopt : Level(text(ids[2])))
            << "row " << i + 1;
    }
}

// The measurer alone on a parser, at a clock the test sets.
class Measure : public ::testing::Test
{
protected:
    Measure()
    {
        m.SetClock([this] { return now; });
        QObject::connect(&m, &CMeasurer::SampleReady, [this](const SSample& s) { samples << s; });
        QObject::connect(&m, &CMeasurer::EventReady, [this](const SMeasureEvent& e) {
            events << (QLatin1String(EventName(e.nEvent)) + ' ' + e.strText).trimmed();
        });
    }

    // One line as the panel takes it; the presentation consumes a Dedicated_Chan.
    void Line(const char* psz)
    {
        QString line = QString::fromLatin1(psz);
        const int nReport = report.ParseLine(line);
        m.Follow(report, nReport);
        if (nReport == REPORT_DEDICATED_CHAN)
            report.ClearReport(REPORT_DEDICATED_CHAN);
    }

    QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(3, 9, 14, 64), Qt::OffsetFromUTC, 3600);
    CTraceReport report;
    CMeasurer m;
    QList<SSample> samples;
    QStringList events;
};
} // namespace

TEST(MeasurePanel, SamplesCarryThePanelsValuesInItsUnits)
{
    PanelHarness h;
    ASSERT_TRUE(h.OpenPanel());
    CTessolyDlg& dlg = *h.dlg;
    int nSamples = 0;
    QObject::connect(&dlg.Measurer(), &CMeasurer::SampleReady, [&](const SSample&) { ++nSamples; });
    const char* const lines[] = {
        "Full Idle Desc BCCH 20 BSIC 33 CI 1A2B LAC 5F MNC 01 MCC 262",
        "CBCH Supported 1 x 3 a 1 b 0 TCH y 123 z 45",
        "NCell 3",
        "Idle_Mode_Rpt 20 45 30 30 99 31 45 5 32 32 6",
        "Full Idle Report 20 44 6",
        "Dedicated_Chan 600 7 2 x 3 a 1 b 0 TCH/F c 1 d 700",
        "Dedicated_Rpt 0 5 0 0 40 3 30 30 99",
        "Full Ded Report 10 5 40 2 50 4 0 30 30 99 31 45 5",
        "Full Ded Report 63 0 40 2 51 4 1 30 30 99",
    };
    for (const char* line : lines) {
        dlg.HandleTraceLine(QString::fromLatin1(line));
        ExpectShownAsOnPanel(dlg, dlg.Measurer().Latest(), line);
    }
    const SSample& s = dlg.Measurer().Latest();
    EXPECT_EQ(s.nMcc, 262);
    EXPECT_EQ(s.nLac, 0x5F);
    EXPECT_EQ(s.nCi, 0x1A2B);
    EXPECT_EQ(s.nTxPwrDbm, 30) << "1800 MHz traffic channel";
    EXPECT_EQ(s.nMode, SSample::MODE_DEDICATED);
    // Neither the continuation-line header nor the neighbour count alone shows a value.
    EXPECT_EQ(nSamples, 7);
    h.ClosePanel();
}

TEST_F(Measure, EventsFromTheLinesAndNoSampleForALineThatChangesNothing)
{
    Line("Idle_Mode_Rpt 62 45");
    ASSERT_EQ(samples.size(), 1);
    EXPECT_EQ(samples[0].nBcch, 62);
    EXPECT_EQ(samples[0].nRxLevDbm, -65);
    EXPECT_EQ(samples[0].time, now);
    for (const char* same : {"Idle_Mode_Rpt 62 45", "garbage 1 2", "Bcch_Report 23 12 34 19 7F 1F"})
        Line(same);
    EXPECT_EQ(samples.size(), 1);

    Line("Cell ID      CI: 1234 LAC: 567 MNC: 01 MCC: 262");
    Line("Idle_Mode_Rpt 70 40");                             // reselection: the BCCH first
    Line("Cell ID      CI: 1235 LAC: 567 MNC: 01 MCC: 262"); // ... then its CI, the same change
    Line("Cell ID      CI: 1236 LAC: 567 MNC: 01 MCC: 262"); // a new cell on the same carrier
    Line("Dedicated_Rpt 0 5 0 0 40 3");
    EXPECT_EQ(samples.last().nTxPwrDbm, 33);
    EXPECT_EQ(samples.last().nRxQual, 3);
    const int nSamples = samples.size();
    Line("Dedicated_Rpt 0 5 0 0 40 9"); // a quality the panel does not show
    EXPECT_EQ(samples.size(), nSamples);
    Line("Full Idle Desc BCCH 80 BSIC 1 CI 2000 LAC 567 MNC 01 MCC 262");
    Line("CBCH Supported 1 x 3 a 1 b 0 TCH y 123 z 45");
    EXPECT_EQ(samples.size(), nSamples + 1);
    EXPECT_EQ(samples.last().nMode, SSample::MODE_IDLE);
    EXPECT_EQ(events,
              QStringList({"cell_change BCCH 70", "cell_change BCCH 70 CI 4662", "dedicated_start",
                           "dedicated_end", "cell_change BCCH 80 CI 8192"}));
}

TEST_F(Measure, SamplesTakeAFixAtMostTwoSecondsOld)
{
    SGpsFix fix;
    fix.nMode = SGpsFix::FIX_3D;
    fix.dLat = 52.52012;
    fix.dLon = 13.405;
    fix.time = now.addMSecs(-2000);
    m.SetFix(fix);
    Line("Idle_Mode_Rpt 62 45");
    now = now.addMSecs(1);
    Line("Idle_Mode_Rpt 62 46");
    fix.nMode = SGpsFix::FIX_NONE;
    fix.time = now;
    m.SetFix(fix);
    Line("Idle_Mode_Rpt 62 47");
    ASSERT_EQ(samples.size(), 3);
    EXPECT_EQ(samples[0].fix.nMode, SGpsFix::FIX_3D);
    EXPECT_DOUBLE_EQ(samples[0].fix.dLat, 52.52012);
    EXPECT_FALSE(samples[1].fix.IsFix()) << "2001 ms old";
    EXPECT_FALSE(samples[2].fix.IsFix()) << "no fix";
}

TEST_F(Measure, ClearedDisplaysStartTheNextSampleFromNothing)
{
    Line("Cell ID      CI: 1234 LAC: 567 MNC: 01 MCC: 262");
    Line("Full Ded Report 10 5 40 2 50 4 0");
    Line("Idle_Mode_Rpt 62 45");
    // The meters were emptied: the same line is a new sample, without the
    // call's quality, TA and power, with the serving cell still shown.
    m.ResetMeters();
    Line("Idle_Mode_Rpt 62 45");
    ASSERT_EQ(samples.size(), 4);
    EXPECT_FALSE(samples[3].nTa || samples[3].nRxQual || samples[3].nTxPwrDbm);
    EXPECT_EQ(samples[3].nCi, 0x1234);
    // Everything emptied: the next cell is no cell change.
    m.Reset();
    Line("Idle_Mode_Rpt 70 45");
    EXPECT_FALSE(samples.last().nCi);
    EXPECT_EQ(events, QStringList({"dedicated_start", "dedicated_end"}));
}

TEST(MeasurePanel, TheControllersEvents)
{
    PanelHarness h;
    ASSERT_TRUE(h.OpenPanel());
    CTessolyDlg& dlg = *h.dlg;
    QStringList events;
    QObject::connect(&dlg.Measurer(), &CMeasurer::EventReady, [&](const SMeasureEvent& e) {
        events << (QLatin1String(EventName(e.nEvent)) + ' ' + e.strText).trimmed();
    });
    dlg.LocationUpdate();
    dlg.LockChannel(QStringLiteral("62"));
    dlg.LockChannel(QString());
    dlg.AttachScan({});
    dlg.AttachScan({});
    dlg.DetachScan();
    dlg.DetachScan();
    EXPECT_EQ(events, QStringList({"location_update", "bs_lock 62", "bs_lock off", "scan_start",
                                   "scan_end"}));
    h.ClosePanel();
}
