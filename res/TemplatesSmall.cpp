// SPDX-License-Identifier: GPL-3.0-or-later
// Templates 100 (About), 161 (data content), 162 (number library) and
// 175 (BCCH System Info).
#include "platform/DlgTemplate.h"
#include "res/Ids161.h"
#include "res/Ids162.h"
#include "res/Ids175.h"
#include "res/TemplateIds.h"

namespace {
using K = CtlKind;
}

const DlgTemplate& Template100()
{
    static const DlgTemplate t{
        IDD_ABOUT,
        "About Tarn",
        235,
        55,
        "MS Sans Serif",
        8,
        false,
        {
            {IDC_STATIC, K::Picture, "APPICON", 9, 9, 21, 20, 0, "Tessoly"},
            {IDC_STATIC, K::Label, "Front Panel SW Version 3.0.0.0", 40, 10, 119, 8, 0, nullptr},
            {IDC_STATIC, K::Label, "Front panel for the Tarn GSM test mobile", 40, 25, 135, 8, 0,
             nullptr},
            {IDOK, K::PushButton, "OK", 178, 7, 50, 14, CS_DEFAULT, nullptr},
        }};
    return t;
}

const DlgTemplate& Template161()
{
    static const DlgTemplate t{
        IDD_DATA_CONTENT,
        "Corvane Tarn Data Content Dialog",
        229,
        71,
        "MS Sans Serif",
        8,
        false,
        {
            {IDOK, K::PushButton, "OK", 174, 6, 50, 14, CS_DEFAULT, nullptr},
            {IDCANCEL, K::PushButton, "Cancel", 174, 23, 50, 14, 0, nullptr},
            {IDC_STATIC, K::Label, "Enter the content to be send via SMS or Data call", 6, 9, 162,
             8, 0, nullptr},
            {IDC_CONTENT, K::Edit, "", 6, 48, 216, 12, 0, "Content"},
        }};
    return t;
}

const DlgTemplate& Template162()
{
    static const DlgTemplate t{
        IDD_LIBRARY,
        "Corvane Tarn Number Library Dialog",
        IDD_BCCH_SYSINFO,
        167,
        "MS Sans Serif",
        8,
        false,
        {
            {IDC_NUMBERS, K::ListBox, "", 6, 6, 162, 111, CS_VSCROLL, "Numbers"},
            {IDC_STATIC, K::Label, "Select the number to dial", 6, 129, 90, 12, 0, nullptr},
            {IDOK, K::PushButton, "OK", 117, 126, 50, 14, CS_DEFAULT, nullptr},
            {IDCANCEL, K::PushButton, "Cancel", 117, 144, 50, 14, 0, nullptr},
        }};
    return t;
}

const DlgTemplate& Template175()
{
    static const DlgTemplate t{
        175,
        "BCCH System Info",
        420,
        254,
        "MS Sans Serif",
        8,
        false,
        {
            {IDC_TREE_TYPES, K::TreeView, "", 3, 6, 126, 219,
             CS_HASBUTTONS | CS_HASLINES | CS_LINESATROOT, "System Information types"},
            {IDC_EDIT_TEXT, K::Edit, "", 132, 6, 285, 219,
             CS_READONLY | CS_MULTILINE | CS_WANTRETURN, "Decoded element"},
            {IDOK, K::PushButton, "OK", 366, 234, 50, 14, CS_DEFAULT, nullptr},
        },
        DS_MINIMIZEBOX};
    return t;
}
