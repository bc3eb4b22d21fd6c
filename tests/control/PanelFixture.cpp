#include "PanelFixture.h"

#include "platform/PortNames.h"
#include "platform/UiServices.h"

void PanelTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(dataPty.IsValid());
    ASSERT_TRUE(tracePty.IsValid());
    CPortNames::SetProfilePath(dir.filePath(QStringLiteral("Tarn.ini")));
    CPortNames::SetDevice(1, dataPty.SlavePath());
    CPortNames::SetDevice(2, tracePty.SlavePath());
    CTessolyDlg::s_bSendPowerOn = true;
    CTessolyDlg::s_nPowerOnTries = 5;

    dlg = std::make_unique<CTessolyDlg>(&frame);
    frame.controller = dlg.get();
    ASSERT_TRUE(dlg->CreatePanel());
    dlg->m_nTraceCharDelay = 0;
    dlg->m_nPowerOnWait = 0;
    dlg->m_nIdlePause = 0;
    dlg->m_nClosePause = 0;
    int nTrace = 2, nData = 1;
    ASSERT_TRUE(dlg->OpenPorts(&nTrace, &nData));
}

void PanelTest::TearDown()
{
    if (dlg) {
        dlg->ClosePanel();
        dlg.reset();
    }
    CUiServices::ArrowCursor();
    CPortNames::SetProfilePath(QString());
}
