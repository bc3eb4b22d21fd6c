// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/SessionMeasure.h"

#include <QFileInfo>

#include "conversation/ModuleWriter.h"
#include "conversation/Sequencer.h"
#include "conversation/SequencerView.h"
#include "measure/Measurer.h"
#include "protocol/AtCommands.h"
#include "protocol/TraceCommands.h"
#include "trace/TraceReport.h"

// The sequencer's view: shows nothing, asks nothing, waits for nothing; it
// empties the record and the measurer as the panel's view does.
class CSessionMeasure::CSilentView : public CSequencerView
{
public:
    CSilentView(CTraceReport* pReport, CMeasurer* pMeasurer)
        : m_pReport(pReport), m_pMeasurer(pMeasurer)
    {
    }
    void ShowStatus(const QString&) override {}
    void RepaintStatus() override {}
    void SetPowerButton(const QString&) override {}
    // The IMEI of the recorded answer; a power-on's blank keeps it.
    void ShowImei(const QString& strImei) override
    {
        if (!strImei.trimmed().isEmpty())
            m_strImei = strImei.trimmed();
    }
    void ShowImsi(const QString&) override {}
    void ShowRegistration(const QString&) override {}
    void ShowNumber(const QString&) override {}
    void ShowCaller(const QString&) override {}
    void EnableNumber(bool) override {}
    void FocusNumber() override {}
    void ResetCallType() override {}
    void ClearServingCell() override { m_pMeasurer->ResetServingCell(); }
    void ClearBsLock() override {}
    void ClearMeters() override { m_pMeasurer->ResetMeters(); }
    void EnableCallMeters() override {}
    void DisableCallMeters() override {}
    void ClearReport(int nReport) override { m_pReport->ClearReport(nReport); }
    void ClearLibrary() override {}
    void AddLibraryEntry(int, const QString&, const QString&) override {}
    void WaitCursor() override {}
    void ArrowCursor() override {}
    void Beep() override {}
    void Pause(int) override {}
    bool Confirm(const QString&) override { return true; }
    bool ReportError(int, int, bool, const char*, int) override { return true; }
    bool IsResetOnStart() const override { return false; }
    QString TraceFlags() const override { return QString(); }

    const QString& Imei() const { return m_strImei; }

private:
    CTraceReport* m_pReport;
    CMeasurer* m_pMeasurer;
    QString m_strImei;
};

// The sequencer's writer: the recording holds what was sent.
class CSessionMeasure::CNoWriter : public CModuleWriter
{
public:
    int SendData(const char*, const char*, const char*) override { return 0; }
    int SendTrace(const char*, const char*, const char*) override { return 0; }
    int DataPortNumber() const override { return 0; }
};

namespace {
bool IsCallState(int nState)
{
    return nState == STEP_RINGING || nState == STEP_CALLER_ID || nState == STEP_ESTABLISH_CALL ||
           nState == STEP_IN_CALL || nState == STEP_BUSY;
}

bool IsRinging(int nState)
{
    return nState == STEP_RINGING || nState == STEP_CALLER_ID;
}

// The text after a command's head, without the line end and the quote or
// semicolon that close it.
QString Argument(const QByteArray& text, const char* pszHead)
{
    QByteArray a = text.mid(qstrlen(pszHead));
    while (!a.isEmpty() && (a.endsWith('\r') || a.endsWith('"') || a.endsWith(AT_DIAL_VOICE)))
        a.chop(1);
    return QString::fromLatin1(a);
}
} // namespace

CSessionMeasure::CSessionMeasure(QObject* parent) : QObject(parent)
{
    Build();
}

CSessionMeasure::~CSessionMeasure() = default;

void CSessionMeasure::Build()
{
    m_pSequencer.reset();
    m_pReport = std::make_unique<CTraceReport>();
    m_pMeasurer = std::make_unique<CMeasurer>();
    m_pMeasurer->SetClock([this] { return m_time; });
    connect(m_pMeasurer.get(), &CMeasurer::SampleReady, this, &CSessionMeasure::SampleReady);
    connect(m_pMeasurer.get(), &CMeasurer::EventReady, this, &CSessionMeasure::EventReady);
    m_pView = std::make_unique<CSilentView>(m_pReport.get(), m_pMeasurer.get());
    m_pWriter = std::make_unique<CNoWriter>();
    m_pSequencer = std::make_unique<CSequencer>(m_pView.get(), m_pWriter.get());
    m_pSequencer->SetEventSink(m_pMeasurer.get());
    m_nRingDeadline = -1;
    m_nEntries = 0;
    m_entry = SLogEntry();
    m_time = QDateTime();
    m_nSavedTime = m_strPath.isEmpty() ? 0 : QFileInfo(m_strPath).lastModified().toMSecsSinceEpoch();
}

int CSessionMeasure::Open(const QString& strPath, QString* pError)
{
    m_strPath = strPath;
    m_log.ReadFixes(true);
    const int nResult = m_log.Open(strPath, pError);
    Build();
    return nResult == CSessionLog::SL_OK ? SM_OK : SM_OPEN_FAILED;
}

QString CSessionMeasure::Imei() const
{
    return m_pView->Imei();
}

void CSessionMeasure::Rewind()
{
    m_log.Rewind();
    Build();
}

void CSessionMeasure::Run()
{
    while (Step()) {
    }
}

bool CSessionMeasure::Step()
{
    SLogEntry entry;
    if (!m_log.Next(&entry))
        return false;
    ++m_nEntries;
    if (entry.nTime >= 0) {
        m_time = CSessionLog::EntryTime(entry);
    } else {
        m_time = QDateTime::fromMSecsSinceEpoch(m_nSavedTime);
        m_nSavedTime += SAVED_LOG_STEP_MS;
    }
    m_entry = std::move(entry);
    // A ring time-out that ran out before this entry.
    if (m_nRingDeadline >= 0 && m_time.toMSecsSinceEpoch() >= m_nRingDeadline)
        RingTimeout();
    if (m_entry.nChannel == LOG_GPS) {
        SGpsFix fix;
        if (!m_entry.bSent && CSessionLog::ParseFix(m_entry.text, &fix)) {
            m_pMeasurer->SetFix(fix);
            emit FixReady(fix);
        }
    } else if (m_entry.bSent) {
        FollowSent(m_entry);
    } else if (m_entry.nChannel == LOG_TRACE) {
        FollowTrace(m_entry);
    } else {
        FollowData(m_entry);
    }
    return true;
}

void CSessionMeasure::FollowTrace(const SLogEntry& entry)
{
    QString line = QString::fromLatin1(entry.text); // the parser may shorten its copy
    const int nReport = m_pReport->ParseLine(line);
    m_pMeasurer->Follow(*m_pReport, nReport);
    if (m_traceHook)
        m_traceHook(*m_pReport, nReport);
    // The panel shows a Dedicated_Chan line once and forgets its fields.
    if (nReport == REPORT_DEDICATED_CHAN)
        m_pReport->ClearReport(REPORT_DEDICATED_CHAN);
}

void CSessionMeasure::FollowData(const SLogEntry& entry)
{
    m_pSequencer->HandleDataLine(QString::fromLatin1(entry.text));
    AfterSequencer();
}

// What the panel sent tells what the user or a timer did.
void CSessionMeasure::FollowSent(const SLogEntry& entry)
{
    CSequencer& s = *m_pSequencer;
    const QByteArray& t = entry.text;
    const int nState = s.State();
    if (entry.nChannel == LOG_TRACE) {
        if (t.startsWith(TRACE_POWER_ON)) {
            if (!s.IsPoweredOn() && nState != STEP_POWER_ON_PROBE)
                s.OnPower();
        } else if (t == TRACE_POWER_OFF_PREPARE) {
            if (s.IsPoweredOn() && nState != STEP_POWER_OFF)
                s.RunStep(STEP_POWER_OFF);
        } else if (t.startsWith(TRACE_POWER_OFF)) {
            if (s.IsPoweredOn())
                s.RunStep(STEP_POWER_OFF_DONE);
        } else if (t.startsWith(TRACE_DIAL)) {
            if (nState == STEP_IDLE)
                s.OnYes(Argument(t, TRACE_DIAL), QStringLiteral("Voice"));
        } else if (t.startsWith(TRACE_ANSWER)) {
            if (IsRinging(nState))
                s.OnYes(QString(), QString());
        }
    } else {
        if (t.startsWith(AT_SEND_MESSAGE_TO.sz)) {
            if (nState == STEP_IDLE)
                s.OnYes(Argument(t, AT_SEND_MESSAGE_TO.sz), QStringLiteral("SMS"));
        } else if (t.startsWith(AT_HANG_UP.sz)) {
            if (IsCallState(nState))
                s.OnNo(QString());
        } else if (t.startsWith(AT_DIAL.sz)) {
            if (nState == STEP_IDLE)
                s.OnYes(Argument(t, AT_DIAL.sz), QStringLiteral("Data"));
        } else if (t.startsWith(AT_READ_REGISTRATION.sz)) {
            // The registration poll's timer.
            if (s.IsPoweredOn() && nState != STEP_SEARCHING && nState != STEP_READ_IMSI)
                s.RunStep(STEP_SEARCHING);
        }
    }
    AfterSequencer();
}

// No timer of the sequencer runs on the wall clock: the ring time-out, set
// by the step that just ran, runs on the recorded one.
void CSessionMeasure::AfterSequencer()
{
    if (m_pSequencer->IsTimerActive(TIMER_RING))
        m_nRingDeadline = m_time.toMSecsSinceEpoch() + m_pSequencer->m_nRingTimeout;
    else if (!IsRinging(m_pSequencer->State()))
        m_nRingDeadline = -1;
    m_pSequencer->StopTimers();
}

void CSessionMeasure::RingTimeout()
{
    const qint64 nDeadline = m_nRingDeadline;
    m_nRingDeadline = -1;
    if (!IsRinging(m_pSequencer->State()))
        return;
    const QDateTime now = m_time;
    m_time = QDateTime::fromMSecsSinceEpoch(nDeadline, Qt::OffsetFromUTC, now.offsetFromUtc());
    m_pSequencer->RunStep(STEP_IDLE);
    m_pSequencer->StopTimers();
    m_time = now;
}
