#include "serial/LogList.h"

#include <QFile>
#include <QListWidget>
#include <QTimer>

namespace {
// A line longer than this is cut...
constexpr int kCutAbove = 251;
// ...to this many characters, followed by "...".
constexpr int kKeep = 255;
} // namespace

CLogList::CLogList(QListWidget* pList) : m_pList(pList)
{
    if (m_pList) {
        m_pList->clear();
        // Every entry is one text line: lets the view skip measuring each one.
        m_pList->setUniformItemSizes(true);
    }
}

void CLogList::AddLine(const char* pszPrefix, const QString& strText)
{
    if (strText.isEmpty())
        return;
    QString line = pszPrefix ? QString::fromLatin1(pszPrefix) + strText : strText;
    if (line.size() > kCutAbove) {
        line.truncate(kKeep);
        line += QLatin1String("...");
    }
    Append(line);
}

void CLogList::Append(const QString& line)
{
    if (!m_pList)
        return;
    if (m_pList->count() >= kMaxEntries)
        delete m_pList->takeItem(0);
    m_pList->addItem(line);
    m_nLast = m_pList->count() - 1;
    SelectNewest();
}

void CLogList::SelectNewest()
{
    if (!m_pList->isVisible()) {
        m_pList->setCurrentRow(m_nLast);
        return;
    }
    // On screen, selecting makes the view lay out all its entries: do it once
    // per pass of the event loop, so a burst of lines stays cheap.
    if (*m_pSelectPending)
        return;
    *m_pSelectPending = true;
    QListWidget* pList = m_pList;
    std::shared_ptr<bool> pPending = m_pSelectPending;
    QTimer::singleShot(0, pList, [pList, pPending]() {
        *pPending = false;
        const int nRow = pList->count() - 1;
        if (nRow < 0)
            return;
        pList->setCurrentRow(nRow);
        pList->scrollToItem(pList->item(nRow));
    });
}

void CLogList::AddText(const char* pszPrefix, const QString& strText)
{
    ForEachLine(strText, [&](QStringView line) { AddLine(pszPrefix, line.toString()); });
}

void CLogList::TakeFrom(QListWidget* pOther)
{
    if (!pOther || pOther == m_pList)
        return;
    const int nCount = pOther->count();
    for (int i = 0; i < nCount; ++i) {
        const QString entry = pOther->item(i)->text();
        // An entry longer than the cut limit has been cut already: it moves
        // as it is instead of being cut a second time.
        if (entry.size() > kCutAbove)
            Append(entry);
        else
            AddText(nullptr, entry);
    }
    pOther->clear();
}

void CLogList::Clear()
{
    if (m_pList)
        m_pList->clear();
    m_nLast = 0;
}

int CLogList::SaveToFile(const QString& strPath)
{
    QFile file(strPath);
    if (strPath.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    bool bOk = true;
    const int nCount = m_pList ? m_pList->count() : 0;
    for (int i = 0; i < nCount && bOk; ++i) {
        QByteArray bytes = m_pList->item(i)->text().toLatin1();
        bytes += "\r\n";
        bOk = file.write(bytes) == bytes.size();
    }
    file.close();
    return bOk && file.error() == QFileDevice::NoError ? 0 : 1;
}
