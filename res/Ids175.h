// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control ids of the BCCH System Info dialog (template 175).
enum
{
    IDC_TREE_TYPES = 1143,
    IDC_EDIT_TEXT = 1153
};
