#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

class QListWidget;
class QTimer;

// One list-box sink of the traffic log.
class CLogList
{
public:
    explicit CLogList(QListWidget* pList);
    ~CLogList();
    void AddLine(const char* pszPrefix, const QString& strText);
    void AddText(const char* pszPrefix, const QString& strText);
    // Moves every entry of another log to the end of this one.
    void TakeFrom(CLogList& other);
    void Clear();
    int SaveToFile(const QString& strPath);
    QListWidget* List() const { return m_pList; }
    // Puts the lines that wait for the next showing into the list now.
    void Flush();

    // Calls onLine(QStringView) for every line of a text as the log cuts it
    // into entries: CR or LF ends a line, and runs of terminators give no
    // empty lines.
    template <typename F> static void ForEachLine(const QString& strText, F&& onLine);

    static constexpr int kMaxEntries = 999;
    // A list on screen takes its new lines at most this often: a new row
    // makes the view lay out all its entries and draw them all again.
    static constexpr int kShowEveryMs = 100;

private:
    // Appends a finished entry, keeping at most kMaxEntries.
    void Append(const QString& line);
    // Selects the newest entry and scrolls it into view.
    void SelectNewest();

    QListWidget* m_pList;
    // Lines for a list on screen, waiting for the next showing.
    QStringList m_pending;
    std::unique_ptr<QTimer> m_pShowTimer;
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
