// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/SessionMeasure.h"

#include <QFileInfo>

#include "conversation/ModuleWriter.h"
#include "conversation/RecordedKeys.h"
#include "conversation/Sequencer.h"
#include "conversation/SequencerView.h"
#include "measure/Measurer.h"
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

CSessionMeasure::CSessionMeasure(QObject* parent) : QObject(parent)
{
    Build();
}

CSessionMeasure::~CSessionMeasure() = default;

void CSessionMeasure::Build()
{
    m_pKeys.reset();
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
    m_pKeys = std::make_unique<CRecordedKeys>(m_pSequencer.get(), m_pView.get());
    m_nEntries = 0;
    m_entry = SLogEntry();
    m_time = QDateTime();
    m_nSavedTime =
        m_strPath.isEmpty() ? 0 : QFileInfo(m_strPath).lastModified().toMSecsSinceEpoch();
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
    // A ring time-out that ran out before this entry, at its own moment.
    const qint64 nDue = m_pKeys->DueBy(m_time.toMSecsSinceEpoch());
    if (nDue >= 0) {
        const QDateTime now = m_time;
        m_time = QDateTime::fromMSecsSinceEpoch(nDue, Qt::OffsetFromUTC, now.offsetFromUtc());
        m_pKeys->RunRingTimeout();
        m_time = now;
    }
    if (m_entry.nChannel == LOG_GPS) {
        SGpsFix fix;
        if (!m_entry.bSent && CSessionLog::ParseFix(m_entry.text, &fix)) {
            m_pMeasurer->SetFix(fix);
            emit FixReady(fix);
        }
    } else if (m_entry.bSent) {
        m_pKeys->FollowSent(m_entry.nChannel == LOG_TRACE, m_entry.text,
                            m_time.toMSecsSinceEpoch());
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
    m_pKeys->Settle(m_time.toMSecsSinceEpoch());
}
