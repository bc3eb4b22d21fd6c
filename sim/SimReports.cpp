// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimReports.h"

#include "protocol/TraceReports.h"

#include <QtGlobal>

#include "sim/SimFormat.h"

namespace SimReports {
namespace {
const int RXLEV_ACCESS_MIN = 10;

int C1(const CSimCell& c)
{
    return c.nLevel - RXLEV_ACCESS_MIN;
}

int TrafficChannel(const CSimRadio& r)
{
    const std::vector<int> ca = r.CellAllocation();
    return ca.size() > 1 ? ca[1] : r.Serving().nArfcn;
}
} // namespace

int ReportedBsic(const CSimCell& c)
{
    return c.nLevel < 10 ? 99 : c.nBsic;
}

QByteArray IdleModeRpt(const CSimRadio& r)
{
    QByteArray s =
        Fmt("%s %d %d", ReportName(REPORT_IDLE_MODE), r.Serving().nArfcn, r.Serving().nLevel);
    for (int i = 0; i < CSimRadio::NEIGHBOURS; ++i) {
        const CSimCell& n = r.Neighbour(i);
        s += Fmt(" %d %d %d", n.nArfcn, n.nLevel, ReportedBsic(n));
    }
    return s;
}

QByteArray FullIdleReport(const CSimRadio& r)
{
    const CSimCell& s = r.Serving();
    return Fmt("%s %d %d %d %d %d 0", ReportName(REPORT_FULL_IDLE), s.nArfcn, s.nLevel, r.RxQual(),
               C1(s), C1(s));
}

QByteArray NCell(const CSimRadio& r, int i, bool bFull)
{
    const CSimCell& n = r.Neighbour(i);
    if (bFull)
        return Fmt("%s %d %d %d %d %d %d 0", ReportName(REPORT_NCELL), i + 1, n.nArfcn, n.nLevel,
                   C1(n), C1(n), ReportedBsic(n));
    return Fmt("%s %d %d %d %d", ReportName(REPORT_NCELL), i + 1, n.nArfcn, n.nLevel,
               ReportedBsic(n));
}

QByteArray CellId(const CSimCell& c)
{
    return Fmt("%sCI %X LAC %X MNC %02d MCC %03d", ReportName(REPORT_CELL_ID), c.nCi, c.nLac,
               c.nMnc, c.nMcc);
}

QList<QByteArray> FullIdleDesc(const CSimRadio& r)
{
    const CSimCell& s = r.Serving();
    QList<QByteArray> lines;
    lines << Fmt("%s BCCH %d BSIC %d CI %X LAC %X MNC %02d MCC %03d",
                 ReportName(REPORT_FULL_IDLE_DESC), s.nArfcn, s.nBsic, s.nCi, s.nLac, s.nMnc,
                 s.nMcc);
    lines << Fmt("%s AG 1 PA 5 CCCH 1 ATT 1 CBQ 0", ReportName(REPORT_NONC));
    lines << Fmt("%s 4 Tx Integer 32 Cell Bar Access 0", ReportName(REPORT_MAX_RETRANS));
    lines << Fmt("%s %d Tx Pwr 33 Hyst 4 Offset 0", ReportName(REPORT_MIN_ACCESS),
                 RXLEV_ACCESS_MIN);
    lines << Fmt("%s ATT 1 PWRC 0 DTX 1 NECI 0 ACS 0 RE 0 BAR 0", ReportName(REPORT_FLAGS));
    if (r.IsHopping())
        lines << Fmt("%s Yes TS 1 Sub 2 TSC %d Hopping MAIO 0 HSN %d", ReportName(REPORT_CBCH),
                     s.nBsic & 7, (s.nBsic * 3) % 64);
    else
        lines << Fmt("%s Yes TS 1 Sub 2 TSC %d Single ARFCN %d HSN 0", ReportName(REPORT_CBCH),
                     s.nBsic & 7, s.nArfcn);
    return lines;
}

QByteArray BcchReport(const CSimRadio& r, int nType, int nBlock)
{
    const auto octets = r.SysInfo(nType);
    // the octet count includes the message type
    QByteArray s = Fmt("%s %d %d %d %X", ReportName(REPORT_BCCH), CSimRadio::SI_OCTETS + 1,
                       r.Serving().nArfcn, nBlock & 7, 0x18 + nType);
    for (uint8_t o : octets)
        s += Fmt(" %02X", o);
    return s;
}

QByteArray DedicatedRpt(const CSimRadio& r, int nPowerLevel, bool bFer)
{
    const CSimCell& s = r.Serving();
    const int q = r.RxQual();
    QByteArray line = Fmt("%s %d %d %d %d %d %d", ReportName(REPORT_DEDICATED), r.TimingAdvance(),
                          nPowerLevel, s.nLevel, q, qMax(0, s.nLevel - 1), qMin(7, q + 1));
    for (int i = 0; i < CSimRadio::NEIGHBOURS; ++i) {
        const CSimCell& n = r.Neighbour(i);
        line += Fmt(" %d %d %d", n.nArfcn, n.nLevel, ReportedBsic(n));
    }
    if (bFer)
        line += Fmt(" %d", q * 2);
    return line;
}

QByteArray FullDedReport(const CSimRadio& r, int nPowerLevel)
{
    const CSimCell& s = r.Serving();
    const int q = r.RxQual();
    return Fmt("%s %d %d %d %d %d %d 1", ReportName(REPORT_FULL_DED), r.TimingAdvance(),
               nPowerLevel, s.nLevel, q, qMax(0, s.nLevel - 1), qMin(7, q + 1));
}

QList<QByteArray> DedicatedChan(const CSimRadio& r, int nTimeSlot)
{
    const CSimCell& s = r.Serving();
    QList<QByteArray> lines;
    if (!r.IsHopping()) {
        lines << Fmt("%s %d %d TCH/F TS %d SC 0 TSC %d Single Cipher 0 ARFCN %d",
                     ReportName(REPORT_DEDICATED_CHAN), s.nArfcn, s.nBsic, nTimeSlot, s.nBsic & 7,
                     TrafficChannel(r));
        return lines;
    }
    lines << Fmt("%s %d %d TCH/F TS %d SC 0 TSC %d Hopping MAIO 0 HSN %d Cipher 0",
                 ReportName(REPORT_DEDICATED_CHAN), s.nArfcn, s.nBsic, nTimeSlot, s.nBsic & 7,
                 (s.nBsic * 3) % 64);
    const std::vector<int> ca = r.CellAllocation();
    QByteArray count = Fmt("%s %d", ReportName(REPORT_CHAN_COUNT), static_cast<int>(ca.size()));
    for (int n : ca)
        count += Fmt(" %d", n);
    lines << count;
    return lines;
}

QByteArray IdleChannel(const CSimRadio& r)
{
    return Fmt("%s BCCH %d BSIC %d", ReportName(REPORT_IDLE_CHANNEL), r.Serving().nArfcn,
               r.Serving().nBsic);
}

QByteArray SetFlagsEcho(unsigned nFlags)
{
    return Fmt("%s%08X", ReportName(REPORT_SET_FLAGS), nFlags);
}
} // namespace SimReports
