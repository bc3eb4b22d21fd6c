// SPDX-License-Identifier: GPL-3.0-or-later
// The data content dialog.
#include "control/DataContent.h"

#include <QLineEdit>
#include <limits>

#include "platform/UiServices.h"
#include "protocol/AtCommands.h"
#include "res/Ids161.h"
#include "res/TemplateIds.h"

CDataContent::CDataContent(QWidget* parent) : CTemplateDialog(IDD_DATA_CONTENT, parent) {}

void CDataContent::BindControls()
{
    m_editContent = Item<QLineEdit>(IDC_CONTENT);
    if (m_editContent)
        m_editContent->setMaxLength(std::numeric_limits<int>::max());
}

bool CDataContent::OnInitDialog()
{
    if (m_editContent) {
        m_editContent->clear();
        m_editContent->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

void CDataContent::OnDestroy()
{
    m_editContent = nullptr;
}

void CDataContent::OnOK()
{
    const QString text = m_editContent ? m_editContent->text() : QString();
    const QString clean = AtMessageText(text);
    if (clean != text) {
        // Wrong input is answered by the beep and the corrected value: the
        // user sees the text that will be sent and confirms it with OK.
        m_editContent->setText(clean);
        CUiServices::Beep();
        return;
    }
    m_strContent = clean;
    EndDialog(IDOK);
}
