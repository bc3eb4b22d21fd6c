// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control ids of the Report Flags dialog (template 130), named by the
// template and the dialog alike; each box is named after its report flag.
enum
{
    // The left column.
    IDC_RF_FULL_IDLE_CHAN_DESC = 1138,
    IDC_RF_IDLE_CHAN_DESC = 1135,
    IDC_RF_DED_CHAN_DESC = 1137,
    IDC_RF_LAYER1 = 1111,
    IDC_RF_LAYER3 = 1113,
    IDC_RF_C2 = 1112,
    IDC_RF_SYNCH = 1127,
    IDC_RF_MEASUREMENT = 1128,
    IDC_RF_BA = 1133,
    IDC_RF_CA = 1134,
    IDC_RF_PATH_LOSS = 1110,
    IDC_RF_SERVICE_STATE = 1136,

    // The presets.
    IDC_RF_DEFAULT = 1147,
    IDC_RF_ALL = 1148,
    IDC_RF_LAST = 1149,
    IDC_RF_RESET = 1150,

    // The groups: the switch, then the alternatives.
    IDC_RF_IDLE = 1129,
    IDC_RF_IDLE_STANDARD = 1130,
    IDC_RF_IDLE_FULL = 1131,
    IDC_RF_DED = 1108,
    IDC_RF_DED_STANDARD = 1109,
    IDC_RF_DED_FER = 1118,
    IDC_RF_DED_FULL = 1132,
    IDC_RF_SACCH = 1114,
    IDC_RF_SACCH_STANDARD = 1119,
    IDC_RF_SACCH_COMPLETE = 1115,
    IDC_RF_CHAN_REQ = 1116,
    IDC_RF_CHAN_REQ_STANDARD = 1120,
    IDC_RF_CHAN_REQ_REST = 1117,
    IDC_RF_BCCH = 1121,
    IDC_RF_BCCH_STANDARD = 1123,
    IDC_RF_BCCH_REST = 1122,
    IDC_RF_PAGING = 1124,
    IDC_RF_PAGING_STANDARD = 1126,
    IDC_RF_PAGING_REST = 1125
};
