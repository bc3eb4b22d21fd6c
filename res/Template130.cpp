// SPDX-License-Identifier: GPL-3.0-or-later
// Template 130: the report flags.
#include "platform/DlgTemplate.h"
#include "res/Ids130.h"
#include "res/TemplateIds.h"

namespace {
using K = CtlKind;

DlgTemplate Make()
{
    DlgTemplate t{IDD_REPORT_FLAGS, "Report Flags", 340, 254, "MS Sans Serif", 8, false, {}};
    auto& c = t.controls;
    c.push_back({IDC_STATIC, K::Frame, "", 3, 3, 333, 225, 0, nullptr});
    struct Box
    {
        int id;
        const char* caption;
        int y;
    };
    static const Box left[] = {
        {IDC_RF_FULL_IDLE_CHAN_DESC, "Full Idle Channel Description", 15},
        {IDC_RF_IDLE_CHAN_DESC, "Idle Channel Description on change", 30},
        {IDC_RF_DED_CHAN_DESC, "Dedicated Channel Description on change", 45},
        {IDC_RF_LAYER1, "Layer 1 Messages", 60},
        {IDC_RF_LAYER3, "Layer 3 Messages", 75},
        {IDC_RF_C2, "C2", 90},
        {IDC_RF_SYNCH, "Synch", 105},
        {IDC_RF_MEASUREMENT, "Measurement", 120},
        {IDC_RF_BA, "BA", 135},
        {IDC_RF_CA, "CA", 150},
        {IDC_RF_PATH_LOSS, "Path Loss", 165},
        {IDC_RF_SERVICE_STATE, "Service State on change", 180}};
    for (const Box& b : left)
        c.push_back({b.id, K::CheckBox, b.caption, 12, b.y, 150, 10, 0, nullptr});
    c.push_back({IDC_RF_DEFAULT, K::PushButton, "Default", 12, 207, 27, 14, 0, nullptr});
    c.push_back({IDC_RF_ALL, K::PushButton, "All", 48, 207, 27, 14, 0, nullptr});
    c.push_back({IDC_RF_LAST, K::PushButton, "Last", 84, 207, 27, 14, 0, nullptr});
    c.push_back({IDC_RF_RESET, K::PushButton, "Reset", 120, 207, 27, 14, 0, nullptr});

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
         IDC_RF_IDLE,
         178,
         {{IDC_RF_IDLE_STANDARD, "Standard", "Idle Mode Standard"},
          {IDC_RF_IDLE_FULL, "Full", "Idle Mode Full"},
          {0, nullptr, nullptr}}},
        {"Dedicated Mode",
         48,
         IDC_RF_DED,
         178,
         {{IDC_RF_DED_STANDARD, "Standard", "Dedicated Mode Standard"},
          {IDC_RF_DED_FER, "With FER", "Dedicated Mode With FER"},
          {IDC_RF_DED_FULL, "Full", "Dedicated Mode Full"}}},
        {"SACCH",
         84,
         IDC_RF_SACCH,
         177,
         {{IDC_RF_SACCH_STANDARD, "standard", "SACCH standard"},
          {IDC_RF_SACCH_COMPLETE, "complete", "SACCH complete"},
          {0, nullptr, nullptr}}},
        {"Channel Request / immediate Assignment",
         120,
         IDC_RF_CHAN_REQ,
         178,
         {{IDC_RF_CHAN_REQ_STANDARD, "standard", "Channel Request standard"},
          {IDC_RF_CHAN_REQ_REST, "Rest Octets", "Channel Request Rest Octets"},
          {0, nullptr, nullptr}}},
        {"BCCH",
         156,
         IDC_RF_BCCH,
         178,
         {{IDC_RF_BCCH_STANDARD, "Standard", "BCCH Standard"},
          {IDC_RF_BCCH_REST, "Rest Octets", "BCCH Rest Octets"},
          {0, nullptr, nullptr}}},
        {"Paging",
         192,
         IDC_RF_PAGING,
         178,
         {{IDC_RF_PAGING_STANDARD, "standard", "Paging standard"},
          {IDC_RF_PAGING_REST, "Rest Octets", "Paging Rest Octets"},
          {0, nullptr, nullptr}}},
    };
    for (const Group& g : groups) {
        c.push_back({IDC_STATIC, K::GroupBox, g.caption, 168, g.y, 162, 30, 0, nullptr});
        c.push_back({g.check, K::CheckBox, "", g.checkX, g.y + 13, 10, 10, 0, g.caption});
        static const int xs[3] = {202, 252, 300};
        for (int i = 0; i < 3 && g.alts[i].id; ++i)
            c.push_back({g.alts[i].id, K::Radio, g.alts[i].caption, xs[i], g.y + 13,
                         i == 2 ? 28 : 48, 10, i == 0 ? CS_GROUP : CS_NONE, g.alts[i].acc});
    }
    c.push_back({IDOK, K::PushButton, "OK", 219, 237, 50, 14, CS_DEFAULT, nullptr});
    c.push_back({IDCANCEL, K::PushButton, "Cancel", 285, 237, 50, 14, 0, nullptr});
    return t;
}
} // namespace

const DlgTemplate& Template130()
{
    static const DlgTemplate t = Make();
    return t;
}
