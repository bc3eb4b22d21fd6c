// SPDX-License-Identifier: GPL-3.0-or-later
// Scan requests and the command sequences of a scan's life on both ports.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScanFixture.h"
#include "TestAccess.h"
#include "platform/UiServices.h"
#include "scan/ScanGraph.h"

namespace {
const QByteArray kSetup = "*6+FT+Q\\8\\66QF";
const QByteArray kEnd = "*S1\r\r1\r";
const QByteArray kFlags = "*W878000\r";
} // namespace

TEST_F(ScanTest, OpeningSendsTheSetUpAndRequestsFollowTheFields)
{
    OpenScan();
    EXPECT_EQ(Trace(), kSetup);
    EXPECT_TRUE(scan->IsDlgItemEnabled(IDC_SCAN_SELECT));
    EXPECT_FALSE(scan->IsDlgItemEnabled(IDOK));
    EXPECT_TRUE(dlg->TraceReport().IsScanAttached());

    scan->OnAll();
    EXPECT_EQ(Field(3), QStringLiteral("885"));
    scan->OnSelect();
    EXPECT_EQ(Trace(), QByteArray("*S\r\r1-124,512-885\r"));
    EXPECT_EQ(scan->Model().m_nSelected, 1);
    EXPECT_TRUE(scan->Model().m_bScanRequested);
    EXPECT_EQ(scan->Model().m_anActive[3], 885);

    // One range from the fields' texts.
    scan->OnDelete();
    scan->RangeEdit(0)->setText(QStringLiteral("10"));
    scan->RangeEdit(1)->setText(QStringLiteral("20"));
    scan->Model().m_anRange[0] = 10;
    scan->Model().m_anRange[1] = 20;
    scan->OnSelect();
    EXPECT_EQ(Trace(), QByteArray("*S\r\r10-20\r"));
    EXPECT_EQ(scan->Model().m_nSelected, 10);

    // Incomplete lists: a beep, nothing sent, the request in force stays.
    for (int nFilled : {1, 3, 0}) {
        SCOPED_TRACE(nFilled);
        scan->OnDelete();
        for (int n = 0; n < nFilled; ++n) {
            scan->Model().m_anRange[n] = 10 + n;
            scan->RangeEdit(n)->setText(QString::number(10 + n));
        }
        const int before = CUiServices::BeepCount();
        scan->OnSelect();
        EXPECT_EQ(CUiServices::BeepCount() - before, 1);
        EXPECT_EQ(Trace(30), QByteArray());
        EXPECT_FALSE(scan->Model().m_bScanRequested);
    }

    // All five ranges make a complete list.
    scan->OnDelete();
    const int all[10] = {1, 10, 20, 30, 40, 50, 60, 70, 512, 885};
    for (int n = 0; n < 10; ++n) {
        scan->Model().m_anRange[n] = all[n];
        scan->RangeEdit(n)->setText(QString::number(all[n]));
    }
    scan->OnSelect();
    EXPECT_EQ(Trace(), QByteArray("*S\r\r1-10,20-30,40-50,60-70,512-885\r"));

    // Delete after a request tells the module nothing and forgets the graph.
    scan->OnDelete();
    EXPECT_EQ(Trace(30), QByteArray());
    EXPECT_FALSE(scan->Model().m_bScanRequested);
    EXPECT_EQ(scan->Model().m_nSelected, 0);
    EXPECT_FALSE(scan->IsDlgItemEnabled(IDOK));
    EXPECT_EQ(scan->GetDlgItemText(IDC_SCAN_CHANNEL), QString());
}

TEST_F(ScanTest, ModuleOffDisablesSelect)
{
    TestAccess::PoweredOn(*dlg) = false;
    OpenScan();
    EXPECT_EQ(Trace(), kSetup);
    EXPECT_FALSE(scan->IsDlgItemEnabled(IDC_SCAN_SELECT));
    scan->OnAll();
    const int before = CUiServices::BeepCount();
    // Enter runs the default button, which is disabled.
    QTest::keyClick(scan.get(), Qt::Key_Return);
    EXPECT_EQ(CUiServices::BeepCount(), before);
    scan->OnSelect();
    EXPECT_EQ(CUiServices::BeepCount() - before, 1);
    EXPECT_EQ(Trace(30), QByteArray());
    EXPECT_FALSE(scan->Model().m_bScanRequested);
}

TEST_F(ScanTest, CancelEndsTheScanAndSendsTheFlagsWithoutALock)
{
    const int result = RunModal([&] {
        scan->OnAll();
        scan->OnSelect();
        Publish(Levels(1, 124));
        QTest::keyClick(scan.get(), Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(answerer.dialogsSeen, 1);
    EXPECT_EQ(Trace(), kSetup + "*S\r\r1-124,512-885\r" + kEnd + kFlags);
    EXPECT_EQ(Data(), QByteArray("AT+COPS=0\r"));
    EXPECT_FALSE(dlg->TraceReport().IsScanAttached());
    EXPECT_EQ(dlg->TraceReport().GetScanLevel(5), -1);
    EXPECT_FALSE(dlg->IsDlgButtonChecked(IDC_BSLOCK));
}

TEST_F(ScanTest, GoLocksTheSelectedChannel)
{
    const int result = RunModal([&] {
        scan->OnAll();
        scan->OnSelect();
        Publish(Levels(1, 124));
        // Select channel 62 with "<" and ">" from the first channel.
        scan->Model().m_nSelected = 61;
        scan->OnNext();
        EXPECT_EQ(scan->GetDlgItemText(IDC_SCAN_CHANNEL), QStringLiteral("62"));
        EXPECT_TRUE(scan->IsDlgItemEnabled(IDOK));
        QTest::mouseClick(scan->GetDlgItem(IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Trace(), kSetup + "*S\r\r1-124,512-885\r" + kEnd + "562\r\\F62\r" + kFlags);
    EXPECT_EQ(Data(), QByteArray("AT+COPS=0\r"));
    EXPECT_TRUE(dlg->IsDlgButtonChecked(IDC_BSLOCK));
    EXPECT_EQ(dlg->GetDlgItemText(IDC_BSLOCK_CHANNEL), QStringLiteral("62"));
    EXPECT_FALSE(dlg->TraceReport().IsScanAttached());
}

TEST_F(ScanTest, GoWithNothingSelectedOnlyEndsTheScan)
{
    OpenScan();
    scan->OnAll();
    scan->OnSelect();
    Publish(Levels(1, 124));
    scan->Model().m_nSelected = 0; // a click into a gap
    Drain();
    scan->OnGo();
    EXPECT_EQ(Trace(), kEnd);
    CloseScan();
    EXPECT_EQ(Trace(30), QByteArray());
    EXPECT_EQ(Data(), QByteArray("AT+COPS=0\r"));
}

TEST_F(ScanTest, WorksWithoutOpenPorts)
{
    dlg->ClosePorts();
    OpenScan();
    scan->OnAll();
    scan->OnSelect();
    Publish(Levels(1, 124));
    scan->OnNext();
    scan->OnGo();
    CloseScan();
    EXPECT_FALSE(dlg->TraceReport().IsScanAttached());
    EXPECT_TRUE(answerer.messages.isEmpty())
        << answerer.messages.join(QLatin1Char('|')).toStdString();
}
