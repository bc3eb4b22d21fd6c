// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

#include "protocol/ChannelPlan.h"
#include "protocol/TraceReports.h"

enum
{
    SCAN_CHANNELS = ChannelPlan::kChannels
};

// One neighbour entry: BCCH carrier, RX level and BSIC as text.
struct TrNeighbour
{
    char szBcch[4];
    char szRxLev[4];
    char szBsic[3];
};

// The second neighbour table of the full idle report (not shown).
struct TrNeighbourB
{
    char szField1[4];
    char szField2[4];
    char szField3[5];
};

struct TrIdleModeRpt
{
    char szBcch[4];
    char szRxLev[4];
    TrNeighbour aNeighbour[6];
};

struct TrDedicatedRpt
{
    char szField0[3];
    char szTxPower[3];
    char szRxLev1[3];
    char szRxQual1[2];
    char szRxLev2[3];
    char szRxQual2[2];
    TrNeighbour aNeighbour[6];
    char szField24[3];
};

struct TrCellId
{
    char szCi[5];
    char szLac[5];
    char szMnc[3];
    char szMcc[4];
};

// Dedicated_Chan and its Chan_Count count.
struct TrDedicatedChan
{
    char szBcch[4];
    char szBsic[3];
    char szField2[7];
    char szTimeSlot[2];
    char szField6[2];
    char szField8[2];
    char szMode[12];
    char szExtra1[2];
    char szExtra2[3];
    char szExtra3[3];
    char szTrafficChannel[4];
    char szChanCount[4];
};

// The full idle channel description and its continuation lines.
struct TrFullIdleDesc
{
    char szBcch[4];
    char szBsic[3];
    char szCi[5];
    char szLac[5];
    char szMnc[3];
    char szMcc[4];
    // NonC or Comb
    char szCombName[5];
    char aszComb[5][2];
    // Max Retrans
    char szRetrans0[3];
    char szRetrans3[5];
    char szRetrans7[3];
    // Min Access
    char szAccess0[3];
    char szAccess3[6];
    char szAccess5[2];
    char szAccess7[4];
    // Flags
    char aszFlags[7][2];
    // CBCH Supported
    char szCbch0[7];
    char szCbchTimeSlot[2];
    char szCbch4[2];
    char szCbch6[2];
    char szCbchMode[12];
    char szCbch9Hopping[3];
    char szCbch9[4];
    char szCbch11[3];
};

struct TrFullIdleReport
{
    char szBcch[4];
    char szRxLev[4];
    char szRxQual[2];
    char szField3[4];
    char szField4[4];
    char szField5[2];
    TrNeighbour aNeighbourA[6];
    TrNeighbourB aNeighbourB[6];
};

struct TrFullDedReport
{
    char szTimingAdvance[3];
    char szTxPower[3];
    char szRxLev1[3];
    char szRxQual1[2];
    char szRxLev2[3];
    char szRxQual2[2];
    char szPairSelect[2];
    TrNeighbour aNeighbour[6];
};

// The latest Bcch_Report: its two leading fields, octet count and the
// octets of each System Information type as they arrived.
struct TrBcchReport
{
    int nOctets;
    char szText1[4];
    char szText2[3];
    char aszSysInfo[4][20][3];
    bool abSysInfo[4]; // the type has arrived since the record was cleared
    // Type index of the latest line if it stored octets, else -1.
    int nType;
};

// The trace report parser and the record of the latest values. Fields are
// kept as the text they arrived in, in fixed-capacity zero-terminated
// fields; the presentation, the BCCH dialog and the channel scan read them
// through the const accessors.
class CTraceReport
{
public:
    CTraceReport();
    ~CTraceReport();
    CTraceReport(const CTraceReport&) = delete;
    CTraceReport& operator=(const CTraceReport&) = delete;

    // Parses one line into the record; returns the kind to present or
    // REPORT_NONE. The line may be shortened.
    int ParseLine(QString& strLine);
    void ClearReport(int nReport);
    // Empties the whole record as at construction; an attached scan stays attached.
    void Reset();

    // While a scan is attached, lines that are no report are scan data
    // lines. onLevels runs after each publication of levels, told whether
    // any channel has one.
    void AttachScan(std::function<void(bool bAnyLevel)> onLevels = {});
    void DetachScan();
    bool IsScanAttached() const { return m_bScanAttached; }
    void ResetScanLevels();
    static int ChannelOfIndex(int nIndex);
    static int IndexOfChannel(int nChannel);
    int GetScanLevel(int nChannel) const;

    // The kind of the latest header line, REPORT_NONE before the first.
    int CurrentReport() const { return m_nReport; }
    int GetNeighbourCount() const { return m_nNeighbours; }
    int GetPendingReport() const { return m_nPendingReport; }
    // The neighbour table of a kind (1, 2, 27 table A, 28), or null.
    const TrNeighbour* NeighbourTable(int nReport) const;
    // The hopping channels of the latest Dedicated_Chan line.
    const QStringList& Hopping() const { return m_listHopping; }

    const TrIdleModeRpt& IdleMode() const { return m_IdleMode; }
    const TrDedicatedRpt& Dedicated() const { return m_Dedicated; }
    const TrCellId& CellId() const { return m_CellId; }
    const TrDedicatedChan& DedicatedChan() const { return m_DedicatedChan; }
    const TrFullIdleDesc& FullIdleDesc() const { return m_FullIdleDesc; }
    const TrFullIdleReport& FullIdle() const { return m_FullIdle; }
    const TrFullDedReport& FullDed() const { return m_FullDed; }
    const TrBcchReport& Bcch() const { return m_Bcch; }

private:
    // The tests set up states that lines alone reach only slowly.
    friend struct TestAccess;

    int m_nReport;
    int m_nPendingReport;
    int m_nNeighbours;
    QString m_strReportName[REPORT_NAMES];
    QStringList m_listHopping;
    int m_nScanLevel[SCAN_CHANNELS];
    int m_nScanCollect[SCAN_CHANNELS];
    bool m_bScanAttached;
    std::function<void(bool bAnyLevel)> m_onScanLevels;
    bool m_bScanStarted;
    bool m_bNeighboursChanged;

    TrBcchReport m_Bcch;
    TrIdleModeRpt m_IdleMode;
    TrDedicatedRpt m_Dedicated;
    TrCellId m_CellId;
    TrDedicatedChan m_DedicatedChan;
    TrFullIdleDesc m_FullIdleDesc;
    TrFullIdleReport m_FullIdle;
    TrFullDedReport m_FullDed;

    struct LineState;

    // Where one field of a line goes: a character field of this record and
    // its capacity.
    struct FieldDest
    {
        char* pszField;
        int nCap;
    };
    // A destination at a field position, as the constructor lists them.
    struct FieldAt
    {
        int nPosition;
        FieldDest dest;
    };
    template <size_t N> static FieldAt At(int p, char (&field)[N])
    {
        return {p, {field, static_cast<int>(N)}};
    }
    // The destinations of one line, indexed by field position: entries
    // nFirst .. nFirst + nCount - 1 of m_aDest.
    struct FieldTable
    {
        int nFirst = 0;
        int nCount = 0;
    };
    // How the lines of one kind are parsed.
    struct KindRule
    {
        FieldTable fields;
        FieldTable hopping;         // replaces fields on a hopping line
        int nRolePosition = -1;     // position that settles the line's role
        bool bContinuation = false; // ... as a continuation line
        bool bQuiet = false;        // ... as a line not to present
        bool bNeighbours = false;   // every position changes a neighbour table
    };

    void BuildTables();
    void BuildFieldTables();
    void BuildNeighbourTables();
    FieldTable MakeTable(const std::vector<FieldAt>& list);
    static void AddNeighbours(std::vector<FieldAt>& list, int nFirst, TrNeighbour (&table)[6]);
    void StoreByTable(const FieldTable& table, QStringView field, int nKind, int p);
    int MatchName(QString& strLine, int nStart) const;
    void HandleField(int nKind, int p, QStringView field, LineState& s);
    void HandleNCell(int p, QStringView field, LineState& s);
    void HandleScanData(int p, QStringView field, LineState& s);
    template <size_t N> void Store(char (&dst)[N], QStringView field, int nKind, int p)
    {
        StoreField(dst, static_cast<int>(N), field, nKind, p);
    }
    void StoreField(char* dst, int nCap, QStringView field, int nKind, int p);
    void Publish();

    std::vector<FieldDest> m_aDest; // every table's destinations
    KindRule m_aRule[REPORT_NAMES];
    FieldTable m_aNCell[REPORT_NAMES][6]; // by open report and neighbour entry
    int m_nScanIndex = -1;                // working index of a scan data line
};
