// SPDX-License-Identifier: GPL-3.0-or-later
// Template 103: the channel scan.
#include "platform/DlgTemplate.h"
#include "res/Ids103.h"
#include "res/TemplateIds.h"

namespace {
using K = CtlKind;
constexpr unsigned RANGE = CS_NUMBER | CS_RIGHT;
} // namespace

const DlgTemplate& Template103()
{
    static const DlgTemplate t{
        IDD_SCAN,
        "Channel Scan",
        421,
        261,
        "MS Sans Serif",
        8,
        false,
        {
            {IDC_STATIC, K::GroupBox, "Channels to Scan: from .. to", 3, 3, 414, 27, 0, nullptr},
            {IDC_SCAN_FROM1, K::Edit, "", 9, 12, 18, 12, RANGE, "Range 1 from"},
            {IDC_SCAN_TO1, K::Edit, "", 31, 12, 18, 12, RANGE, "Range 1 to"},
            {IDC_SCAN_FROM2, K::Edit, "", 62, 12, 18, 12, RANGE, "Range 2 from"},
            {IDC_SCAN_TO2, K::Edit, "", 82, 12, 18, 12, RANGE, "Range 2 to"},
            {IDC_SCAN_FROM3, K::Edit, "", 111, 12, 18, 12, RANGE, "Range 3 from"},
            {IDC_SCAN_TO3, K::Edit, "", 133, 12, 18, 12, RANGE, "Range 3 to"},
            {IDC_SCAN_FROM4, K::Edit, "", 162, 12, 18, 12, RANGE, "Range 4 from"},
            {IDC_SCAN_TO4, K::Edit, "", 184, 12, 18, 12, RANGE, "Range 4 to"},
            {IDC_SCAN_FROM5, K::Edit, "", 215, 12, 18, 12, RANGE, "Range 5 from"},
            {IDC_SCAN_TO5, K::Edit, "", 235, 12, 18, 12, RANGE, "Range 5 to"},
            {IDC_SCAN_DELETE, K::PushButton, "Delete", 267, 12, 27, 14, 0, nullptr},
            {IDC_SCAN_ALL, K::PushButton, "All", 303, 12, 27, 14, 0, nullptr},
            {IDC_SCAN_SELECT, K::PushButton, "Select", 366, 12, 44, 14, CS_DEFAULT, nullptr},
            {IDC_SCAN_GRAPH, K::GroupBox, "", 3, 33, 414, 201, 0, "Channel levels"},
            {IDCANCEL, K::PushButton, "Cancel", 6, 240, 50, 14, 0, nullptr},
            {IDOK, K::PushButton, "Go", 69, 240, 50, 14, CS_DISABLED, nullptr},
            {IDC_STATIC, K::Label, "Channel:", 201, 243, 30, 8, 0, nullptr},
            {IDC_SCAN_PREV, K::PushButton, "<", 237, 240, 18, 12, CS_DISABLED, "Previous channel"},
            {IDC_SCAN_CHANNEL, K::Edit, "", 259, 240, 18, 12, CS_READONLY | CS_CENTER, "Channel"},
            {IDC_SCAN_NEXT, K::PushButton, ">", 279, 240, 18, 12, CS_DISABLED, "Next channel"},
            {IDC_STATIC, K::Label, "Level:", 336, 243, 24, 8, 0, nullptr},
            {IDC_SCAN_LEVEL, K::Edit, "", 363, 240, 51, 12, CS_READONLY | CS_CENTER, "Level"},
        }};
    return t;
}
