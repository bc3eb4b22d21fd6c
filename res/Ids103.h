// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control ids of the channel scan (template 103), named by the template and
// the dialog alike.
enum
{
    IDC_SCAN_FROM1 = 1050,
    IDC_SCAN_TO1 = 1043,
    IDC_SCAN_FROM2 = 1052,
    IDC_SCAN_TO2 = 1139,
    IDC_SCAN_FROM3 = 1054,
    IDC_SCAN_TO3 = 1141,
    IDC_SCAN_FROM4 = 1062,
    IDC_SCAN_TO4 = 1060,
    IDC_SCAN_FROM5 = 1065,
    IDC_SCAN_TO5 = 1061,
    IDC_SCAN_GRAPH = 1032,
    IDC_SCAN_DELETE = 1146,
    IDC_SCAN_ALL = 1151,
    IDC_SCAN_SELECT = 1150,
    IDC_SCAN_PREV = 1057,
    IDC_SCAN_NEXT = 1058,
    IDC_SCAN_CHANNEL = 1048,
    IDC_SCAN_LEVEL = 1040
};

// The range fields in screen order: from and to of range 1, then of range 2 ...
inline constexpr int g_anScanRangeIds[10] = {
    IDC_SCAN_FROM1, IDC_SCAN_TO1,   IDC_SCAN_FROM2, IDC_SCAN_TO2,   IDC_SCAN_FROM3,
    IDC_SCAN_TO3,   IDC_SCAN_FROM4, IDC_SCAN_TO4,   IDC_SCAN_FROM5, IDC_SCAN_TO5};
