// Templates 100 (About), 161 (data content), 162 (number library) and
// 175 (BCCH System Info).
#include "platform/DlgTemplate.h"

namespace {
using K = CtlKind;
}

const DlgTemplate& Template100()
{
    static const DlgTemplate t{
        100,
        "About Tarn",
        235,
        55,
        "MS Sans Serif",
        8,
        false,
        {
            {-1, K::Picture, "APPICON", 9, 9, 21, 20, 0, "Tessoly"},
            {-1, K::Label, "Front Panel SW Version 3.0.0.0", 40, 10, 119, 8, 0, nullptr},
            {-1, K::Label, "Front panel for the Tarn GSM test mobile", 40, 25, 135, 8, 0, nullptr},
            {1, K::PushButton, "OK", 178, 7, 50, 14, CS_DEFAULT, nullptr},
        }};
    return t;
}

const DlgTemplate& Template161()
{
    static const DlgTemplate t{
        161,
        "Corvane Tarn Data Content Dialog",
        229,
        71,
        "MS Sans Serif",
        8,
        false,
        {
            {1, K::PushButton, "OK", 174, 6, 50, 14, CS_DEFAULT, nullptr},
            {2, K::PushButton, "Cancel", 174, 23, 50, 14, 0, nullptr},
            {-1, K::Label, "Enter the content to be send via SMS or Data call", 6, 9, 162, 8, 0,
             nullptr},
            {1034, K::Edit, "", 6, 48, 216, 12, 0, "Content"},
        }};
    return t;
}

const DlgTemplate& Template162()
{
    static const DlgTemplate t{
        162,
        "Corvane Tarn Number Library Dialog",
        175,
        167,
        "MS Sans Serif",
        8,
        false,
        {
            {1041, K::ListBox, "", 6, 6, 162, 111, CS_VSCROLL, "Numbers"},
            {-1, K::Label, "Select the number to dial", 6, 129, 90, 12, 0, nullptr},
            {1, K::PushButton, "OK", 117, 126, 50, 14, CS_DEFAULT, nullptr},
            {2, K::PushButton, "Cancel", 117, 144, 50, 14, 0, nullptr},
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
            {1143, K::TreeView, "", 3, 6, 126, 219, CS_HASBUTTONS | CS_HASLINES | CS_LINESATROOT,
             "System Information types"},
            {1153, K::Edit, "", 132, 6, 285, 219, CS_READONLY | CS_MULTILINE | CS_WANTRETURN,
             "Decoded element"},
            {1, K::PushButton, "OK", 366, 234, 50, 14, CS_DEFAULT, nullptr},
        },
        DS_MINIMIZEBOX};
    return t;
}
