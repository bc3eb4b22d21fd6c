// The sequencer.
#include "control/TessolyDlg.h"

void CTessolyDlg::RunStep(int nStep)
{
    m_nState = nStep;
}

void CTessolyDlg::OnTimer(int nId)
{
    Q_UNUSED(nId);
}
