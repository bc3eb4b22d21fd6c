// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/BcchSysInfoDlg.h"

#include "protocol/ReportFlags.h"

#include <QPlainTextEdit>
#include <QTreeWidget>
#include <cstring>

#include "platform/FrameHost.h"
#include "res/TemplateIds.h"
#include "sysinfo/BcchBlock.h"
#include "trace/TraceReport.h"

namespace {
// Trace flag: the BCCH reports carry their rest octets.
// Longest item text the header takes over.
const int kMaxItemText = 39;
} // namespace

CBcchSysInfoDlg::CBcchSysInfoDlg(CFrameHost* pFrame, const CTraceReport* pReport, QWidget* parent)
    : CTemplateDialog(IDD_BCCH_SYSINFO, parent), m_pFrame(pFrame), m_pReport(pReport)
{
}

CBcchSysInfoDlg::~CBcchSysInfoDlg()
{
    DestroyWindow();
}

void CBcchSysInfoDlg::BindControls()
{
    m_edtText = Item<QPlainTextEdit>(IDC_EDIT_TEXT);
    m_treeTypes = Item<QTreeWidget>(IDC_TREE_TYPES);
    if (m_treeTypes)
        connect(m_treeTypes, &QTreeWidget::itemSelectionChanged, this,
                &CBcchSysInfoDlg::OnSelChangedTree);
}

bool CBcchSysInfoDlg::OnInitDialog()
{
    m_strText.clear();
    if (m_treeTypes) {
        const QSignalBlocker block(m_treeTypes);
        m_treeTypes->clear();
        for (int t = 1; t <= SI_TYPES; ++t) {
            auto* type = new QTreeWidgetItem(m_treeTypes, QStringList(TypeLabel(t)));
            type->setData(0, Qt::UserRole, 10 * t);
            for (int e = 1; e <= ElementCount(t); ++e) {
                auto* element = new QTreeWidgetItem(type, QStringList(ElementLabel(t, e)));
                element->setData(0, Qt::UserRole, 10 * t + e);
            }
        }
        m_treeTypes->collapseAll();
        m_treeTypes->clearSelection();
        m_treeTypes->setFocus(Qt::OtherFocusReason);
    }
    if (m_edtText)
        m_edtText->clear();
    return true;
}

void CBcchSysInfoDlg::OnDestroy()
{
    // The controls go away with the window; no late notification may reach us.
    if (m_treeTypes)
        disconnect(m_treeTypes, nullptr, this, nullptr);
    m_treeTypes = nullptr;
    m_edtText = nullptr;
}

void CBcchSysInfoDlg::OnSelChangedTree()
{
    if (!m_treeTypes)
        return;
    const QList<QTreeWidgetItem*> selected = m_treeTypes->selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem* item = selected.first();
    const QString strItem = item->text(0).left(kMaxItemText);
    const int nCode = item->data(0, Qt::UserRole).toInt();
    const int t = nCode / 10;
    const int e = nCode % 10;
    // A type item leaves the text as it was.
    if (t < 1 || t > SI_TYPES || e < 1)
        return;

    QString strText = QStringLiteral("System Information Type ") + QString::number(t) +
                      QStringLiteral("  -  ") + strItem + QStringLiteral("\r\n");
    // Underline of 1.55 times the header's length, truncated.
    strText += QString(strText.size() * 155 / 100, QLatin1Char('-'));
    strText += QStringLiteral("\r\n");

    const CTraceReport* pReport = m_pReport;
    if (!pReport || !pReport->Bcch().abSysInfo[t - 1]) {
        strText += QStringLiteral("\r\nNo data available. Waiting for BCCH-Report...");
        SetText(strText);
        return;
    }

    auto field = [](const char* psz, size_t cap) {
        return QString::fromLatin1(psz, static_cast<int>(qstrnlen(psz, cap)));
    };
    strText += field(pReport->Bcch().szText1, sizeof(pReport->Bcch().szText1)) + QLatin1Char(' ') +
               field(pReport->Bcch().szText2, sizeof(pReport->Bcch().szText2)) +
               QStringLiteral("  [ ");
    // The report carries its octet count minus 1 octets; the rest show "??"
    // and decode as 0.
    for (int k = 0; k < SI_OCTETS; ++k) {
        QString strToken = QStringLiteral("??");
        unsigned char byValue = 0;
        if (k + 1 < pReport->Bcch().nOctets) {
            const char* pszOctet = pReport->Bcch().aszSysInfo[t - 1][k];
            strToken = field(pszOctet, sizeof(pReport->Bcch().aszSysInfo[t - 1][k]));
            byValue = CBcchBlock::OctetValue(strToken);
        }
        m_abySysInfo[t - 1][k] = byValue;
        strText += strToken + QLatin1Char(' ');
    }
    strText += QStringLiteral("]\r\n");

    if (m_pFrame)
        m_nBandPower = m_pFrame->MaxPowerDbm();
    m_bRestOctets = m_pFrame && m_pFrame->HasTraceFlag(RF_BCCH_REST) != 0;
    SetText(DecodeElement(strText, t, e));
}

void CBcchSysInfoDlg::SetText(const QString& strText)
{
    m_strText = strText;
    if (m_edtText) {
        QString strShown = strText;
        strShown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_edtText->setPlainText(strShown);
    }
}

void CBcchSysInfoDlg::CloseWindow()
{
    if (m_pFrame)
        m_pFrame->PostBcchClosed();
    hide();
}

void CBcchSysInfoDlg::OnOK()
{
    CloseWindow();
    EndDialog(IDOK);
}

// Escape closes the window like the close box: a window that were only
// hidden could never be opened again.
void CBcchSysInfoDlg::OnCancel()
{
    CloseWindow();
}

void CBcchSysInfoDlg::OnClose()
{
    CloseWindow();
}
