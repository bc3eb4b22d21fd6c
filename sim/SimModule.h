// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "sim/SimCore.h"
#include "sim/SimOptions.h"
#include "sim/SimReplay.h"

class QObject;
class QThread;
class CSimDrive;
class CSimNmeaFeed;
class CSimPty;
class CThreadAnchor;

// The simulated test mobile on two pseudo-terminals, running in its own
// thread so that it keeps answering while the caller's thread blocks.
// Every public function may be called from any thread except the module's.
class CSimModule
{
public:
    explicit CSimModule(const CSimOptions& opt = CSimOptions());
    ~CSimModule();
    CSimModule(const CSimModule&) = delete;
    CSimModule& operator=(const CSimModule&) = delete;

    // Options take effect at the next Start.
    void SetOptions(const CSimOptions& opt);
    const CSimOptions& Options() const { return m_opt; }

    // Where the progress lines of a replay go (called in the module's
    // thread); takes effect at the next Start.
    void SetReplayProgress(CSimReplay::Progress progress) { m_replayProgress = progress; }

    // Opens both pseudo-terminals and starts the thread; false if a
    // pseudo-terminal could not be opened, the replay file or the route not
    // read, or the NMEA address not resolved.
    bool Start();
    void Stop();
    bool IsRunning() const { return m_pThread != nullptr; }

    // Slave paths for the panel: the data port (AT commands) and the trace port.
    QString DataPath() const { return m_strDataPath; }
    QString TracePath() const { return m_strTracePath; }

    // live events
    bool RingFrom(const QString& strNumber); // empty: anonymous caller
    void HangUp();
    bool MoveServing(int nArfcn);
    void SetLevels(int nServing, const QList<int>& neighbours = {});
    CSimStatus Status() const;
    // Runs f on the replay in the module's thread; false when nothing is replayed.
    bool WithReplay(const std::function<void(CSimReplay&)>& f);

    // What arrived: command lines of the data port, commands recognised on
    // the trace port, and the raw trace characters. The records keep the
    // latest entries only.
    QStringList ReceivedData() const;
    QStringList ReceivedTraceCommands() const;
    QByteArray ReceivedTrace() const;
    void ClearReceived();
    // Waits until a data line or trace command equal to the text has been
    // received; false after the time-out.
    bool WaitForData(const QString& strLine, int nTimeoutMs) const;
    bool WaitForTraceCommand(const QString& strCommand, int nTimeoutMs) const;

    static constexpr int MAX_RECORDED_LINES = 2000;
    static constexpr int MAX_RECORDED_TRACE = 64 * 1024;

private:
    template <typename F> void RunInThread(F f) const;
    bool StartReplay();
    bool StartDrive();
    void OnRecord(int nPort, const QByteArray& item);
    void OnTraceBytes(const QByteArray& bytes);
    bool WaitForEntry(const std::deque<QString>& list, const QString& str, int nTimeoutMs) const;

    CSimOptions m_opt;
    std::unique_ptr<QThread> m_pThread;
    std::unique_ptr<CThreadAnchor> m_pAnchor; // lives in the module's thread
    std::unique_ptr<CSimCore> m_pCore;
    std::unique_ptr<CSimReplay> m_pReplay;
    CSimReplay::Progress m_replayProgress;
    std::unique_ptr<CSimDrive> m_pDrive;
    std::unique_ptr<CSimNmeaFeed> m_pNmea;
    std::unique_ptr<CSimPty> m_pData;
    std::unique_ptr<CSimPty> m_pTrace;
    QString m_strDataPath;
    QString m_strTracePath;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::deque<QString> m_dataLines;
    std::deque<QString> m_traceCommands;
    QByteArray m_traceChars;
};
