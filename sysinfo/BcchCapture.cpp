// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/BcchCapture.h"

#include "measure/Units.h"
#include "protocol/ChannelPlan.h"
#include "protocol/StringE.h"
#include "sysinfo/BcchBlock.h"
#include "trace/TraceReport.h"

void CBcchCapture::TakeServing(const char* pszBcch, const char* pszRxLev)
{
    m_nArfcn = CStringE(pszBcch).ToInt(10);
    m_nLevelDbm = Units::RxLevDbm(CStringE(pszRxLev).ToInt(10));
}

bool CBcchCapture::Follow(const CTraceReport& r, int nKind, SBcchMessage* pMessage)
{
    switch (nKind) {
    case REPORT_IDLE_MODE:
        TakeServing(r.IdleMode().szBcch, r.IdleMode().szRxLev);
        return false;
    case REPORT_FULL_IDLE:
        TakeServing(r.FullIdle().szBcch, r.FullIdle().szRxLev);
        return false;
    case REPORT_BCCH: {
        QByteArray block = CBcchBlock::FromRecord(r);
        if (block.isEmpty())
            return false;
        // The line names the carrier it was received on; the serving cell's
        // stands in where it does not. The level is known for the serving
        // carrier only.
        const int nLineArfcn = CStringE(r.Bcch().szText1).ToInt(10);
        pMessage->nArfcn = ChannelPlan::Contains(nLineArfcn) ? nLineArfcn : m_nArfcn;
        pMessage->nLevelDbm = pMessage->nArfcn == m_nArfcn ? m_nLevelDbm : 0;
        pMessage->block = block;
        return true;
    }
    default:
        return false;
    }
}
