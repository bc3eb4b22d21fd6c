// SPDX-License-Identifier: GPL-3.0-or-later
// The ten range fields: corrections, beeps, where the focus goes.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include "ScanFixture.h"
#include "platform/UiServices.h"

namespace {
template <class F> bool WaitFor(F f, int ms = 1000)
{
    QElapsedTimer t;
    t.start();
    while (!f() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return f();
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}
} // namespace

class RangeTest : public ScanTest
{
protected:
    // Types into field n, leaves it and reports the beeps that made.
    int Enter(int n, const char* text)
    {
        const int before = CUiServices::BeepCount();
        Type(n, text);
        Leave();
        Settle();
        return CUiServices::BeepCount() - before;
    }
    // Empties every field with the focus outside them.
    void Clear()
    {
        Leave();
        scan->OnDelete();
        Settle();
    }
    bool Focused(int n) const { return QApplication::focusWidget() == scan->RangeEdit(n); }
};

TEST_F(RangeTest, ChannelPlanCorrections)
{
    OpenScan();
    struct Case
    {
        const char* typed;
        const char* shown;
        int beeps;
    } cases[] = {{"130", "124", 1}, {"300", "512", 1}, {"0", "1", 1},
                 {"900", "885", 1}, {"124", "124", 0}, {"512", "512", 0},
                 {"193", "124", 1}, {"194", "512", 1}, {"99999999999999", "885", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(Enter(0, c.typed), c.beeps);
        EXPECT_EQ(Field(0), QLatin1String(c.shown));
        EXPECT_EQ(scan->Model().m_anRange[0], Field(0).toInt());
        // A corrected field keeps the focus; an accepted one lets it go.
        EXPECT_EQ(Focused(0), c.beeps != 0);
    }
}

TEST_F(RangeTest, OrderWithTheNeighbours)
{
    OpenScan();
    EXPECT_EQ(Enter(0, "10"), 0);
    EXPECT_EQ(Enter(1, "5"), 1) << "an end below its start";
    EXPECT_EQ(Field(1), QStringLiteral("10"));
    EXPECT_TRUE(Focused(1));

    EXPECT_EQ(Enter(1, "124"), 0);
    EXPECT_EQ(Enter(2, "100"), 1) << "a start not above the previous end";
    EXPECT_EQ(Field(2), QStringLiteral("125")) << "the successor is not corrected again";
    EXPECT_TRUE(Focused(2));
    Leave();
    Settle();
    EXPECT_FALSE(Focused(2)) << "125 after 124 is accepted when the field is left again";

    Clear();
    EXPECT_EQ(Enter(0, "512"), 0);
    EXPECT_EQ(Enter(1, "885"), 0);
    EXPECT_EQ(Enter(2, "600"), 1);
    EXPECT_EQ(Field(2), QString()) << "nothing can follow the last channel";
    EXPECT_EQ(scan->Model().m_anRange[2], 0);

    Clear();
    EXPECT_EQ(Enter(0, "1"), 0);
    EXPECT_EQ(Enter(1, "50"), 0);
    EXPECT_EQ(Enter(2, "60"), 0);
    EXPECT_EQ(Enter(3, "124"), 0);
    EXPECT_EQ(Enter(1, "70"), 1) << "an end reaching the next start";
    EXPECT_EQ(Field(1), QStringLiteral("59"));
    EXPECT_EQ(Enter(2, "130"), 1) << "a start above its end";
    EXPECT_EQ(Field(2), QStringLiteral("124"));
    EXPECT_EQ(Enter(3, "124"), 0);
    const int expected[] = {1, 59, 124, 124, 0, 0, 0, 0, 0, 0};
    for (int n = 0; n < SCAN_RANGE_FIELDS; ++n)
        EXPECT_EQ(scan->Model().m_anRange[n], expected[n]) << n;

    // An end before 512 becomes 511 once, and 511 then stays.
    Clear();
    scan->OnAll();
    EXPECT_EQ(Enter(1, "600"), 1);
    EXPECT_EQ(Field(1), QStringLiteral("511"));
    const int before = CUiServices::BeepCount();
    Leave();
    Settle();
    EXPECT_EQ(CUiServices::BeepCount(), before);
    EXPECT_FALSE(Focused(1));
    EXPECT_EQ(scan->Model().m_anRange[1], 511);
}

TEST_F(RangeTest, EmptiedFieldsBeepAndHoldTheFocusWhenALaterOneHasAValue)
{
    OpenScan();
    scan->OnAll();
    // Empty field 0 and click into field 2: the range's end still holds a value.
    Type(0, "");
    int before = CUiServices::BeepCount();
    scan->RangeEdit(2)->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(WaitFor([&] { return Focused(0); }));
    Settle();
    EXPECT_EQ(CUiServices::BeepCount() - before, 1) << "only the emptied field beeps";
    EXPECT_EQ(scan->Model().m_anRange[0], 0);
    EXPECT_EQ(Field(2), QStringLiteral("512")) << "the field clicked is left alone";

    // The last field emptied: a beep, and the focus may go.
    EXPECT_EQ(Enter(0, "1"), 0);
    before = CUiServices::BeepCount();
    Type(3, "");
    Leave();
    Settle();
    EXPECT_EQ(CUiServices::BeepCount() - before, 1);
    EXPECT_FALSE(Focused(3));
    EXPECT_EQ(scan->Model().m_anRange[3], 0);
}

TEST_F(RangeTest, FocusWalksBackToTheFirstEmptyFieldWithOneBeepEach)
{
    OpenScan();
    scan->GetDlgItem(IDC_SCAN_DELETE)->setFocus(Qt::TabFocusReason);
    Settle();
    const int before = CUiServices::BeepCount();
    scan->RangeEdit(5)->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(WaitFor([&] { return Focused(0); }));
    Settle();
    EXPECT_EQ(CUiServices::BeepCount() - before, 5) << "fields 5, 4, 3, 2 and 1 were left empty";

    // With range 1 filled the walk ends at field 2.
    Enter(0, "1");
    Enter(1, "10");
    Leave();
    const int before2 = CUiServices::BeepCount();
    scan->RangeEdit(6)->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(WaitFor([&] { return Focused(2); }));
    Settle();
    EXPECT_TRUE(Focused(2));
    EXPECT_EQ(CUiServices::BeepCount() - before2, 4);
}

TEST_F(RangeTest, FieldsThatSendTheFocusToEachOtherStop)
{
    OpenScan();
    // Field 0 empty, field 1 emptied while field 2 holds a value: field 1
    // wants the focus back, and entering it walks back to field 0.
    scan->Model().m_anRange[2] = 5;
    scan->RangeEdit(2)->setText(QStringLiteral("5"));
    scan->RangeEdit(1)->setFocus(Qt::MouseFocusReason);
    Settle();
    const int before = CUiServices::BeepCount();
    scan->RangeEdit(3)->setFocus(Qt::MouseFocusReason);
    for (int i = 0; i < 100; ++i)
        QCoreApplication::processEvents();
    const int beeps = CUiServices::BeepCount() - before;
    EXPECT_GT(beeps, 0);
    EXPECT_LT(beeps, 25);
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(CUiServices::BeepCount() - before, beeps) << "quiet at last";
}
