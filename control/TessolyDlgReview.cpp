// SPDX-License-Identifier: GPL-3.0-or-later
// The panel in review of a recorded session: no port, no write, and the
// form held in memory while many lines are presented at once.
#include "control/TessolyDlg.h"

#include <QListWidget>

#include "platform/BarCtrl.h"
#include "serial/TrafficLog.h"

void CTessolyDlg::SetReview(bool bOn)
{
    m_bReview = bOn;
    EnablePad(!bOn);
    m_Sequencer.SetEventSink(bOn ? nullptr : &m_Measurer);
    if (bOn)
        m_Sequencer.StopTimers();
}

void CTessolyDlg::ResetForReview()
{
    m_Sequencer.Reset();
    m_RecordedKeys.Reset();
    m_TraceReport.Reset();
    m_nMaxPowerDbm = Units::kMaxPowerLowBandDbm;
    m_bRxQualReported = false;
    m_strLockChannel.clear();
    // What the power-off step and the panel's start leave on the form.
    SetPowerButton(QStringLiteral("On"));
    ShowStatus(QStringLiteral("Power Off"));
    ResetCallType();
    ShowImei(QString());
    ShowImsi(QString());
    ClearBsLock();
    ShowCaller(QString());
    EnableNumber(false);
    ClearServingCell();
    ClearMeters();
    ClearLibrary();
}

void CTessolyDlg::ReviewClock(qint64 nTime)
{
    m_nReviewTime = nTime;
    if (m_RecordedKeys.DueBy(nTime) >= 0)
        m_RecordedKeys.RunRingTimeout();
}

void CTessolyDlg::ReviewSentLine(int nChannel, const QString& strLine)
{
    m_RecordedKeys.FollowSent(nChannel == LOG_TRACE, strLine.toLatin1(), m_nReviewTime);
}

void CTessolyDlg::SetDlgItemText(int nId, const QString& strText)
{
    if (m_bHold)
        m_heldTexts.insert(nId, strText);
    else
        CTemplateDialog::SetDlgItemText(nId, strText);
}

QString CTessolyDlg::GetDlgItemText(int nId) const
{
    if (m_bHold) {
        const auto it = m_heldTexts.constFind(nId);
        if (it != m_heldTexts.constEnd())
            return *it;
    }
    return CTemplateDialog::GetDlgItemText(nId);
}

void CTessolyDlg::SetTrafficChannels(const QStringList& channels)
{
    if (m_bHold) {
        m_bChannelsHeld = true;
        m_heldChannels = channels;
        return;
    }
    if (auto* list = Item<QListWidget>(IDC_TRAFFICCHANNELS)) {
        list->clear();
        list->addItems(channels);
    }
}

bool CTessolyDlg::FirstTrafficChannel(QString* pChannel) const
{
    if (m_bHold && m_bChannelsHeld) {
        if (m_heldChannels.isEmpty())
            return false;
        *pChannel = m_heldChannels.first();
        return true;
    }
    auto* list = Item<QListWidget>(IDC_TRAFFICCHANNELS);
    if (!list || list->count() == 0)
        return false;
    *pChannel = list->item(0)->text();
    return true;
}

void CTessolyDlg::HoldForm(bool bHold)
{
    if (bHold == m_bHold)
        return;
    m_bHold = bHold;
    if (bHold)
        return;
    // The caller's text is shown as it stands, past the number filter.
    const bool bWasInFilter = m_bInChangeNumber;
    m_bInChangeNumber = true;
    for (auto it = m_heldTexts.constBegin(); it != m_heldTexts.constEnd(); ++it) {
        if (CTemplateDialog::GetDlgItemText(it.key()) != it.value())
            CTemplateDialog::SetDlgItemText(it.key(), it.value());
    }
    m_bInChangeNumber = bWasInFilter;
    for (auto it = m_heldBars.constBegin(); it != m_heldBars.constEnd(); ++it)
        SetBar(it.key(), it.value());
    if (m_bChannelsHeld)
        SetTrafficChannels(m_heldChannels);
    m_heldTexts.clear();
    m_heldBars.clear();
    m_heldChannels.clear();
    m_bChannelsHeld = false;
}
