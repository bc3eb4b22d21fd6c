// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's settings file and option bits.
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include "chart/EventList.h"
#include "chart/LevelChart.h"
#include "control/TessolyDlg.h"
#include "fleet/MqttPublisher.h"
#include "gsmtap/GsmtapPacket.h"
#include "gsmtap/GsmtapSender.h"
#include "platform/PortNames.h"
#include "platform/ProfileFile.h"
#include "shell/MainFrm.h"
#include "shell/ProgramFiles.h"

namespace {
const QString kWindow = QStringLiteral("WINDOW");
const QString kDataPort = QStringLiteral("DATA PORT");
const QString kTracePort = QStringLiteral("TRACE PORT");
const QString kMisc = QStringLiteral("MISC");
const QString kGsmtap = QStringLiteral("GSMTAP");
const QString kWindows = QStringLiteral("WINDOWS");

// A placement that lies on no screen (a monitor since unplugged) is brought
// onto the primary screen, keeping its size; one on any screen stays.
QRect OnAScreen(const QRect& rc)
{
    const QRect area(rc.topLeft(), rc.size().expandedTo(QSize(1, 1)));
    for (const QScreen* s : QGuiApplication::screens())
        if (s->geometry().intersects(area))
            return rc;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return rc;
    const QRect avail = primary->availableGeometry();
    QRect r = rc;
    r.moveTo(qMax(avail.left(), qMin(area.left(), avail.right() + 1 - area.width())),
             qMax(avail.top(), qMin(area.top(), avail.bottom() + 1 - area.height())));
    return r;
}
} // namespace

QString CMainFrame::SettingsFileFor(const QString& commandLine, const QString& programDir)
{
    QString name = QStringLiteral("Tarn");
    const int pos = commandLine.indexOf(QStringLiteral(" -"));
    if (pos > 0)
        name = commandLine.mid(pos + 2);
    if (!name.contains(QLatin1Char('.')))
        name += QStringLiteral(".ini");
    return programDir + name;
}

void CMainFrame::LoadSettings()
{
    const CProgramFiles files(QCoreApplication::applicationDirPath());
    m_strHelpFile = files.HelpFile();
    if (m_strProgramDirForced.isEmpty()) {
        m_strProgramDir = files.SettingsDir();
        files.MakeSettingsDir();
    } else {
        m_strProgramDir = QDir::toNativeSeparators(m_strProgramDirForced);
        if (!m_strProgramDir.endsWith(QDir::separator()))
            m_strProgramDir += QDir::separator();
    }
    m_strIniFile = SettingsFileFor(m_strCommandLine, m_strProgramDir);
    CPortNames::SetProfilePath(m_strIniFile);
    const CProfileFile ini(m_strIniFile);

    const int bottom = ini.GetInt(kWindow, QStringLiteral("Bottom"), 595);
    const int left = ini.GetInt(kWindow, QStringLiteral("Left"), 176);
    const int top = ini.GetInt(kWindow, QStringLiteral("Top"), 146);
    const int right = ini.GetInt(kWindow, QStringLiteral("Right"), 815);
    m_nShow = ini.GetInt(kWindow, QStringLiteral("Show"), 1);
    ApplyPlacement(OnAScreen(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))), m_nShow);

    m_nLoggingHeight = ini.GetInt(kWindow, QStringLiteral("LoggingHeight"), 50);
    m_nDataPort = ini.GetInt(kDataPort, QStringLiteral("Number"), 1);
    m_nTracePort = ini.GetInt(kTracePort, QStringLiteral("Number"), 2);
    m_strOptions = CStringE(ini.GetString(kMisc, QStringLiteral("Options"), QStringLiteral("13")));
    m_strTraceFlags = ini.GetString(kMisc, QStringLiteral("Trace Flags"), QStringLiteral("FFFFFF"));
    m_strStoredNumber = ini.GetString(kMisc, QStringLiteral("Last Number"), QString());
    m_strLastLogfile = ini.GetString(kMisc, QStringLiteral("Last Logfile"), QString());
    LoadRecordingSettings(ini);

    m_bGsmtap = ini.GetInt(kGsmtap, QStringLiteral("Enabled"), 0) != 0;
    m_strGsmtapHost = ini.GetString(kGsmtap, QStringLiteral("Host"), QStringLiteral("127.0.0.1"));
    m_nGsmtapPort = ini.GetInt(kGsmtap, QStringLiteral("Port"), CGsmtapPacket::GSMTAP_PORT);
    ApplyGsmtap();
    LoadGpsSettings(ini);
    ApplyGps();
    m_bOpenChart = ini.GetInt(kWindows, QStringLiteral("LevelChart"), 0) != 0;
    m_bOpenEventList = ini.GetInt(kWindows, QStringLiteral("EventList"), 0) != 0;
    m_mqtt.Load(ini);
    ApplyMqtt();
}

void CMainFrame::ApplyMqtt()
{
    if (!m_pMqtt)
        return;
    // The fleet hears no drive of the past (the setting stays as it is).
    SMqttSettings settings = m_mqtt;
    settings.bEnabled = settings.bEnabled && !IsReviewing();
    m_pMqtt->Configure(settings);
}

void CMainFrame::ApplyGsmtap()
{
    if (m_pGsmtap)
        m_pGsmtap->Configure(m_bGsmtap, m_strGsmtapHost, m_nGsmtapPort);
}

void CMainFrame::ApplyPlacement(const QRect& rc, int nShow)
{
    m_rcNormal = rc;
    move(rc.topLeft());
    m_nShow = nShow;
}

void CMainFrame::SaveSettings()
{
    CProfileFile ini(m_strIniFile);
    const QRect rc = NormalPlacement();
    int show = 1;
    if (windowState() & Qt::WindowMinimized)
        show = 2;
    else if (windowState() & Qt::WindowMaximized)
        show = 3;
    ini.WriteString(kWindow, QStringLiteral("Bottom"), QString::number(rc.bottom() + 1));
    ini.WriteString(kWindow, QStringLiteral("Left"), QString::number(rc.left()));
    ini.WriteString(kWindow, QStringLiteral("Top"), QString::number(rc.top()));
    ini.WriteString(kWindow, QStringLiteral("Right"), QString::number(rc.right() + 1));
    ini.WriteString(kWindow, QStringLiteral("Show"), QString::number(show));
    ini.WriteString(kWindow, QStringLiteral("LoggingHeight"), QString::number(m_nLoggingHeight));
    ini.WriteString(kDataPort, QStringLiteral("Number"), QString::number(m_nDataPort));
    ini.WriteString(kTracePort, QStringLiteral("Number"), QString::number(m_nTracePort));
    ini.WriteString(kMisc, QStringLiteral("Options"), m_strOptions);
    ini.WriteString(kMisc, QStringLiteral("Trace Flags"), m_strTraceFlags);
    ini.WriteString(kMisc, QStringLiteral("Last Number"), m_strStoredNumber);
    ini.WriteString(kMisc, QStringLiteral("Last Logfile"), m_strLastLogfile);
    ini.WriteString(kGsmtap, QStringLiteral("Enabled"),
                    m_bGsmtap ? QStringLiteral("1") : QStringLiteral("0"));
    ini.WriteString(kGsmtap, QStringLiteral("Host"), m_strGsmtapHost);
    ini.WriteString(kGsmtap, QStringLiteral("Port"), QString::number(m_nGsmtapPort));
    SaveRecordingSettings(ini);
    m_mqtt.Save(ini);
    SaveGpsSettings(ini);
    const auto shown = [](const QWidget* w) {
        return w && w->isVisible() ? QStringLiteral("1") : QStringLiteral("0");
    };
    ini.WriteString(kWindows, QStringLiteral("LevelChart"), shown(m_pChart));
    ini.WriteString(kWindows, QStringLiteral("EventList"), shown(m_pEventList));
    if (!ini.Save() && m_pController)
        m_pController->ReportError(1, ini.LastError(), false,
                                   QStringLiteral("Settings not saved: ") + m_strIniFile, 0);
}

int CMainFrame::TestOption(int nBits) const
{
    return m_strOptions.ToInt(16) & nBits;
}

void CMainFrame::SetOption(int nBits, bool bOn)
{
    int value = m_strOptions.ToInt(16);
    if (bOn)
        value |= nBits;
    else
        value &= ~nBits;
    m_strOptions = CStringE(value, 16);
}

int CMainFrame::HasTraceFlag(int nMask) const
{
    return (CStringE(m_strTraceFlags).ToInt(16) & nMask) ? 1 : 0;
}

int CMainFrame::MaxPowerDbm() const
{
    return m_pController->MaxPowerDbm();
}
