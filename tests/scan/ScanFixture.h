// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLineEdit>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "common/PanelHarness.h"
#include "control/TessolyDlg.h"
#include "scan/ChannelScanDlg.h"

// A powered-on panel on two pseudo-terminals (data port 1, trace port 2)
// with every pause shortened, and a channel scan opened on it with Create()
// (shown and active, so that focus moves are delivered).
class ScanTest : public ::testing::Test, public PanelHarness
{
protected:
    void SetUp() override;
    void TearDown() override;

    void OpenScan(bool bActivate = true);
    // Runs a scan dialog modally, as the menu command does; body runs inside
    // its modal loop once the window is on the screen. A watchdog ends a
    // loop that the body did not end.
    int RunModal(const std::function<void()>& body);
    // Ends the scan window (its destroy sequence runs).
    void CloseScan();

    // Publishes levels as the module does: a header, data lines, the next header.
    void Publish(const std::map<int, int>& levels);
    // Levels for every channel of a..b (level = base + channel % span).
    static std::map<int, int> Levels(int a, int b, int base = 20, int span = 40);
    // Levels for both bands of the plan.
    static std::map<int, int> PlanLevels();

    QString Field(int n) const { return scan->RangeEdit(n)->text(); }
    // Types a text into range field n as the user would after clicking it.
    void Type(int n, const char* text);
    // Moves the focus away from the range fields (to the Delete button).
    void Leave();

    std::unique_ptr<CChannelScanDlg> scan;
};
