#pragma once

#include <memory>

class QListWidget;
class QString;

// One list-box sink of the traffic log.
class CLogList
{
public:
    explicit CLogList(QListWidget* pList);
    void AddLine(const char* pszPrefix, const QString& strText);
    void AddText(const char* pszPrefix, const QString& strText);
    void TakeFrom(QListWidget* pOther);
    void Clear();
    int SaveToFile(const QString& strPath);
    QListWidget* List() const { return m_pList; }

    static constexpr int kMaxEntries = 999;

private:
    // Appends a finished entry, keeping at most kMaxEntries.
    void Append(const QString& line);
    // Selects the newest entry and scrolls it into view.
    void SelectNewest();

    QListWidget* m_pList;
    int m_nLast = 0;
    // Set while a selection of the newest entry waits for the event loop.
    std::shared_ptr<bool> m_pSelectPending = std::make_shared<bool>(false);
};
