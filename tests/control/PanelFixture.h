#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "common/FakeFrame.h"
#include "common/ModalAnswerer.h"
#include "common/PtyPair.h"
#include "control/TessolyDlg.h"

// A panel hosted by a fake frame, its two ports open on pseudo-terminals
// (data port 1, trace port 2), every pause shortened and message boxes
// answered with OK.
class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // What the panel wrote to a port since the last read.
    QByteArray Data(int timeoutMs = 60) { return dataPty.Read(timeoutMs, 10); }
    QByteArray Trace(int timeoutMs = 60) { return tracePty.Read(timeoutMs, 10); }
    void Drain()
    {
        Data(20);
        Trace(20);
    }
    QString Text(int id) const { return dlg->GetDlgItemText(id); }
    // Puts the panel into a state without running its step.
    void SetState(int n) { dlg->m_nState = n; }
    void Line(const char* psz) { dlg->HandleDataLine(QString::fromLatin1(psz)); }

    QTemporaryDir dir;
    PtyPair dataPty;
    PtyPair tracePty;
    FakeFrame frame;
    std::unique_ptr<CTessolyDlg> dlg;
    ModalAnswerer answerer;
};
