// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Playing a recorded session or a saved log in place of the radio model's
// reports.
struct CSimReplayOptions
{
    QString strFile;     // empty: no replay
    bool bData = false;  // also the unsolicited lines received on the data port
    double dSpeed = 1.0; // recorded gaps are divided by this; 0: as fast as the line takes
    int nRate = 20;      // lines a second of a log without times
    bool bLoop = false;  // start again at the end
};

// Driving along a route past simulated cells, the positions sent as NMEA
// sentences over UDP (to a gpsd reading a udp:// source).
struct CSimDriveOptions
{
    static constexpr int DEFAULT_NMEA_PORT = 10110; // the port registered for NMEA 0183 over UDP
    bool bOn = false;
    QString strRouteFile; // GPX; empty: the built-in loop
    double dSpeedKmh = 50;
    QString strNmeaHost = QStringLiteral("127.0.0.1");
    int nNmeaPort = DEFAULT_NMEA_PORT;
    int nStepMs = 1000; // one step of the drive and one position
};

// Scenario and timing of the simulated test mobile. Timings are in
// milliseconds; tests shorten them.
struct CSimOptions
{
    // SIM card
    QString strPin; // empty: no PIN asked
    QString strPuk = QStringLiteral("12345678");
    bool bPukRequired = false; // the SIM is blocked and wants its PUK
    bool bNoSim = false;       // no SIM inserted
    // network
    bool bNoCoverage = false; // never registers, no cells received
    bool bRoaming = false;    // registers in a visited network (status 5)
    bool bNoOperator = false; // "+COPS: 0" without a name
    int nRegPolls = 2;        // "+CREG: 0,2" answers before registration
    // calls and messages
    QStringList listBusyNumbers; // numbers that answer BUSY
    bool bSmsFail = false;       // every SMS ends in "+CMS ERROR:"
    int nRingAfterMs = -1;       // incoming call this long after registration; -1 none
    QString strCaller;           // caller of that call; empty: anonymous
    int nRingIntervalMs = 3000;  // time between two RING lines
    int nMaxRings = 5;           // the caller gives up after this many rings
    int nCallSetupMs = 1000;     // from dialling to connect or busy
    bool bHopping = false;       // traffic channels and CBCH hop
    // identity
    QString strPhonebookFile; // "number,name" per line; empty: built-in entries
    bool bImsiPlain = false;  // IMSI alone on its line instead of "+CIMI: <imsi>"
    QString strImei;          // AT+CGSN's answer; empty: the built-in one
    // radio and timing
    unsigned nSeed = 1;
    int nReportIntervalMs = 1000; // one idle or dedicated cycle
    int nBootMs = 1000;           // from "**O" to the first answer on the data port
    CSimReplayOptions replay;
    CSimDriveOptions drive;
};
