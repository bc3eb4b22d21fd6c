// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QListView>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

class CLogModel;
class QTimer;

// One list-box sink of the traffic log: a list view over the log's own
// model of its entries.
class CLogList
{
public:
    explicit CLogList(QListView* pList);
    ~CLogList();
    void AddLine(const char* pszPrefix, const QString& strText);
    void AddText(const char* pszPrefix, const QString& strText);
    // Moves every entry of another log to the end of this one.
    void TakeFrom(CLogList& other);
    void Clear();
    int SaveToFile(const QString& strPath);
    QListView* List() const { return m_pList; }
    // The entries the list shows, oldest first.
    const QStringList& Entries() const;
    // Puts the lines that wait for the next showing into the list now.
    void Flush();

    // Calls onLine(QStringView) for every line of a text as the log cuts it
    // into entries: CR or LF ends a line, and runs of terminators give no
    // empty lines.
    template <typename F> static void ForEachLine(const QString& strText, F&& onLine);

    static constexpr int kMaxEntries = 999;
    // A list on screen takes its new lines at most this often: each showing
    // draws the list again.
    static constexpr int kShowEveryMs = 100;

    class CPaintHook;

private:
    // Appends a finished entry, keeping at most kMaxEntries.
    void Append(const QString& line);
    // Selects the newest entry and scrolls it into view.
    void SelectNewest();
    // Draws the list again after the entries in its rows moved up nShift places.
    void ShowShifted(int nShift);
    // Has the lines shown when the window draws next, with whatever else
    // changed meanwhile, instead of in a drawing of their own.
    void ShowWithNextDrawing();
    // The window draws: the lines wait no longer if their time has come.
    void OnWindowDrawing();

    // Null once the list is gone.
    QPointer<QListView> m_pList;
    std::unique_ptr<CLogModel> m_pModel;
    // Lines for a list on screen, waiting for the next showing.
    QStringList m_pending;
    std::unique_ptr<QTimer> m_pShowTimer;
    QElapsedTimer m_sinceShown;
    bool m_bShowWithDrawing = false;
    std::unique_ptr<CPaintHook> m_pPaintHook;
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
