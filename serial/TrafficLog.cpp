// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/TrafficLog.h"

#include "serial/LogList.h"
#include "serial/LogObserver.h"

#include <QString>

CTrafficLog::CTrafficLog(QListView* pVisible, QListView* pHidden, bool bData, bool bTrace,
                         bool bFrozen)
    : m_pVisible(std::make_unique<CLogList>(pVisible)),
      m_pFrozen(std::make_unique<CLogList>(pHidden))
{
    Freeze(bFrozen);
    m_bData = bData;
    m_bTrace = bTrace;
}

CTrafficLog::~CTrafficLog() = default;

void CTrafficLog::Log(int nChannel, const char* pszPrefix, const QString& strText)
{
    if (m_pRecorder)
        m_pRecorder->Record(pszPrefix, strText);
    if ((nChannel == LOG_DATA && m_bData) || (nChannel == LOG_TRACE && m_bTrace))
        m_pCurrent->AddText(pszPrefix, strText);
}

void CTrafficLog::Freeze(bool bFrozen)
{
    if (bFrozen) {
        m_pCurrent = m_pFrozen.get();
    } else {
        m_pCurrent = m_pVisible.get();
        m_pVisible->TakeFrom(*m_pFrozen);
    }
}

void CTrafficLog::EnableData(bool bOn)
{
    m_bData = bOn;
}

void CTrafficLog::EnableTrace(bool bOn)
{
    m_bTrace = bOn;
}

void CTrafficLog::Clear()
{
    m_pVisible->Clear();
}

int CTrafficLog::Save(const QString& strPath)
{
    return m_pVisible->SaveToFile(strPath);
}

bool CTrafficLog::IsFrozen() const
{
    return m_pCurrent == m_pFrozen.get();
}

void CTrafficLog::Flush()
{
    m_pVisible->Flush();
}
