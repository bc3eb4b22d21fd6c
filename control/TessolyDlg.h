#pragma once

#include <QBasicTimer>
#include <QEvent>
#include <QString>
#include <cstddef>
#include <functional>
#include <utility>

#include "control/DataContent.h"
#include "control/LibraryDlg.h"
#include "platform/DispatchTable.h"
#include "platform/TemplateDialog.h"
#include "res/Ids102.h"
#include "trace/TraceReport.h"

class CDeviceWatch;
class CSerialPort;
class CTrafficLog;
class CLineSource;
class CFrameHost;
class CGsmtapSender;

// Line settings of one port (stop bits and parity in the driver's numbering:
// 0 = one stop bit, 0 = no parity).
struct PortSettings
{
    int nPort;
    int nBaud;
    int nDataBits;
    int nStopBits;
    int nParity;
};

// Steps of the sequencer; m_nState holds the number of the last step run.
enum
{
    STEP_POWER_OFF_DONE = 0,
    STEP_POWER_OFF = 1,
    STEP_POWER_ON_PROBE = 2,
    STEP_POWERED_ON = 3,
    STEP_READ_IMSI = 4,
    STEP_CLEAR_DISPLAY = 5,
    STEP_READ_IMEI = 6,
    STEP_IMEI_ECHO = 7,
    STEP_IMSI_ECHO = 8,
    STEP_READ_SIM_STATE = 9,
    STEP_SET_TEXT_MODE = 10,
    STEP_SEARCHING = 11,
    STEP_READ_OPERATOR = 12,
    STEP_FILL_LIBRARY = 13,
    STEP_MESSAGE_SENT = 16,
    STEP_MESSAGE_FAILED = 17,
    STEP_SENDING_MESSAGE = 18,
    STEP_LIBRARY_ENTRIES = 19,
    STEP_ENTER_PIN = 20,
    STEP_NO_COVERAGE = 21,
    STEP_SIM_READY = 23,
    STEP_RINGING = 24,
    STEP_ESTABLISH_CALL = 25,
    STEP_CALLER_ID = 26,
    STEP_ANSWERING = 27,
    STEP_IN_CALL = 28,
    STEP_TERMINATE_CALL = 29,
    STEP_IDLE = 30,
    STEP_BUSY = 31,
    STEP_UNKNOWN = 33
};

// Timers of the panel.
enum
{
    TIMER_POWER_OFF = 0,
    TIMER_PROBE = 1,
    TIMER_REG_POLL = 2,
    TIMER_RING = 3,
    TIMER_COUNT = 4
};

// The front panel controller: the form of template 102, the two serial
// channels, the traffic log and the state of the module as the panel knows
// it. The class is split across files by concern:
//   TessolyDlg.cpp         ports, writes, errors, close, layout
//   TessolyDlgSteps.cpp    the sequencer (RunStep, timers)
//   TessolyDlgAnswers.cpp  data-port lines (OnDataLine)
//   TessolyDlgPad.cpp      phone pad, BS lock, location update
//   TessolyDlgReports.cpp  trace lines, their presentation, report flags
//   TessolyDlgDevices.cpp  devices that go away and come back
class CTessolyDlg : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CTessolyDlg(CFrameHost* frame, QWidget* parent = nullptr);
    ~CTessolyDlg() override;

    // Creates the form's window (modeless) and runs the initialisation.
    bool CreatePanel();

    // --- core -----------------------------------------------------------
    bool SetupPorts(int* pnTracePort, int* pnDataPort, bool bPowerOn);
    bool OpenPorts(int* pnTracePort, int* pnDataPort);
    void ClosePorts();
    int SendData(const char* pszCommand, const char* pszArgument = nullptr,
                 const char* pszSuffix = nullptr);
    int SendTrace(const char* pszCommand, const char* pszArgument = nullptr,
                  const char* pszSuffix = nullptr);
    bool ReportError(int nKind, int nCode, bool bFatal, const char* pszText, int nPort);
    // The same for a text that is not 8-bit (file names, system messages).
    bool ReportError(int nKind, int nCode, bool bFatal, const QString& text, int nPort);
    // ReportError for a failed write to pPort, once only for a device that is lost.
    bool ReportWriteError(CSerialPort* pPort, int nKind, int nCode, const char* pszText, int nPort);
    void OnClr();
    void ResetMobile();
    void PlaceInView(int nSizeType, const QRect& rcView);
    // The panel's close: power-off when asked, ports closed, channels and log deleted.
    void ClosePanel();

    // Log operations for the menu commands.
    void LogEnableData(bool on);
    void LogEnableTrace(bool on);
    void LogFreeze(bool on);
    void LogClear();
    int LogSave(const QString& path);

    // --- sequencer ------------------------------------------------------
    void RunStep(int nStep);
    void SetTimer(int nId, int nMs);
    void KillTimer(int nId);
    bool IsTimerActive(int nId) const;

    // --- data-port and trace-port lines ----------------------------------
    void OnDataLine();
    void OnTraceLine();
    // The handling of one line, after it was taken from its channel and logged.
    void HandleDataLine(const QString& strLine);
    void HandleTraceLine(const QString& strLine);
    void ShowReport(int nReport);
    void ShowNeighbours(int nReport);
    void SendTraceFlags();

    // --- phone pad --------------------------------------------------------
    void OnPower();
    void OnYes();
    void OnNo();
    void InsertKey(const char* pszKey);
    void OnChangeNumber();
    void OnSpeakerUp();
    void OnSpeakerDown();
    void OnLibrary();
    void OnDataContent();
    void OnLocationUpdate();
    void LocationUpdate();
    void OnBsLock();
    void LockChannel(const QString& strChannel);
    void SetBsLockCheck(bool bCheck);
    void OnGo(int nRow); // rows 1 .. 6

    // --- accessors ---------------------------------------------------------
    bool IsPoweredOn() const { return m_bPoweredOn; }
    bool IsTraceReportsOn() const { return m_bTraceReportsOn; }
    int MaxPowerDbm() const { return m_nMaxPowerDbm; }
    // The record of the trace reports, for the dialogs that show it.
    const CTraceReport& TraceReport() const { return m_TraceReport; }
    int State() const { return m_nState; }
    // The status text of the idle state, as the operator query gave it.
    const QString& IdleStatus() const { return m_strIdleStatus; }
    // The live feed to Wireshark (owned by the frame; null: none).
    void SetGsmtap(CGsmtapSender* pGsmtap) { m_pGsmtap = pGsmtap; }
    // The channel scan's use of the parser: while attached, lines that are
    // no report are scan levels; onLevels runs after each publication.
    void AttachScan(std::function<void(bool bAnyLevel)> onLevels);
    void DetachScan();
    void ResetScanLevels();
    CFrameHost* Frame() const { return m_pFrame; }
    // Takes the lines of the ports from other sources (nullptr: the ports);
    // the ports still carry every write.
    void SetLineSources(CLineSource* pDataLines, CLineSource* pTraceLines);
    CSerialPort* DataPort() const { return m_pDataPort; }
    CSerialPort* TracePort() const { return m_pTracePort; }
    CTrafficLog* Log() const { return m_pLog; }
    // A bar's position (out-of-range values show as the nearest end).
    void SetBar(int nId, int nPos);
    int BarPos(int nId) const;

    // Timing values in milliseconds (tests may shorten them after construction).
    int m_nPowerOnWait = 1400;
    int m_nProbeInterval = 200;
    int m_nPowerOffDelay = 2000;
    int m_nFirstRegPoll = 3000;
    int m_nRegPollInterval = 1000;
    int m_nTraceCharDelay = 50;
    int m_nRingTimeout = 6000;
    int m_nIdlePause = 1000; // pause of the return to idle
    int m_nClosePause = 100; // pause after closing both ports

signals:
    // A line was handled (after logging and interpretation); for observers and tests.
    void DataLineHandled(const QString& line);
    void TraceLineHandled(const QString& line);

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnEnterKey() override;
    void OnClose() override;
    void OnCancel() override {}
    void OnOK() override {}
    void customEvent(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    void OnTimer(int nId);
    void PowerOnProbe();
    void EnableCallMeters(bool bEnable);
    void ConnectPadControls();
    void ClearNeighbourRows();
    void ShowRxQuality(const char* pszField, const QString& strSuffix = QString());
    // A row of a dispatch table: a number (step, state, report kind) and the
    // member function for it.
    template <class Fn> using SRow = SDispatchRow<Fn>;
    // Calls the function of the row for nKey; false when no row has it.
    template <class Fn, std::size_t N, class... A>
    bool Dispatch(const SRow<Fn> (&rows)[N], int nKey, A&&... args)
    {
        return ::Dispatch(this, rows, nKey, std::forward<A>(args)...);
    }
    void CloseChannels(); // both ports, without the pause of ClosePorts
    void DeleteChannels();

    // A device that went away and its return (TessolyDlgDevices.cpp).
    void OnPortLost(QEvent::Type nLineMessage);
    void OnDevicePresent(int nChannel);
    bool ReopenChannel(int nChannel);
    // ReportWriteError with the channel's own kind and text.
    bool ReportChannelWriteError(int nChannel, int nCode);
    void ShowPortState();
    void StopDeviceWatches();
    enum
    {
        CHANNEL_DATA = 0,
        CHANNEL_TRACE = 1,
        CHANNEL_COUNT = 2
    };
    CSerialPort* Channel(int nChannel) const;
    PortSettings& ChannelSettings(int nChannel);
    CDeviceWatch* m_pDeviceWatch[CHANNEL_COUNT] = {nullptr, nullptr};
    bool m_abLost[CHANNEL_COUNT] = {false, false};
    int m_anReopenTries[CHANNEL_COUNT] = {0, 0};
    // Whether SetupPorts was told to power the module on.
    bool m_bPowerOnAtSetup = false;

    // The sequencer's steps, one function each (TessolyDlgSteps.cpp); RunStep
    // finds them by step number.
    void StepPowerOffDone();
    void StepPowerOff();
    void StepPoweredOn();
    void StepReadImsi();
    void StepClearDisplay();
    void StepReadImei();
    void StepReadSimState();
    void StepSetTextMode();
    void StepSearching();
    void StepReadOperator();
    void StepFillLibrary();
    void StepMessageSent();
    void StepMessageFailed();
    void StepSendingMessage();
    void StepEnterPin();
    void StepNoCoverage();
    void StepSimReady();
    void StepRinging();
    void StepEstablishCall();
    void StepInCall();
    void StepTerminateCall();
    void StepIdle();
    void StepBusy();
    void StepUnknown();

    // What each state looks for in a data-port line (TessolyDlgAnswers.cpp);
    // HandleDataLine finds them by state.
    void AnswerPowerOffDone(const QString& strLine);
    void AnswerPowerOnProbe(const QString& strLine);
    void AnswerPoweredOn(const QString& strLine);
    void AnswerReadImsi(const QString& strLine);
    void AnswerReadImei(const QString& strLine);
    void AnswerImeiEcho(const QString& strLine);
    void AnswerImsiEcho(const QString& strLine);
    void AnswerReadSimState(const QString& strLine);
    void AnswerSetTextMode(const QString& strLine);
    void AnswerSearching(const QString& strLine);
    void AnswerReadOperator(const QString& strLine);
    void AnswerFillLibrary(const QString& strLine);
    void AnswerMessageResult(const QString& strLine);
    void AnswerSendingMessage(const QString& strLine);
    void AnswerLibraryEntries(const QString& strLine);
    void AnswerEnterPin(const QString& strLine);
    void AnswerSimReady(const QString& strLine);
    void AnswerRinging(const QString& strLine);
    void AnswerEstablishCall(const QString& strLine);
    void AnswerCallerId(const QString& strLine);
    void AnswerAnswering(const QString& strLine);
    void AnswerInCall(const QString& strLine);
    void AnswerTerminateCall(const QString& strLine);
    void AnswerIdle(const QString& strLine);
    void AnswerBusy(const QString& strLine);
    void AnswerUnexpected(const QString& strLine);

    // The presentation of each trace report (TessolyDlgReports.cpp);
    // ShowReport finds them by report kind.
    void ShowIdleMode();
    void ShowDedicated();
    void ShowBcch();
    void ShowDedicatedChan();
    void ShowCellId();
    void ShowFullIdleDesc();
    void ShowFullIdle();
    void ShowFullDed();

    // --- state (shared with every concern of the panel) -------------------
    // The tests set up states that the wire alone reaches only slowly.
    friend struct TestAccess;

    CSerialPort* m_pDataPort = nullptr;
    CLineSource* m_pDataLines = nullptr;
    CLineSource* m_pTraceLines = nullptr;
    CSerialPort* m_pTracePort = nullptr;
    CTrafficLog* m_pLog = nullptr;
    int m_nState = 0;
    int m_nCount = 0;
    bool m_bPoweredOn = false;
    bool m_bTraceReportsOn = false;
    int m_nMaxPowerDbm = 43;
    bool m_bStopTraceOnError = true;
    QString m_strLastNumber;
    QString m_strIdleStatus;
    QString m_strMessageText;
    QString m_strTraceFlags;
    QString m_strLockChannel;
    // An undefined RX quality has been reported and no valid one shown since.
    bool m_bRxQualReported = false;
    CLibraryDlg m_dlgLibrary;
    CDataContent m_dlgDataContent;
    CTraceReport m_TraceReport;
    // The live feed to Wireshark, owned by the frame; null without one.
    CGsmtapSender* m_pGsmtap = nullptr;
    PortSettings m_DataPortSettings;
    PortSettings m_TracePortSettings;

    // Power-on probe values kept from one power-on to the next.
    static bool s_bSendPowerOn;
    static int s_nPowerOnTries;

    CFrameHost* m_pFrame;
    QBasicTimer m_timers[TIMER_COUNT];
    bool m_bInChangeNumber = false;
    // The message text went out for the message being sent (reset by STEP_SENDING_MESSAGE).
    bool m_bMessageTextSent = false;
};
