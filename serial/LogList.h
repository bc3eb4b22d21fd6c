#pragma once

#include <QString>
#include <QStringView>
#include <memory>

class QListWidget;

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

    // Calls onLine(QStringView) for every line of a text as the log cuts it
    // into entries: CR or LF ends a line, and runs of terminators give no
    // empty lines.
    template <typename F> static void ForEachLine(const QString& strText, F&& onLine);

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

template <typename F> void CLogList::ForEachLine(const QString& strText, F&& onLine)
{
    const QChar* p = strText.constData();
    const qsizetype n = strText.size();
    qsizetype nStart = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        if (i == n || p[i] == QLatin1Char('\r') || p[i] == QLatin1Char('\n')) {
            if (i > nStart)
                onLine(QStringView(p + nStart, i - nStart));
            nStart = i + 1;
        }
    }
}
