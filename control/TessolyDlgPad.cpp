// The phone pad and the air-interface commands.
#include "control/TessolyDlg.h"

void CTessolyDlg::ConnectPadControls() {}
void CTessolyDlg::OnPower() {}
void CTessolyDlg::OnYes() {}
void CTessolyDlg::OnNo() {}
void CTessolyDlg::InsertKey(const char*) {}
void CTessolyDlg::OnChangeNumber() {}
void CTessolyDlg::OnSpeakerUp() {}
void CTessolyDlg::OnSpeakerDown() {}
void CTessolyDlg::OnLibrary() {}
void CTessolyDlg::OnDataContent() {}
void CTessolyDlg::OnLocationUpdate() {}
void CTessolyDlg::LocationUpdate() {}
void CTessolyDlg::OnBsLock() {}
void CTessolyDlg::LockChannel(const QString&) {}
void CTessolyDlg::SetBsLockCheck(bool) {}
void CTessolyDlg::OnGo(int) {}
