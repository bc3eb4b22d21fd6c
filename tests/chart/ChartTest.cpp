// SPDX-License-Identifier: GPL-3.0-or-later
// The level chart and the event list, fed samples and events as the
// measurer emits them.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <initializer_list>
#include <qcustomplot.h>
#include <utility>

#include "chart/EventList.h"
#include "chart/LevelChart.h"
#include "control/TessolyDlg.h"
#include "shell/MainFrm.h"

namespace {
const QDateTime kStart(QDate(2026, 3, 2), QTime(9, 0, 0));

SSample Sample(double dSeconds, int nLevel, std::initializer_list<std::pair<int, int>> neighbours,
               bool bDedicated = false, int nQual = 0, int nTa = 0)
{
    SSample s;
    s.time = kStart.addMSecs(qint64(dSeconds * 1000));
    s.nBcch = 62;
    s.nRxLevDbm = nLevel;
    int i = 0;
    for (const auto& [nBcch, nDbm] : neighbours) {
        s.aNeighbour[i].nBcch = nBcch;
        s.aNeighbour[i].nRxLevDbm = nDbm;
        ++i;
    }
    if (bDedicated) {
        s.nMode = SSample::MODE_DEDICATED;
        s.nRxQual = nQual;
        s.nTa = nTa;
    }
    return s;
}

SMeasureEvent Event(double dSeconds, int nEvent, const QString& strText = QString())
{
    return SMeasureEvent{kStart.addMSecs(qint64(dSeconds * 1000)), nEvent, strText};
}

double Key(double dSeconds)
{
    return CLevelChart::KeyOf(kStart) + dSeconds;
}

// Pixels of the colour's hue: smoothed lines blend it with the white.
int PixelsOf(const QImage& image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.hsvSaturation() > 60 && std::abs(c.hsvHue() - colour.hsvHue()) < 8;
        }
    return n;
}

// Double-clicks the row as a user does: the press selects it first.
void DoubleClick(QTableView* view, const QModelIndex& index)
{
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}
} // namespace

// Ten minutes of a drive, two samples a second: the serving cell falls
// while one neighbour rises and another fades; a call in the middle.
TEST(LevelChart, RendersLevelsDedicatedPaneAndEventsToPng)
{
    CLevelChart chart;
    chart.OnEvent(Event(0, EVENT_POWER_ON));
    for (int i = 0; i < 1200; ++i) {
        const double t = i / 2.0;
        const bool bCall = t >= 200 && t < 400;
        chart.OnSample(Sample(t, -60 - int(t / 20),
                              {{20, -95 + int(t / 30)}, {35, -75 - int(t / 40)}}, bCall,
                              int(t / 30) % 8, 3 + int(t / 100)));
    }
    chart.OnEvent(Event(200, EVENT_DEDICATED_START));
    chart.OnEvent(Event(400, EVENT_DEDICATED_END));
    chart.OnEvent(Event(520, EVENT_CELL_CHANGE, QStringLiteral("BCCH 20")));
    chart.show();
    chart.Redraw();

    ASSERT_NE(chart.Pane(), nullptr);
    EXPECT_TRUE(chart.IsFollowing());
    EXPECT_DOUBLE_EQ(chart.Plot()->xAxis->range().upper, Key(599.5));
    EXPECT_DOUBLE_EQ(chart.Plot()->xAxis->range().size(), CLevelChart::CHART_SPAN_SECONDS);
    // What the pointer shows inside the call.
    const QString values = chart.ValuesAt(Key(300));
    EXPECT_TRUE(values.contains(QStringLiteral("Serving: -75 dBm"))) << values.toStdString();
    EXPECT_TRUE(values.contains(QStringLiteral("BCCH 20: -85 dBm"))) << values.toStdString();
    EXPECT_TRUE(values.contains(QStringLiteral("RX Qual: 2"))) << values.toStdString();
    EXPECT_TRUE(values.contains(QStringLiteral("TA: 6"))) << values.toStdString();
    EXPECT_FALSE(chart.ValuesAt(Key(500)).contains(QStringLiteral("RX Qual")));

    QDir().mkpath(QStringLiteral(SCREENS_DIR));
    const QString path = QStringLiteral(SCREENS_DIR "/level-chart.png");
    ASSERT_TRUE(chart.Plot()->savePng(path, 900, 560));
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    // Each series is drawn in its colour.
    EXPECT_GT(PixelsOf(image, chart.NeighbourGraph(20)->pen().color()), 200);
    EXPECT_GT(PixelsOf(image, chart.NeighbourGraph(35)->pen().color()), 200);
    EXPECT_GT(PixelsOf(image, chart.RxQualGraph()->pen().color()), 50);
    EXPECT_GT(PixelsOf(image, chart.TaGraph()->pen().color()), 50);
}

// A BCCH keeps its colour when it leaves the neighbours and comes back, and
// its line is broken while it is away, but not by a sample with no
// neighbour at all (the rows emptied for a moment).
TEST(LevelChart, NeighbourKeepsItsColourAndLineBreaksWhileAway)
{
    CLevelChart chart;
    chart.OnSample(Sample(0, -70, {{10, -80}, {20, -90}}));
    const QColor colour20 = chart.NeighbourGraph(20)->pen().color();
    chart.OnSample(Sample(1, -70, {{10, -80}, {30, -85}}));
    chart.OnSample(Sample(2, -70, {{30, -85}, {20, -91}, {40, -99}}));
    EXPECT_EQ(chart.NeighbourGraph(20)->pen().color(), colour20);
    EXPECT_NE(chart.NeighbourGraph(10)->pen().color(), colour20);
    EXPECT_NE(chart.NeighbourGraph(30)->pen().color(), colour20);
    EXPECT_NE(chart.NeighbourGraph(40)->pen().color(), chart.NeighbourGraph(30)->pen().color());
    const auto data20 = chart.NeighbourGraph(20)->data();
    ASSERT_EQ(data20->size(), 3);
    EXPECT_TRUE(std::isnan(data20->at(1)->value));
    EXPECT_DOUBLE_EQ(data20->at(2)->value, -91);
    chart.OnSample(Sample(3, -70, {}));
    chart.OnSample(Sample(4, -70, {{20, -92}}));
    ASSERT_EQ(data20->size(), 4);
    EXPECT_DOUBLE_EQ(data20->at(3)->value, -92);
}

// Following the latest ten minutes stops while the user looks back and
// resumes once the range reaches the latest time again.
TEST(LevelChart, FollowsUntilTheUserLooksBackAndAgainAtTheEnd)
{
    CLevelChart chart;
    chart.show();
    for (int t = 0; t <= 1800; ++t)
        chart.OnSample(Sample(t, -70, {}));
    chart.Redraw();
    QCPAxis* time = chart.Plot()->xAxis;
    EXPECT_DOUBLE_EQ(time->range().upper, Key(1800));

    time->setRange(Key(100), Key(400)); // the user drags back and zooms
    EXPECT_FALSE(chart.IsFollowing());
    chart.OnSample(Sample(1801, -70, {}));
    chart.Redraw();
    EXPECT_DOUBLE_EQ(time->range().lower, Key(100));
    EXPECT_DOUBLE_EQ(time->range().upper, Key(400));

    time->setRange(Key(1600), Key(1901)); // dragged past the end
    EXPECT_TRUE(chart.IsFollowing());
    chart.OnSample(Sample(1802, -70, {}));
    chart.Redraw();
    EXPECT_DOUBLE_EQ(time->range().upper, Key(1802));
    EXPECT_DOUBLE_EQ(time->range().size(), 301); // the user's zoom is kept
}

// Over a long run every series holds at most its share of points; the
// latest ones are kept.
TEST(LevelChart, PointsPerSeriesAreCapped)
{
    CLevelChart chart;
    const int nCap = CLevelChart::CHART_MAX_POINTS;
    const int nSamples = nCap + nCap / 4;
    for (int i = 0; i < nSamples; ++i) {
        const int b = i / 1000 % 12;
        chart.OnSample(
            Sample(i / 2.0, -70,
                   {{b, -80}, {b + 1, -81}, {b + 2, -82}, {b + 3, -83}, {b + 4, -84}, {b + 5, -85}},
                   i % 2000 < 1000, 1, 1));
        if (i % 600 == 0)
            chart.OnEvent(Event(i / 2.0, EVENT_CELL_CHANGE));
    }
    const int nLimit = nCap + nCap / 8;
    for (int i = 0; i < chart.Plot()->graphCount(); ++i)
        EXPECT_LE(chart.Plot()->graph(i)->data()->size(), nLimit) << i;
    EXPECT_LE(chart.PointsHeld(), 9 * nLimit);
    EXPECT_LE(chart.MarksHeld(), nLimit / 600 + 2);
    EXPECT_DOUBLE_EQ((chart.ServingGraph()->data()->constEnd() - 1)->key,
                     Key((nSamples - 1) / 2.0));
    EXPECT_GE(chart.ServingGraph()->data()->size(), nCap);
}

// The event list keeps the latest events, newest last.
TEST(EventList, KeepsTheLatestEventsNewestLast)
{
    CEventList list;
    const int nMax = CEventModel::EVENTS_MAX;
    for (int i = 0; i < nMax + 5; ++i)
        list.OnEvent(Event(i, EVENT_CELL_CHANGE, QString::number(i)));
    const CEventModel& model = *list.Model();
    ASSERT_EQ(model.rowCount(), nMax);
    EXPECT_EQ(model.index(0, CEventModel::COL_TEXT).data().toString(), QStringLiteral("5"));
    EXPECT_EQ(model.index(nMax - 1, CEventModel::COL_TEXT).data().toString(),
              QString::number(nMax + 4));
    EXPECT_EQ(model.index(0, CEventModel::COL_EVENT).data().toString(),
              QStringLiteral("cell_change"));
    EXPECT_EQ(model.index(0, CEventModel::COL_TIME).data().toString(),
              QStringLiteral("2026-03-02 09:00:05"));
}

// The frame's windows: their captions, the measurer's samples and events
// reaching them while closed, and a double-click in the list moving the
// chart to the event.
TEST(ChartWindows, FrameFeedsThemAndDoubleClickMovesTheChart)
{
    CMainFrame frame({QStringLiteral("/x/tessoly")});
    CLevelChart* chart = frame.LevelChart();
    CEventList* list = frame.EventList();
    EXPECT_EQ(chart->windowTitle(), QStringLiteral("Level Chart"));
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Event List"));

    CMeasurer& measurer = frame.m_pController->Measurer();
    for (int t = 0; t < 3600; t += 2) {
        emit measurer.SampleReady(Sample(t, -70, {{20, -80}}));
        if (t % 600 == 300)
            emit measurer.EventReady(Event(t, EVENT_LOCATION_UPDATE));
    }
    EXPECT_FALSE(chart->isVisible());
    EXPECT_EQ(chart->ServingGraph()->data()->size(), 1800);

    frame.OnCommand(ID_VIEW_EVENTLIST);
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->Model()->rowCount(), 6);
    DoubleClick(list->View(), list->Model()->index(1, CEventModel::COL_EVENT));
    ASSERT_TRUE(chart->isVisible());
    EXPECT_FALSE(chart->IsFollowing());
    chart->Redraw();
    EXPECT_DOUBLE_EQ(chart->Plot()->xAxis->range().center(), Key(900));

    // The last event is at the end: the chart follows again.
    DoubleClick(list->View(), list->Model()->index(5, CEventModel::COL_EVENT));
    EXPECT_TRUE(chart->IsFollowing());
}

// The windows open at start as they were at the last exit.
TEST(ChartWindows, OpenAgainAsTheyWereLeft)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Tarn.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[WINDOWS]\r\nLevelChart=1\r\nEventList=0\r\n");
    f.close();
    CMainFrame frame({QStringLiteral("/x/tessoly")});
    frame.SetProgramDir(dir.path());
    frame.LoadSettings();
    frame.ReopenDriveWindows();
    EXPECT_TRUE(frame.LevelChart()->isVisible());
    EXPECT_FALSE(frame.EventList()->isVisible());

    frame.LevelChart()->hide();
    frame.OnCommand(ID_VIEW_EVENTLIST);
    frame.SaveSettings();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("[WINDOWS]\r\nLevelChart=0\r\nEventList=1\r\n")) << text.constData();
}
