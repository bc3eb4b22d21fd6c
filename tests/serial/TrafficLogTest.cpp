// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/TrafficLog.h"
#include "ListRows.h"
#include "serial/LogList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct Lists
{
    QListView visible;
    QListView hidden;
    CTrafficLog log{&visible, &hidden, true, true, false};
};

QStringList Entries(const QListView& list)
{
    return RowTexts(list);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

TEST(TrafficLog, PrefixesChannelsAndLineBreaks)
{
    Lists l;
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("OK"));
    l.log.Log(LOG_TRACE, "t>, ", QStringLiteral("0\r"));
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("+CREG: 0,1\r\nOK"));
    l.log.Log(LOG_DATA, "D>, ", QString());
    l.log.Log(LOG_DATA, "D>, ", QStringLiteral("\r\n\r\n"));
    l.log.Log(2, "D>, ", QStringLiteral("other channel"));
    EXPECT_EQ(Entries(l.visible), (QStringList{"D<, OK", "t>, 0", "D<, +CREG: 0,1", "D<, OK"}));

    l.log.EnableData(false);
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("hidden"));
    l.log.Log(LOG_TRACE, "t<, ", QStringLiteral("Idle_Mode_Rpt"));
    l.log.EnableTrace(false);
    l.log.Log(LOG_TRACE, "t<, ", QStringLiteral("dropped"));
    l.log.EnableData(true);
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("RING"));
    EXPECT_EQ(RowCount(l.visible), 6);
    EXPECT_EQ(RowText(l.visible, 4), QStringLiteral("t<, Idle_Mode_Rpt"));
    EXPECT_EQ(RowText(l.visible, 5), QStringLiteral("D<, RING"));
    // The newest entry is the current one.
    EXPECT_EQ(CurrentRow(l.visible), 5);

    // Without prefix, multi-line text, consecutive terminators give no empty entries.
    CLogList sink(&l.hidden);
    sink.AddText(nullptr, QStringLiteral("\ra\r\n\nb\rc"));
    EXPECT_EQ(Entries(l.hidden), (QStringList{"a", "b", "c"}));
}

TEST(TrafficLog, ShownListFollowsTheNewestEntry)
{
    Lists l;
    l.visible.resize(300, 120);
    l.visible.show();
    for (int i = 0; i < 1200; ++i)
        l.log.Log(LOG_DATA, "D<, ", QStringLiteral("line %1").arg(i));
    // On screen the lines come in at the next showing, all at once.
    EXPECT_EQ(RowCount(l.visible), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return RowCount(l.visible) == 999; }));
    EXPECT_EQ(CurrentRow(l.visible), 998);
    const QRect rect = l.visible.visualRect(l.visible.model()->index(998, 0));
    EXPECT_TRUE(l.visible.viewport()->rect().intersects(rect));
    l.log.Clear();
    QCoreApplication::processEvents();
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("after clear"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return RowCount(l.visible) == 1; }));
    EXPECT_EQ(CurrentRow(l.visible), 0);
}

TEST(TrafficLog, LongLinesAreCutAtTheLimits)
{
    Lists l;
    l.log.Log(LOG_DATA, "D<, ", QString(247, 'a')); // 251 in all: kept
    l.log.Log(LOG_DATA, "D<, ", QString(248, 'b')); // 252: kept and marked
    l.log.Log(LOG_DATA, "D<, ", QString(251, 'c')); // 255
    l.log.Log(LOG_DATA, "D<, ", QString(296, 'd')); // 300: first 255 kept
    ASSERT_EQ(RowCount(l.visible), 4);
    EXPECT_EQ(RowText(l.visible, 0), "D<, " + QString(247, 'a'));
    EXPECT_EQ(RowText(l.visible, 1), "D<, " + QString(248, 'b') + "...");
    EXPECT_EQ(RowText(l.visible, 1).size(), 255);
    EXPECT_EQ(RowText(l.visible, 2).size(), 258);
    EXPECT_EQ(RowText(l.visible, 3), "D<, " + QString(251, 'd') + "...");
    EXPECT_EQ(RowText(l.visible, 3).size(), 258);
}

TEST(TrafficLog, ListKeepsTheNewest999)
{
    Lists l;
    for (int i = 0; i < 1005; ++i) {
        l.log.Log(LOG_TRACE, "t<, ", QString::number(i));
        ASSERT_LE(RowCount(l.visible), CLogList::kMaxEntries);
    }
    ASSERT_EQ(RowCount(l.visible), 999);
    EXPECT_EQ(RowText(l.visible, 0), QStringLiteral("t<, 6"));
    EXPECT_EQ(RowText(l.visible, 998), QStringLiteral("t<, 1004"));
    EXPECT_EQ(CurrentRow(l.visible), 998);

    // Clear empties the list; counting starts again.
    l.log.Clear();
    EXPECT_EQ(RowCount(l.visible), 0);
    l.log.Log(LOG_TRACE, "t<, ", QStringLiteral("x"));
    EXPECT_EQ(Entries(l.visible), QStringList{"t<, x"});
}

TEST(TrafficLog, FreezeCollectsLinesAndUnfreezeAppendsThem)
{
    Lists l;
    EXPECT_FALSE(l.log.IsFrozen());
    l.log.Log(LOG_DATA, "D>, ", QStringLiteral("AT"));
    l.log.Freeze(true);
    EXPECT_TRUE(l.log.IsFrozen());
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("OK"));
    l.log.Log(LOG_TRACE, "t<, ", QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(Entries(l.visible), QStringList{"D>, AT"});
    EXPECT_EQ(RowCount(l.hidden), 3);

    l.log.Freeze(false);
    EXPECT_FALSE(l.log.IsFrozen());
    EXPECT_EQ(Entries(l.visible), (QStringList{"D>, AT", "D<, OK", "t<, one", "t<, two"}));
    EXPECT_EQ(RowCount(l.hidden), 0);
    EXPECT_EQ(CurrentRow(l.visible), 3);

    // Clear while frozen touches only the visible list.
    l.log.Freeze(true);
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("RING"));
    l.log.Clear();
    EXPECT_EQ(RowCount(l.visible), 0);
    EXPECT_EQ(RowCount(l.hidden), 1);
    l.log.Freeze(false);
    EXPECT_EQ(Entries(l.visible), QStringList{"D<, RING"});

    // A log created frozen collects from the start.
    QListView v, h;
    CTrafficLog frozen(&v, &h, true, false, true);
    EXPECT_TRUE(frozen.IsFrozen());
    frozen.Log(LOG_DATA, "D<, ", QStringLiteral("a"));
    frozen.Log(LOG_TRACE, "t<, ", QStringLiteral("b"));
    EXPECT_EQ(RowCount(v), 0);
    EXPECT_EQ(Entries(h), QStringList{"D<, a"});
}

TEST(TrafficLog, UnfreezeMovesCutEntriesUnchangedAndKeepsTheCap)
{
    Lists l;
    l.log.Freeze(true);
    l.log.Log(LOG_TRACE, "t<, ", QString(296, 'x'));
    l.log.Log(LOG_TRACE, "t<, ", QString(248, 'y'));
    l.log.Log(LOG_TRACE, "t<, ", QString(247, 'z'));
    const QStringList held = Entries(l.hidden);
    l.log.Freeze(false);
    EXPECT_EQ(Entries(l.visible), held);
    EXPECT_EQ(RowText(l.visible, 0).size(), 258);
    EXPECT_EQ(RowText(l.visible, 1).size(), 255);
    EXPECT_EQ(RowText(l.visible, 2).size(), 251);

    // 999 old + 999 held: the newest 999 remain, in order.
    l.log.Clear();
    for (int i = 0; i < 999; ++i)
        l.log.Log(LOG_DATA, "D<, ", QStringLiteral("old %1").arg(i));
    l.log.Freeze(true);
    for (int i = 0; i < 999; ++i)
        l.log.Log(LOG_DATA, "D<, ", QStringLiteral("new %1").arg(i));
    l.log.Freeze(false);
    ASSERT_EQ(RowCount(l.visible), 999);
    EXPECT_EQ(RowText(l.visible, 0), QStringLiteral("D<, new 0"));
    EXPECT_EQ(RowText(l.visible, 998), QStringLiteral("D<, new 998"));
    // The hidden sink starts from an empty list again.
    l.log.Freeze(true);
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("again"));
    EXPECT_EQ(Entries(l.hidden), QStringList{"D<, again"});
}

TEST(TrafficLog, SaveWritesEveryVisibleEntry)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, '#'));
    }
    Lists l;
    l.log.Log(LOG_DATA, "D>, ", QStringLiteral("AT+COPS?"));
    l.log.Log(LOG_DATA, "D<, ", QString::fromLatin1("+COPS: 0,0,\"T\xe9l\xe9phone\""));
    l.log.Log(LOG_TRACE, "t<, ", QString(296, 'L'));
    l.log.Freeze(true);
    l.log.Log(LOG_DATA, "D<, ", QStringLiteral("not saved"));
    EXPECT_EQ(l.log.Save(path), 0);
    const QByteArray expected = "D>, AT+COPS?\r\n"
                                "D<, +COPS: 0,0,\"T\xe9l\xe9phone\"\r\n"
                                "t<, " +
                                QByteArray(251, 'L') + "...\r\n";
    EXPECT_EQ(ReadFile(path), expected);

    // An empty list writes an empty file.
    l.log.Clear();
    EXPECT_EQ(l.log.Save(path), 0);
    EXPECT_EQ(ReadFile(path), QByteArray());

    // A file that cannot be created.
    const QString bad = dir.filePath(QStringLiteral("missing/dir/log.txt"));
    EXPECT_EQ(l.log.Save(bad), 1);
    EXPECT_FALSE(QFile::exists(bad));
    EXPECT_EQ(l.log.Save(dir.path()), 1);
    EXPECT_EQ(l.log.Save(QString()), 1);
}

TEST(TrafficLog, ListsOutliveTheLogQuietly)
{
    QListView visible, hidden;
    visible.show();
    {
        CTrafficLog log(&visible, &hidden, true, true, false);
        log.Log(LOG_DATA, "D<, ", QStringLiteral("OK"));
        log.Flush();
    }
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& msg) { warnings << msg; });
    QCoreApplication::processEvents();
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings.join(QLatin1Char('\n')).toStdString(), "");
}

TEST(TrafficLog, RowsLookAsTheStyleDrawsThem)
{
    QListWidget plain;
    QListView log;
    CLogList owner(&log); // draws its rows with the log's own delegate
    plain.setUniformItemSizes(true);
    const QStringList rows = {QStringLiteral("t<, 0 Serving_Cell 62 -71 2 3"),
                              QStringLiteral("D>, AT+CREG?"), QStringLiteral("D<, +CREG: 0,1"),
                              QStringLiteral("t<, a line too long for the width of this list, cut"),
                              QStringLiteral("D<, OK")};
    plain.addItems(rows);
    for (const QString& row : rows)
        owner.AddLine(nullptr, row);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(&plain), static_cast<QAbstractItemView*>(&log)}) {
        list->resize(260, 200);
        list->setCurrentIndex(list->model()->index(2, 0));
    }
    // Twice: the second drawing comes from the kept layouts.
    for (int pass = 0; pass < 2; ++pass)
        EXPECT_EQ(log.grab().toImage(), plain.grab().toImage()) << "pass " << pass;
}

// Once full, the list's rows take the next entries without the view hearing
// of changed data: what is on screen must still be the newest entries.
TEST(TrafficLog, FullListOnScreenShowsTheNewestEntries)
{
    const auto onScreen = [](QListView& v) {
        QTest::qWait(50);
        return v.screen()->grabWindow(v.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    QListView live, fresh;
    CLogList liveList(&live), freshList(&fresh);
    for (QListView* v : {&live, &fresh}) {
        v->resize(260, 120);
        v->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
    }
    for (int i = 0; i < 1000; ++i)
        liveList.AddLine("t<, ", QString::number(i));
    liveList.Flush();
    onScreen(live);
    // The list on screen moves its picture up by the new lines, then by one.
    int next = 1000;
    for (int count : {3, 1}) {
        for (int i = 0; i < count; ++i)
            liveList.AddLine("t<, ", QString::number(next++));
        liveList.Flush();
        freshList.Clear();
        for (const QString& entry : liveList.Entries())
            freshList.AddLine(nullptr, entry);
        freshList.Flush();
        EXPECT_EQ(onScreen(live), onScreen(fresh)) << count;
    }
}

// New lines are shown in the window's next drawing, with whatever else
// changed, but a list shows new lines at most ten times a second.
TEST(TrafficLog, NewLinesShowWithTheNextDrawingAtMostTenTimesASecond)
{
    QListView view;
    CLogList list(&view);
    view.resize(260, 120);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    list.AddLine("t<, ", QStringLiteral("first"));
    EXPECT_EQ(RowCount(view), 0);
    // Started before the showing: the time it gives is never shorter than
    // the time since the showing.
    QElapsedTimer sinceShown;
    sinceShown.start();
    QCoreApplication::processEvents(); // the window draws
    EXPECT_EQ(RowCount(view), 1);
    list.AddLine("t<, ", QStringLiteral("second"));
    QCoreApplication::processEvents();
    if (sinceShown.elapsed() < CLogList::kShowEveryMs * 9 / 10) {
        EXPECT_EQ(RowCount(view), 1);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return RowCount(view) == 2; }, 2000));
    // Timers may come a few per cent early.
    EXPECT_GE(sinceShown.elapsed(), CLogList::kShowEveryMs * 9 / 10);
}
