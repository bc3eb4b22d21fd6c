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

    // The text without control characters: a Ctrl-Z, ESC, CR or LF inside a
    // message would end or cancel it early and hand the rest to the module
    // as commands.
    static QString CleanText(const QString& strText);

    QLineEdit* m_editContent = nullptr;
    QString m_strContent;

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnOK() override;
};
