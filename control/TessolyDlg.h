// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QHash>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>

#include "control/DataContent.h"
#include "control/LibraryDlg.h"
#include "conversation/ModuleWriter.h"
#include "conversation/RecordedKeys.h"
#include "conversation/Sequencer.h"
#include "conversation/SequencerView.h"
#include "measure/Measurer.h"
#include "measure/Units.h"
#include "platform/DispatchTable.h"
#include "platform/PortConfig.h"
#include "platform/TemplateDialog.h"
#include "res/Ids102.h"
#include "sysinfo/BcchCapture.h"
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

// The front panel controller: the form of template 102, the two serial
// channels, the traffic log, the report record and the module's
// conversation (CSequencer), which shows its state on the form through the
// view and sends through the writer this class implements. The class is
// split across files by concern:
//   TessolyDlg.cpp         ports, writes, errors, close, layout
//   TessolyDlgView.cpp     the conversation's view on the form, data-port lines
//   TessolyDlgPad.cpp      phone pad, BS lock, location update
//   TessolyDlgReports.cpp  trace lines, their presentation
//   TessolyDlgDevices.cpp  devices that go away and come back
class CTessolyDlg : public CTemplateDialog, public CSequencerView, public CModuleWriter
{
    Q_OBJECT
    // First: the timing values below refer to it.
    CSequencer m_Sequencer;
    // In review: the recorded writes as the keys and timers that made them.
    CRecordedKeys m_RecordedKeys{&m_Sequencer, this};

public:
    explicit CTessolyDlg(CFrameHost* frame, QWidget* parent = nullptr);
    ~CTessolyDlg() override;

    // Creates the form's window (modeless) and runs the initialisation.
    bool CreatePanel();

    // --- core -----------------------------------------------------------
    bool SetupPorts(int* pnTracePort, int* pnDataPort, bool bPowerOn);
    bool OpenPorts(int* pnTracePort, int* pnDataPort);
    // The ports of the last OpenPorts that did not open, and why; empty after a success.
    const QList<SPortFailure>& OpenFailures() const { return m_openFailures; }
    void ClosePorts();
    int SendData(const char* pszCommand, const char* pszArgument = nullptr,
                 const char* pszSuffix = nullptr) override;
    int SendTrace(const char* pszCommand, const char* pszArgument = nullptr,
                  const char* pszSuffix = nullptr) override;
    int DataPortNumber() const override { return m_DataPortSettings.nPort; }
    bool ReportError(int nKind, int nCode, bool bFatal, const char* pszText, int nPort) override;
    // The same for a text that is not 8-bit (file names, system messages).
    bool ReportError(int nKind, int nCode, bool bFatal, const QString& text, int nPort);
    // ReportError for a failed write to pPort, once only for a device that is lost.
    bool ReportWriteError(CSerialPort* pPort, int nKind, int nCode, const char* pszText, int nPort);
    void OnClr() { m_Sequencer.OnClr(); }
    void ResetMobile() { m_Sequencer.ResetMobile(); }
    void PlaceInView(int nSizeType, const QRect& rcView);
    // The panel's close: power-off when asked, ports closed, channels and log deleted.
    void ClosePanel();

    // Log operations for the menu commands.
    void LogEnableData(bool on);
    void LogEnableTrace(bool on);
    void LogFreeze(bool on);
    void LogClear();
    int LogSave(const QString& path);

    // --- the module's conversation (forwarded to the sequencer) ------------
    void RunStep(int nStep) { m_Sequencer.RunStep(nStep); }
    void SendTraceFlags() { m_Sequencer.SendTraceFlags(); }

    // --- data-port and trace-port lines ----------------------------------
    void OnDataLine();
    void OnTraceLine();
    // The handling of one line, after it was taken from its channel and logged.
    void HandleDataLine(const QString& strLine);
    void HandleTraceLine(const QString& strLine);
    void ShowReport(int nReport);
    void ShowNeighbours(int nReport);

    // --- review of a recorded session (TessolyDlgReview.cpp) ----------------
    // In review the panel opens no port and writes nothing: writes return
    // without error, pauses and the conversation's timers do not run, error
    // boxes go to the diagnostics, and the measurer is not fed (the chart
    // takes the session's own measurement).
    void SetReview(bool bOn);
    bool IsReview() const { return m_bReview; }
    // The record, the conversation and the form as at the panel's start.
    void ResetForReview();
    // The recorded clock reached nTime (ms since the epoch): a ring
    // time-out that ran out by then runs.
    void ReviewClock(qint64 nTime);
    // A recorded write of the panel at the recorded clock moves the
    // conversation as the key or timer that made it did.
    void ReviewSentLine(int nChannel, const QString& strLine);
    // While held, the presentation's texts, bars and traffic channels are
    // kept in memory; releasing writes the latest of each to the form once.
    void HoldForm(bool bHold);
    // The form's texts, through the hold.
    void SetDlgItemText(int nId, const QString& strText);
    QString GetDlgItemText(int nId) const;

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
    bool IsPoweredOn() const { return m_Sequencer.IsPoweredOn(); }
    bool IsTraceReportsOn() const { return m_Sequencer.IsTraceReportsOn(); }
    int MaxPowerDbm() const { return m_nMaxPowerDbm; }
    // The record of the trace reports, for the dialogs that show it.
    const CTraceReport& TraceReport() const { return m_TraceReport; }
    int State() const { return m_Sequencer.State(); }
    // The status text of the idle state, as the operator query gave it.
    const QString& IdleStatus() const { return m_Sequencer.IdleStatus(); }
    // The samples and events of the drive, taken from the lines handled.
    CMeasurer& Measurer() { return m_Measurer; }
    // The IMEI the module gave (AT+CGSN); empty before.
    const QString& Imei() const { return m_strImei; }
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
    CSerialPort* DataPort() const { return m_pDataPort.get(); }
    CSerialPort* TracePort() const { return m_pTracePort.get(); }
    CTrafficLog* Log() const { return m_pLog.get(); }
    // A bar's position (out-of-range values show as the nearest end).
    void SetBar(int nId, int nPos);
    int BarPos(int nId) const;

    // Timing values in milliseconds (tests may shorten them after
    // construction): the sequencer's under their names here, and the panel's own.
    int& m_nPowerOnWait = m_Sequencer.m_nPowerOnWait;
    int& m_nProbeInterval = m_Sequencer.m_nProbeInterval;
    int& m_nPowerOffDelay = m_Sequencer.m_nPowerOffDelay;
    int& m_nFirstRegPoll = m_Sequencer.m_nFirstRegPoll;
    int& m_nRegPollInterval = m_Sequencer.m_nRegPollInterval;
    int& m_nRingTimeout = m_Sequencer.m_nRingTimeout;
    int& m_nIdlePause = m_Sequencer.m_nIdlePause; // pause of the return to idle
    int m_nTraceCharDelay = 50;
    int m_nClosePause = 100; // pause after closing both ports

    // --- the conversation's view on the form (TessolyDlgView.cpp) -----------
    void ShowStatus(const QString& strText) override;
    void RepaintStatus() override;
    void SetPowerButton(const QString& strCaption) override;
    void ShowImei(const QString& strImei) override;
    void ShowImsi(const QString& strImsi) override;
    void ShowRegistration(const QString& strStatus) override;
    void ShowNumber(const QString& strNumber) override;
    void ShowCaller(const QString& strCaller) override;
    void EnableNumber(bool bEnable) override;
    void FocusNumber() override;
    void ResetCallType() override;
    void ClearServingCell() override;
    void ClearBsLock() override;
    void ClearMeters() override;
    void EnableCallMeters() override;
    void DisableCallMeters() override;
    void ClearReport(int nReport) override;
    void ClearLibrary() override;
    void AddLibraryEntry(int nIndex, const QString& strName, const QString& strNumber) override;
    void WaitCursor() override;
    void ArrowCursor() override;
    void Beep() override;
    void Pause(int nMs) override;
    bool Confirm(const QString& strQuestion) override;
    bool IsResetOnStart() const override;
    QString TraceFlags() const override;

signals:
    // A line was handled (after logging and interpretation); for observers and tests.
    void DataLineHandled(const QString& line);
    void TraceLineHandled(const QString& line);
    // The module gave its IMEI (a new one, not empty).
    void ImeiKnown(const QString& strImei);

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnEnterKey() override;
    void OnClose() override;
    void OnCancel() override {}
    void OnOK() override {}
    void customEvent(QEvent* e) override;

private:
    void ConnectPadControls();
    // The pad's buttons, disabled in review.
    void EnablePad(bool bEnable);
    void ClearNeighbourRows();
    // The traffic channel list, through the hold.
    void SetTrafficChannels(const QStringList& channels);
    // The first traffic channel; false when the list is empty.
    bool FirstTrafficChannel(QString* pChannel) const;
    void ShowRxQuality(const char* pszField, const QString& strSuffix = QString());
    // A row of a dispatch table: a report kind and the member function for it.
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

    std::unique_ptr<CSerialPort> m_pDataPort;
    CLineSource* m_pDataLines = nullptr;
    CLineSource* m_pTraceLines = nullptr;
    std::unique_ptr<CSerialPort> m_pTracePort;
    std::unique_ptr<CTrafficLog> m_pLog;
    int m_nMaxPowerDbm = Units::kMaxPowerLowBandDbm;
    bool m_bStopTraceOnError = true;
    QString m_strLockChannel;
    QString m_strImei;
    // An undefined RX quality has been reported and no valid one shown since.
    bool m_bRxQualReported = false;
    CLibraryDlg m_dlgLibrary;
    CDataContent m_dlgDataContent;
    CTraceReport m_TraceReport;
    // The live feed to Wireshark, owned by the frame; null without one.
    CGsmtapSender* m_pGsmtap = nullptr;
    // Picks the System Information messages out of the trace lines for it.
    CBcchCapture m_BcchCapture;
    CMeasurer m_Measurer;
    PortSettings m_DataPortSettings;
    PortSettings m_TracePortSettings;
    QList<SPortFailure> m_openFailures;

    CFrameHost* m_pFrame;
    bool m_bInChangeNumber = false;

    bool m_bReview = false;
    qint64 m_nReviewTime = 0; // the recorded clock
    bool m_bHold = false;
    QHash<int, QString> m_heldTexts;
    QHash<int, int> m_heldBars;
    bool m_bChannelsHeld = false;
    QStringList m_heldChannels;
};
