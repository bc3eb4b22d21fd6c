// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's menu and tool bar commands: one table row per command, from
// which the menus, the tool bar, the prompts, the update rules and the
// dispatch are all built.
#include <QAction>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>

#include "chart/EventList.h"
#include "chart/LevelChart.h"
#include "control/TessolyDlg.h"
#include "platform/PortConfig.h"
#include "platform/UiServices.h"
#include "protocol/ReportFlags.h"
#include "scan/ChannelScanDlg.h"
#include "session/SessionRecorder.h"
#include "shell/AboutDlg.h"
#include "shell/ChildView.h"
#include "shell/MainFrm.h"
#include "sysinfo/BcchSysInfoDlg.h"
#include "trace/ReportFlagsDlg.h"

namespace {
// The popups of the menu bar, in their order.
enum EPopup
{
    kFile,
    kView,
    kControl,
    kLogging,
    kOptions,
    kHelp
};
const char* const kPopupCaptions[] = {"&File",    "&View",    "&Control",
                                      "&Logging", "&Options", "&Help"};

constexpr int kNoButton = -1;

// What a command's update rule does with its state: nothing, the check mark
// (the item is then checkable) or whether the item is enabled.
enum ERule
{
    kAlways,
    kChecked,
    kEnabled
};

template <int Bit> bool OptionOn(const CMainFrame& f)
{
    return f.TestOption(Bit) != 0;
}

template <int Bit> void FlipOption(CMainFrame& f)
{
    f.SetOption(Bit, !f.TestOption(Bit));
}

template <bool CMainFrame::*Flag> bool FlagOn(const CMainFrame& f)
{
    return f.*Flag;
}

// Flips a check flag of the frame and tells the controller its new value.
template <bool CMainFrame::*Flag, void (CTessolyDlg::*Tell)(bool)> void FlipFlag(CMainFrame& f)
{
    f.*Flag = !(f.*Flag);
    if (f.m_pController)
        (f.m_pController.get()->*Tell)(f.*Flag);
}

template <void (CTessolyDlg::*Command)()> void ToController(CMainFrame& f)
{
    if (f.m_pController)
        (f.m_pController.get()->*Command)();
}

// Commands that send to the module, open its ports or record its lines:
// none works while a session is reviewed.
const int kLiveCommands[] = {ID_CONTROL_BSLOCK,    ID_CONTROL_LOCATIONUPDATE,
                             ID_LOGGING_RECORD,    ID_OPTIONS_REPORTFLAGS,
                             ID_OPTIONS_CONFIGURE, ID_OPTIONS_RESETMOBILE};

bool IsLiveCommand(int nId)
{
    return std::find(std::begin(kLiveCommands), std::end(kLiveCommands), nId) !=
           std::end(kLiveCommands);
}

// Keeps a tool button quiet whose prompt has no tool tip part: the button
// would otherwise show its action's text.
class CNoToolTip : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::ToolTip; }
};
} // namespace

struct CMainFrame::CCommand
{
    int id;
    int popup;           // EPopup
    bool separatorAbove; // a separator in the menu before the item
    const char* caption; // the character after '&' is the access key
    // The status bar text; after a line break, the tool tip. None: no prompt.
    const char* prompt;
    // The button's place on the tool bar, separators counted (a place no
    // command takes is a separator); kNoButton: not on the tool bar.
    int button;
    ERule rule;
    bool (*state)(const CMainFrame&); // none for kAlways
    void (*run)(CMainFrame&);
};

const CMainFrame::CCommand CMainFrame::s_commands[] = {
    // id, popup, separator above, caption, prompt, tool bar place, rule, state, handler
    {ID_FILE_OPENSESSION, kFile, false, "&Open Session...",
     "Open a recorded session and review it on the panel\nOpen Session", kNoButton, kAlways,
     nullptr, [](CMainFrame& f) { f.OnOpenSession(); }},
    {ID_APP_EXIT, kFile, false, "E&xit", "Quit the application; prompts to save documents\nExit",
     kNoButton, kAlways, nullptr, [](CMainFrame& f) { f.close(); }},
    {ID_VIEW_PHONEPADONLY, kView, false, "&Phone Pad only",
     "Show phone pad only or not\nToggle phone pad only", kNoButton, kChecked,
     OptionOn<OPT_PHONE_PAD_ONLY>, [](CMainFrame& f) { f.OnViewPhonePadOnly(); }},
    {ID_VIEW_LOGGING, kView, false, "&Logging", "Show or hide the logging window\nToggle logging",
     kNoButton, kChecked, OptionOn<OPT_LOGGING>, [](CMainFrame& f) { f.OnViewLogging(); }},
    {ID_VIEW_TOOLBAR, kView, true, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar",
     kNoButton, kChecked,
     [](const CMainFrame& f) { return f.m_pToolBar && !f.m_pToolBar->isHidden(); },
     [](CMainFrame& f) { f.OnViewToolbar(); }},
    {ID_VIEW_STATUS_BAR, kView, false, "&Status Bar",
     "Show or hide the status bar\nToggle StatusBar", kNoButton, kChecked,
     [](const CMainFrame& f) { return !f.statusBar()->isHidden(); },
     [](CMainFrame& f) { f.OnViewStatusBar(); }},
    {ID_VIEW_LEVELCHART, kView, true, "Level Chart",
     "Show the serving and neighbour levels and the events over time", kNoButton, kAlways, nullptr,
     [](CMainFrame& f) { f.ShowDriveWindow(f.m_pChart); }},
    {ID_VIEW_EVENTLIST, kView, false, "Event List", "Show the events of the run", kNoButton,
     kAlways, nullptr, [](CMainFrame& f) { f.ShowDriveWindow(f.m_pEventList); }},
    {ID_CONTROL_BCCHSYSINFO, kControl, false, "&BCCH System Info...", "Displays BCCH system infos",
     0, kEnabled, [](const CMainFrame& f) { return f.ReportsOn(); },
     [](CMainFrame& f) { f.OnBcchSysInfo(); }},
    {ID_CONTROL_CHANNELSCAN, kControl, true, "&Channel Scan...",
     "Select and display channel levels", 1, kEnabled,
     [](const CMainFrame& f) { return f.ReportsOn(); }, [](CMainFrame& f) { f.OnChannelScan(); }},
    {ID_CONTROL_BSLOCK, kControl, false, "B&S Lock", "Remain on selected channel or not", kNoButton,
     kChecked, FlagOn<&CMainFrame::m_bBsLock>, [](CMainFrame& f) { f.OnControlBsLock(); }},
    {ID_CONTROL_LOCATIONUPDATE, kControl, true, "&Location Update", "Activate location update",
     kNoButton, kAlways, nullptr, ToController<&CTessolyDlg::LocationUpdate>},
    {ID_CONTROL_GSMTAP, kControl, true, "Send to Wireshark (GSMTAP)",
     "Send the BCCH system infos to Wireshark as GSMTAP packets", kNoButton, kChecked,
     FlagOn<&CMainFrame::m_bGsmtap>,
     [](CMainFrame& f) {
         f.m_bGsmtap = !f.m_bGsmtap;
         f.ApplyGsmtap();
     }},
    {ID_CONTROL_MQTT, kControl, false, "Publish to MQTT",
     "Publish the samples and events to an MQTT broker", kNoButton, kChecked,
     [](const CMainFrame& f) { return f.m_mqtt.bEnabled; },
     [](CMainFrame& f) {
         f.m_mqtt.bEnabled = !f.m_mqtt.bEnabled;
         f.ApplyMqtt();
     }},
    {ID_LOGGING_DATA, kLogging, false, "&Data", "Show or hide data from data port\nToggle data", 3,
     kChecked, FlagOn<&CMainFrame::m_bLogData>,
     FlipFlag<&CMainFrame::m_bLogData, &CTessolyDlg::LogEnableData>},
    {ID_LOGGING_TRACE, kLogging, false, "&Trace", "Show or hide data from trace port\nToggle trace",
     4, kChecked, FlagOn<&CMainFrame::m_bLogTrace>,
     FlipFlag<&CMainFrame::m_bLogTrace, &CTessolyDlg::LogEnableTrace>},
    {ID_LOGGING_FREEZE, kLogging, true, "&Freeze", "Freeze logging display\nToggle Freeze", 5,
     kChecked, FlagOn<&CMainFrame::m_bFreeze>,
     FlipFlag<&CMainFrame::m_bFreeze, &CTessolyDlg::LogFreeze>},
    {ID_LOGGING_CLEAR, kLogging, false, "&Clear", "Clear logging window", 6, kAlways, nullptr,
     ToController<&CTessolyDlg::LogClear>},
    {ID_LOGGING_SAVE, kLogging, true, "&Save", "Write logging data to file", 7, kAlways, nullptr,
     [](CMainFrame& f) { f.OnLoggingSave(); }},
    {ID_LOGGING_RECORD, kLogging, false, "&Record Session",
     "Record every line of both ports to a session file\nToggle recording", kNoButton, kChecked,
     [](const CMainFrame& f) { return f.m_pRecorder->IsRecording(); },
     [](CMainFrame& f) { f.OnLoggingRecord(); }},
    {ID_OPTIONS_REPORTFLAGS, kOptions, false, "&Report Flags...", nullptr, kNoButton, kAlways,
     nullptr, [](CMainFrame& f) { f.OnReportFlags(); }},
    {ID_OPTIONS_POWEROFFONEXIT, kOptions, false, "Power off on &Exit",
     "Set power off on exit program", kNoButton, kChecked, OptionOn<OPT_POWER_OFF_ON_EXIT>,
     FlipOption<OPT_POWER_OFF_ON_EXIT>},
    {ID_OPTIONS_POWERONONSTART, kOptions, false, "Power on on &Start",
     "Set power on on  program start", kNoButton, kChecked, OptionOn<OPT_POWER_ON_ON_START>,
     FlipOption<OPT_POWER_ON_ON_START>},
    {ID_OPTIONS_RESETONSTART, kOptions, false, "R&eset on Start",
     "Reset connected Test Mobile on program start", kNoButton, kChecked,
     OptionOn<OPT_RESET_ON_START>, FlipOption<OPT_RESET_ON_START>},
    {ID_OPTIONS_CONFIGURE, kOptions, true, "&Configure", "Set port numbers for Trace- and Dataport",
     kNoButton, kAlways, nullptr, [](CMainFrame& f) { f.OnConfigure(); }},
    {ID_OPTIONS_RESETMOBILE, kOptions, false, "Reset &Mobile",
     "Set the Test Mobile to the default configuration", kNoButton, kEnabled,
     [](const CMainFrame& f) { return f.m_pController && f.m_pController->IsPoweredOn(); },
     ToController<&CTessolyDlg::ResetMobile>},
    {ID_OPTIONS_GPS, kOptions, true, "Use GPS (gpsd)",
     "Take positions from gpsd for the measurements and the recording", kNoButton, kChecked,
     FlagOn<&CMainFrame::m_bGps>,
     [](CMainFrame& f) {
         f.m_bGps = !f.m_bGps;
         f.ApplyGps();
     }},
    {ID_HELP_TOPICS, kHelp, false, "&Topics...", "Open helpfile", 9, kAlways, nullptr,
     [](CMainFrame& f) { f.OnHelpTopics(); }},
    {ID_APP_ABOUT, kHelp, false, "&About Tarn...",
     "Display program information, version number and copyright\nAbout", kNoButton, kAlways,
     nullptr, [](CMainFrame& f) { f.OnAbout(); }},
};

const CMainFrame::CCommand* CMainFrame::Command(int nId)
{
    for (const CCommand& c : s_commands)
        if (c.id == nId)
            return &c;
    return nullptr;
}

bool CMainFrame::ReportsOn() const
{
    return m_pController && m_pController->IsTraceReportsOn();
}

void CMainFrame::AddCommand(QMenu* menu, const CCommand& c)
{
    auto* a = new QAction(QString::fromLatin1(c.caption), this);
    a->setData(c.id);
    a->setCheckable(c.rule == kChecked);
    if (c.prompt) {
        const QString text = QString::fromLatin1(c.prompt);
        const int nl = text.indexOf(QLatin1Char('\n'));
        a->setStatusTip(nl < 0 ? text : text.left(nl));
        if (nl >= 0)
            a->setToolTip(text.mid(nl + 1));
    }
    const int nId = c.id;
    connect(a, &QAction::triggered, this, [this, nId] { OnCommand(nId); });
    menu->addAction(a);
    m_actions[nId] = a;
}

void CMainFrame::CreateMenus()
{
    QMenu* popups[std::size(kPopupCaptions)] = {};
    for (const CCommand& c : s_commands) {
        QMenu*& menu = popups[c.popup];
        if (!menu) {
            menu = menuBar()->addMenu(QString::fromLatin1(kPopupCaptions[c.popup]));
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        }
        if (c.separatorAbove)
            menu->addSeparator();
        AddCommand(menu, c);
    }
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setMovable(true);
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    std::map<int, const CCommand*> places;
    for (const CCommand& c : s_commands)
        if (c.button != kNoButton)
            places[c.button] = &c;
    // The images of the strip are the buttons' in their order on the bar.
    const QPixmap strip(QStringLiteral(":/images/TOOLBAR"));
    auto* noTip = new CNoToolTip(m_pToolBar);
    int place = 0;
    int image = 0;
    for (const auto& [button, c] : places) {
        for (; place < button; ++place)
            m_pToolBar->addSeparator();
        ++place;
        QAction* a = m_actions[c->id];
        if (!strip.isNull())
            a->setIcon(QIcon(strip.copy(16 * image, 0, 16, 16)));
        ++image;
        m_pToolBar->addAction(a);
        if (!c->prompt || !std::strchr(c->prompt, '\n'))
            m_pToolBar->widgetForAction(a)->installEventFilter(noTip);
    }
}

QAction* CMainFrame::Action(int nId) const
{
    auto it = m_actions.find(nId);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::UpdateCommandUI()
{
    if (m_actions.empty())
        return;
    for (const CCommand& c : s_commands) {
        QAction* a = Action(c.id);
        if (!a || c.rule == kAlways)
            continue;
        if (c.rule == kChecked)
            a->setChecked(c.state(*this));
        else
            a->setEnabled(c.state(*this));
    }
    for (int nId : kLiveCommands) {
        if (QAction* a = Action(nId)) {
            const CCommand* c = Command(nId);
            a->setEnabled(!IsReviewing() && (c->rule != kEnabled || c->state(*this)));
        }
    }
}

void CMainFrame::UpdateCommandUISoon()
{
    if (m_bCommandUIPending)
        return;
    m_bCommandUIPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bCommandUIPending = false;
            UpdateCommandUI();
        },
        Qt::QueuedConnection);
}

void CMainFrame::OnCommand(int nId)
{
    if (IsReviewing() && IsLiveCommand(nId))
        return;
    if (const CCommand* c = Command(nId))
        c->run(*this);
    UpdateCommandUI();
}

void CMainFrame::OnViewPhonePadOnly()
{
    SetOption(OPT_PHONE_PAD_ONLY, !TestOption(OPT_PHONE_PAD_ONLY));
    LayoutPanel();
}

void CMainFrame::OnViewLogging()
{
    SetOption(OPT_LOGGING, !TestOption(OPT_LOGGING));
    LayoutPanel();
}

void CMainFrame::OnViewToolbar()
{
    m_pToolBar->setVisible(m_pToolBar->isHidden());
    LayoutPanel();
}

void CMainFrame::OnViewStatusBar()
{
    m_bStatusBar = statusBar()->isHidden();
    statusBar()->setVisible(m_bStatusBar);
    LayoutPanel();
}

void CMainFrame::ShowDriveWindow(QWidget* pWindow)
{
    // The drive's windows open the first time beside the frame: the chart
    // at its right, the event list under it, kept on the frame's screen.
    if (!pWindow->property("placed").toBool()) {
        pWindow->setProperty("placed", true);
        const QRect frame = frameGeometry();
        const int nGap = 8;
        QPoint at = pWindow == m_pChart ? frame.topRight() + QPoint(nGap + 1, 0)
                                        : frame.bottomLeft() + QPoint(0, nGap + 1);
        if (const QScreen* s = screen()) {
            const QRect area = s->availableGeometry();
            at.setX(qMax(area.left(), qMin(at.x(), area.right() + 1 - pWindow->width())));
            at.setY(qMax(area.top(), qMin(at.y(), area.bottom() + 1 - pWindow->height())));
        }
        pWindow->move(at);
    }
    ShowWindow(pWindow);
}

void CMainFrame::ShowWindow(QWidget* pWindow)
{
    pWindow->show();
    pWindow->raise();
    pWindow->activateWindow();
}

void CMainFrame::OnBcchSysInfo()
{
    if (!HasTraceFlag(RF_ANY_BCCH)) {
        CUiServices::MessageBox(this, QStringLiteral("No Flags for BCCH-Report set"));
        return;
    }
    if (m_pBcchDlg && !m_pBcchDlg->HasWindow())
        m_pBcchDlg->Create();
}

void CMainFrame::OnChannelScan()
{
    if (!m_pController)
        return;
    CChannelScanDlg dlg(m_pController.get());
    dlg.DoModal();
}

void CMainFrame::OnControlBsLock()
{
    m_bBsLock = !m_bBsLock;
    if (m_pController)
        m_pController->SetBsLockCheck(m_bBsLock);
}

void CMainFrame::OnLoggingSave()
{
    QFileDialog dlg(this, QStringLiteral("Tarn - Save Logging Data as ..."));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters({QStringLiteral("Log Files (*.log)"), QStringLiteral("All Files (*.*)")});
    dlg.setDefaultSuffix(QStringLiteral("LOG"));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!m_strLastLogfile.isEmpty()) {
        const QFileInfo fi(m_strLastLogfile);
        dlg.setDirectory(fi.absolutePath());
        dlg.selectFile(fi.fileName());
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return;
    m_strLastLogfile = dlg.selectedFiles().first();
    if (m_pController)
        m_pController->LogSave(m_strLastLogfile);
}

void CMainFrame::OnReportFlags()
{
    CReportFlagsDlg dlg(this, this);
    if (dlg.DoModal() == IDOK && m_pController && m_pController->IsTraceReportsOn())
        m_pController->SendTraceFlags();
}

void CMainFrame::OnConfigure()
{
    if (!m_pController)
        return;
    m_pController->ClosePorts();
    // Ports that were confirmed but do not open are never kept silently: the
    // dialog comes again with the reason, until they open or the user cancels.
    for (;;) {
        const bool bConfirmed = CPortConfig::ShowConfigureDlg(m_nDataPort, m_nTracePort, 1,
                                                              m_pController->OpenFailures()) != 0;
        if (bConfirmed) {
            m_nDataPort = CPortConfig::GetDataPort();
            m_nTracePort = CPortConfig::GetTracePort();
        }
        if (m_pController->OpenPorts(&m_nTracePort, &m_nDataPort) || !bConfirmed ||
            m_pController->OpenFailures().isEmpty())
            return;
        m_pController->ClosePorts();
    }
}

void CMainFrame::OnHelpTopics()
{
    // Without a program to show it (no browser installed) the user is told
    // where the document lies, to open it some other way.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(m_strHelpFile)))
        CUiServices::MessageBox(
            this,
            QStringLiteral("No program is installed that shows the help document (a web browser). "
                           "The document is the file\n%1")
                .arg(m_strHelpFile));
}

void CMainFrame::OnAbout()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}
