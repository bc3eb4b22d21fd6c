// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "session/SessionLog.h"

class CTessolyDlg;

// The review of a recorded session on the panel: the file's lines in memory,
// and the panel moved to any moment of it. A line's road is the live one
// after its channel: trace lines through the panel's presentation, data-port
// answers through the conversation, the panel's own writes only where they
// stood for a key the user pressed. Moving forward presents the lines up to
// the new time; moving back starts the panel again and presents from the
// start. Either way the form is held in memory and written once at the end,
// so a move costs the parser's work per line, not the form's.
class CSessionReview : public QObject
{
    Q_OBJECT
public:
    enum
    {
        SR_OK = 0,
        SR_OPEN_FAILED = 1,
        SR_NOTHING = 2 // no line of either port
    };
    // Speeds of play; SPEED_FASTEST: as fast as the panel takes the lines.
    enum
    {
        SPEED_FASTEST = 0
    };

    explicit CSessionReview(CTessolyDlg* pPanel, QObject* pParent = nullptr);
    ~CSessionReview() override;

    // Reads the file and puts the panel in review at the start of it; on
    // failure the panel is left alone and the error text says why.
    int Open(const QString& strPath, QString* pError = nullptr);
    // Leaves review: the panel is started again and taken out of review.
    void Close();
    bool IsOpen() const { return !m_entries.empty(); }
    const QString& Path() const { return m_strPath; }

    // Times in ms since the epoch: the first and last line, and the panel's moment.
    qint64 Begin() const { return m_nBegin; }
    qint64 End() const { return m_nEnd; }
    qint64 Position() const { return m_nPosition; }
    int Lines() const { return static_cast<int>(m_entries.size()); }

    // Shows the panel as at nTime (clamped to the file).
    void Seek(qint64 nTime);

    // Plays from the current moment at nSpeed times the recorded pace (1 .. 16)
    // or SPEED_FASTEST, until Pause or the end.
    void Play(int nSpeed);
    void Pause();
    bool IsPlaying() const { return m_timer.isActive(); }
    int Speed() const { return m_nSpeed; }

signals:
    void PositionChanged(qint64 nTime);
    void PlayingChanged(bool bPlaying);

private:
    // Presents the lines up to nTime, the form held; starts again first when nTime is earlier.
    void PresentUpTo(qint64 nTime);
    void PresentEntry(const SLogEntry& e);
    void OnPlayTimer();
    void ScheduleNext();

    CTessolyDlg* m_pPanel;
    QString m_strPath;
    std::vector<SLogEntry> m_entries;
    size_t m_nNext = 0; // the first line not presented
    qint64 m_nBegin = 0;
    qint64 m_nEnd = 0;
    qint64 m_nPosition = 0;
    QTimer m_timer;
    QElapsedTimer m_playClock;
    qint64 m_nPlayFrom = 0; // the moment play started at
    int m_nSpeed = 1;
};
