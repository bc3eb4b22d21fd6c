// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Report kinds: 0 .. 33 index the name table; two more kinds stand alone.
enum
{
    REPORT_SET_FLAGS = 0,
    REPORT_IDLE_MODE = 1,
    REPORT_DEDICATED = 2,
    REPORT_PATH_LOSS = 3,
    REPORT_C2 = 4,
    REPORT_L1_UPLINK = 5,
    REPORT_L1_DOWNLINK = 6,
    REPORT_L3_UPLINK = 7,
    REPORT_L3_DOWNLINK = 8,
    REPORT_BCCH = 9,
    REPORT_SACCH = 10,
    REPORT_PAGE = 12,
    REPORT_SYNCH = 13,
    REPORT_CHAN_REQ = 14,
    REPORT_AGCH = 15,
    REPORT_IDLE_CHANNEL = 16,
    REPORT_DEDICATED_CHAN = 17,
    REPORT_CHAN_COUNT = 18,
    REPORT_CELL_ID = 19,
    REPORT_FULL_IDLE_DESC = 20,
    REPORT_NONC = 21,
    REPORT_COMB = 22,
    REPORT_MAX_RETRANS = 23,
    REPORT_MIN_ACCESS = 24,
    REPORT_FLAGS = 25,
    REPORT_CBCH = 26,
    REPORT_FULL_IDLE = 27,
    REPORT_FULL_DED = 28,
    REPORT_RF_SCAN = 32,
    REPORT_NCELL = 33,
    REPORT_NAMES = 34,
    REPORT_SCAN_DATA = 35,
    REPORT_NONE = 36
};

// The name that starts a report line of the kind (0 .. REPORT_NAMES - 1),
// blanks included: "Idle_Mode_Rpt", "Cell ID     ", ...
const char* ReportName(int nKind);
