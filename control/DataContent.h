#pragma once

#include <QString>

#include "platform/TemplateDialog.h"

// Placeholder until the data content dialog lands.
class CDataContent : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CDataContent(QWidget* parent = nullptr) : CTemplateDialog(161, parent) {}
    QString m_strContent;
};
