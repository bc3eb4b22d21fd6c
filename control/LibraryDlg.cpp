// SPDX-License-Identifier: GPL-3.0-or-later
// The number library dialog.
#include "control/LibraryDlg.h"

#include <QListWidget>

#include "res/Ids162.h"
#include "res/TemplateIds.h"

namespace {
const char kFirstRow[] = "######################";
const QLatin1String kNumberMark(";| ");
} // namespace

CLibraryDlg::CLibraryDlg(QWidget* parent) : CTemplateDialog(IDD_LIBRARY, parent) {}

void CLibraryDlg::RemoveAllEntries()
{
    m_arrEntries.clear();
}

void CLibraryDlg::AddEntry(int nIndex, const QString& strName, const QString& strNumber)
{
    const QChar mark = nIndex >= 0 ? QLatin1Char(':') : QLatin1Char(' ');
    const QString tail = QStringLiteral("; %1;| %2").arg(nIndex).arg(strNumber);
    QString name = strName;
    // A row that does not fit gives up the end of its name first, so that
    // the number, which the user dials, stays whole.
    const int excess = 1 + static_cast<int>(name.size() + tail.size()) - kRowLength;
    if (excess > 0)
        name.chop(qMin(excess, static_cast<int>(name.size())));
    QString row = mark + name + tail;
    row.truncate(kRowLength);
    m_arrEntries.append(row);
}

void CLibraryDlg::BindControls()
{
    m_listNumbers = Item<QListWidget>(IDC_NUMBERS);
    if (m_listNumbers) {
        m_listNumbers->setSelectionMode(QAbstractItemView::SingleSelection);
        connect(m_listNumbers, &QListWidget::itemSelectionChanged, this,
                [this] { OnSelChangeNumbers(); });
    }
}

bool CLibraryDlg::OnInitDialog()
{
    m_strSelected.clear();
    if (m_listNumbers) {
        m_listNumbers->clear();
        m_listNumbers->addItem(QString::fromLatin1(kFirstRow));
        m_listNumbers->addItems(m_arrEntries);
        // No row is selected when the dialog opens.
        m_listNumbers->setCurrentRow(-1);
        m_listNumbers->clearSelection();
    }
    m_strSelected.clear();
    GotoDlgCtrl(IDOK);
    return true;
}

void CLibraryDlg::OnDestroy()
{
    m_listNumbers = nullptr;
}

void CLibraryDlg::OnSelChangeNumbers()
{
    if (!m_listNumbers)
        return;
    const QList<QListWidgetItem*> selected = m_listNumbers->selectedItems();
    if (selected.isEmpty())
        return;
    const QString row = selected.first()->text();
    // The number follows the last mark: a name holding ";| " does not cut it.
    const int pos = row.lastIndexOf(kNumberMark);
    m_strSelected = pos >= 0 ? row.mid(pos + kNumberMark.size()) : row.mid(2);
}
