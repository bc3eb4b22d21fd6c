// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

// A dialog template as data: every control with its numeric id, kind,
// caption, style flags and rectangle in dialog units.

enum class CtlKind
{
    GroupBox,
    PushButton,
    ImageButton, // draws itself from images named after its caption + U/D/F
    Edit,
    ComboDropDown, // drop-down combo box with an edit field
    ListBox,
    ListView, // list box over a model that its owner gives it (long lists)
    Progress,
    CheckBox,
    Radio, // automatic radio button
    Label,
    Picture, // static picture (image named by the caption)
    TreeView,
    Frame, // unlabelled etched frame
};

// Dialog result codes and the ids of the standard buttons; IDC_STATIC for
// controls without an id.
enum
{
    IDC_STATIC = -1,
    IDOK = 1,
    IDCANCEL = 2
};

// Style flags of a control.
enum CtlStyle : unsigned
{
    CS_NONE = 0,
    CS_DEFAULT = 1u << 0,   // default push button
    CS_DISABLED = 1u << 1,  // created disabled
    CS_HIDDEN = 1u << 2,    // created invisible
    CS_READONLY = 1u << 3,  // read-only edit
    CS_NUMBER = 1u << 4,    // edit takes digits only
    CS_RIGHT = 1u << 5,     // right-aligned text
    CS_CENTER = 1u << 6,    // centred text
    CS_MULTILINE = 1u << 7, // multi-line edit
    CS_GROUP = 1u << 8,     // starts a radio group
    CS_LEFTTEXT = 1u << 9,  // check box with its text on the left
    CS_VSCROLL = 1u << 10,  // vertical scroll bar
    CS_NOBORDER = 1u << 11, // edit without border
    CS_WANTRETURN = 1u << 12,
    CS_HASBUTTONS = 1u << 13,  // tree: plus and minus boxes on items with children
    CS_HASLINES = 1u << 14,    // tree: lines joining items to their parents
    CS_LINESATROOT = 1u << 15, // tree: lines (and boxes) at the top level too
};

// Style flags of a dialog window.
enum DlgStyle : unsigned
{
    DS_NONE = 0,
    DS_MINIMIZEBOX = 1u << 0, // a minimize box in the caption
};

struct CtlTemplate
{
    int id; // numeric id; IDC_STATIC for static controls without one
    CtlKind kind;
    const char* caption; // caption or image name; may be empty
    int x, y, cx, cy;    // dialog units
    unsigned style;      // CtlStyle flags
    const char* accName; // accessible name when the caption does not say it (or nullptr)
};

struct DlgTemplate
{
    int id;
    const char* caption;
    int cx, cy; // dialog units
    const char* font;
    int pointSize;
    bool popup; // a pop-up without caption or border
    std::vector<CtlTemplate> controls;
    unsigned style = DS_NONE; // DlgStyle flags
};

// The templates of the program, looked up by id (res/).
const DlgTemplate& GetDlgTemplate(int id);
