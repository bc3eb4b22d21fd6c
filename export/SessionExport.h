// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The formats a session is exported to.
enum
{
    EXPORT_CSV = 0,
    EXPORT_KML,
    EXPORT_GPX,
    EXPORT_PCAP,
    EXPORT_FORMAT_COUNT
};

// What an export read and wrote.
struct SExportCounts
{
    int nLines = 0;   // lines read
    int nWritten = 0; // rows, placemarks, track points or messages written
    int nSkipped = 0; // lines that were no log entry
    const char* pszUnit = "";
};

// A session recording or a saved log exported to one format: its samples,
// events and positions from a CSessionMeasure, each row with the position
// of a CPositionTrack at its time; the System Information messages for
// pcap. OUT appears only when everything succeeded.
class CSessionExport
{
public:
    enum
    {
        EX_OK = 0,
        EX_READ_FAILED = 1,
        EX_NOT_A_LOG = 2,
        EX_WRITE_FAILED = 3
    };

    // "csv", "kml", "gpx", "pcap" (any case) to its format; -1 for others.
    static int FormatOfName(const QString& strName);
    // The format of a file's extension; -1 for others.
    static int FormatOfPath(const QString& strPath);
    static const char* FormatName(int nFormat);

    // On failure, pError says why in a sentence for the user.
    static int Run(const QString& strIn, const QString& strOut, int nFormat, SExportCounts* pCounts,
                   QString* pError);
};
