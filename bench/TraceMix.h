// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A realistic mix of trace report lines: serving cell and neighbours in
// idle and dedicated mode, cell identity and a System Information block.
inline const char* const kTraceMix[] = {
    "Idle_Mode_Rpt 62 40 84 27 47 50 8 99 71 15 10 46 19 20 7 30 37 121 22 63",
    "Full Idle Report 62 41 0 12 3 1",
    "NCell 1 84 27 12 11 47 20",
    "NCell 2 50 8 10 9 99 15",
    "Cell ID     CI 2206 LAC 4425 MNC 01 MCC 262",
    "Bcch_Report 21 12 34 1B 22 06 62 F2 10 44 25 48 02 0A 17 65 48 79 00 00 2C 0B 2B 2B",
    "Dedicated_Rpt 12 6 34 0 33 1 84 27 47 50 10 39 71 15 10 46 18 20 7 29 37 121 24 63 0",
    "Full Ded Report 12 6 34 0 33 1 1",
};
inline constexpr int kTraceMixSize = sizeof kTraceMix / sizeof kTraceMix[0];
