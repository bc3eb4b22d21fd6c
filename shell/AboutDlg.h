// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/TemplateDialog.h"
#include "res/TemplateIds.h"

// The About box (template 100).
class CAboutDlg : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr) : CTemplateDialog(IDD_ABOUT, parent) {}
};
