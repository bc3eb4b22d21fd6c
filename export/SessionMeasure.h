// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "gps/GpsFix.h"
#include "measure/MeasureEvent.h"
#include "measure/Sample.h"
#include "session/SessionLog.h"

class CMeasurer;
class CRecordedKeys;
class CSequencer;
class CTraceReport;

// A session recording or a saved log run through the same measurement layer
// as the live panel: trace lines through a report record and a CMeasurer,
// positions to the measurer, the module's data-port lines through a
// sequencer that shows nothing and sends nothing (its events reach the
// measurer as live). The measurer's clock is the entry's recorded time;
// a saved log's entries are taken one second apart from the file's
// modification time on.
//
// The lines the panel sent stand for the keys and timers that sent them
// (power, dial, answer, hang up, a message, the power-off); the ring
// time-out, which sends nothing, runs on the recorded clock. It opens no
// port, writes nothing and never waits: each Step reads one entry.
class CSessionMeasure : public QObject
{
    Q_OBJECT
public:
    enum
    {
        SM_OK = 0,
        SM_OPEN_FAILED = 1
    };

    explicit CSessionMeasure(QObject* parent = nullptr);
    ~CSessionMeasure() override;

    // Opens the file and starts from nothing; on failure the error says why.
    int Open(const QString& strPath, QString* pError = nullptr);
    // Reads and follows the next entry; false at the end of the file.
    bool Step();
    // Follows every entry to the end.
    void Run();
    // Back to the start of the file, with nothing measured.
    void Rewind();

    // The entry last read and its time (with the offset it was recorded with).
    const SLogEntry& Entry() const { return m_entry; }
    QDateTime Time() const { return m_time; }
    int Entries() const { return m_nEntries; }      // entries read since the start
    int Lines() const { return m_log.Lines(); }     // lines read since the start
    int Skipped() const { return m_log.Skipped(); } // of those, lines that were no entry

    // The IMEI the module gave (AT+CGSN) in the entries read so far; empty before.
    QString Imei() const;

    const CTraceReport& TraceReport() const { return *m_pReport; }
    const CMeasurer& Measurer() const { return *m_pMeasurer; }

    // Called after each trace line the module sent, once the record took it
    // and the measurer followed it: the record and the kind ParseLine gave.
    void SetTraceHook(std::function<void(const CTraceReport&, int nReport)> hook)
    {
        m_traceHook = std::move(hook);
    }

    // Lines of a saved log carry no time: they are taken this far apart.
    static const int SAVED_LOG_STEP_MS = 1000;

signals:
    void SampleReady(const SSample& sample);
    void EventReady(const SMeasureEvent& event);
    void FixReady(const SGpsFix& fix);

private:
    class CSilentView;
    class CNoWriter;

    void Build();
    void FollowTrace(const SLogEntry& entry);
    void FollowData(const SLogEntry& entry);

    QString m_strPath;
    CSessionLog m_log;
    SLogEntry m_entry;
    QDateTime m_time;
    qint64 m_nSavedTime = 0; // the next saved-log entry's time
    int m_nEntries = 0;

    std::unique_ptr<CTraceReport> m_pReport;
    std::unique_ptr<CMeasurer> m_pMeasurer;
    std::unique_ptr<CSilentView> m_pView;
    std::unique_ptr<CNoWriter> m_pWriter;
    std::unique_ptr<CSequencer> m_pSequencer;
    std::unique_ptr<CRecordedKeys> m_pKeys;
    std::function<void(const CTraceReport&, int)> m_traceHook;
};
