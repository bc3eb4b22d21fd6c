// The data content dialog.
#include "control/DataContent.h"

#include <QLineEdit>
#include <limits>

#include "platform/UiServices.h"
#include "res/Ids161.h"
#include "res/TemplateIds.h"

namespace {
bool IsControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}
} // namespace

CDataContent::CDataContent(QWidget* parent) : CTemplateDialog(IDD_DATA_CONTENT, parent) {}

QString CDataContent::CleanText(const QString& strText)
{
    QString clean;
    clean.reserve(strText.size());
    for (QChar c : strText) {
        if (!IsControl(c))
            clean.append(c);
    }
    return clean;
}

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
    const QString clean = CleanText(text);
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
