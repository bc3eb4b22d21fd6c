// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelHarness.h"

#include "TestAccess.h"
#include "platform/PortNames.h"
#include "platform/UiServices.h"

::testing::AssertionResult PanelHarness::OpenPanel()
{
    if (!dir.isValid() || !dataPty.IsValid() || !tracePty.IsValid())
        return ::testing::AssertionFailure() << "no temporary directory or pseudo-terminal";
    CPortNames::SetProfilePath(dir.filePath(QStringLiteral("Tarn.ini")));
    CPortNames::SetDevice(1, dataPty.SlavePath());
    CPortNames::SetDevice(2, tracePty.SlavePath());

    dlg = std::make_unique<CTessolyDlg>(&frame);
    frame.controller = dlg.get();
    if (!dlg->CreatePanel())
        return ::testing::AssertionFailure() << "the panel could not be created";
    dlg->m_nTraceCharDelay = 0;
    dlg->m_nPowerOnWait = 0;
    dlg->m_nIdlePause = 0;
    dlg->m_nClosePause = 0;
    int nTrace = 2, nData = 1;
    if (!dlg->OpenPorts(&nTrace, &nData))
        return ::testing::AssertionFailure() << "the ports could not be opened";
    return ::testing::AssertionSuccess();
}

void PanelHarness::ClosePanel()
{
    if (dlg) {
        dlg->ClosePanel();
        dlg.reset();
    }
    CUiServices::ArrowCursor();
    CPortNames::SetProfilePath(QString());
}
