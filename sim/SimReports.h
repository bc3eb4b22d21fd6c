// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

#include "protocol/ReportFlags.h"
#include "sim/SimRadio.h"

// Trace report lines of the simulated mobile, without their line end.
// Field positions and widths follow what the panel's report record stores:
// no field is longer than its place allows.
namespace SimReports {

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
