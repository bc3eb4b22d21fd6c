#pragma once

#include <QString>
#include <QStringList>

#include "platform/TemplateDialog.h"

// Placeholder until the number library dialog lands.
class CLibraryDlg : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CLibraryDlg(QWidget* parent = nullptr) : CTemplateDialog(162, parent) {}
    void RemoveAllEntries() { m_arrEntries.clear(); }
    QStringList m_arrEntries;
    QString m_strSelected;
};
