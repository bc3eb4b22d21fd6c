// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control ids of the data content dialog (template 161).
enum
{
    IDC_CONTENT = 1034
};
