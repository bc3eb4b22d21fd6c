// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScanFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "TestAccess.h"
#include "platform/PortNames.h"
#include "platform/UiServices.h"

void ScanTest::SetUp()
{
    frame.traceFlags = QStringLiteral("878000");
    ASSERT_TRUE(OpenPanel());
    TestAccess::PoweredOn(*dlg) = true;
    Drain();
}

void ScanTest::TearDown()
{
    scan.reset();
    ClosePanel();
}

void ScanTest::OpenScan(bool bActivate)
{
    scan = std::make_unique<CChannelScanDlg>(dlg.get());
    ASSERT_TRUE(scan->Create());
    if (bActivate) {
        scan->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(scan.get()));
    }
    QCoreApplication::processEvents();
}

int ScanTest::RunModal(const std::function<void()>& body)
{
    scan = std::make_unique<CChannelScanDlg>(dlg.get());
    bool bRan = false;
    answerer.handler = [&](QWidget* w) {
        if (w != scan.get())
            return false;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(scan.get()));
        bRan = true;
        body();
        return true;
    };
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
        ADD_FAILURE() << "the modal loop did not end";
        scan->done(-1);
    });
    watchdog.start(10000);
    const int r = scan->DoModal();
    answerer.handler = nullptr;
    EXPECT_TRUE(bRan);
    return r;
}

void ScanTest::CloseScan()
{
    if (scan)
        scan->DestroyWindow();
}

void ScanTest::Publish(const std::map<int, int>& levels)
{
    dlg->HandleTraceLine(QStringLiteral("RF Scan 1"));
    QString line;
    int n = 0;
    for (const auto& [c, l] : levels) {
        line += QStringLiteral("%1 %2 ").arg(c).arg(l);
        if (++n == 16) {
            dlg->HandleTraceLine(line);
            line.clear();
            n = 0;
        }
    }
    if (!line.isEmpty())
        dlg->HandleTraceLine(line);
    dlg->HandleTraceLine(QStringLiteral("RF Scan 2"));
}

std::map<int, int> ScanTest::Levels(int a, int b, int base, int span)
{
    std::map<int, int> m;
    for (int c = a; c <= b; ++c)
        m[c] = base + c % span;
    return m;
}

std::map<int, int> ScanTest::PlanLevels()
{
    auto m = Levels(1, 124);
    m.merge(Levels(512, 885));
    return m;
}

void ScanTest::Type(int n, const char* text)
{
    QLineEdit* e = scan->RangeEdit(n);
    e->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    e->setText(QString::fromLatin1(text));
}

void ScanTest::Leave()
{
    scan->GetDlgItem(IDC_SCAN_DELETE)->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}
