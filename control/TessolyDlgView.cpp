// SPDX-License-Identifier: GPL-3.0-or-later
// The module's conversation on the panel: the data-port lines go to the
// sequencer, and what the sequencer shows lands on the form.
#include "control/TessolyDlg.h"

#include <QComboBox>
#include <QListWidget>

#include "platform/FrameHost.h"
#include "platform/UiServices.h"
#include "serial/LineSource.h"
#include "serial/TrafficLog.h"

namespace {
// Serving-cell fields emptied at power-off.
const int kServingCellIds[] = {IDC_MNC,  IDC_MCC,  IDC_LAC,   IDC_CI,
                               IDC_BCCH, IDC_BSIC, IDC_MINRX, IDC_DIFFRX};
} // namespace

void CTessolyDlg::OnDataLine()
{
    if (!m_pDataLines)
        return;
    const QString line = m_pDataLines->GetLine();
    if (m_bReview)
        return; // a line the closed port still had queued
    if (m_pLog)
        m_pLog->Log(LOG_DATA, "D<, ", line);
    HandleDataLine(line);
    emit DataLineHandled(line);
}

void CTessolyDlg::HandleDataLine(const QString& strLine)
{
    m_Sequencer.HandleDataLine(strLine);
    // In review the recorded answers alone move the conversation on; the
    // ring time-out runs on the recorded clock.
    if (m_bReview)
        m_RecordedKeys.Settle(m_nReviewTime);
}

void CTessolyDlg::ShowStatus(const QString& strText)
{
    SetDlgItemText(IDC_STATUS, strText);
}

void CTessolyDlg::RepaintStatus()
{
    if (QWidget* status = GetDlgItem(IDC_STATUS)) {
        if (status->isVisible())
            status->repaint();
    }
}

void CTessolyDlg::SetPowerButton(const QString& strCaption)
{
    SetDlgItemText(IDC_POWER, strCaption);
}

void CTessolyDlg::ShowImei(const QString& strImei)
{
    SetDlgItemText(IDC_IMEI, strImei);
    // The field is cleared before each reading; the IMEI known stays.
    const QString imei = strImei.trimmed();
    if (!imei.isEmpty() && imei != m_strImei) {
        m_strImei = imei;
        emit ImeiKnown(m_strImei);
    }
}

void CTessolyDlg::ShowImsi(const QString& strImsi)
{
    SetDlgItemText(IDC_IMSI, strImsi);
}

void CTessolyDlg::ShowRegistration(const QString& strStatus)
{
    SetDlgItemText(IDC_LAC, strStatus);
}

void CTessolyDlg::ShowNumber(const QString& strNumber)
{
    SetDlgItemText(IDC_NUMBER, strNumber);
}

void CTessolyDlg::ShowCaller(const QString& strCaller)
{
    // The caller is shown as the module gave it: the number filter is for
    // what the user enters, and would wipe out "Anonym".
    const bool bWasInFilter = m_bInChangeNumber;
    m_bInChangeNumber = true;
    SetDlgItemText(IDC_NUMBER, strCaller);
    m_bInChangeNumber = bWasInFilter;
}

void CTessolyDlg::EnableNumber(bool bEnable)
{
    EnableDlgItem(IDC_NUMBER, bEnable);
}

void CTessolyDlg::FocusNumber()
{
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::ResetCallType()
{
    if (auto* cb = Item<QComboBox>(IDC_CALLTYPE)) {
        cb->setCurrentIndex(0);
        cb->setEditText(cb->itemText(0));
    }
}

void CTessolyDlg::ClearServingCell()
{
    for (int id : kServingCellIds)
        SetDlgItemText(id, QString());
    m_Measurer.ResetServingCell();
}

void CTessolyDlg::ClearBsLock()
{
    CheckDlgButton(IDC_BSLOCK, false);
    SetDlgItemText(IDC_BSLOCK_CHANNEL, QString());
}

void CTessolyDlg::ClearMeters()
{
    static const int meters[][2] = {{IDC_RXLEV, IDC_RXLEV_BAR},
                                    {IDC_RXQUAL, IDC_RXQUAL_BAR},
                                    {IDC_TIMESLOT, -1},
                                    {IDC_TIMINGADV, IDC_TIMINGADV_BAR},
                                    {IDC_OUTPOWER, IDC_OUTPOWER_BAR}};
    for (const auto& m : meters) {
        SetDlgItemText(m[0], QString());
        if (m[1] >= 0)
            SetBar(m[1], 0);
    }
    for (const auto& row : g_anNeighbourIds) {
        for (int i = 0; i < 3; ++i)
            SetDlgItemText(row[i], QString());
        SetBar(row[3], 0);
    }
    SetTrafficChannels(QStringList());
    m_Measurer.ResetMeters();
}

void CTessolyDlg::EnableCallMeters()
{
    for (int id : {IDC_TIMINGADV, IDC_TIMINGADV_BAR, IDC_OUTPOWER, IDC_OUTPOWER_BAR})
        EnableDlgItem(id, true);
}

void CTessolyDlg::DisableCallMeters()
{
    EnableDlgItem(IDC_TIMINGADV, false);
    SetBar(IDC_TIMINGADV_BAR, 0);
    EnableDlgItem(IDC_OUTPOWER, false);
    SetBar(IDC_OUTPOWER_BAR, 0);
}

void CTessolyDlg::ClearReport(int nReport)
{
    m_TraceReport.ClearReport(nReport);
}

void CTessolyDlg::ClearLibrary()
{
    m_dlgLibrary.RemoveAllEntries();
}

void CTessolyDlg::AddLibraryEntry(int nIndex, const QString& strName, const QString& strNumber)
{
    m_dlgLibrary.AddEntry(nIndex, strName, strNumber);
}

void CTessolyDlg::WaitCursor()
{
    CUiServices::WaitCursor();
}

void CTessolyDlg::ArrowCursor()
{
    CUiServices::ArrowCursor();
}

void CTessolyDlg::Beep()
{
    CUiServices::Beep();
}

void CTessolyDlg::Pause(int nMs)
{
    if (m_bReview)
        return;
    CUiServices::Pause(nMs);
}

bool CTessolyDlg::Confirm(const QString& strQuestion)
{
    return CUiServices::MessageBox(this, strQuestion, CUiServices::MB_OKCANCEL) == IDOK;
}

bool CTessolyDlg::IsResetOnStart() const
{
    return m_pFrame && m_pFrame->IsResetOnStart();
}

QString CTessolyDlg::TraceFlags() const
{
    return m_pFrame ? m_pFrame->GetTraceFlags() : QString();
}
