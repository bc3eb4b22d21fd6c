// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control ids of the number library dialog (template 162).
enum
{
    IDC_NUMBERS = 1041
};
