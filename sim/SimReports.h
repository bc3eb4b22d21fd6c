#pragma once

#include <QByteArray>
#include <QList>

#include "sim/SimRadio.h"

// Trace report lines of the simulated mobile, without their line end.
// Field positions and widths follow what the panel's report record stores:
// no field is longer than its place allows.
namespace SimReports {
// report-selection bits
enum : unsigned
{
    F_IDLE = 0x1,
    F_DED = 0x2,
    F_DED_FER = 0x4,
    F_PATH_LOSS = 0x8,
    F_C2 = 0x10,
    F_L1 = 0x20,
    F_L3 = 0x40,
    F_BCCH = 0x80,
    F_SACCH = 0x100,
    F_SACCH_FULL = 0x200,
    F_PAGING = 0x800,
    F_SYNCH = 0x1000,
    F_CHAN_REQ = 0x2000,
    F_IDLE_CHAN = 0x4000,
    F_DED_CHAN = 0x8000,
    F_FULL_IDLE_DESC = 0x10000,
    F_IDLE_FULL = 0x20000,
    F_DED_FULL = 0x40000,
    F_CHAN_REQ_REST = 0x400000,
    F_BCCH_REST = 0x800000,
    F_PAGING_REST = 0x1000000,
    F_ALL = 0x1FFFFFF,
    // "*1*2*I+J+E": idle and dedicated standard reports, BCCH, channel descriptions
    F_DEFAULT_SET = F_IDLE | F_DED | F_BCCH | F_IDLE_CHAN | F_DED_CHAN
};

// Neighbours whose level is too low to decode their BSIC report 99.
int ReportedBsic(const CSimCell& c);

QByteArray IdleModeRpt(const CSimRadio& r);
QByteArray FullIdleReport(const CSimRadio& r);
// NCell continuation of neighbour i (0..5) for the open report: bFull selects
// the seven-field form that follows a Full Idle Report.
QByteArray NCell(const CSimRadio& r, int i, bool bFull);
QByteArray CellId(const CSimCell& c);
QList<QByteArray> FullIdleDesc(const CSimRadio& r);
// A Bcch_Report of System Information nType (1..4); nBlock is a running
// counter shown in the report's header.
QByteArray BcchReport(const CSimRadio& r, int nType, int nBlock);
QByteArray DedicatedRpt(const CSimRadio& r, int nPowerLevel, bool bFer);
QByteArray FullDedReport(const CSimRadio& r, int nPowerLevel);
// Dedicated_Chan and, when hopping, its Chan_Count line.
QList<QByteArray> DedicatedChan(const CSimRadio& r, int nTimeSlot);
QByteArray IdleChannel(const CSimRadio& r);
QByteArray SetFlagsEcho(unsigned nFlags);
} // namespace SimReports
