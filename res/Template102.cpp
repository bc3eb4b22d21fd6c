// Template 102: the front panel.
#include "platform/DlgTemplate.h"

namespace {
using K = CtlKind;
constexpr unsigned RO = CS_READONLY;

DlgTemplate Make()
{
    DlgTemplate t{102, "", 419, 270, "MS Sans Serif", 8, true, {}};
    auto& c = t.controls;
    // Phone Pad
    c.push_back({1017, K::GroupBox, "Phone Pad", 3, 0, 116, 156, 0, nullptr});
    c.push_back({1020, K::ComboDropDown, "Voice|SMS|Data", 9, 9, 66, 50, 0, "Call type"});
    c.push_back({1023, K::PushButton, "on", 93, 9, 21, 15, 0, "Power"});
    c.push_back({1021, K::Edit, "", 9, 30, 105, 12, RO, "Status"});
    c.push_back({1025, K::Edit, "", 9, 45, 105, 12, CS_DISABLED, "Number"});
    c.push_back({1018, K::PushButton, "yes", 9, 63, 21, 15, 0, nullptr});
    c.push_back({1001, K::PushButton, "no", 33, 63, 21, 15, 0, nullptr});
    c.push_back({1002, K::PushButton, "clr", 57, 63, 21, 15, 0, nullptr});
    c.push_back({1024, K::ImageButton, "PPLibrary", 93, 63, 21, 15, 0, "Number library"});
    static const char* const keys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int i = 0; i < 9; ++i)
        c.push_back({1003 + i, K::PushButton, keys[i], 9 + 24 * (i % 3), 81 + 18 * (i / 3), 21, 15,
                     0, nullptr});
    c.push_back({1000, K::ImageButton, "PPData", 93, 87, 21, 15, 0, "Data content"});
    c.push_back({1022, K::ImageButton, "PPSpeakerUp", 93, 111, 21, 15, 0, "Speaker louder"});
    c.push_back({1012, K::PushButton, "*/+", 9, 135, 21, 15, 0, nullptr});
    c.push_back({1013, K::PushButton, "0", 33, 135, 21, 15, 0, nullptr});
    c.push_back({1014, K::PushButton, "#", 57, 135, 21, 15, 0, nullptr});
    c.push_back({1028, K::ImageButton, "PPSpeakerDown", 93, 135, 21, 15, 0, "Speaker quieter"});

    // Mobile Station
    c.push_back({1031, K::GroupBox, "Mobile Station", 3, 160, 116, 47, 0, nullptr});
    c.push_back({-1, K::Picture, "BITMAP140", 8, 172, 14, 14, 0, "Mobile Station"});
    c.push_back({-1, K::Label, "IMEI", 25, 174, 18, 8, 0, nullptr});
    c.push_back({1015, K::Edit, "", 44, 172, 70, 12, RO, "IMEI"});
    c.push_back({-1, K::Label, "IMSI", 25, 190, 18, 8, 0, nullptr});
    c.push_back({1016, K::Edit, "", 44, 188, 70, 12, RO, "IMSI"});

    // Base Station
    c.push_back({-1, K::GroupBox, "Base Station", 123, 0, 294, 39, 0, nullptr});
    c.push_back({-1, K::Picture, "BITMAP138", 128, 10, 20, 24, 0, "Base Station"});
    struct Field
    {
        int id;
        const char* label;
        int col, row;
    };
    static const Field bs[] = {{1100, "MCC", 0, 0},    {1102, "MNC", 1, 0},    {1103, "LAC", 2, 0},
                               {1104, "CI", 3, 0},     {1101, "BCCH", 0, 1},   {1105, "BSIC", 1, 1},
                               {1106, "min RX", 2, 1}, {1107, "diff RX", 3, 1}};
    for (const Field& f : bs) {
        const int x = 152 + 65 * f.col;
        const int y = 9 + 15 * f.row;
        c.push_back({-1, K::Label, f.label, x, y + 2, 28, 8, 0, nullptr});
        c.push_back({f.id, K::Edit, "", x + 29, y, 34, 12, RO, f.label});
    }

    // Air Interface
    c.push_back({1033, K::GroupBox, "Air Interface", 124, 40, 293, 167, 0, nullptr});
    c.push_back({-1, K::Picture, "BITMAP139", 132, 52, 21, 28, 0, "Air Interface"});
    struct Meter
    {
        int edit, bar;
        const char* label;
    };
    static const Meter meters[] = {{1026, 1027, "RX Lev"},
                                   {1084, 1085, "RX Qual"},
                                   {1086, 1087, "Timing Advance"},
                                   {1088, 1089, "Output Power"}};
    for (int i = 0; i < 4; ++i) {
        const int y = 50 + 13 * i;
        c.push_back({-1, K::Label, meters[i].label, 162, y + 2, 56, 8, 0, nullptr});
        c.push_back({meters[i].edit, K::Edit, "", 220, y, 64, 12, RO, meters[i].label});
        c.push_back({meters[i].bar, K::Progress, "", 288, y + 2, 122, 8, 0, meters[i].label});
    }
    c.push_back({1029, K::ImageButton, "AILOCATIONUPDATE", 132, 87, 21, 15, 0, "Location update"});
    c.push_back({1036, K::CheckBox, "BS Lock", 130, 115, 48, 12, CS_LEFTTEXT, nullptr});
    c.push_back({1030, K::Edit, "", 186, 114, 30, 12, CS_NUMBER, "BS Lock channel"});
    c.push_back({-1, K::Label, "Time Slot", 130, 133, 40, 8, 0, nullptr});
    c.push_back({1092, K::Edit, "", 172, 131, 46, 12, RO, "Time Slot"});
    c.push_back({-1, K::Label, "Traffic Channels", 130, 148, 80, 8, 0, nullptr});
    c.push_back({1093, K::ListBox, "", 130, 158, 88, 46, CS_VSCROLL, "Traffic Channels"});

    // Neighboring Cells
    c.push_back({-1, K::GroupBox, "Neighboring Cells", 225, 108, 192, 98, 0, nullptr});
    c.push_back({-1, K::Label, "BCCH", 247, 118, 30, 8, 0, nullptr});
    c.push_back({-1, K::Label, "BSIC", 281, 118, 22, 8, 0, nullptr});
    c.push_back({-1, K::Label, "RX Lev", 307, 118, 56, 8, 0, nullptr});
    static const int rows[6][5] = {{1038, 1039, 1068, 1079, 1074}, {1042, 1044, 1069, 1051, 1075},
                                   {1047, 1049, 1070, 1080, 1076}, {1053, 1140, 1071, 1081, 1077},
                                   {1144, 1059, 1072, 1082, 1078}, {1145, 1064, 1073, 1083, 1063}};
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
        c.push_back({rows[r][4], K::PushButton, "go", 231, y, 12, 9, 0, names[r][4]});
        c.push_back({rows[r][0], K::Edit, "", 247, y - 1, 30, 11, RO, names[r][0]});
        c.push_back({rows[r][1], K::Edit, "", 281, y - 1, 22, 11, RO, names[r][1]});
        c.push_back({rows[r][2], K::Edit, "", 307, y - 1, 56, 11, RO, names[r][2]});
        c.push_back({rows[r][3], K::Progress, "", 367, y + 1, 44, 7, 0, names[r][3]});
    }

    // The traffic log below the groups, and the hidden list that collects
    // lines while the log is frozen.
    c.push_back({1035, K::ListBox, "", 3, 210, 414, 57, CS_VSCROLL, "Traffic log"});
    c.push_back({1037, K::ListBox, "", 3, 210, 414, 57, CS_HIDDEN, "Frozen traffic log"});
    return t;
}
} // namespace

const DlgTemplate& Template102()
{
    static const DlgTemplate t = Make();
    return t;
}
