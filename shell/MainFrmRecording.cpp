// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's session recording: its settings, its menu switch and
// what the status bar shows while it records.
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include "control/TessolyDlg.h"
#include "platform/ProfileFile.h"
#include "session/SessionRecorder.h"
#include "shell/MainFrm.h"

namespace {
const QString kRecording = QStringLiteral("RECORDING");
const QString kEnabled = QStringLiteral("Enabled");
const QString kFolder = QStringLiteral("Folder");
} // namespace

void CMainFrame::LoadRecordingSettings(const CProfileFile& ini)
{
    m_bRecord = ini.GetInt(kRecording, kEnabled, 0) != 0;
    m_strRecordFolder = ini.GetString(kRecording, kFolder, QString());
}

void CMainFrame::SaveRecordingSettings(CProfileFile& ini) const
{
    ini.WriteString(kRecording, kEnabled, QString::number(m_bRecord ? 1 : 0));
    ini.WriteString(kRecording, kFolder, m_strRecordFolder);
}

QString CMainFrame::RecordingFolder() const
{
    const QDir settingsDir = QFileInfo(SettingsFile()).absoluteDir();
    const QString folder = m_strRecordFolder.trimmed();
    return QDir::cleanPath(
        settingsDir.absoluteFilePath(folder.isEmpty() ? QStringLiteral("sessions") : folder));
}

void CMainFrame::OnLoggingRecord()
{
    if (m_pRecorder->IsRecording()) {
        m_bRecord = false;
        m_pRecorder->Stop();
        ShowRecordingState();
    } else {
        m_bRecord = true;
        StartRecording();
    }
}

void CMainFrame::StartRecording()
{
    // A review records nothing; the switch is kept for the next start.
    if (!IsReviewing())
        m_pRecorder->Start(RecordingFolder());
    ShowRecordingState();
}

void CMainFrame::OnRecordingStopped(int nCode, const QString& strReason)
{
    ShowRecordingState();
    const QString text = QStringLiteral("Recording stopped: ") + strReason;
    // The panel goes on; the user may switch recording on again.
    if (m_pController)
        m_pController->ReportError(1, nCode ? nCode : 1, false, text, 0);
}

void CMainFrame::ShowRecordingState()
{
    if (m_pRecLabel)
        m_pRecLabel->setVisible(m_pRecorder->IsRecording());
    UpdateCommandUI();
}

CLogObserver* CMainFrame::Recorder() const
{
    return m_pRecorder;
}
