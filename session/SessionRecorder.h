// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "serial/LogObserver.h"

class QDateTime;
struct SGpsFix;

// Records every line that crosses either port into a session file, one
// line per log entry: the local time with milliseconds and its UTC offset
// ("2026-12-09T10:15:02.123+01:00"), a blank, the entry as the log makes it
// (prefix and text, never cut), CR LF. Text is 8-bit as the log keeps it.
//
// Lines are collected on the user-interface thread; a writer thread puts
// them into the file at most kFlushMs after they were recorded and forces
// them to the disk, so a crash loses at most that much. It only wakes while
// lines wait. A file that cannot be opened or written stops the recording:
// Stopped reports it once, with the file error code and the reason.
class CSessionRecorder : public QObject, public CLogObserver
{
    Q_OBJECT
public:
    explicit CSessionRecorder(QObject* parent = nullptr);
    ~CSessionRecorder() override; // writes what waits and closes the file

    // Starts recording into the folder (created when missing). The file is
    // named by the time of the first start in this run; starting again
    // later in the same folder appends to it. False (after Stopped) when it cannot be opened.
    bool Start(const QString& strFolder);
    // Starts recording at the end of this file.
    bool StartFile(const QString& strPath);
    // Writes what waits and closes the file.
    void Stop();
    bool IsRecording() const { return m_bRecording; }
    QString FilePath() const { return m_strPath; }

    // Appends one entry per line of the text (CR or LF ends a line).
    void Record(const char* pszPrefix, const QString& strText) override;
    // Appends a position from gpsd as a line of its own kind (CSessionLog).
    void RecordFix(const SGpsFix& fix);

    // "tessoly-YYYYMMDD-HHMMSS.session"; a number is added for the second and later
    // files of the same second.
    static QString FileNameFor(const QDateTime& start, int nNumber = 1);

    // Longest time a recorded line waits before it is written.
    static constexpr int kFlushMs = 500;
    // Lines waiting beyond this many bytes are written at once...
    static constexpr int kHighWater = 64 * 1024;
    // ...and beyond this many the disk does not keep up: recording stops.
    static constexpr int kMaxPending = 8 * 1024 * 1024;

signals:
    void Stopped(int nCode, const QString& strReason);

private:
    bool Open(QIODevice::OpenMode mode);
    bool StartWriter();
    void WriterLoop();
    bool WriteOut(const QByteArray& chunk);
    const QByteArray& Stamp();
    // Marks the recording as failed (any thread); the user-interface thread
    // then stops it and reports once. Call with m_mutex held.
    void FailLocked(int nCode, const QString& strReason);
    void OnFailed();

    QFile m_file;
    QString m_strPath;
    bool m_bRecording = false;

    // Time stamps: never earlier than the one before; built once per second,
    // then only the milliseconds change.
    qint64 m_nLastMs = 0;
    qint64 m_nStampSecond = -1;
    QByteArray m_stamp;

    std::thread m_writer;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    QByteArray m_pending; // lines recorded and not yet written
    bool m_bQuit = false;
    bool m_bFailed = false;
    int m_nFailCode = 0;
    QString m_strFailReason;
};
