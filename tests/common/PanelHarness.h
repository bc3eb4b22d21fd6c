// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "FakeFrame.h"
#include "ModalAnswerer.h"
#include "PtyPair.h"
#include "control/TessolyDlg.h"

// A panel hosted by a fake frame with its two ports open on
// pseudo-terminals (data port 1, trace port 2), every pause shortened and
// message boxes answered with OK.
class PanelHarness
{
public:
    // Maps the port numbers to the pseudo-terminals, creates the panel and opens its ports.
    ::testing::AssertionResult OpenPanel();
    void ClosePanel();

    // What the panel wrote to a port since the last read.
    QByteArray Data(int timeoutMs = 80) { return dataPty.Read(timeoutMs, 15); }
    QByteArray Trace(int timeoutMs = 80) { return tracePty.Read(timeoutMs, 15); }
    void Drain()
    {
        Data(20);
        Trace(20);
    }

    QTemporaryDir dir;
    PtyPair dataPty;
    PtyPair tracePty;
    FakeFrame frame;
    std::unique_ptr<CTessolyDlg> dlg;
    ModalAnswerer answerer;
};
