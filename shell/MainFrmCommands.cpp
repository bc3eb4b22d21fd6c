// The main frame's menu and tool bar commands and their update rules.
#include <QAction>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <cstring>

#include "control/TessolyDlg.h"
#include "platform/PortConfig.h"
#include "platform/UiServices.h"
#include "protocol/ReportFlags.h"
#include "scan/ChannelScanDlg.h"
#include "session/SessionRecorder.h"
#include "shell/AboutDlg.h"
#include "shell/ChildView.h"
#include "shell/MainFrm.h"

#include "protocol/ReportFlags.h"
#include "sysinfo/BcchSysInfoDlg.h"
#include "trace/ReportFlagsDlg.h"

namespace {
// Prompt strings: the status bar text, then after the line break the tool tip.
struct Prompt
{
    int id;
    const char* text;
};
const Prompt kPrompts[] = {
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_VIEW_PHONEPADONLY, "Show phone pad only or not\nToggle phone pad only"},
    {ID_VIEW_LOGGING, "Show or hide the logging window\nToggle logging"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_CONTROL_BCCHSYSINFO, "Displays BCCH system infos"},
    {ID_CONTROL_CHANNELSCAN, "Select and display channel levels"},
    {ID_CONTROL_BSLOCK, "Remain on selected channel or not"},
    {ID_CONTROL_LOCATIONUPDATE, "Activate location update"},
    {ID_LOGGING_DATA, "Show or hide data from data port\nToggle data"},
    {ID_LOGGING_TRACE, "Show or hide data from trace port\nToggle trace"},
    {ID_LOGGING_FREEZE, "Freeze logging display\nToggle Freeze"},
    {ID_LOGGING_CLEAR, "Clear logging window"},
    {ID_LOGGING_SAVE, "Write logging data to file"},
    {ID_LOGGING_RECORD, "Record every line of both ports to a session file\nToggle recording"},
    {ID_OPTIONS_POWEROFFONEXIT, "Set power off on exit program"},
    {ID_OPTIONS_POWERONONSTART, "Set power on on  program start"},
    {ID_OPTIONS_RESETONSTART, "Reset connected Test Mobile on program start"},
    {ID_OPTIONS_CONFIGURE, "Set port numbers for Trace- and Dataport"},
    {ID_OPTIONS_RESETMOBILE, "Set the Test Mobile to the default configuration"},
    {ID_CONTROL_GSMTAP, "Send the BCCH system infos to Wireshark as GSMTAP packets"},
    {ID_HELP_TOPICS, "Open helpfile"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
};

const char* PromptOf(int id)
{
    for (const Prompt& p : kPrompts)
        if (p.id == id)
            return p.text;
    return nullptr;
}

bool HasToolTip(int id)
{
    const char* prompt = PromptOf(id);
    return prompt && std::strchr(prompt, '\n');
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

QAction* CMainFrame::AddCommand(QMenu* menu, int nId, const QString& caption, bool checkable)
{
    auto* a = new QAction(caption, this);
    a->setData(nId);
    a->setCheckable(checkable);
    if (const char* prompt = PromptOf(nId)) {
        const QString text = QString::fromLatin1(prompt);
        const int nl = text.indexOf(QLatin1Char('\n'));
        a->setStatusTip(nl < 0 ? text : text.left(nl));
        if (nl >= 0)
            a->setToolTip(text.mid(nl + 1));
    }
    connect(a, &QAction::triggered, this, [this, nId] { OnCommand(nId); });
    menu->addAction(a);
    m_actions[nId] = a;
    return a;
}

void CMainFrame::CreateMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    AddCommand(file, ID_APP_EXIT, QStringLiteral("E&xit"), false);
    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    AddCommand(view, ID_VIEW_PHONEPADONLY, QStringLiteral("&Phone Pad only"), true);
    AddCommand(view, ID_VIEW_LOGGING, QStringLiteral("&Logging"), true);
    view->addSeparator();
    AddCommand(view, ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"), true);
    AddCommand(view, ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"), true);
    QMenu* control = bar->addMenu(QStringLiteral("&Control"));
    AddCommand(control, ID_CONTROL_BCCHSYSINFO, QStringLiteral("&BCCH System Info..."), false);
    control->addSeparator();
    AddCommand(control, ID_CONTROL_CHANNELSCAN, QStringLiteral("&Channel Scan..."), false);
    AddCommand(control, ID_CONTROL_BSLOCK, QStringLiteral("B&S Lock"), true);
    control->addSeparator();
    AddCommand(control, ID_CONTROL_LOCATIONUPDATE, QStringLiteral("&Location Update"), false);
    control->addSeparator();
    AddCommand(control, ID_CONTROL_GSMTAP, QStringLiteral("Send to Wireshark (GSMTAP)"), true);
    QMenu* logging = bar->addMenu(QStringLiteral("&Logging"));
    AddCommand(logging, ID_LOGGING_DATA, QStringLiteral("&Data"), true);
    AddCommand(logging, ID_LOGGING_TRACE, QStringLiteral("&Trace"), true);
    logging->addSeparator();
    AddCommand(logging, ID_LOGGING_FREEZE, QStringLiteral("&Freeze"), true);
    AddCommand(logging, ID_LOGGING_CLEAR, QStringLiteral("&Clear"), false);
    logging->addSeparator();
    AddCommand(logging, ID_LOGGING_SAVE, QStringLiteral("&Save"), false);
    AddCommand(logging, ID_LOGGING_RECORD, QStringLiteral("&Record Session"), true);
    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    AddCommand(options, ID_OPTIONS_REPORTFLAGS, QStringLiteral("&Report Flags..."), false);
    AddCommand(options, ID_OPTIONS_POWEROFFONEXIT, QStringLiteral("Power off on &Exit"), true);
    AddCommand(options, ID_OPTIONS_POWERONONSTART, QStringLiteral("Power on on &Start"), true);
    AddCommand(options, ID_OPTIONS_RESETONSTART, QStringLiteral("R&eset on Start"), true);
    options->addSeparator();
    AddCommand(options, ID_OPTIONS_CONFIGURE, QStringLiteral("&Configure"), false);
    AddCommand(options, ID_OPTIONS_RESETMOBILE, QStringLiteral("Reset &Mobile"), false);
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    AddCommand(help, ID_HELP_TOPICS, QStringLiteral("&Topics..."), false);
    AddCommand(help, ID_APP_ABOUT, QStringLiteral("&About Tarn..."), false);
    for (QMenu* m : {file, view, control, logging, options, help})
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setMovable(true);
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    const QPixmap strip(QStringLiteral(":/images/TOOLBAR"));
    const int ids[] = {ID_CONTROL_BCCHSYSINFO, ID_CONTROL_CHANNELSCAN, 0,
                       ID_LOGGING_DATA,        ID_LOGGING_TRACE,       ID_LOGGING_FREEZE,
                       ID_LOGGING_CLEAR,       ID_LOGGING_SAVE,        0,
                       ID_HELP_TOPICS};
    auto* noTip = new CNoToolTip(m_pToolBar);
    int image = 0;
    for (int id : ids) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* a = m_actions[id];
        if (!strip.isNull())
            a->setIcon(QIcon(strip.copy(16 * image, 0, 16, 16)));
        ++image;
        m_pToolBar->addAction(a);
        if (!HasToolTip(id))
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
    const bool reportsOn = m_pController && m_pController->m_bTraceReportsOn;
    auto check = [this](int id, bool on) {
        if (QAction* a = Action(id))
            a->setChecked(on);
    };
    check(ID_VIEW_PHONEPADONLY, TestOption(OPT_PHONE_PAD_ONLY) != 0);
    check(ID_VIEW_LOGGING, TestOption(OPT_LOGGING) != 0);
    check(ID_VIEW_TOOLBAR, m_pToolBar && !m_pToolBar->isHidden());
    check(ID_VIEW_STATUS_BAR, !statusBar()->isHidden());
    Action(ID_CONTROL_BCCHSYSINFO)->setEnabled(reportsOn);
    Action(ID_CONTROL_CHANNELSCAN)->setEnabled(reportsOn);
    check(ID_CONTROL_BSLOCK, m_bBsLock);
    check(ID_CONTROL_GSMTAP, m_bGsmtap);
    check(ID_LOGGING_DATA, m_bLogData);
    check(ID_LOGGING_TRACE, m_bLogTrace);
    check(ID_LOGGING_FREEZE, m_bFreeze);
    check(ID_LOGGING_RECORD, m_pRecorder->IsRecording());
    check(ID_OPTIONS_POWEROFFONEXIT, TestOption(OPT_POWER_OFF_ON_EXIT) != 0);
    check(ID_OPTIONS_POWERONONSTART, TestOption(OPT_POWER_ON_ON_START) != 0);
    check(ID_OPTIONS_RESETONSTART, TestOption(OPT_RESET_ON_START) != 0);
    Action(ID_OPTIONS_RESETMOBILE)->setEnabled(m_pController && m_pController->m_bPoweredOn);
}

void CMainFrame::OnCommand(int nId)
{
    switch (nId) {
    case ID_APP_EXIT:
        close();
        break;
    case ID_VIEW_PHONEPADONLY:
        OnViewPhonePadOnly();
        break;
    case ID_VIEW_LOGGING:
        OnViewLogging();
        break;
    case ID_VIEW_TOOLBAR:
        OnViewToolbar();
        break;
    case ID_VIEW_STATUS_BAR:
        OnViewStatusBar();
        break;
    case ID_CONTROL_BCCHSYSINFO:
        OnBcchSysInfo();
        break;
    case ID_CONTROL_CHANNELSCAN:
        OnChannelScan();
        break;
    case ID_CONTROL_BSLOCK:
        OnControlBsLock();
        break;
    case ID_CONTROL_LOCATIONUPDATE:
        if (m_pController)
            m_pController->LocationUpdate();
        break;
    case ID_CONTROL_GSMTAP:
        m_bGsmtap = !m_bGsmtap;
        ApplyGsmtap();
        break;
    case ID_LOGGING_DATA:
        m_bLogData = !m_bLogData;
        if (m_pController)
            m_pController->LogEnableData(m_bLogData);
        break;
    case ID_LOGGING_TRACE:
        m_bLogTrace = !m_bLogTrace;
        if (m_pController)
            m_pController->LogEnableTrace(m_bLogTrace);
        break;
    case ID_LOGGING_FREEZE:
        m_bFreeze = !m_bFreeze;
        if (m_pController)
            m_pController->LogFreeze(m_bFreeze);
        break;
    case ID_LOGGING_CLEAR:
        if (m_pController)
            m_pController->LogClear();
        break;
    case ID_LOGGING_SAVE:
        OnLoggingSave();
        break;
    case ID_LOGGING_RECORD:
        OnLoggingRecord();
        break;
    case ID_OPTIONS_REPORTFLAGS:
        OnReportFlags();
        break;
    case ID_OPTIONS_POWEROFFONEXIT:
        SetOption(OPT_POWER_OFF_ON_EXIT, !TestOption(OPT_POWER_OFF_ON_EXIT));
        break;
    case ID_OPTIONS_POWERONONSTART:
        SetOption(OPT_POWER_ON_ON_START, !TestOption(OPT_POWER_ON_ON_START));
        break;
    case ID_OPTIONS_RESETONSTART:
        SetOption(OPT_RESET_ON_START, !TestOption(OPT_RESET_ON_START));
        break;
    case ID_OPTIONS_CONFIGURE:
        OnConfigure();
        break;
    case ID_OPTIONS_RESETMOBILE:
        if (m_pController)
            m_pController->ResetMobile();
        break;
    case ID_HELP_TOPICS:
        OnHelpTopics();
        break;
    case ID_APP_ABOUT:
        OnAbout();
        break;
    default:
        break;
    }
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
    CChannelScanDlg dlg(m_pController);
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
    if (dlg.DoModal() == IDOK && m_pController && m_pController->m_bTraceReportsOn)
        m_pController->SendTraceFlags();
}

void CMainFrame::OnConfigure()
{
    if (!m_pController)
        return;
    m_pController->ClosePorts();
    if (CPortConfig::ShowConfigureDlg(m_nDataPort, m_nTracePort, 1)) {
        m_nDataPort = CPortConfig::GetDataPort();
        m_nTracePort = CPortConfig::GetTracePort();
    }
    m_pController->OpenPorts(&m_nTracePort, &m_nDataPort);
}

void CMainFrame::OnHelpTopics()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_strHelpFile));
}

void CMainFrame::OnAbout()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}
