// Template 103: the channel scan.
#include "platform/DlgTemplate.h"

namespace {
using K = CtlKind;
constexpr unsigned RANGE = CS_NUMBER | CS_RIGHT;
} // namespace

const DlgTemplate& Template103()
{
    static const DlgTemplate t{
        103,
        "Channel Scan",
        421,
        261,
        "MS Sans Serif",
        8,
        false,
        {
            {-1, K::GroupBox, "Channels to Scan: from .. to", 3, 3, 414, 27, 0, nullptr},
            {1050, K::Edit, "", 9, 12, 18, 12, RANGE, "Range 1 from"},
            {1043, K::Edit, "", 31, 12, 18, 12, RANGE, "Range 1 to"},
            {1052, K::Edit, "", 62, 12, 18, 12, RANGE, "Range 2 from"},
            {1139, K::Edit, "", 82, 12, 18, 12, RANGE, "Range 2 to"},
            {1054, K::Edit, "", 111, 12, 18, 12, RANGE, "Range 3 from"},
            {1141, K::Edit, "", 133, 12, 18, 12, RANGE, "Range 3 to"},
            {1062, K::Edit, "", 162, 12, 18, 12, RANGE, "Range 4 from"},
            {1060, K::Edit, "", 184, 12, 18, 12, RANGE, "Range 4 to"},
            {1065, K::Edit, "", 215, 12, 18, 12, RANGE, "Range 5 from"},
            {1061, K::Edit, "", 235, 12, 18, 12, RANGE, "Range 5 to"},
            {1146, K::PushButton, "Delete", 267, 12, 27, 14, 0, nullptr},
            {1151, K::PushButton, "All", 303, 12, 27, 14, 0, nullptr},
            {1150, K::PushButton, "Select", 366, 12, 44, 14, CS_DEFAULT, nullptr},
            {1032, K::GroupBox, "", 3, 33, 414, 201, 0, "Channel levels"},
            {2, K::PushButton, "Cancel", 6, 240, 50, 14, 0, nullptr},
            {1, K::PushButton, "Go", 69, 240, 50, 14, CS_DISABLED, nullptr},
            {-1, K::Label, "Channel:", 201, 243, 30, 8, 0, nullptr},
            {1057, K::PushButton, "<", 237, 240, 18, 12, CS_DISABLED, "Previous channel"},
            {1048, K::Edit, "", 259, 240, 18, 12, CS_READONLY | CS_CENTER, "Channel"},
            {1058, K::PushButton, ">", 279, 240, 18, 12, CS_DISABLED, "Next channel"},
            {-1, K::Label, "Level:", 336, 243, 24, 8, 0, nullptr},
            {1040, K::Edit, "", 363, 240, 51, 12, CS_READONLY | CS_CENTER, "Level"},
        }};
    return t;
}
