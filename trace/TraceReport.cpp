#include "trace/TraceReport.h"

#include <QWidget>
#include <climits>
#include <cstring>

#include "platform/Diagnostics.h"
#include "trace/StringE.h"

namespace {
const char* const kReportNames[REPORT_NAMES] = {"Set Flags? ",
                                                "Idle_Mode_Rpt",
                                                "Dedicated_Rpt",
                                                "Path_Loss_Rpt",
                                                "C2_Rpt",
                                                "L1_Uplink",
                                                "L1_Downlink",
                                                "L3_Uplink",
                                                "L3_Downlink",
                                                "Bcch_Report",
                                                "Sacch_Report",
                                                "not implemented",
                                                "Page_Report",
                                                "Synch_Report",
                                                "Chan_Req_Report",
                                                "Agch_Report",
                                                "Idle_Channel",
                                                "Dedicated_Chan",
                                                "Chan_Count",
                                                "Cell ID     ",
                                                "Full Idle Desc",
                                                "NonC",
                                                "Comb",
                                                "Max Retrans",
                                                "Min Access",
                                                "Flags         ",
                                                "CBCH Supported",
                                                "Full Idle Report",
                                                "Full Ded Report",
                                                "not implemented",
                                                "not implemented",
                                                "not implemented",
                                                "RF Scan",
                                                "NCell"};

// A "Set Flags? " line carries the flag word: the name and eight characters.
const int kSetFlagsLength = 19;
const int kFirstHighIndex = 124; // index of channel 512

bool IsIgnoredKind(int nKind)
{
    return (nKind >= 3 && nKind <= 8) || (nKind >= 10 && nKind <= 16) ||
           (nKind >= 29 && nKind <= 31);
}

char ToLatin1(QChar c)
{
    const char16_t u = c.unicode();
    return u < 256 ? static_cast<char>(u) : '?';
}

bool IsHopping(QStringView field)
{
    return field == u"Hopping";
}
} // namespace

// Flags of the line being parsed.
struct CTraceReport::LineState
{
    bool bHeader = true;
    bool bPresent = true;
    bool bHopping = false;
    int nSysInfo = -1; // type index of a Bcch_Report line
    int nEntry = 0;    // neighbour entry of an NCell line
};

CTraceReport::CTraceReport()
    : m_nReport(REPORT_NONE), m_nPendingReport(REPORT_NONE), m_nNeighbours(0), m_pScanWnd(nullptr),
      m_bScanStarted(false), m_bNeighboursChanged(false), m_nBcchOctets(0)
{
    for (int i = 0; i < REPORT_NAMES; ++i)
        m_strReportName[i] = QString::fromLatin1(kReportNames[i]);
    m_listHopping.reserve(10);
    ResetScanLevels();
    for (int i = 0; i < REPORT_NAMES; ++i)
        ClearReport(i);
}

CTraceReport::~CTraceReport() = default;

void CTraceReport::ClearReport(int nReport)
{
    switch (nReport) {
    case REPORT_IDLE_MODE:
        memset(&m_IdleMode, 0, sizeof m_IdleMode);
        break;
    case REPORT_DEDICATED:
        memset(&m_Dedicated, 0, sizeof m_Dedicated);
        break;
    case REPORT_BCCH:
        m_nBcchOctets = 0;
        memset(m_szBcchText1, 0, sizeof m_szBcchText1);
        memset(m_szBcchText2, 0, sizeof m_szBcchText2);
        memset(m_szSysInfo, 0, sizeof m_szSysInfo);
        for (bool& b : m_bSysInfo)
            b = false;
        break;
    case REPORT_DEDICATED_CHAN:
        m_listHopping.clear();
        memset(&m_DedicatedChan, 0, sizeof m_DedicatedChan);
        break;
    case REPORT_CELL_ID:
        memset(&m_CellId, 0, sizeof m_CellId);
        break;
    case REPORT_FULL_IDLE_DESC:
        memset(&m_FullIdleDesc, 0, sizeof m_FullIdleDesc);
        break;
    case REPORT_FULL_IDLE:
        memset(&m_FullIdle, 0, sizeof m_FullIdle);
        break;
    case REPORT_FULL_DED:
        memset(&m_FullDed, 0, sizeof m_FullDed);
        break;
    default:
        break;
    }
}

void CTraceReport::AttachScanWindow(QWidget* pWnd)
{
    m_pScanWnd = pWnd;
    m_bScanStarted = false;
    m_nReport = REPORT_NONE;
}

void CTraceReport::DetachScanWindow()
{
    m_pScanWnd = nullptr;
    m_nReport = REPORT_NONE;
}

void CTraceReport::ResetScanLevels()
{
    m_nReport = REPORT_NONE;
    for (int i = 0; i < SCAN_CHANNELS; ++i) {
        m_nScanLevel[i] = -1;
        m_nScanCollect[i] = -1;
    }
}

int CTraceReport::ChannelOfIndex(int nIndex)
{
    return nIndex + 1 <= 124 ? nIndex + 1 : nIndex + 388;
}

int CTraceReport::IndexOfChannel(int nChannel)
{
    return nChannel <= 124 ? nChannel - 1 : nChannel - 388;
}

int CTraceReport::GetScanLevel(int nChannel) const
{
    if ((nChannel >= 1 && nChannel <= 124) || (nChannel >= 512 && nChannel <= 885))
        return m_nScanLevel[IndexOfChannel(nChannel)];
    return -1;
}

const TrNeighbour* CTraceReport::NeighbourTable(int nReport) const
{
    switch (nReport) {
    case REPORT_IDLE_MODE:
        return m_IdleMode.aNeighbour;
    case REPORT_DEDICATED:
        return m_Dedicated.aNeighbour;
    case REPORT_FULL_IDLE:
        return m_FullIdle.aNeighbourA;
    case REPORT_FULL_DED:
        return m_FullDed.aNeighbour;
    default:
        return nullptr;
    }
}

int CTraceReport::MatchName(QString& strLine, int nStart) const
{
    for (int i = 0; i < REPORT_NAMES; ++i) {
        const QString& name = m_strReportName[i];
        const qsizetype n = name.size();
        const qsizetype nLine = strLine.size();
        // The name must be shorter than the whole line and stand at the start.
        if (n >= nLine || nStart + n > nLine || strLine.at(nStart) != name.at(0))
            continue;
        if (QStringView(strLine).mid(nStart, n) != name)
            continue;
        if (i == REPORT_SET_FLAGS) {
            // The flag echo carries no report: pass over it and its word.
            if (nLine > kSetFlagsLength)
                strLine.remove(0, kSetFlagsLength);
            continue;
        }
        return i;
    }
    return REPORT_NONE;
}

int CTraceReport::ParseLine(QString& strLine)
{
    int nStart = 0;
    while (nStart < strLine.size() && strLine.at(nStart) == u' ')
        ++nStart;

    int nKind = MatchName(strLine, nStart);
    qsizetype nNameLength = nKind == REPORT_NONE ? 0 : m_strReportName[nKind].size();
    if (nKind == REPORT_NONE && m_pScanWnd)
        nKind = REPORT_SCAN_DATA;
    if (nKind == REPORT_NONE)
        return REPORT_NONE;

    LineState s;
    // The ignored kinds end at their first field: nothing is stored.
    if (!IsIgnoredKind(nKind)) {
        const qsizetype nFrom = qMin<qsizetype>(nStart + nNameLength, strLine.size());
        CTokenView tokens(QStringView(strLine).mid(nFrom));
        for (int p = 0;; ++p) {
            const QStringView field = tokens.Next();
            HandleField(nKind, p, field, s);
            if (field.isEmpty())
                break;
        }
    }

    int nResult;
    if (s.bHeader) {
        if (m_bNeighboursChanged) {
            m_nPendingReport = m_nReport;
            m_bNeighboursChanged = false;
        } else {
            m_nPendingReport = REPORT_NONE;
        }
        m_nReport = nKind;
        nResult = s.bPresent ? nKind : REPORT_NONE;
    } else {
        nResult = s.bPresent ? m_nReport : nKind;
        m_nPendingReport = REPORT_NONE;
    }

    if (nResult == REPORT_RF_SCAN) {
        if (m_pScanWnd)
            Publish();
        nResult = REPORT_NONE;
    }
    return nResult;
}

void CTraceReport::Publish()
{
    bool bAny = false;
    for (int i = 0; i < SCAN_CHANNELS; ++i) {
        m_nScanLevel[i] = m_nScanCollect[i];
        bAny = bAny || m_nScanLevel[i] != -1;
    }
    if (bAny)
        m_pScanWnd->repaint();
}

void CTraceReport::StoreField(char* dst, int nCap, QStringView field, int nKind, int p)
{
    qsizetype n = field.size();
    if (n >= nCap) {
        if (lcTrace().isDebugEnabled()) {
            // The line is composed in 512 characters; a long item is cut to fit.
            const QByteArray name =
                nKind < REPORT_NAMES ? m_strReportName[nKind].toLatin1() : QByteArray();
            const QByteArray head =
                "ERROR Report: " + name + ", Entry: " + QByteArray::number(p) + ", Item: ";
            const QByteArray tail = ", MaxLen: " + QByteArray::number(nCap) + "\n";
            const qsizetype room = qMax<qsizetype>(0, 511 - head.size() - tail.size());
            QByteArray line = head + field.left(room).toLatin1() + tail;
            line.truncate(511);
            line.chop(1); // the logging output ends the line itself
            qCDebug(lcTrace).noquote() << QString::fromLatin1(line);
        }
        n = nCap - 1;
    }
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = ToLatin1(field[i]);
    dst[n] = 0;
}

void CTraceReport::HandleField(int nKind, int p, QStringView f, LineState& s)
{
    switch (nKind) {
    case REPORT_IDLE_MODE: {
        m_bNeighboursChanged = true;
        TrIdleModeRpt& r = m_IdleMode;
        if (p == 0)
            Store(r.szBcch, f, nKind, p);
        else if (p == 1)
            Store(r.szRxLev, f, nKind, p);
        else if (p < 20) {
            TrNeighbour& nb = r.aNeighbour[(p - 2) / 3];
            switch ((p - 2) % 3) {
            case 0:
                Store(nb.szBcch, f, nKind, p);
                break;
            case 1:
                Store(nb.szRxLev, f, nKind, p);
                break;
            default:
                Store(nb.szBsic, f, nKind, p);
                break;
            }
        }
        break;
    }
    case REPORT_DEDICATED: {
        m_bNeighboursChanged = true;
        TrDedicatedRpt& r = m_Dedicated;
        switch (p) {
        case 0:
            Store(r.szField0, f, nKind, p);
            break;
        case 1:
            Store(r.szTxPower, f, nKind, p);
            break;
        case 2:
            Store(r.szRxLev1, f, nKind, p);
            break;
        case 3:
            Store(r.szRxQual1, f, nKind, p);
            break;
        case 4:
            Store(r.szRxLev2, f, nKind, p);
            break;
        case 5:
            Store(r.szRxQual2, f, nKind, p);
            break;
        case 24:
            Store(r.szField24, f, nKind, p);
            break;
        default:
            if (p >= 6 && p < 24) {
                TrNeighbour& nb = r.aNeighbour[(p - 6) / 3];
                switch ((p - 6) % 3) {
                case 0:
                    Store(nb.szBcch, f, nKind, p);
                    break;
                case 1:
                    Store(nb.szRxLev, f, nKind, p);
                    break;
                default:
                    Store(nb.szBsic, f, nKind, p);
                    break;
                }
            }
            break;
        }
        break;
    }
    case REPORT_BCCH:
        if (p == 0) {
            m_nBcchOctets = CStringE::ViewToInt(f, 10);
        } else if (p == 1) {
            Store(m_szBcchText1, f, nKind, p);
        } else if (p == 2) {
            Store(m_szBcchText2, f, nKind, p);
        } else if (p == 3) {
            // Message types 0x19 .. 0x1C are System Information 1 .. 4.
            s.nSysInfo = CStringE::ViewToInt(f, 16) - 25;
            if (s.nSysInfo >= 0 && s.nSysInfo <= 3)
                m_bSysInfo[s.nSysInfo] = true;
        } else if (p < 24 && s.nSysInfo >= 0 && s.nSysInfo <= 3) {
            Store(m_szSysInfo[s.nSysInfo][p - 4], f, nKind, p);
        }
        break;
    case REPORT_DEDICATED_CHAN: {
        TrDedicatedChan& r = m_DedicatedChan;
        switch (p) {
        case 0:
            Store(r.szBcch, f, nKind, p);
            break;
        case 1:
            Store(r.szBsic, f, nKind, p);
            break;
        case 2:
            Store(r.szField2, f, nKind, p);
            break;
        case 4:
            Store(r.szTimeSlot, f, nKind, p);
            break;
        case 6:
            Store(r.szField6, f, nKind, p);
            break;
        case 8:
            Store(r.szField8, f, nKind, p);
            break;
        case 9:
            if (IsHopping(f)) {
                // Presented once its Chan_Count line has filled the hopping list.
                s.bHopping = true;
                s.bPresent = false;
            }
            Store(r.szMode, f, nKind, p);
            break;
        case 11:
            if (s.bHopping)
                Store(r.szExtra2, f, nKind, p);
            else
                Store(r.szExtra1, f, nKind, p);
            break;
        case 13:
            if (s.bHopping)
                Store(r.szExtra3, f, nKind, p);
            else
                Store(r.szTrafficChannel, f, nKind, p);
            break;
        case 15:
            if (s.bHopping)
                Store(r.szExtra1, f, nKind, p);
            break;
        default:
            break;
        }
        break;
    }
    case REPORT_CHAN_COUNT:
        if (p == 0) {
            s.bHeader = false;
            Store(m_DedicatedChan.szChanCount, f, nKind, p);
        } else if (!f.isEmpty()) {
            m_listHopping.append(f.toString());
        }
        break;
    case REPORT_CELL_ID: {
        TrCellId& r = m_CellId;
        switch (p) {
        case 1:
            s.bHeader = false;
            s.bPresent = false;
            Store(r.szCi, f, nKind, p);
            break;
        case 3:
            Store(r.szLac, f, nKind, p);
            break;
        case 5:
            Store(r.szMnc, f, nKind, p);
            break;
        case 7:
            Store(r.szMcc, f, nKind, p);
            break;
        default:
            break;
        }
        break;
    }
    case REPORT_FULL_IDLE_DESC: {
        TrFullIdleDesc& r = m_FullIdleDesc;
        switch (p) {
        case 1:
            s.bPresent = false;
            Store(r.szBcch, f, nKind, p);
            break;
        case 3:
            Store(r.szBsic, f, nKind, p);
            break;
        case 5:
            Store(r.szCi, f, nKind, p);
            break;
        case 7:
            Store(r.szLac, f, nKind, p);
            break;
        case 9:
            Store(r.szMnc, f, nKind, p);
            break;
        case 11:
            Store(r.szMcc, f, nKind, p);
            break;
        default:
            break;
        }
        break;
    }
    case REPORT_NONC:
    case REPORT_COMB:
        if (p == 0) {
            s.bHeader = false;
            s.bPresent = false;
            Store(m_FullIdleDesc.szCombName, m_strReportName[nKind], nKind, p);
        } else if (p <= 9 && (p % 2) == 1) {
            Store(m_FullIdleDesc.aszComb[p / 2], f, nKind, p);
        }
        break;
    case REPORT_MAX_RETRANS:
        if (p == 0) {
            s.bHeader = false;
            s.bPresent = false;
            Store(m_FullIdleDesc.szRetrans0, f, nKind, p);
        } else if (p == 3) {
            Store(m_FullIdleDesc.szRetrans3, f, nKind, p);
        } else if (p == 7) {
            Store(m_FullIdleDesc.szRetrans7, f, nKind, p);
        }
        break;
    case REPORT_MIN_ACCESS:
        if (p == 0) {
            s.bHeader = false;
            Store(m_FullIdleDesc.szAccess0, f, nKind, p);
        } else if (p == 3) {
            Store(m_FullIdleDesc.szAccess3, f, nKind, p);
        } else if (p == 5) {
            Store(m_FullIdleDesc.szAccess5, f, nKind, p);
        } else if (p == 7) {
            Store(m_FullIdleDesc.szAccess7, f, nKind, p);
        }
        break;
    case REPORT_FLAGS:
        if (p == 1) {
            s.bHeader = false;
            s.bPresent = false;
        }
        if (p <= 13 && (p % 2) == 1)
            Store(m_FullIdleDesc.aszFlags[p / 2], f, nKind, p);
        break;
    case REPORT_CBCH: {
        TrFullIdleDesc& r = m_FullIdleDesc;
        switch (p) {
        case 0:
            s.bHeader = false;
            Store(r.szCbch0, f, nKind, p);
            break;
        case 2:
            Store(r.szCbchTimeSlot, f, nKind, p);
            break;
        case 4:
            Store(r.szCbch4, f, nKind, p);
            break;
        case 6:
            Store(r.szCbch6, f, nKind, p);
            break;
        case 7:
            s.bHopping = IsHopping(f);
            Store(r.szCbchMode, f, nKind, p);
            break;
        case 9:
            if (s.bHopping)
                Store(r.szCbch9Hopping, f, nKind, p);
            else
                Store(r.szCbch9, f, nKind, p);
            break;
        case 11:
            Store(r.szCbch11, f, nKind, p);
            break;
        default:
            break;
        }
        break;
    }
    case REPORT_FULL_IDLE: {
        TrFullIdleReport& r = m_FullIdle;
        switch (p) {
        case 0:
            Store(r.szBcch, f, nKind, p);
            break;
        case 1:
            Store(r.szRxLev, f, nKind, p);
            break;
        case 2:
            Store(r.szRxQual, f, nKind, p);
            break;
        case 3:
            Store(r.szField3, f, nKind, p);
            break;
        case 4:
            Store(r.szField4, f, nKind, p);
            break;
        case 5:
            Store(r.szField5, f, nKind, p);
            break;
        default:
            break;
        }
        break;
    }
    case REPORT_FULL_DED: {
        TrFullDedReport& r = m_FullDed;
        switch (p) {
        case 0:
            Store(r.szTimingAdvance, f, nKind, p);
            break;
        case 1:
            Store(r.szTxPower, f, nKind, p);
            break;
        case 2:
            Store(r.szRxLev1, f, nKind, p);
            break;
        case 3:
            Store(r.szRxQual1, f, nKind, p);
            break;
        case 4:
            Store(r.szRxLev2, f, nKind, p);
            break;
        case 5:
            Store(r.szRxQual2, f, nKind, p);
            break;
        case 6:
            Store(r.szPairSelect, f, nKind, p);
            break;
        default:
            break;
        }
        break;
    }
    case REPORT_RF_SCAN:
        m_bScanStarted = false;
        break;
    case REPORT_NCELL:
        HandleNCell(p, f, s);
        break;
    case REPORT_SCAN_DATA:
        HandleScanData(p, f, s);
        break;
    default:
        break;
    }
}

void CTraceReport::HandleNCell(int p, QStringView f, LineState& s)
{
    // With no report open the line opens one of its own.
    if (m_nReport == REPORT_NONE)
        return;
    m_bNeighboursChanged = true;
    if (p == 0) {
        s.bHeader = false;
        s.bPresent = false;
        m_nNeighbours = CStringE::ViewToInt(f, 10);
        s.nEntry = m_nNeighbours;
        return;
    }
    if (p > 6 || s.nEntry < 1 || s.nEntry > 6)
        return;
    const int e = s.nEntry - 1;
    const int k = REPORT_NCELL;
    switch (m_nReport) {
    case REPORT_IDLE_MODE:
    case REPORT_DEDICATED:
    case REPORT_FULL_DED: {
        TrNeighbour& nb = m_nReport == REPORT_IDLE_MODE   ? m_IdleMode.aNeighbour[e]
                          : m_nReport == REPORT_DEDICATED ? m_Dedicated.aNeighbour[e]
                                                          : m_FullDed.aNeighbour[e];
        if (p == 1)
            Store(nb.szBcch, f, k, p);
        else if (p == 2)
            Store(nb.szRxLev, f, k, p);
        else if (p == 3)
            Store(nb.szBsic, f, k, p);
        break;
    }
    case REPORT_FULL_IDLE: {
        TrNeighbour& a = m_FullIdle.aNeighbourA[e];
        TrNeighbourB& b = m_FullIdle.aNeighbourB[e];
        switch (p) {
        case 1:
            Store(a.szBcch, f, k, p);
            break;
        case 2:
            Store(a.szRxLev, f, k, p);
            break;
        case 3:
            Store(b.szField1, f, k, p);
            break;
        case 4:
            Store(b.szField2, f, k, p);
            break;
        case 5:
            Store(a.szBsic, f, k, p);
            break;
        default:
            Store(b.szField3, f, k, p);
            break;
        }
        break;
    }
    default:
        break;
    }
}

void CTraceReport::HandleScanData(int p, QStringView f, LineState& s)
{
    s.bHeader = false;
    s.bPresent = false;
    if (m_nReport == REPORT_NONE)
        return;
    if (!m_bScanStarted) {
        // The first data line of a cycle starts a fresh collection.
        m_bScanStarted = true;
        for (int& level : m_nScanCollect)
            level = -1;
    }
    if ((p % 2) == 0) {
        const int nChannel = CStringE::ViewToInt(f, 10);
        m_nScanIndex = nChannel == INT_MIN ? -1 : nChannel - 1;
        return;
    }
    if (m_nScanIndex >= kFirstHighIndex)
        m_nScanIndex -= 387;
    if (m_nScanIndex >= 0 && m_nScanIndex < SCAN_CHANNELS)
        m_nScanCollect[m_nScanIndex] = CStringE::ViewToInt(f, 10);
}
