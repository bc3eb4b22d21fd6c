// SPDX-License-Identifier: GPL-3.0-or-later
// The bar graph: geometry, drawing, pointer selection and narrowing.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include "ScanFixture.h"
#include "platform/UiServices.h"
#include "scan/ScanGraph.h"

namespace {
const QColor kBar(180, 53, 0);
const QColor kSelected(0, 150, 70);
const QColor kGround(170, 170, 170);
const QColor kAmber(205, 145, 0);
} // namespace

class GraphTest : public ScanTest
{
protected:
    void SetUp() override
    {
        ScanTest::SetUp();
        OpenScan();
        scan->SetGraphSize(621, 300);
        Drain();
    }
    // Requests a scan of the fields' values as given (pairs, 0 ends).
    void Request(std::initializer_list<int> values)
    {
        scan->OnDelete();
        int n = 0;
        for (int v : values) {
            scan->Model().m_anRange[n] = v;
            scan->RangeEdit(n)->setText(QString::number(v));
            ++n;
        }
        scan->OnSelect();
        Drain();
    }
    QImage Picture() { return scan->Graph()->grab().toImage(); }
    CScanGraph* G() { return scan->Graph(); }
    // A pointer move over the graph, with the buttons held.
    void Move(int x, int y = 200, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(x, y), G()->mapToGlobal(QPointF(x, y)),
                      Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(G(), &e);
    }
    int BarX(int channel) const
    {
        return scan->Layout().m_anBarX[CTraceReport::IndexOfChannel(channel)];
    }
    QString Text(int id) const { return scan->GetDlgItemText(id); }
};

TEST_F(GraphTest, GeometryOfTheAxesAndTheBars)
{
    EXPECT_EQ(scan->Layout().m_rcClient.size(), QSize(621, 300));
    EXPECT_EQ(scan->Layout().m_rcGraph.left(), 30);
    EXPECT_EQ(scan->Layout().m_rcGraph.top(), 30);
    EXPECT_EQ(scan->Layout().m_rcGraph.right(), 606);
    EXPECT_EQ(scan->Layout().m_rcGraph.bottom(), 280);
    EXPECT_FLOAT_EQ(scan->Layout().m_fScale, 260.0f / 63.0f);
    EXPECT_EQ(scan->Layout().LevelY(0), 280);  // -110
    EXPECT_EQ(scan->Layout().LevelY(10), 239); // -100
    EXPECT_EQ(scan->Layout().LevelY(60), 33);  // -50, the last label
    EXPECT_LE(scan->Layout().LevelY(70), 10);
    EXPECT_EQ(scan->Layout().BarHeight(63), 259);

    // One range of ten: the gaps would count as steps, wide bars.
    Request({1, 10});
    auto levels = Levels(1, 10);
    levels[1] = 63;
    Publish(levels);
    EXPECT_EQ(scan->Layout().m_nBarWidth, 28);
    EXPECT_EQ(scan->Layout().m_nBarSpacing, 29);
    EXPECT_EQ(scan->Layout().m_nScanLeft, 59);
    EXPECT_EQ(BarX(1), 59);
    EXPECT_EQ(BarX(10), 59 + 9 * 57);
    EXPECT_EQ(scan->Layout().m_nScanRight, 59 + 10 * 57 - 29);
    EXPECT_TRUE(scan->IsDlgItemEnabled(IDOK));
    QImage img = Picture();
    EXPECT_EQ(img.pixelColor(70, 280 - 259), kSelected) << "channel 1 is the selected one";
    EXPECT_EQ(img.pixelColor(70, 279), kSelected);
    EXPECT_EQ(img.pixelColor(70, 280 - 260), kGround);
    EXPECT_EQ(img.pixelColor(59 + 57 + 5, 270), kBar);
    EXPECT_EQ(img.pixelColor(59 + 28 + 5, 270), kGround) << "the space after a bar";

    // A channel without a level leaves no hole.
    levels.erase(5);
    Publish(levels);
    EXPECT_EQ(BarX(5), -1);
    EXPECT_EQ(BarX(6), 59 + 4 * 57);

    // The whole plan: bars one pixel wide, a 20-pixel gap with a separator.
    Request({1, 124, 512, 885});
    Publish(PlanLevels());
    EXPECT_EQ(scan->Layout().m_nBarWidth, 1);
    EXPECT_EQ(scan->Layout().m_nBarSpacing, 0);
    EXPECT_EQ(BarX(1), 30);
    EXPECT_EQ(BarX(124), 153);
    EXPECT_EQ(BarX(512), 174);
    EXPECT_EQ(BarX(885), 547);
    EXPECT_EQ(scan->Layout().m_nScanRight, 548);
    img = Picture();
    EXPECT_EQ(img.pixelColor(164, 100), QColor(120, 120, 120)) << "separator";
    EXPECT_EQ(img.pixelColor(160, 270), kGround) << "the gap";
}

TEST_F(GraphTest, PublishedLevelsRepaintAtOnceAndOnlyTheListIsDrawn)
{
    Request({10, 20});
    const int before = G()->PaintCount();
    Publish(Levels(1, 124));
    EXPECT_GT(G()->PaintCount(), before) << "painted without running the event loop";
    EXPECT_EQ(BarX(9), -1);
    EXPECT_EQ(BarX(21), -1);
    EXPECT_EQ(BarX(10), scan->Layout().m_nScanLeft);
    EXPECT_EQ(BarX(20), scan->Layout().m_nScanRight - scan->Layout().m_nBarWidth);
}

TEST_F(GraphTest, HoverAndClick)
{
    Request({1, 10});
    auto levels = Levels(1, 10);
    levels[3] = 45;
    Publish(levels);

    Move(BarX(3) + 5);
    EXPECT_EQ(Text(IDC_SCAN_CHANNEL), QStringLiteral("3"));
    EXPECT_EQ(Text(IDC_SCAN_LEVEL), QStringLiteral("45 = -65 dBm"));
    Move(BarX(3) - 14); // half the space before the bar still counts
    EXPECT_EQ(Text(IDC_SCAN_CHANNEL), QStringLiteral("3"));

    // Off the bars the fields return to the selected channel.
    Move(615);
    EXPECT_EQ(Text(IDC_SCAN_CHANNEL), QStringLiteral("1"));
    EXPECT_EQ(Text(IDC_SCAN_LEVEL), QStringLiteral("21 = -89 dBm"));

    // A click selects the bar under the pointer; it turns green.
    QTest::mouseClick(G(), Qt::LeftButton, {}, QPoint(BarX(7) + 3, 200));
    EXPECT_EQ(scan->Model().m_nSelected, 7);
    EXPECT_EQ(Picture().pixelColor(BarX(7) + 3, 275), kSelected);
    EXPECT_EQ(Picture().pixelColor(59 + 3, 275), kBar);
    EXPECT_TRUE(scan->IsDlgItemEnabled(IDC_SCAN_NEXT));
    EXPECT_TRUE(scan->IsDlgItemEnabled(IDC_SCAN_PREV));

    // A release left of all bars selects the first channel, right of them the last.
    QTest::mousePress(G(), Qt::LeftButton, {}, QPoint(40, 200));
    QTest::mouseRelease(G(), Qt::LeftButton, {}, QPoint(42, 200));
    EXPECT_EQ(scan->Model().m_nSelected, 1);
    EXPECT_FALSE(scan->IsDlgItemEnabled(IDC_SCAN_PREV));
    QTest::mouseClick(G(), Qt::LeftButton, {}, QPoint(605, 200));
    EXPECT_EQ(scan->Model().m_nSelected, 10);
    EXPECT_FALSE(scan->IsDlgItemEnabled(IDC_SCAN_NEXT));

    // Below the axis is not in the graph: no selection.
    QTest::mouseClick(G(), Qt::LeftButton, {}, QPoint(BarX(5), 290));
    EXPECT_EQ(scan->Model().m_nSelected, 10);
}

TEST_F(GraphTest, ClickIntoAGapSelectsNothing)
{
    Request({1, 50, 60, 100});
    Publish(Levels(1, 100));
    ASSERT_EQ(scan->Layout().m_nBarWidth, 3);
    const int gap = BarX(60) - 10;
    QTest::mouseClick(G(), Qt::LeftButton, {}, QPoint(gap, 200));
    EXPECT_EQ(scan->Model().m_nSelected, 0);
    QImage img = Picture();
    for (int c = 1; c <= 100; c = c == 50 ? 60 : c + 1)
        ASSERT_EQ(img.pixelColor(BarX(c), 279), kBar) << c;
}

TEST_F(GraphTest, StepButtonsCrossTheBandGap)
{
    Request({1, 124, 512, 885});
    scan->Model().m_nSelected = 512;
    scan->OnPrev();
    EXPECT_EQ(scan->Model().m_nSelected, 124);
    EXPECT_EQ(scan->Model().m_nShown, 124);
    scan->OnNext();
    EXPECT_EQ(scan->Model().m_nSelected, 512);
    // The ends of the plan stay; a start between the bands (a range may
    // start at 125) steps into the plan.
    const int cases[][3] = {{885, 885, 884}, {1, 2, 1}, {125, 512, 124}};
    for (const auto& c : cases) {
        scan->Model().m_nSelected = c[0];
        scan->OnNext();
        EXPECT_EQ(scan->Model().m_nSelected, c[1]);
        scan->Model().m_nSelected = c[0];
        scan->OnPrev();
        EXPECT_EQ(scan->Model().m_nSelected, c[2]);
    }

    Publish(Levels(512, 885));
    scan->Model().m_nSelected = 884;
    scan->OnNext();
    EXPECT_FALSE(scan->IsDlgItemEnabled(IDC_SCAN_NEXT)) << "the end of the last range";
    EXPECT_EQ(Text(IDC_SCAN_CHANNEL), QStringLiteral("885"));
}

TEST_F(GraphTest, DragNarrowsTheListAndRequestsANewScan)
{
    Request({1, 124, 512, 885});
    const auto all = PlanLevels();
    Publish(all);

    QTest::mousePress(G(), Qt::LeftButton, {}, QPoint(BarX(100), 200));
    Move(BarX(512), 200, Qt::LeftButton);
    EXPECT_EQ(G()->DragStart(), BarX(100));
    EXPECT_EQ(G()->DragCurrent(), BarX(512));
    Move(BarX(600), 200, Qt::LeftButton);
    QTest::mouseRelease(G(), Qt::LeftButton, {}, QPoint(BarX(600), 200));
    const char* expected[] = {"100", "124", "512", "600", "", "", "", "", "", ""};
    for (int n = 0; n < SCAN_RANGE_FIELDS; ++n)
        EXPECT_EQ(Field(n), QLatin1String(expected[n])) << n;
    EXPECT_EQ(Trace(), QByteArray("*S\r\r100-124,512-600\r"));
    EXPECT_EQ(scan->Model().m_nSelected, 100);
    EXPECT_EQ(G()->DragStart(), -1);
    EXPECT_EQ(scan->Model().m_anActive[3], 600);

    // Dragging within one range.
    Publish(all);
    QTest::mousePress(G(), Qt::LeftButton, {}, QPoint(BarX(105), 200));
    QTest::mouseRelease(G(), Qt::LeftButton, {}, QPoint(BarX(110), 200));
    EXPECT_EQ(Trace(), QByteArray("*S\r\r105-110\r"));
}

TEST_F(GraphTest, NarrowingAtTheEndsOfARangeGivesACompleteList)
{
    Request({1, 124, 512, 885});
    // hi is the end of the first range.
    scan->NarrowRanges(124, 100);
    EXPECT_EQ(Trace(), QByteArray("*S\r\r100-124\r"));
    EXPECT_EQ(Field(2), QString());
    EXPECT_TRUE(scan->Model().m_bScanRequested);

    // lo is the start of the second range.
    Request({1, 124, 512, 885});
    scan->NarrowRanges(512, 600);
    EXPECT_EQ(Trace(), QByteArray("*S\r\r512-600\r"));

    Request({1, 124});
    scan->NarrowRanges(50, 10);
    EXPECT_EQ(Trace(), QByteArray("*S\r\r10-50\r"));

    Request({1, 10, 20, 30, 40, 50});
    scan->NarrowRanges(5, 45);
    EXPECT_EQ(Trace(), QByteArray("*S\r\r5-10,20-30,40-45\r"));
    scan->NarrowRanges(10, 20);
    EXPECT_EQ(Trace(), QByteArray("*S\r\r10-10,20-20\r"));
}

TEST_F(GraphTest, SelectionLineStaysBetweenTheBars)
{
    Request({1, 10});
    Publish(Levels(1, 10));
    QTest::mousePress(G(), Qt::LeftButton, {}, QPoint(BarX(2), 200));
    Move(610, 200, Qt::LeftButton); // over the last bar's margin, right of the last bar
    EXPECT_EQ(G()->DragCurrent(), scan->Layout().m_nScanRight);

    // The line is drawn into the picture on the screen, the bars stay.
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint origin = G()->mapTo(scan.get(), QPoint(0, 0));
    QImage shot = screen->grabWindow(scan->winId()).toImage();
    ASSERT_GT(shot.width(), origin.x() + 600);
    EXPECT_EQ(shot.pixelColor(origin + QPoint(BarX(5), 282)), kAmber);
    EXPECT_EQ(shot.pixelColor(origin + QPoint(BarX(5) + 3, 270)), kBar);
    EXPECT_EQ(shot.pixelColor(origin + QPoint(45, 282)), Qt::black);

    Move(20, 200, Qt::LeftButton); // off the bars: the line is hidden
    EXPECT_EQ(G()->DragCurrent(), -1);
    Move(BarX(6), 200, Qt::LeftButton);
    EXPECT_EQ(G()->DragCurrent(), BarX(6));
    QTest::mousePress(G(), Qt::RightButton, {}, QPoint(BarX(6), 200));
    EXPECT_EQ(G()->DragStart(), -1);
    EXPECT_EQ(G()->DragCurrent(), -1);
    QTest::mouseRelease(G(), Qt::RightButton, {}, QPoint(BarX(6), 200));
    QTest::mouseRelease(G(), Qt::LeftButton, {}, QPoint(BarX(6), 200));
    EXPECT_EQ(Trace(30), QByteArray()) << "a cancelled drag requests nothing";
    EXPECT_EQ(scan->Model().m_nSelected, 1);
}

TEST_F(GraphTest, WaitingTextUntilTheFirstLevels)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint origin = G()->mapTo(scan.get(), QPoint(0, 0));
    auto darkPixels = [&] {
        const QImage shot = screen->grabWindow(scan->winId()).toImage();
        int n = 0;
        for (int y = 50; y < 62; ++y)
            for (int x = 330; x < 570; ++x)
                n += shot.pixelColor(origin + QPoint(x, y)).lightness() < 60;
        return n;
    };
    EXPECT_EQ(darkPixels(), 0);
    Request({1, 10});
    EXPECT_GT(darkPixels(), 50) << "the waiting text is on the graph";
    Publish(Levels(1, 10));
    EXPECT_EQ(darkPixels(), 0) << "the next paint covers it";
}

TEST_F(GraphTest, TinyAndOddGraphsDoNotFail)
{
    for (QSize size : {QSize(0, 0), QSize(5, 5), QSize(40, 39), QSize(60, 45), QSize(3000, 41)}) {
        SCOPED_TRACE(size.width());
        scan->SetGraphSize(size.width(), size.height());
        Request({1, 124, 512, 885});
        Publish(Levels(1, 124));
        G()->repaint();
        Picture();
        Move(2, 2);
        QTest::mouseClick(G(), Qt::LeftButton, {}, QPoint(1, 1));
        scan->OnNext();
        scan->OnPrev();
    }
    // Odd values in the list in force (a start without an end).
    scan->SetGraphSize(621, 300);
    Request({1, 20});
    scan->Model().m_anActive[4] = 21;
    Publish(Levels(1, 30));
    Picture();
    EXPECT_EQ(BarX(20), scan->Layout().m_nScanLeft +
                            19 * (scan->Layout().m_nBarWidth + scan->Layout().m_nBarSpacing));
}

TEST_F(GraphTest, PictureOfAScan)
{
    // The frame as the template makes it.
    const QSize frame = scan->TemplateRect(IDC_SCAN_GRAPH).size();
    scan->SetGraphSize(frame.width(), frame.height());
    Request({1, 40, 60, 80, 512, 560});
    std::map<int, int> levels;
    for (auto [a, b] : {std::pair(1, 40), std::pair(60, 80), std::pair(512, 560)})
        for (int c = a; c <= b; ++c)
            levels[c] = 8 + c * 29 % 47;
    levels[524] = 58;
    Publish(levels);
    QTest::mouseClick(G(), Qt::LeftButton, {}, QPoint(BarX(524) + 1, 200));
    Move(BarX(70) + 1);
    QDir().mkpath(QStringLiteral(SCREENS_DIR));
    const QString path = QStringLiteral(SCREENS_DIR "/channel_scan.png");
    ASSERT_TRUE(scan->grab().save(path));
    EXPECT_EQ(Text(IDC_SCAN_CHANNEL), QStringLiteral("70"));
}
