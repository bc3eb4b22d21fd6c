// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include "serial/TrafficLog.h"

struct SGpsFix;

// A position from gpsd in a session recording, beside the lines of the two
// ports (LOG_DATA, LOG_TRACE); never in the traffic log.
enum
{
    LOG_GPS = LOG_TRACE + 1
};

// One entry of a traffic log file as the panel writes it: a session
// recording ("2026-12-09T10:15:02.123+01:00 t<, Idle_Mode_Rpt ...") or a
// log saved from the log list ("t<, Idle_Mode_Rpt ..."). Older recordings
// have no UTC offset in their stamps: their times are local times.
struct SLogEntry
{
    qint64 nTime = -1;  // ms since the epoch (UTC); -1 in a saved log
    int nOffsetS = 0;   // the stamp's UTC offset in seconds (the local one for an older stamp)
    int nChannel = 0;   // LOG_DATA, LOG_TRACE or LOG_GPS
    bool bSent = false; // true: sent to the module ("D>, ", "t>, ")
    QByteArray text;    // the line after its four-character prefix
};

// Reads a session recording or a saved log entry by entry, from the start
// or again after Rewind(). Lines that are no log entry are skipped and
// counted; nothing is held in memory beyond the current line. Positions
// (LOG_GPS) are passed over, not counted as skipped, unless the reader asks
// for them with ReadFixes(true).
//
// A position's line: the stamp, "G<, ", then seven fields separated by one
// blank, numbers with a point whatever the locale, "-" for a value gpsd did
// not give:
//   2026-12-09T10:15:02.123 G<, 2026-12-09T09:15:01.000Z 3D 52.5201200 13.4050000 74.30 36.0 12.5
// the receiver's time (UTC, ISO 8601 with milliseconds), the mode ("2D" or
// "3D"), latitude and longitude in degrees (north and east positive, 7
// decimals), altitude above the ellipsoid in metres (2 decimals), speed in
// km/h (1 decimal) and the horizontal error estimate in metres (1 decimal).
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

    // The time of an entry with the offset it was written with; invalid
    // for a saved log's entry.
    static QDateTime EntryTime(const SLogEntry& entry);
    // The stamp of an entry and the blank after it:
    // "2026-12-10T03:09:14.064+01:00 ".
    static QByteArray FormatStamp(qint64 nTime, int nOffsetS);

    // The prefix of a position's line.
    static constexpr const char* kGpsPrefix = "G<, ";
    // A position's text after the prefix, and back; ParseFix is false (and
    // leaves *pFix alone) for a text that is no position.
    static QByteArray FormatFix(const SGpsFix& fix);
    static bool ParseFix(const QByteArray& text, SGpsFix* pFix);

    // Whether Next returns positions (LOG_GPS); off by default.
    void ReadFixes(bool bOn) { m_bFixes = bOn; }

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
    bool m_bFixes = false;
};
