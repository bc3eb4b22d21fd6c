// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>

#include "session/SessionLog.h"
#include "sim/SimOptions.h"

class QTimer;

// Plays the lines the panel once received from the module, read from a
// session recording or a saved log: the trace lines, and with bData the
// unsolicited data-port lines, in the order of the file. A recording keeps
// its gaps (scaled by the speed), a saved log plays at a fixed rate. Lines
// go out only while the module emits reports; in between, and while paused,
// nothing runs. Lives in the thread that uses it.
class CSimReplay : public QObject
{
    Q_OBJECT
public:
    // Sends one line on a port (0 data, 1 trace).
    using Output = std::function<void(int nPort, const QByteArray& line)>;
    // Bytes written to a port that its reader has not taken yet.
    using Backlog = std::function<qint64(int nPort)>;
    using Progress = std::function<void(const QString& strText)>;

    explicit CSimReplay(const CSimReplayOptions& opt, QObject* pParent = nullptr);
    ~CSimReplay() override;

    // Opens the file and counts its lines; false with the reason when it
    // cannot be read or holds nothing to play.
    bool Open(QString* pError);
    void SetOutput(Output out, Backlog backlog);
    void SetProgress(Progress progress) { m_progress = std::move(progress); }

    // The module emits reports now (or no longer): play (or hold).
    void SetReportsOn(bool bOn);
    void Pause();
    void Resume();
    // Goes on with the nth line to play (1 .. Total()); false when out of range.
    bool Seek(int n);

    int Played() const { return m_nPlayed; }
    int Total() const { return m_nTotal; }
    int Skipped() const { return m_nSkipped; }
    bool IsPaused() const { return m_bPaused; }
    bool IsAtEnd() const { return !m_bPending; }
    // What Open found, as a line for the user.
    QString Summary() const;
    // "12 of 300 lines": how many have been played, for progress lines.
    QString Position() const;
    // "line 13 of 300": the line that plays next, numbered as Seek numbers
    // it; "the end" once every line has been played.
    QString NextLine() const;

    // Received data-port lines that come without a command.
    static bool IsUnsolicited(const QByteArray& line);

private:
    bool IsPlayable(const SLogEntry& e) const;
    bool Fetch();
    qint64 GapMs(const SLogEntry& prev, const SLogEntry& next) const;
    void Arm();
    void OnTimer();
    void PlayDue();
    void AtEnd();
    void Report(const QString& strText);

    CSimReplayOptions m_opt;
    CSessionLog m_log;
    Output m_out;
    Backlog m_backlog;
    Progress m_progress;
    QTimer* m_pTimer;
    QElapsedTimer m_clock;

    int m_nTotal = 0;
    int m_nSkipped = 0;
    bool m_bTimed = false; // the file has times: a session recording
    int m_nPlayed = 0;
    SLogEntry m_pending; // the next line to play
    bool m_bPending = false;
    SLogEntry m_last;    // the line played last in this round
    qint64 m_nDueMs = 0; // when the pending line is due, on m_clock
    bool m_bReportsOn = false;
    bool m_bPaused = false;
    bool m_bStarted = false;
    qint64 m_nLastProgressMs = 0;
};
