#include "sim/SimReports.h"

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
    QByteArray s = Fmt("Idle_Mode_Rpt %d %d", r.Serving().nArfcn, r.Serving().nLevel);
    for (int i = 0; i < CSimRadio::NEIGHBOURS; ++i) {
        const CSimCell& n = r.Neighbour(i);
        s += Fmt(" %d %d %d", n.nArfcn, n.nLevel, ReportedBsic(n));
    }
    return s;
}

QByteArray FullIdleReport(const CSimRadio& r)
{
    const CSimCell& s = r.Serving();
    return Fmt("Full Idle Report %d %d %d %d %d 0", s.nArfcn, s.nLevel, r.RxQual(), C1(s), C1(s));
}

QByteArray NCell(const CSimRadio& r, int i, bool bFull)
{
    const CSimCell& n = r.Neighbour(i);
    if (bFull)
        return Fmt("NCell %d %d %d %d %d %d 0", i + 1, n.nArfcn, n.nLevel, C1(n), C1(n),
                   ReportedBsic(n));
    return Fmt("NCell %d %d %d %d", i + 1, n.nArfcn, n.nLevel, ReportedBsic(n));
}

QByteArray CellId(const CSimCell& c)
{
    return Fmt("Cell ID     CI %X LAC %X MNC %02d MCC %03d", c.nCi, c.nLac, c.nMnc, c.nMcc);
}

QList<QByteArray> FullIdleDesc(const CSimRadio& r)
{
    const CSimCell& s = r.Serving();
    QList<QByteArray> lines;
    lines << Fmt("Full Idle Desc BCCH %d BSIC %d CI %X LAC %X MNC %02d MCC %03d", s.nArfcn, s.nBsic,
                 s.nCi, s.nLac, s.nMnc, s.nMcc);
    lines << QByteArray("NonC AG 1 PA 5 CCCH 1 ATT 1 CBQ 0");
    lines << QByteArray("Max Retrans 4 Tx Integer 32 Cell Bar Access 0");
    lines << Fmt("Min Access %d Tx Pwr 33 Hyst 4 Offset 0", RXLEV_ACCESS_MIN);
    lines << QByteArray("Flags          ATT 1 PWRC 0 DTX 1 NECI 0 ACS 0 RE 0 BAR 0");
    if (r.IsHopping())
        lines << Fmt("CBCH Supported Yes TS 1 Sub 2 TSC %d Hopping MAIO 0 HSN %d", s.nBsic & 7,
                     (s.nBsic * 3) % 64);
    else
        lines << Fmt("CBCH Supported Yes TS 1 Sub 2 TSC %d Single ARFCN %d HSN 0", s.nBsic & 7,
                     s.nArfcn);
    return lines;
}

QByteArray BcchReport(const CSimRadio& r, int nType, int nBlock)
{
    const auto octets = r.SysInfo(nType);
    // the octet count includes the message type
    QByteArray s = Fmt("Bcch_Report %d %d %d %X", CSimRadio::SI_OCTETS + 1, r.Serving().nArfcn,
                       nBlock & 7, 0x18 + nType);
    for (uint8_t o : octets)
        s += Fmt(" %02X", o);
    return s;
}

QByteArray DedicatedRpt(const CSimRadio& r, int nPowerLevel, bool bFer)
{
    const CSimCell& s = r.Serving();
    const int q = r.RxQual();
    QByteArray line = Fmt("Dedicated_Rpt %d %d %d %d %d %d", r.TimingAdvance(), nPowerLevel,
                          s.nLevel, q, qMax(0, s.nLevel - 1), qMin(7, q + 1));
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
    return Fmt("Full Ded Report %d %d %d %d %d %d 1", r.TimingAdvance(), nPowerLevel, s.nLevel, q,
               qMax(0, s.nLevel - 1), qMin(7, q + 1));
}

QList<QByteArray> DedicatedChan(const CSimRadio& r, int nTimeSlot)
{
    const CSimCell& s = r.Serving();
    QList<QByteArray> lines;
    if (!r.IsHopping()) {
        lines << Fmt("Dedicated_Chan %d %d TCH/F TS %d SC 0 TSC %d Single Cipher 0 ARFCN %d",
                     s.nArfcn, s.nBsic, nTimeSlot, s.nBsic & 7, TrafficChannel(r));
        return lines;
    }
    lines << Fmt("Dedicated_Chan %d %d TCH/F TS %d SC 0 TSC %d Hopping MAIO 0 HSN %d Cipher 0",
                 s.nArfcn, s.nBsic, nTimeSlot, s.nBsic & 7, (s.nBsic * 3) % 64);
    const std::vector<int> ca = r.CellAllocation();
    QByteArray count = Fmt("Chan_Count %d", static_cast<int>(ca.size()));
    for (int n : ca)
        count += Fmt(" %d", n);
    lines << count;
    return lines;
}

QByteArray IdleChannel(const CSimRadio& r)
{
    return Fmt("Idle_Channel BCCH %d BSIC %d", r.Serving().nArfcn, r.Serving().nBsic);
}

QByteArray SetFlagsEcho(unsigned nFlags)
{
    return Fmt("Set Flags? %08X", nFlags);
}
} // namespace SimReports
