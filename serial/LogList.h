#pragma once

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
    QListWidget* m_pList;
    int m_nLast = 0;
};
