// SPDX-License-Identifier: GPL-3.0-or-later
// Template 102: the front panel.
#include "platform/DlgTemplate.h"
#include "res/Ids102.h"
#include "res/TemplateIds.h"

namespace {
using K = CtlKind;
constexpr unsigned RO = CS_READONLY;

DlgTemplate Make()
{
    DlgTemplate t{IDD_PANEL, "", 419, 270, "MS Sans Serif", 8, true, {}};
    auto& c = t.controls;
    // Phone Pad
    c.push_back({IDC_PHONEPAD, K::GroupBox, "Phone Pad", 3, 0, 116, 156, 0, nullptr});
    c.push_back({IDC_CALLTYPE, K::ComboDropDown, "Voice|SMS|Data", 9, 9, 66, 50, 0, "Call type"});
    c.push_back({IDC_POWER, K::PushButton, "on", 93, 9, 21, 15, 0, "Power"});
    c.push_back({IDC_STATUS, K::Edit, "", 9, 30, 105, 12, RO, "Status"});
    c.push_back({IDC_NUMBER, K::Edit, "", 9, 45, 105, 12, CS_DISABLED, "Number"});
    c.push_back({IDC_YES, K::PushButton, "yes", 9, 63, 21, 15, 0, nullptr});
    c.push_back({IDC_NO, K::PushButton, "no", 33, 63, 21, 15, 0, nullptr});
    c.push_back({IDC_CLR, K::PushButton, "clr", 57, 63, 21, 15, 0, nullptr});
    c.push_back({IDC_LIBRARY, K::ImageButton, "PPLibrary", 93, 63, 21, 15, 0, "Number library"});
    static const char* const keys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int i = 0; i < 9; ++i)
        c.push_back({IDC_KEY1 + i, K::PushButton, keys[i], 9 + 24 * (i % 3), 81 + 18 * (i / 3), 21,
                     15, 0, nullptr});
    c.push_back({IDC_DATACONTENT, K::ImageButton, "PPData", 93, 87, 21, 15, 0, "Data content"});
    c.push_back(
        {IDC_SPEAKERUP, K::ImageButton, "PPSpeakerUp", 93, 111, 21, 15, 0, "Speaker louder"});
    c.push_back({IDC_KEYSTAR, K::PushButton, "*/+", 9, 135, 21, 15, 0, nullptr});
    c.push_back({IDC_KEY0, K::PushButton, "0", 33, 135, 21, 15, 0, nullptr});
    c.push_back({IDC_KEYHASH, K::PushButton, "#", 57, 135, 21, 15, 0, nullptr});
    c.push_back(
        {IDC_SPEAKERDOWN, K::ImageButton, "PPSpeakerDown", 93, 135, 21, 15, 0, "Speaker quieter"});

    // Mobile Station
    c.push_back({IDC_MOBILESTATION, K::GroupBox, "Mobile Station", 3, 160, 116, 47, 0, nullptr});
    c.push_back({IDC_STATIC, K::Picture, "BITMAP140", 8, 172, 14, 14, 0, "Mobile Station"});
    c.push_back({IDC_STATIC, K::Label, "IMEI", 25, 174, 18, 8, 0, nullptr});
    c.push_back({IDC_IMEI, K::Edit, "", 44, 172, 70, 12, RO, "IMEI"});
    c.push_back({IDC_STATIC, K::Label, "IMSI", 25, 190, 18, 8, 0, nullptr});
    c.push_back({IDC_IMSI, K::Edit, "", 44, 188, 70, 12, RO, "IMSI"});

    // Base Station
    c.push_back({IDC_STATIC, K::GroupBox, "Base Station", 123, 0, 294, 39, 0, nullptr});
    c.push_back({IDC_STATIC, K::Picture, "BITMAP138", 128, 10, 20, 24, 0, "Base Station"});
    struct Field
    {
        int id;
        const char* label;
        int col, row;
    };
    static const Field bs[] = {{IDC_MCC, "MCC", 0, 0},      {IDC_MNC, "MNC", 1, 0},
                               {IDC_LAC, "LAC", 2, 0},      {IDC_CI, "CI", 3, 0},
                               {IDC_BCCH, "BCCH", 0, 1},    {IDC_BSIC, "BSIC", 1, 1},
                               {IDC_MINRX, "min RX", 2, 1}, {IDC_DIFFRX, "diff RX", 3, 1}};
    for (const Field& f : bs) {
        const int x = 152 + 65 * f.col;
        const int y = 9 + 15 * f.row;
        c.push_back({IDC_STATIC, K::Label, f.label, x, y + 2, 28, 8, 0, nullptr});
        c.push_back({f.id, K::Edit, "", x + 29, y, 34, 12, RO, f.label});
    }

    // Air Interface
    c.push_back({IDC_AIRINTERFACE, K::GroupBox, "Air Interface", 124, 40, 293, 167, 0, nullptr});
    c.push_back({IDC_STATIC, K::Picture, "BITMAP139", 132, 52, 21, 28, 0, "Air Interface"});
    struct Meter
    {
        int edit, bar;
        const char* label;
    };
    static const Meter meters[] = {{IDC_RXLEV, IDC_RXLEV_BAR, "RX Lev"},
                                   {IDC_RXQUAL, IDC_RXQUAL_BAR, "RX Qual"},
                                   {IDC_TIMINGADV, IDC_TIMINGADV_BAR, "Timing Advance"},
                                   {IDC_OUTPOWER, IDC_OUTPOWER_BAR, "Output Power"}};
    for (int i = 0; i < 4; ++i) {
        const int y = 50 + 13 * i;
        c.push_back({IDC_STATIC, K::Label, meters[i].label, 162, y + 2, 56, 8, 0, nullptr});
        c.push_back({meters[i].edit, K::Edit, "", 220, y, 64, 12, RO, meters[i].label});
        c.push_back({meters[i].bar, K::Progress, "", 288, y + 2, 122, 8, 0, meters[i].label});
    }
    c.push_back({IDC_LOCATIONUPDATE, K::ImageButton, "AILOCATIONUPDATE", 132, 87, 21, 15, 0,
                 "Location update"});
    c.push_back({IDC_BSLOCK, K::CheckBox, "BS Lock", 130, 115, 48, 12, CS_LEFTTEXT, nullptr});
    c.push_back({IDC_BSLOCK_CHANNEL, K::Edit, "", 186, 114, 30, 12, CS_NUMBER, "BS Lock channel"});
    c.push_back({IDC_STATIC, K::Label, "Time Slot", 130, 133, 40, 8, 0, nullptr});
    c.push_back({IDC_TIMESLOT, K::Edit, "", 172, 131, 46, 12, RO, "Time Slot"});
    c.push_back({IDC_STATIC, K::Label, "Traffic Channels", 130, 148, 80, 8, 0, nullptr});
    c.push_back(
        {IDC_TRAFFICCHANNELS, K::ListBox, "", 130, 158, 88, 46, CS_VSCROLL, "Traffic Channels"});

    // Neighboring Cells
    c.push_back({IDC_STATIC, K::GroupBox, "Neighboring Cells", 225, 108, 192, 98, 0, nullptr});
    c.push_back({IDC_STATIC, K::Label, "BCCH", 247, 118, 30, 8, 0, nullptr});
    c.push_back({IDC_STATIC, K::Label, "BSIC", 281, 118, 22, 8, 0, nullptr});
    c.push_back({IDC_STATIC, K::Label, "RX Lev", 307, 118, 56, 8, 0, nullptr});
    static const char* const names[6][5] = {
        {"Neighbour 1 BCCH", "Neighbour 1 BSIC", "Neighbour 1 RX Lev", "Neighbour 1 RX Lev bar",
         "Neighbour 1 go"},
        {"Neighbour 2 BCCH", "Neighbour 2 BSIC", "Neighbour 2 RX Lev", "Neighbour 2 RX Lev bar",
         "Neighbour 2 go"},
        {"Neighbour 3 BCCH", "Neighbour 3 BSIC", "Neighbour 3 RX Lev", "Neighbour 3 RX Lev bar",
         "Neighbour 3 go"},
        {"Neighbour 4 BCCH", "Neighbour 4 BSIC", "Neighbour 4 RX Lev", "Neighbour 4 RX Lev bar",
         "Neighbour 4 go"},
        {"Neighbour 5 BCCH", "Neighbour 5 BSIC", "Neighbour 5 RX Lev", "Neighbour 5 RX Lev bar",
         "Neighbour 5 go"},
        {"Neighbour 6 BCCH", "Neighbour 6 BSIC", "Neighbour 6 RX Lev", "Neighbour 6 RX Lev bar",
         "Neighbour 6 go"}};
    for (int r = 0; r < 6; ++r) {
        const int y = 128 + 12 * r;
        c.push_back({g_anNeighbourIds[r][4], K::PushButton, "go", 231, y, 12, 9, 0, names[r][4]});
        c.push_back({g_anNeighbourIds[r][0], K::Edit, "", 247, y - 1, 30, 11, RO, names[r][0]});
        c.push_back({g_anNeighbourIds[r][1], K::Edit, "", 281, y - 1, 22, 11, RO, names[r][1]});
        c.push_back({g_anNeighbourIds[r][2], K::Edit, "", 307, y - 1, 56, 11, RO, names[r][2]});
        c.push_back({g_anNeighbourIds[r][3], K::Progress, "", 367, y + 1, 44, 7, 0, names[r][3]});
    }

    // The traffic log below the groups, and the hidden list that collects
    // lines while the log is frozen.
    c.push_back({IDC_LOG, K::ListView, "", 3, 210, 414, 57, CS_VSCROLL, "Traffic log"});
    c.push_back(
        {IDC_LOG_FROZEN, K::ListView, "", 3, 210, 414, 57, CS_HIDDEN, "Frozen traffic log"});
    return t;
}
} // namespace

const DlgTemplate& Template102()
{
    static const DlgTemplate t = Make();
    return t;
}
