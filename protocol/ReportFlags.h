// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The bits of the module's report-flag word ("*W"): one bit, or one choice
// within a group of bits, per kind of report.
enum : unsigned
{
    RF_IDLE_STANDARD = 0x1,
    RF_IDLE_FULL = 0x20000,
    RF_DED_STANDARD = 0x2,
    RF_DED_FER = 0x4,
    RF_DED_FULL = 0x40000,
    RF_SACCH_STANDARD = 0x100,
    RF_SACCH_COMPLETE = 0x200,
    RF_CHAN_REQ_STANDARD = 0x2000,
    RF_CHAN_REQ_REST = 0x400000,
    RF_BCCH_STANDARD = 0x80,
    RF_BCCH_REST = 0x800000, // BCCH reports carry their rest octets
    RF_PAGING_STANDARD = 0x800,
    RF_PAGING_REST = 0x1000000,
    RF_PATH_LOSS = 0x8,
    RF_C2 = 0x10,
    RF_LAYER1 = 0x20,
    RF_LAYER3 = 0x40,
    RF_MEASUREMENT = 0x400,
    RF_SYNCH = 0x1000,
    RF_IDLE_CHAN_DESC = 0x4000,
    RF_DED_CHAN_DESC = 0x8000,
    RF_FULL_IDLE_CHAN_DESC = 0x10000,
    RF_BA = 0x80000,
    RF_CA = 0x100000,
    RF_SERVICE_STATE = 0x200000,

    RF_ANY_BCCH = RF_BCCH_STANDARD | RF_BCCH_REST,
    RF_ALL = 0x1FFFFFF,
    RF_DEFAULT =
        RF_IDLE_FULL | RF_DED_FULL | RF_BCCH_REST | RF_FULL_IDLE_CHAN_DESC | RF_DED_CHAN_DESC,
    // what "*1*2*I+J+E" selects: the standard idle and dedicated reports,
    // BCCH and the channel descriptions
    RF_DEFAULT_REPORTS =
        RF_IDLE_STANDARD | RF_DED_STANDARD | RF_BCCH_STANDARD | RF_IDLE_CHAN_DESC | RF_DED_CHAN_DESC
};
