// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// One entry of a traffic log file as the panel writes it: a session
// recording ("2026-12-09T10:15:02.123 t<, Idle_Mode_Rpt ...") or a log
// saved from the log list ("t<, Idle_Mode_Rpt ...").
struct SLogEntry
{
    qint64 nTime = -1;  // local time in ms since the epoch; -1 in a saved log
    int nChannel = 0;   // LOG_DATA or LOG_TRACE
    bool bSent = false; // true: sent to the module ("D>, ", "t>, ")
    QByteArray text;    // the line after its four-character prefix
};

// Reads a session recording or a saved log entry by entry, from the start
// or again after Rewind(). Lines that are no log entry are skipped and
// counted; nothing is held in memory beyond the current line.
class CSessionLog
{
public:
    enum
    {
        SL_OK = 0,
        SL_OPEN_FAILED = 1
    };

    // Splits one line (without its line end) into an entry; false when the
    // line is no log entry.
    static bool ParseLine(const QByteArray& line, SLogEntry* pEntry);

    // Opens the file; on failure the error text says why.
    int Open(const QString& strPath, QString* pError = nullptr);
    // The next entry; false at the end of the file.
    bool Next(SLogEntry* pEntry);
    void Rewind();

    int Lines() const { return m_nLines; }     // lines read since the last Rewind
    int Skipped() const { return m_nSkipped; } // of those, lines that were no entry

private:
    QFile m_file;
    int m_nLines = 0;
    int m_nSkipped = 0;
};
