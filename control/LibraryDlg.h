// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "platform/TemplateDialog.h"

class QListWidget;

// The number library: the SIM phone-book rows read from the module, from
// which the user picks the number to dial or to address.
class CLibraryDlg : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CLibraryDlg(QWidget* parent = nullptr);

    // Room of one row, in characters.
    static constexpr int kRowLength = 199;

    void RemoveAllEntries();
    // Appends the row "%c%s; %d;| %s": ':' (index 0 or more) or ' ', the
    // name, the index and the number.
    void AddEntry(int nIndex, const QString& strName, const QString& strNumber);

    QListWidget* m_listNumbers = nullptr;
    QStringList m_arrEntries;
    QString m_strSelected;

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnDestroy() override;

private:
    void OnSelChangeNumbers();
};
