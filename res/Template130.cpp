// Template 130: the report flags.
#include "platform/DlgTemplate.h"

namespace {
using K = CtlKind;

DlgTemplate Make()
{
    DlgTemplate t{130, "Report Flags", 340, 254, "MS Sans Serif", 8, false, {}};
    auto& c = t.controls;
    c.push_back({-1, K::Frame, "", 3, 3, 333, 225, 0, nullptr});
    struct Box
    {
        int id;
        const char* caption;
        int y;
    };
    static const Box left[] = {{1138, "Full Idle Channel Description", 15},
                               {1135, "Idle Channel Description on change", 30},
                               {1137, "Dedicated Channel Description on change", 45},
                               {1111, "Layer 1 Messages", 60},
                               {1113, "Layer 3 Messages", 75},
                               {1112, "C2", 90},
                               {1127, "Synch", 105},
                               {1128, "Measurement", 120},
                               {1133, "BA", 135},
                               {1134, "CA", 150},
                               {1110, "Path Loss", 165},
                               {1136, "Service State on change", 180}};
    for (const Box& b : left)
        c.push_back({b.id, K::CheckBox, b.caption, 12, b.y, 150, 10, 0, nullptr});
    c.push_back({1147, K::PushButton, "Default", 12, 207, 27, 14, 0, nullptr});
    c.push_back({1148, K::PushButton, "All", 48, 207, 27, 14, 0, nullptr});
    c.push_back({1149, K::PushButton, "Last", 84, 207, 27, 14, 0, nullptr});
    c.push_back({1150, K::PushButton, "Reset", 120, 207, 27, 14, 0, nullptr});

    struct Alt
    {
        int id;
        const char* caption;
        const char* acc;
    };
    struct Group
    {
        const char* caption;
        int y;
        int check;
        int checkX;
        Alt alts[3]; // in screen order: the default first
    };
    static const Group groups[] = {
        {"Idle Mode",
         12,
         1129,
         178,
         {{1130, "Standard", "Idle Mode Standard"},
          {1131, "Full", "Idle Mode Full"},
          {0, nullptr, nullptr}}},
        {"Dedicated Mode",
         48,
         1108,
         178,
         {{1109, "Standard", "Dedicated Mode Standard"},
          {1118, "With FER", "Dedicated Mode With FER"},
          {1132, "Full", "Dedicated Mode Full"}}},
        {"SACCH",
         84,
         1114,
         177,
         {{1119, "standard", "SACCH standard"},
          {1115, "complete", "SACCH complete"},
          {0, nullptr, nullptr}}},
        {"Channel Request / immediate Assignment",
         120,
         1116,
         178,
         {{1120, "standard", "Channel Request standard"},
          {1117, "Rest Octets", "Channel Request Rest Octets"},
          {0, nullptr, nullptr}}},
        {"BCCH",
         156,
         1121,
         178,
         {{1123, "Standard", "BCCH Standard"},
          {1122, "Rest Octets", "BCCH Rest Octets"},
          {0, nullptr, nullptr}}},
        {"Paging",
         192,
         1124,
         178,
         {{1126, "standard", "Paging standard"},
          {1125, "Rest Octets", "Paging Rest Octets"},
          {0, nullptr, nullptr}}},
    };
    for (const Group& g : groups) {
        c.push_back({-1, K::GroupBox, g.caption, 168, g.y, 162, 30, 0, nullptr});
        c.push_back({g.check, K::CheckBox, "", g.checkX, g.y + 13, 10, 10, 0, g.caption});
        static const int xs[3] = {202, 252, 300};
        for (int i = 0; i < 3 && g.alts[i].id; ++i)
            c.push_back({g.alts[i].id, K::Radio, g.alts[i].caption, xs[i], g.y + 13,
                         i == 2 ? 28 : 48, 10, i == 0 ? CS_GROUP : CS_NONE, g.alts[i].acc});
    }
    c.push_back({1, K::PushButton, "OK", 219, 237, 50, 14, CS_DEFAULT, nullptr});
    c.push_back({2, K::PushButton, "Cancel", 285, 237, 50, 14, 0, nullptr});
    return t;
}
} // namespace

const DlgTemplate& Template130()
{
    static const DlgTemplate t = Make();
    return t;
}
