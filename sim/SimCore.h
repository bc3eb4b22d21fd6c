// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "sim/SimOptions.h"
#include "sim/SimRadio.h"
#include "sim/SimTraceParser.h"

class QTimer;

// A snapshot of the simulated mobile's state, for tests and the console.
struct CSimStatus
{
    bool bPoweredOn = false; // "**O" received and not switched off since
    bool bBooted = false;    // answering on the data port
    bool bRegistered = false;
    int nCallState = 0;  // CSimCore::ECall
    unsigned nFlags = 0; // selected reports
    bool bScanning = false;
    bool bLocked = false;
    int nServingArfcn = 0;
    int nServingLevel = 0;
};

// The behaviour of the test mobile at its two ports, without the ports:
// bytes come in through DataIn and TraceIn, answers leave through the two
// output functions. Timers run in the thread the object lives in.
class CSimCore : public QObject
{
    Q_OBJECT
public:
    enum ECall
    {
        CALL_NONE,
        CALL_DIALLING, // outgoing, waiting for connect
        CALL_RINGING,  // incoming, not yet answered
        CALL_ACTIVE
    };
    enum ESim
    {
        SIM_ABSENT,
        SIM_PIN,
        SIM_PUK,
        SIM_READY
    };
    struct SPhoneBookEntry
    {
        int nIndex;
        QString strNumber;
        QString strName;
    };

    using Output = std::function<void(const QByteArray&)>;
    using Recorder = std::function<void(int nPort, const QByteArray& item)>;
    using ReportsListener = std::function<void(bool bOn)>;

    explicit CSimCore(const CSimOptions& opt, QObject* pParent = nullptr);
    ~CSimCore() override;

    void SetOutputs(Output data, Output trace);
    // Called with port 0 and each command line received on the data port
    // (an SMS text as its text and Ctrl-Z), and with port 1 and each command
    // recognised on the trace port.
    void SetRecorder(Recorder rec) { m_recorder = std::move(rec); }

    // Hands the reports to a replay: the radio model stays silent except for
    // a channel scan, and the listener hears whether the module would emit
    // reports now (switched on, reports selected, no scan).
    void SetReplaying(ReportsListener listener);
    // Sends a line as the module would: on the trace port (1) while switched
    // on, on the data port (0) while answering there.
    void Inject(int nPort, const QByteArray& line);

    void DataIn(const QByteArray& bytes);
    void TraceIn(const QByteArray& bytes);

    // live events
    bool RingFrom(const QString& strNumber); // false when no call can come in now
    void HangUp();
    bool MoveServing(int nArfcn);
    void SetLevels(int nServing, const QList<int>& neighbours = {});
    // The cells a drive sees now (serving first); a new serving cell is
    // announced as MoveServing does.
    void SetCells(const std::vector<CSimCell>& cells, int nTimingAdvance);

    CSimStatus Status() const;
    const CSimRadio& Radio() const { return m_radio; }
    const QList<SPhoneBookEntry>& PhoneBook() const { return m_phoneBook; }

    // Reads a phone book file ("number,name" per line, '#' starts a comment).
    static QList<SPhoneBookEntry> LoadPhoneBook(const QString& strFile, bool* pOk);
    static QList<SPhoneBookEntry> BuiltInPhoneBook();
    static const char* IDENTIFICATION[];
    static const char* IMEI;

private:
    // data port
    void DataChar(char c);
    void ExecuteLine(const QByteArray& line);
    bool ExecuteExtended(const QByteArray& cmd, QList<QByteArray>* pOut, bool* pPrompt);
    // One extended command: "AT+NAME=arg" (set), "AT+NAME?" (query) or
    // "AT+NAME"; the handler adds its information lines to out.
    struct SAtCommand
    {
        bool bSet = false;
        bool bQuery = false;
        QByteArray arg;
        QList<QByteArray> out;
        bool bPrompt = false; // "> " follows: a message text is expected
    };
    bool AtCgsn(SAtCommand& c);
    bool AtCpin(SAtCommand& c);
    bool AtCreg(SAtCommand& c);
    bool AtCimi(SAtCommand& c);
    bool AtCops(SAtCommand& c);
    bool AtCpbs(SAtCommand& c);
    bool AtCpbf(SAtCommand& c);
    bool AtCmgf(SAtCommand& c);
    bool AtCmgs(SAtCommand& c);
    bool AtClcc(SAtCommand& c);
    bool AtCkpd(SAtCommand& c);
    bool AtCsq(SAtCommand& c);
    bool AtChup(SAtCommand& c);
    bool IsSimReady() const { return m_eSim == SIM_READY; }
    void ExecuteDial(const QByteArray& arg);
    void FinishSms(bool bSend);
    void SendLine(const QByteArray& line);
    void SendRaw(const QByteArray& bytes);
    QByteArray ImsiText() const;
    QByteArray ClccLine() const;
    int RegistrationStatus();
    bool IsBusyNumber(const QString& strNumber) const;
    // trace port
    void TraceCommand(const CSimTraceParser::SCommand& cmd);
    // One trace-port command; arg is its variable part.
    void TcPowerOn(const QByteArray& arg);
    void TcPowerOff(const QByteArray& arg);
    void TcReset(const QByteArray& arg);
    void TcFlags(const QByteArray& arg);
    void TcDefaultReports(const QByteArray& arg);
    void TcDial(const QByteArray& arg);
    void TcAnswer(const QByteArray& arg);
    void TcLock(const QByteArray& arg);
    void TcLocationUpdate(const QByteArray& arg);
    void TcScanSetup(const QByteArray& arg);
    void TcScanStart(const QByteArray& arg);
    void TcScanEnd(const QByteArray& arg);
    void SelectReports(unsigned nFlags);
    void TraceLine(const QByteArray& line);
    void PowerOn();
    void PowerOff();
    void ResetReports();
    void OnCycle();
    void IdleCycle();
    void DedicatedCycle();
    void ScanCycle();
    void UpdateCycleTimer();
    void ServingChanged();
    // calls
    void StartCall(const QString& strNumber, bool bData, bool bVoiceTrace);
    void OnCallSetup();
    void CallConnected();
    void EndCall(bool bRemote);
    void OnRing();
    void StartRinging(const QString& strNumber);
    void Record(int nPort, const QByteArray& item);

    CSimOptions m_opt;
    CSimRadio m_radio;
    CSimTraceParser m_traceParser;
    Output m_outData;
    Output m_outTrace;
    Recorder m_recorder;
    ReportsListener m_replaying;
    QList<SPhoneBookEntry> m_phoneBook;

    // power and SIM
    bool m_bPoweredOn = false;
    bool m_bBooted = false;
    ESim m_eSim = SIM_READY;
    int m_nPinTries = 3;
    int m_nRegPolls = 0;
    bool m_bRegistered = false;
    bool m_bRingAfterArmed = false;

    // data port input
    QByteArray m_line;
    bool m_bLineOverflow = false;
    bool m_bSmsText = false;
    QByteArray m_smsNumber;
    QByteArray m_smsText;
    int m_nMessageRef = 0;
    int m_nCregMode = 0;

    // calls
    ECall m_eCall = CALL_NONE;
    bool m_bCallData = false; // data call (answers on the data port)
    bool m_bCallIncoming = false;
    bool m_bCallVoiceAt = false; // voice call dialled with "ATD...;"
    QString m_strCallNumber;
    int m_nRings = 0;
    int m_nTimeSlot = 2;
    int m_nPowerLevel = 5;

    // reports
    unsigned m_nFlags = 0;
    int m_nCycle = 0;
    int m_nBcchType = 0;
    int m_nBcchBlock = 0;
    bool m_bDescPending = true;
    bool m_bLocked = false;
    enum EScan
    {
        SCAN_OFF,
        SCAN_SETUP,
        SCAN_RUNNING
    } m_eScan = SCAN_OFF;
    std::vector<int> m_scanChannels;
    int m_nScanCycle = 0;

    QTimer* m_pBootTimer;
    QTimer* m_pCycleTimer;
    QTimer* m_pRingTimer;
    QTimer* m_pCallTimer;
    QTimer* m_pRingAfterTimer;
};
