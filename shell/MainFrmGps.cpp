// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's positions from gpsd: the [GPS] settings, the switch in
// the Options menu, the status bar pane, and where each fix goes (the
// measurements and the session recording).
#include <QLabel>

#include "control/TessolyDlg.h"
#include "gps/GpsClient.h"
#include "measure/MeasureEvent.h"
#include "platform/ProfileFile.h"
#include "session/SessionRecorder.h"
#include "shell/MainFrm.h"

namespace {
const QString kGps = QStringLiteral("GPS");
const QString kEnabled = QStringLiteral("Enabled");
const QString kHost = QStringLiteral("Host");
const QString kPort = QStringLiteral("Port");
constexpr int kGpsdPort = 2947;
} // namespace

void CMainFrame::LoadGpsSettings(const CProfileFile& ini)
{
    m_bGps = ini.GetInt(kGps, kEnabled, 0) != 0;
    m_strGpsHost = ini.GetString(kGps, kHost, QStringLiteral("127.0.0.1"));
    m_nGpsPort = ini.GetInt(kGps, kPort, kGpsdPort);
}

void CMainFrame::SaveGpsSettings(CProfileFile& ini) const
{
    ini.WriteString(kGps, kEnabled, QString::number(m_bGps ? 1 : 0));
    ini.WriteString(kGps, kHost, m_strGpsHost);
    ini.WriteString(kGps, kPort, QString::number(m_nGpsPort));
}

void CMainFrame::ApplyGps()
{
    if (!m_pGps)
        return;
    if (m_bGps && !IsReviewing())
        m_pGps->Start(m_strGpsHost, m_nGpsPort);
    else
        m_pGps->Stop();
    UpdateCommandUI();
}

void CMainFrame::OnGpsFix(const SGpsFix& fix)
{
    if (m_pController)
        m_pController->Measurer().SetFix(fix);
    m_pRecorder->RecordFix(fix);
    if (m_pGpsLabel)
        m_pGpsLabel->setText(m_pGps->StatusText());
}

void CMainFrame::OnGpsState(int nState)
{
    if (m_pGpsLabel) {
        m_pGpsLabel->setText(m_pGps->StatusText());
        m_pGpsLabel->setVisible(nState != CGpsClient::GPS_OFF);
    }
    // The events tell of the first fix after none, and of its loss.
    const bool bFix = nState == CGpsClient::GPS_FIX;
    if (bFix == m_bGpsFix || !m_pController)
        return;
    m_bGpsFix = bFix;
    if (bFix)
        m_pController->Measurer().OnEvent(EVENT_GPS_FIX,
                                          CGpsClient::PositionText(m_pGps->LastFix()));
    else
        m_pController->Measurer().OnEvent(EVENT_GPS_LOST, nState == CGpsClient::GPS_OFF
                                                              ? QStringLiteral("GPS switched off")
                                                              : m_pGps->StatusText());
}
