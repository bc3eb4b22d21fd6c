// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QListView;
class QString;
class CLogList;
class CLogObserver;

enum
{
    LOG_DATA = 0,
    LOG_TRACE = 1
};

// The traffic log of both ports on the front panel's two list boxes.
class CTrafficLog
{
public:
    CTrafficLog(QListView* pVisible, QListView* pHidden, bool bData, bool bTrace, bool bFrozen);
    ~CTrafficLog();
    void Log(int nChannel, const char* pszPrefix, const QString& strText);
    void Freeze(bool bFrozen);
    void EnableData(bool bOn);
    void EnableTrace(bool bOn);
    void Clear();
    int Save(const QString& strPath);
    bool IsFrozen() const;
    // Puts the lines waiting for the shown list's next showing into it now.
    void Flush();
    // Every line logged also goes to the recorder, whatever the switches and the freeze.
    void SetRecorder(CLogObserver* pRecorder) { m_pRecorder = pRecorder; }

private:
    std::unique_ptr<CLogList> m_pVisible;
    std::unique_ptr<CLogList> m_pFrozen;
    CLogList* m_pCurrent = nullptr;
    bool m_bData = true;
    bool m_bTrace = true;
    CLogObserver* m_pRecorder = nullptr;
};
