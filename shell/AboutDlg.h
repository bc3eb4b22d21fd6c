#pragma once

#include "platform/TemplateDialog.h"

// The About box (template 100).
class CAboutDlg : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr) : CTemplateDialog(100, parent) {}
};
