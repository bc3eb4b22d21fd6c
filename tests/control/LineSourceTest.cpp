// SPDX-License-Identifier: GPL-3.0-or-later
// The panel driven by scripted lines, with no port open.
#include <QListView>
#include <QTest>
#include <gtest/gtest.h>

#include "ListRows.h"
#include "common/FakeFrame.h"
#include "common/ScriptedLines.h"
#include "control/TessolyDlg.h"
#include "platform/Messages.h"
#include "serial/TrafficLog.h"

TEST(LineSource, ScriptedLinesAreLoggedAndHandledInOrder)
{
    FakeFrame frame;
    CTessolyDlg dlg(&frame);
    frame.controller = &dlg;
    ASSERT_TRUE(dlg.CreatePanel());
    ScriptedLines data(&dlg, WM_DATA_LINE);
    ScriptedLines trace(&dlg, WM_TRACE_LINE);
    dlg.SetLineSources(&data, &trace);
    QStringList handled;
    QObject::connect(&dlg, &CTessolyDlg::TraceLineHandled, [&](const QString& l) { handled << l; });

    data.Push(QStringLiteral("+CREG: 0,1"));
    trace.Push(QStringLiteral("Idle_Mode_Rpt 62 40"));
    trace.Push(QStringLiteral("Idle_Mode_Rpt 63 41"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled.size() == 2; }));
    EXPECT_EQ(handled, QStringList({"Idle_Mode_Rpt 62 40", "Idle_Mode_Rpt 63 41"}));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_BCCH), QStringLiteral("63"));
    dlg.Log()->Flush();
    const QStringList entries = RowTexts(*dlg.Item<QListView>(IDC_LOG));
    EXPECT_EQ(entries, QStringList({"D<, +CREG: 0,1", "t<, Idle_Mode_Rpt 62 40",
                                    "t<, Idle_Mode_Rpt 63 41"}));
    dlg.ClosePanel();
}
