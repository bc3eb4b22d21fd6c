// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "ModalAnswerer.h"
#include "control/TessolyDlg.h"
#include "shell/MainFrm.h"
#include "sim/SimModule.h"

// The whole program (main frame, panel, settings) against the simulated
// test mobile over two pseudo-terminals, with every pause shortened.
class E2E : public ::testing::Test
{
protected:
    void TearDown() override;

    // Fast simulator timings; the scenario is up to the test.
    static CSimOptions FastSim();
    // Starts the simulator and the program with these options bits (hex).
    void Start(const CSimOptions& sim, const char* options = "13", const char* flags = "FFFFFF");
    // Waits (handling events) until the predicate holds.
    bool WaitFor(const std::function<bool()>& pred, int ms = 8000);
    bool WaitState(int state, int ms = 8000)
    {
        return WaitFor([&] { return c->State() == state; }, ms);
    }
    bool WaitStatus(const QString& text, int ms = 8000)
    {
        return WaitFor([&] { return Text(IDC_STATUS) == text; }, ms);
    }
    QString Text(int id) const { return c->GetDlgItemText(id); }
    // Puts text into the number field as the user would.
    void Type(const QString& number);
    void CallType(const QString& type);
    // Runs the panel to idle (state 30) from the start.
    void ToIdle();

    QTemporaryDir dir;
    QByteArray extraIni; // more settings lines, written by Start
    std::unique_ptr<CSimModule> sim;
    std::unique_ptr<CMainFrame> frame;
    CTessolyDlg* c = nullptr;
    ModalAnswerer answer;
};
