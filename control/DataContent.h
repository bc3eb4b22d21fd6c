// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/TemplateDialog.h"

class QLineEdit;

// The data content dialog: the text of an SMS or of a data call.
class CDataContent : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CDataContent(QWidget* parent = nullptr);

    QLineEdit* m_editContent = nullptr;
    QString m_strContent;

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnOK() override;
};
