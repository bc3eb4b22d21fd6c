// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QString>

#include "platform/DispatchTable.h"

class CEventSink;
class CSequencerView;
class CModuleWriter;

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

// Timers of the sequencer.
enum
{
    TIMER_POWER_OFF = 0,
    TIMER_PROBE = 1,
    TIMER_REG_POLL = 2,
    TIMER_RING = 3,
    TIMER_COUNT = 4
};

// The module's conversation on the data port: the sequencer's numbered
// steps, the four timers that re-run them, the interpreter of the module's
// lines, and what the user's keys do in each state. It shows what happens
// through a CSequencerView and sends through a CModuleWriter; it holds no
// widget. The class is split across files by concern:
//   Sequencer.cpp          the module as a whole, timers, report flags
//   SequencerSteps.cpp     the steps (RunStep)
//   SequencerAnswers.cpp   data-port lines (HandleDataLine)
//   SequencerPad.cpp       power, yes, no, clr and the keys, by state
class CSequencer : public QObject
{
    Q_OBJECT
public:
    CSequencer(CSequencerView* pView, CModuleWriter* pWriter, QObject* pParent = nullptr);
    ~CSequencer() override;

    // --- the module as a whole ----------------------------------------------
    // Starts the module once its ports are open: powered on, or "AT", whose
    // answer starts the power-on.
    void Start(bool bPowerOn);
    // Starts it again after its ports came back: powered on when it was on
    // or bPowerOn says so.
    void Restart(bool bPowerOn);
    // Both power-off commands, the power-off delay between them, when the
    // module is on; for the panel's close (no step runs).
    void SwitchOffAtClose();
    // Selects the reports the module emits (the flags of the settings):
    // the displays are cleared and the panel returns to idle first.
    void SendTraceFlags();
    void ResetMobile();
    // The conversation as before the module's start: powered off, nothing
    // known, no timer running; the view is not told.
    void Reset();

    // --- steps and timers ---------------------------------------------------
    void RunStep(int nStep);
    void SetTimer(int nId, int nMs);
    void KillTimer(int nId);
    bool IsTimerActive(int nId) const;
    void StopTimers();
    // Nothing polls or rings into the module any more (probe, registration, ring).
    void StopPolling();

    // --- data-port lines ----------------------------------------------------
    // One line from the module, after its channel gave it and the log took it.
    void HandleDataLine(const QString& strLine);
    // No data-port command goes out while the phone book's entries come in
    // or a call is being set up.
    bool HoldsDataCommands() const;

    // --- the user's keys, as far as the state decides -----------------------
    void OnPower();
    // strNumber and strType: the entry field's and the call type's texts.
    void OnYes(const QString& strNumber, const QString& strType);
    void OnNo(const QString& strNumber);
    void OnClr();
    // A pad key: in a call a tone, sent here; true when it goes into the
    // entry field instead.
    bool OnKey(const char* pszKey);
    // The characters the entry field takes in this state; empty: any.
    QString NumberCharacters() const;
    // The text of the next message.
    void SetMessageText(const QString& strText) { m_strMessageText = strText; }

    // --- the events of a drive ----------------------------------------------
    // Takes power_on, registered, call_dialled, ... as the conversation sees
    // them; none without a sink.
    void SetEventSink(CEventSink* pEvents) { m_pEvents = pEvents; }

    // --- state ----------------------------------------------------------------
    int State() const { return m_nState; }
    bool IsPoweredOn() const { return m_bPoweredOn; }
    bool IsTraceReportsOn() const { return m_bTraceReportsOn; }
    // The status text of the idle state, as the operator query gave it.
    const QString& IdleStatus() const { return m_strIdleStatus; }

    // Timing values in milliseconds (tests may shorten them after construction).
    int m_nPowerOnWait = 1400;
    int m_nProbeInterval = 200;
    int m_nPowerOffDelay = 2000;
    int m_nFirstRegPoll = 3000;
    int m_nRegPollInterval = 1000;
    int m_nRingTimeout = 6000;
    int m_nIdlePause = 1000; // pause of the return to idle

protected:
    void timerEvent(QTimerEvent* e) override;

private:
    void OnTimer(int nId);
    void Event(int nEvent, const QString& strText = QString());
    int SendData(const char* pszCommand, const char* pszArgument = nullptr,
                 const char* pszSuffix = nullptr);
    int SendTrace(const char* pszCommand, const char* pszArgument = nullptr,
                  const char* pszSuffix = nullptr);

    // The steps, one function each (SequencerSteps.cpp); RunStep finds them
    // by step number.
    void StepPowerOffDone();
    void StepPowerOff();
    void PowerOnProbe();
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

    // What each state looks for in a data-port line (SequencerAnswers.cpp);
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

    // The tests set up states that the wire alone reaches only slowly.
    friend struct TestAccess;

    CSequencerView* m_pView;
    CModuleWriter* m_pWriter;
    CEventSink* m_pEvents = nullptr;
    // For the events: registered since the last power-on, and a call under
    // way (dialled, ringing or connected) since the last return to idle.
    bool m_bRegistered = false;
    bool m_bInCall = false;
    int m_nState = 0;
    int m_nCount = 0;
    bool m_bPoweredOn = false;
    bool m_bTraceReportsOn = false;
    QString m_strLastNumber;
    QString m_strIdleStatus;
    QString m_strMessageText;
    QString m_strTraceFlags;
    // The message text went out for the message being sent (reset by STEP_SENDING_MESSAGE).
    bool m_bMessageTextSent = false;
    QBasicTimer m_timers[TIMER_COUNT];

    // Renewals of the power-on command per attempt.
    static constexpr int kPowerOnTries = 5;
    // Power-on probe values kept from one power-on to the next, each
    // sequencer its own (a review's or a measurement's beside the live one).
    bool m_bSendPowerOn = true;
    int m_nPowerOnTries = kPowerOnTries;
};
