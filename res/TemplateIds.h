// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The numbers of the dialog templates (res/), one per dialog.
enum
{
    IDD_ABOUT = 100,
    IDD_PANEL = 102,
    IDD_SCAN = 103,
    IDD_REPORT_FLAGS = 130,
    IDD_DATA_CONTENT = 161,
    IDD_LIBRARY = 162,
    IDD_BCCH_SYSINFO = 175
};
