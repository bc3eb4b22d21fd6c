// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QMainWindow>
#include <QRect>
#include <QSize>
#include <QTime>
#include <map>

#include "fleet/MqttSettings.h"
#include "platform/FrameHost.h"
#include "protocol/StringE.h"

class QAction;
class QLabel;
class CChildView;
class CTessolyDlg;
class CBcchSysInfoDlg;
class CEventList;
class CLevelChart;
class CGsmtapSender;
class CMqttPublisher;
class CGpsClient;
struct SGpsFix;
class CProfileFile;
class CSessionRecorder;
class CSessionReview;
class CReviewBar;

// Option bits of the settings file.
enum
{
    OPT_POWER_OFF_ON_EXIT = 1,
    OPT_POWER_ON_ON_START = 2,
    OPT_LOGGING = 4,
    OPT_PHONE_PAD_ONLY = 8,
    OPT_RESET_ON_START = 16
};

// Menu and tool bar command ids.
enum
{
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_VIEW_PHONEPADONLY = 32771,
    ID_VIEW_LOGGING = 32772,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_CONTROL_BCCHSYSINFO = 32778,
    ID_CONTROL_CHANNELSCAN = 32779,
    ID_CONTROL_BSLOCK = 32781,
    ID_CONTROL_LOCATIONUPDATE = 32780,
    ID_LOGGING_DATA = 32784,
    ID_LOGGING_TRACE = 32786,
    ID_LOGGING_FREEZE = 32787,
    ID_LOGGING_CLEAR = 32788,
    ID_LOGGING_SAVE = 32783,
    ID_LOGGING_RECORD = 32789,
    ID_OPTIONS_REPORTFLAGS = 32773,
    ID_OPTIONS_POWEROFFONEXIT = 32774,
    ID_OPTIONS_POWERONONSTART = 32775,
    ID_OPTIONS_RESETONSTART = 32802,
    ID_OPTIONS_CONFIGURE = 32776,
    ID_OPTIONS_RESETMOBILE = 32801,
    ID_HELP_TOPICS = 32777,
    ID_CONTROL_GSMTAP = 32803,
    ID_OPTIONS_GPS = 32812,
    ID_VIEW_LEVELCHART = 32820,
    ID_VIEW_EVENTLIST = 32821,
    ID_CONTROL_MQTT = 32822,
    ID_FILE_OPENSESSION = 32823
};

// What the command line asks of a review: the file, and where to place it.
struct SReviewArgs
{
    QString strFile;   // --review FILE; empty: no review
    bool bEnd = false; // --end
    QString strAt;     // --at HH:MM:SS
};

// The main frame: menu, tool bar, status bar and the view over which the
// front panel is laid. It owns the controller, the BCCH System Info dialog
// object and every setting. The class is split across files by concern:
//   MainFrm.cpp          creation, layout, size/move, exit
//   MainFrmSettings.cpp  the settings file and the option bits
//   MainFrmCommands.cpp  the command table: menus, tool bar, update rules, handlers
//   MainFrmRecording.cpp the session recording: its settings, switch and status
//   MainFrmGps.cpp       positions from gpsd: settings, switch, status, where fixes go
class CMainFrame : public QMainWindow, public CFrameHost
{
    Q_OBJECT
public:
    // args: the program's command line (program path first).
    explicit CMainFrame(const QStringList& args = QStringList());
    ~CMainFrame() override;

    // Window creation: view, bars, the panel, settings, layout, ports.
    bool Create();
    void LayoutPanel();

    // --- settings ---------------------------------------------------------
    void LoadSettings();
    void SaveSettings();
    int TestOption(int nBits) const;
    void SetOption(int nBits, bool bOn);
    QString SettingsFile() const { return m_strIniFile; }
    static QString SettingsFileFor(const QString& commandLine, const QString& programDir);

    // --- CFrameHost ---------------------------------------------------------
    int IsPowerOffOnExit() const override { return TestOption(OPT_POWER_OFF_ON_EXIT); }
    int IsResetOnStart() const override { return TestOption(OPT_RESET_ON_START); }
    QString GetTraceFlags() const override { return m_strTraceFlags; }
    void SetTraceFlags(const QString& flags) override { m_strTraceFlags = flags; }
    int HasTraceFlag(int nMask) const override;
    void SetBsLock(bool on) override
    {
        m_bBsLock = on;
        UpdateCommandUI();
    }
    void PostCloseApp() override;
    void PostBcchClosed() override;
    int MaxPowerDbm() const override;
    CLogObserver* Recorder() const override;
    void ShowPortState(const QString& text) override;

    // --- commands -----------------------------------------------------------
    void OnCommand(int nId);
    QAction* Action(int nId) const;
    // Applies the update rules to the menu items and tool buttons.
    void UpdateCommandUI();
    // The same once the lines that came together are handled: the module
    // sends a score of lines at a time, and nothing is drawn in between.
    void UpdateCommandUISoon();
    CBcchSysInfoDlg* BcchDlg() const { return m_pBcchDlg.get(); }
    CLevelChart* LevelChart() const { return m_pChart; }
    CEventList* EventList() const { return m_pEventList; }
    CChildView* View() const { return m_pView; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    QSize FullSize() const { return m_sizeFull; }
    QSize PadSize() const { return m_sizePad; }
    int LoggingHeight() const { return m_nLoggingHeight; }
    // The directory the settings file is looked for in; the program's own
    // directory unless set before Create (tests use a directory of their own).
    void SetProgramDir(const QString& dir) { m_strProgramDirForced = dir; }

    // --- session recording ------------------------------------------------------
    // The folder of the session files: [RECORDING] Folder, relative to the
    // settings file's folder; by default "sessions" beside the settings file.
    QString RecordingFolder() const;
    QLabel* RecordingLabel() const { return m_pRecLabel; }
    QLabel* PortStateLabel() const { return m_pPortLabel; }
    QLabel* MqttLabel() const { return m_pMqttLabel; }
    QLabel* GpsLabel() const { return m_pGpsLabel; }

    // --- review of a recorded session (MainFrmReview.cpp) ----------------------
    // Takes --review FILE, --end and --at TIME out of args (program path
    // first), leaving the design's arguments; false with the reason in
    // *pError for an option without its value or a time that is none.
    static bool TakeReviewArgs(QStringList* pArgs, SReviewArgs* pReview, QString* pError);
    // Opens a session for review (the ports closed, nothing recorded) and
    // places it at nAt (ms since the epoch; -1: the start, INT64_MAX: the
    // end); false after a box that says why.
    bool OpenSession(const QString& strPath, qint64 nAt = -1);
    bool IsReviewing() const;
    CSessionReview* Review() const { return m_pReview; }
    CReviewBar* ReviewBar() const { return m_pReviewBar; }
    QLabel* ReviewLabel() const { return m_pReviewLabel; }
    // Where --at places a review of a file that starts at nBegin: the next
    // moment at that clock time, ms since the epoch.
    static qint64 ClockTimeAfter(qint64 nBegin, const QTime& time);

    // --- state ----------------------------------------------------------------
    std::unique_ptr<CTessolyDlg> m_pController;
    CSessionRecorder* m_pRecorder = nullptr;
    bool m_bRecord = false;    // [RECORDING] Enabled: the user's choice
    QString m_strRecordFolder; // [RECORDING] Folder as read
    std::unique_ptr<CBcchSysInfoDlg> m_pBcchDlg;
    // The level chart and the event list: windows of their own that take
    // the measurer's samples and events from the start, shown or not.
    CLevelChart* m_pChart = nullptr;
    CEventList* m_pEventList = nullptr;
    QRect m_rcWindow; // the frame's window rectangle as the last layout set it
    QRect m_rcNormal; // the placement read from the settings file
    bool m_bLayoutDone = false;
    bool m_bCommandUIPending = false; // an update of the menu items is on its way
    QSize m_sizeFull;
    QSize m_sizePad;
    int m_nLoggingHeight = 50;
    QString m_strCommandLine;
    QString m_strIniFile;
    QString m_strProgramDir; // the settings file's folder
    QString m_strHelpFile;
    QString m_strStoredNumber;
    QString m_strLastLogfile;
    QString m_strTraceFlags;
    CStringE m_strOptions;
    int m_nDataPort = 1;
    int m_nTracePort = 2;
    int m_nShow = 1;
    bool m_bStatusBar = false;
    bool m_bBsLock = false;
    bool m_bLogData = true;
    bool m_bLogTrace = true;
    bool m_bFreeze = false;
    // [GSMTAP]: the live feed of System Information to Wireshark.
    std::unique_ptr<CGsmtapSender> m_pGsmtap;
    bool m_bGsmtap = false;
    QString m_strGsmtapHost;
    int m_nGsmtapPort = 0;
    // [MQTT]: the fleet feed to a broker.
    CMqttPublisher* m_pMqtt = nullptr;
    SMqttSettings m_mqtt;
    // [GPS]: positions from gpsd.
    std::unique_ptr<CGpsClient> m_pGps;
    bool m_bGps = false;
    // The level chart and the event list were open at the last exit; they
    // open again once the frame is up.
    void ReopenDriveWindows();
    bool m_bOpenChart = false;
    bool m_bOpenEventList = false;
    QString m_strGpsHost;
    int m_nGpsPort = 0;

protected:
    void closeEvent(QCloseEvent* e) override;
    void customEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

private:
    void CreateMenus();
    void CreateToolBar();
    // One row of the command table: menu item, prompt, tool button, update
    // rule and handler. The table lists every command once, in menu order.
    struct CCommand;
    static const CCommand s_commands[];
    static const CCommand* Command(int nId);
    void AddCommand(QMenu* menu, const CCommand& c);
    // The report flags have been sent: the BCCH and scan commands may run.
    bool ReportsOn() const;
    void MeasurePanel();
    void PlacePanel(int nSizeType);
    void ApplyPlacement(const QRect& rc, int nShow);
    // Hands the [GSMTAP] settings to the live feed.
    void ApplyGsmtap();
    // Hands the [MQTT] settings to the fleet feed.
    void ApplyMqtt();
    void DestroyBcchWindow();
    void RememberNormalPlacement();
    QRect NormalPlacement() const;

    void OnViewPhonePadOnly();
    void OnViewLogging();
    void OnViewToolbar();
    void OnViewStatusBar();
    void OnBcchSysInfo();
    // Shows a window of the frame's and brings it to the front.
    static void ShowWindow(QWidget* pWindow);
    // The level chart or the event list, placed beside the frame the first time.
    void ShowDriveWindow(QWidget* pWindow);
    void OnChannelScan();
    void OnControlBsLock();
    void OnLoggingSave();
    void OnReportFlags();
    void OnConfigure();
    void OnHelpTopics();
    void OnAbout();
    void LoadRecordingSettings(const CProfileFile& ini);
    void SaveRecordingSettings(CProfileFile& ini) const;
    void OnLoggingRecord();
    void StartRecording();
    void OnRecordingStopped(int nCode, const QString& strReason);
    void ShowRecordingState();
    void LoadGpsSettings(const CProfileFile& ini);
    void SaveGpsSettings(CProfileFile& ini) const;
    // Starts or stops the client as [GPS] says.
    void ApplyGps();
    void OnGpsFix(const SGpsFix& fix);
    void OnGpsState(int nState);

    CChildView* m_pView = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pRecLabel = nullptr;
    QLabel* m_pPortLabel = nullptr; // a lost port, in the status bar
    QLabel* m_pMqttLabel = nullptr; // the fleet feed's state
    QLabel* m_pGpsLabel = nullptr;  // the GPS state while GPS is on
    bool m_bGpsFix = false;         // the events have told of a fix
    QLabel* AddStatusPane(const QString& name, const QString& text);
    void OnOpenSession();
    // Moves the open review to the next moment at the clock time HH:MM:SS.
    bool PlaceReviewAt(const QString& strAt);
    QString m_strArgsError; // what was wrong with the command line
    // The chart, the event list and the bar's events from the session's own measurement.
    void ShowSessionMeasure();
    SReviewArgs m_reviewArgs;
    CSessionReview* m_pReview = nullptr;
    CReviewBar* m_pReviewBar = nullptr;
    QLabel* m_pReviewLabel = nullptr;
    std::map<int, QAction*> m_actions;
    QString m_strProgramDirForced;
    QMargins m_frameMargins;
    bool m_bForcedClose = false;
    bool m_bClosing = false;
    int m_nLogListShown = -1; // the log list's height after the last layout that showed it
};
