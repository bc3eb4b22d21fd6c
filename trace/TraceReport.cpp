// SPDX-License-Identifier: GPL-3.0-or-later
#include "trace/TraceReport.h"

#include <climits>
#include <cstring>
#include <utility>

#include "platform/Diagnostics.h"
#include "protocol/StringE.h"

namespace {
// A "Set Flags? " line carries the flag word: the name and eight characters.
const int kSetFlagsLength = 19;

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

// The position at which the lines of a kind turn out to continue the open
// report, or not to be presented, or both.
struct RoleRule
{
    int nKind;
    int nPosition;
    bool bContinuation;
    bool bQuiet;
};
const RoleRule kRoleRules[] = {
    {REPORT_CHAN_COUNT, 0, true, false},
    {REPORT_CELL_ID, 1, true, true},
    {REPORT_FULL_IDLE_DESC, 1, false, true},
    {REPORT_NONC, 0, true, true},
    {REPORT_COMB, 0, true, true},
    {REPORT_MAX_RETRANS, 0, true, true},
    {REPORT_MIN_ACCESS, 0, true, false},
    {REPORT_FLAGS, 1, true, true},
    {REPORT_CBCH, 0, true, false},
};
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
    : m_nReport(REPORT_NONE), m_nPendingReport(REPORT_NONE), m_nNeighbours(0),
      m_bScanAttached(false), m_bScanStarted(false), m_bNeighboursChanged(false), m_Bcch{}
{
    for (int i = 0; i < REPORT_NAMES; ++i)
        m_strReportName[i] = QString::fromLatin1(ReportName(i));
    m_listHopping.reserve(10);
    BuildTables();
    ResetScanLevels();
    for (int i = 0; i < REPORT_NAMES; ++i)
        ClearReport(i);
}

CTraceReport::~CTraceReport() = default;

void CTraceReport::Reset()
{
    m_nReport = REPORT_NONE;
    m_nPendingReport = REPORT_NONE;
    m_nNeighbours = 0;
    m_bScanStarted = false;
    m_bNeighboursChanged = false;
    ResetScanLevels();
    for (int i = 0; i < REPORT_NAMES; ++i)
        ClearReport(i);
}

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
        m_Bcch.nOctets = 0;
        m_Bcch.nType = -1;
        memset(m_Bcch.szText1, 0, sizeof m_Bcch.szText1);
        memset(m_Bcch.szText2, 0, sizeof m_Bcch.szText2);
        memset(m_Bcch.aszSysInfo, 0, sizeof m_Bcch.aszSysInfo);
        for (bool& b : m_Bcch.abSysInfo)
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

void CTraceReport::AttachScan(std::function<void(bool bAnyLevel)> onLevels)
{
    m_bScanAttached = true;
    m_onScanLevels = std::move(onLevels);
    m_bScanStarted = false;
    m_nReport = REPORT_NONE;
}

void CTraceReport::DetachScan()
{
    m_bScanAttached = false;
    m_onScanLevels = nullptr;
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
    return ChannelPlan::ChannelOfIndex(nIndex);
}

int CTraceReport::IndexOfChannel(int nChannel)
{
    return ChannelPlan::IndexOfChannel(nChannel);
}

int CTraceReport::GetScanLevel(int nChannel) const
{
    if (ChannelPlan::Contains(nChannel))
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
    if (nKind == REPORT_NONE && m_bScanAttached)
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
        if (m_bScanAttached)
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
    if (m_onScanLevels)
        m_onScanLevels(bAny);
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

void CTraceReport::BuildTables()
{
    BuildFieldTables();
    BuildNeighbourTables();
    m_aRule[REPORT_IDLE_MODE].bNeighbours = true;
    m_aRule[REPORT_DEDICATED].bNeighbours = true;
    for (const RoleRule& r : kRoleRules) {
        KindRule& rule = m_aRule[r.nKind];
        rule.nRolePosition = r.nPosition;
        rule.bContinuation = r.bContinuation;
        rule.bQuiet = r.bQuiet;
    }
}

// Where the fields of each kind's lines go, by position.
void CTraceReport::BuildFieldTables()
{
    std::vector<FieldAt> list;

    TrIdleModeRpt& idle = m_IdleMode;
    list = {At(0, idle.szBcch), At(1, idle.szRxLev)};
    AddNeighbours(list, 2, idle.aNeighbour);
    m_aRule[REPORT_IDLE_MODE].fields = MakeTable(list);

    TrDedicatedRpt& ded = m_Dedicated;
    list = {At(0, ded.szField0), At(1, ded.szTxPower), At(2, ded.szRxLev1),  At(3, ded.szRxQual1),
            At(4, ded.szRxLev2), At(5, ded.szRxQual2), At(24, ded.szField24)};
    AddNeighbours(list, 6, ded.aNeighbour);
    m_aRule[REPORT_DEDICATED].fields = MakeTable(list);

    // The octet count, message type and octets are read by HandleField.
    m_aRule[REPORT_BCCH].fields = MakeTable({At(1, m_Bcch.szText1), At(2, m_Bcch.szText2)});

    // Position 9 says whether the channel hops; that selects the
    // destinations of the later positions.
    TrDedicatedChan& chan = m_DedicatedChan;
    list = {At(0, chan.szBcch),     At(1, chan.szBsic),   At(2, chan.szField2),
            At(4, chan.szTimeSlot), At(6, chan.szField6), At(8, chan.szField8),
            At(9, chan.szMode)};
    std::vector<FieldAt> hopping = list;
    list.insert(list.end(), {At(11, chan.szExtra1), At(13, chan.szTrafficChannel)});
    hopping.insert(hopping.end(),
                   {At(11, chan.szExtra2), At(13, chan.szExtra3), At(15, chan.szExtra1)});
    m_aRule[REPORT_DEDICATED_CHAN].fields = MakeTable(list);
    m_aRule[REPORT_DEDICATED_CHAN].hopping = MakeTable(hopping);

    // The later fields of Chan_Count go to the hopping list.
    m_aRule[REPORT_CHAN_COUNT].fields = MakeTable({At(0, chan.szChanCount)});

    TrCellId& cell = m_CellId;
    m_aRule[REPORT_CELL_ID].fields =
        MakeTable({At(1, cell.szCi), At(3, cell.szLac), At(5, cell.szMnc), At(7, cell.szMcc)});

    TrFullIdleDesc& desc = m_FullIdleDesc;
    m_aRule[REPORT_FULL_IDLE_DESC].fields =
        MakeTable({At(1, desc.szBcch), At(3, desc.szBsic), At(5, desc.szCi), At(7, desc.szLac),
                   At(9, desc.szMnc), At(11, desc.szMcc)});
    // Position 0 of NonC and Comb stores the report's own name.
    list = {At(0, desc.szCombName)};
    for (int i = 0; i < 5; ++i)
        list.push_back(At(2 * i + 1, desc.aszComb[i]));
    m_aRule[REPORT_NONC].fields = MakeTable(list);
    m_aRule[REPORT_COMB].fields = MakeTable(list);
    m_aRule[REPORT_MAX_RETRANS].fields =
        MakeTable({At(0, desc.szRetrans0), At(3, desc.szRetrans3), At(7, desc.szRetrans7)});
    m_aRule[REPORT_MIN_ACCESS].fields = MakeTable({At(0, desc.szAccess0), At(3, desc.szAccess3),
                                                   At(5, desc.szAccess5), At(7, desc.szAccess7)});
    list.clear();
    for (int i = 0; i < 7; ++i)
        list.push_back(At(2 * i + 1, desc.aszFlags[i]));
    m_aRule[REPORT_FLAGS].fields = MakeTable(list);
    // Position 7 says whether the channel hops, which selects position 9.
    list = {At(0, desc.szCbch0), At(2, desc.szCbchTimeSlot), At(4, desc.szCbch4),
            At(6, desc.szCbch6), At(7, desc.szCbchMode),     At(11, desc.szCbch11)};
    hopping = list;
    list.push_back(At(9, desc.szCbch9));
    hopping.push_back(At(9, desc.szCbch9Hopping));
    m_aRule[REPORT_CBCH].fields = MakeTable(list);
    m_aRule[REPORT_CBCH].hopping = MakeTable(hopping);

    TrFullIdleReport& full = m_FullIdle;
    m_aRule[REPORT_FULL_IDLE].fields =
        MakeTable({At(0, full.szBcch), At(1, full.szRxLev), At(2, full.szRxQual),
                   At(3, full.szField3), At(4, full.szField4), At(5, full.szField5)});

    TrFullDedReport& fded = m_FullDed;
    m_aRule[REPORT_FULL_DED].fields =
        MakeTable({At(0, fded.szTimingAdvance), At(1, fded.szTxPower), At(2, fded.szRxLev1),
                   At(3, fded.szRxQual1), At(4, fded.szRxLev2), At(5, fded.szRxQual2),
                   At(6, fded.szPairSelect)});
}

// NCell lines fill entry e of the open report's neighbour tables.
void CTraceReport::BuildNeighbourTables()
{
    TrFullIdleReport& full = m_FullIdle;
    const std::pair<int, TrNeighbour*> tables[] = {{REPORT_IDLE_MODE, m_IdleMode.aNeighbour},
                                                   {REPORT_DEDICATED, m_Dedicated.aNeighbour},
                                                   {REPORT_FULL_DED, m_FullDed.aNeighbour}};
    for (int e = 0; e < 6; ++e) {
        for (const auto& [nReport, pTable] : tables) {
            TrNeighbour& nb = pTable[e];
            m_aNCell[nReport][e] =
                MakeTable({At(1, nb.szBcch), At(2, nb.szRxLev), At(3, nb.szBsic)});
        }
        TrNeighbour& a = full.aNeighbourA[e];
        TrNeighbourB& b = full.aNeighbourB[e];
        m_aNCell[REPORT_FULL_IDLE][e] =
            MakeTable({At(1, a.szBcch), At(2, a.szRxLev), At(3, b.szField1), At(4, b.szField2),
                       At(5, a.szBsic), At(6, b.szField3)});
    }
}

CTraceReport::FieldTable CTraceReport::MakeTable(const std::vector<FieldAt>& list)
{
    FieldTable table;
    table.nFirst = static_cast<int>(m_aDest.size());
    for (const FieldAt& at : list)
        table.nCount = qMax(table.nCount, at.nPosition + 1);
    m_aDest.resize(m_aDest.size() + table.nCount, FieldDest{nullptr, 0});
    for (const FieldAt& at : list)
        m_aDest[table.nFirst + at.nPosition] = at.dest;
    return table;
}

void CTraceReport::AddNeighbours(std::vector<FieldAt>& list, int nFirst, TrNeighbour (&table)[6])
{
    for (int j = 0; j < 6; ++j) {
        const int p = nFirst + 3 * j;
        list.insert(list.end(), {At(p, table[j].szBcch), At(p + 1, table[j].szRxLev),
                                 At(p + 2, table[j].szBsic)});
    }
}

void CTraceReport::StoreByTable(const FieldTable& table, QStringView field, int nKind, int p)
{
    if (p >= table.nCount)
        return;
    const FieldDest& dest = m_aDest[table.nFirst + p];
    if (dest.pszField)
        StoreField(dest.pszField, dest.nCap, field, nKind, p);
}

void CTraceReport::HandleField(int nKind, int p, QStringView f, LineState& s)
{
    // The rules the tables do not tell.
    switch (nKind) {
    case REPORT_BCCH:
        if (p == 0) {
            m_Bcch.nOctets = CStringE::ViewToInt(f, 10);
            m_Bcch.nType = -1;
        } else if (p == 3) {
            // Message types 0x19 .. 0x1C are System Information 1 .. 4.
            const qint64 nType = static_cast<qint64>(CStringE::ViewToInt(f, 16)) - 25;
            s.nSysInfo = nType >= 0 && nType <= 3 ? static_cast<int>(nType) : -1;
            if (s.nSysInfo >= 0)
                m_Bcch.abSysInfo[s.nSysInfo] = true;
            m_Bcch.nType = s.nSysInfo;
        } else if (p >= 4 && p < 24 && s.nSysInfo >= 0) {
            Store(m_Bcch.aszSysInfo[s.nSysInfo][p - 4], f, nKind, p);
        }
        break;
    case REPORT_DEDICATED_CHAN:
        if (p == 9 && IsHopping(f)) {
            // Presented once its Chan_Count line has filled the hopping list.
            s.bHopping = true;
            s.bPresent = false;
        }
        break;
    case REPORT_CHAN_COUNT:
        if (p > 0 && !f.isEmpty())
            m_listHopping.append(f.toString());
        break;
    case REPORT_NONC:
    case REPORT_COMB:
        if (p == 0)
            f = m_strReportName[nKind]; // the name field takes the report's own name
        break;
    case REPORT_CBCH:
        if (p == 7)
            s.bHopping = IsHopping(f);
        break;
    case REPORT_RF_SCAN:
        m_bScanStarted = false;
        return;
    case REPORT_NCELL:
        HandleNCell(p, f, s);
        return;
    case REPORT_SCAN_DATA:
        HandleScanData(p, f, s);
        return;
    default:
        break;
    }

    const KindRule& rule = m_aRule[nKind];
    if (p == rule.nRolePosition) {
        if (rule.bContinuation)
            s.bHeader = false;
        if (rule.bQuiet)
            s.bPresent = false;
    }
    if (rule.bNeighbours)
        m_bNeighboursChanged = true;
    StoreByTable(s.bHopping ? rule.hopping : rule.fields, f, nKind, p);
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
    if (s.nEntry >= 1 && s.nEntry <= 6 && m_nReport < REPORT_NAMES)
        StoreByTable(m_aNCell[m_nReport][s.nEntry - 1], f, REPORT_NCELL, p);
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
    // Numbers above the low band are taken as channels of the high band.
    if (m_nScanIndex >= ChannelPlan::kLowCount)
        m_nScanIndex = ChannelPlan::IndexOfChannel(m_nScanIndex + ChannelPlan::kLowFirst);
    if (m_nScanIndex >= 0 && m_nScanIndex < SCAN_CHANNELS)
        m_nScanCollect[m_nScanIndex] = CStringE::ViewToInt(f, 10);
}
