// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the trace report parser with lines as the module's trace port
// delivers them. Every input line is parsed, except lines that start with
// byte 0x01: their next byte is a command and the byte after it its
// argument:
//   0 ClearReport(argument as a signed byte)   1 ResetScanLevels()
//   2 AttachScan()                             3 DetachScan()
//   4 toggle: decode later lines as UTF-8 instead of Latin-1
//   5 GetScanLevel(argument * 8 - 100)         6 NeighbourTable(argument)
// After each step the record is checked: every text field holds its zero
// terminator, the kinds stay in their range, the scan levels stay readable.

#include "FuzzCommon.h"
#include "trace/TraceReport.h"

namespace {

using fuzz::Terminated;

bool NeighboursTerminated(const TrNeighbour (&table)[6])
{
    for (const TrNeighbour& n : table) {
        if (!Terminated(n.szBcch) || !Terminated(n.szRxLev) || !Terminated(n.szBsic))
            return false;
    }
    return true;
}

void CheckRecord(const CTraceReport& r)
{
    FUZZ_CHECK(r.CurrentReport() >= 0 && r.CurrentReport() <= REPORT_NONE);
    FUZZ_CHECK(r.GetPendingReport() >= 0 && r.GetPendingReport() <= REPORT_NONE);

    FUZZ_CHECK(Terminated(r.Bcch().szText1) && Terminated(r.Bcch().szText2));
    for (const auto& type : r.Bcch().aszSysInfo) {
        for (const auto& octet : type)
            FUZZ_CHECK(Terminated(octet));
    }

    const TrIdleModeRpt& idle = r.IdleMode();
    FUZZ_CHECK(Terminated(idle.szBcch) && Terminated(idle.szRxLev));
    FUZZ_CHECK(NeighboursTerminated(idle.aNeighbour));

    const TrDedicatedRpt& ded = r.Dedicated();
    FUZZ_CHECK(Terminated(ded.szField0) && Terminated(ded.szTxPower) && Terminated(ded.szRxLev1) &&
               Terminated(ded.szRxQual1) && Terminated(ded.szRxLev2) && Terminated(ded.szRxQual2) &&
               Terminated(ded.szField24));
    FUZZ_CHECK(NeighboursTerminated(ded.aNeighbour));

    const TrCellId& cell = r.CellId();
    FUZZ_CHECK(Terminated(cell.szCi) && Terminated(cell.szLac) && Terminated(cell.szMnc) &&
               Terminated(cell.szMcc));

    const TrDedicatedChan& chan = r.DedicatedChan();
    FUZZ_CHECK(Terminated(chan.szBcch) && Terminated(chan.szBsic) && Terminated(chan.szField2) &&
               Terminated(chan.szTimeSlot) && Terminated(chan.szField6) &&
               Terminated(chan.szField8) && Terminated(chan.szMode) && Terminated(chan.szExtra1) &&
               Terminated(chan.szExtra2) && Terminated(chan.szExtra3) &&
               Terminated(chan.szTrafficChannel) && Terminated(chan.szChanCount));

    const TrFullIdleDesc& d = r.FullIdleDesc();
    FUZZ_CHECK(Terminated(d.szBcch) && Terminated(d.szBsic) && Terminated(d.szCi) &&
               Terminated(d.szLac) && Terminated(d.szMnc) && Terminated(d.szMcc) &&
               Terminated(d.szCombName));
    for (const auto& f : d.aszComb)
        FUZZ_CHECK(Terminated(f));
    FUZZ_CHECK(Terminated(d.szRetrans0) && Terminated(d.szRetrans3) && Terminated(d.szRetrans7));
    FUZZ_CHECK(Terminated(d.szAccess0) && Terminated(d.szAccess3) && Terminated(d.szAccess5) &&
               Terminated(d.szAccess7));
    for (const auto& f : d.aszFlags)
        FUZZ_CHECK(Terminated(f));
    FUZZ_CHECK(Terminated(d.szCbch0) && Terminated(d.szCbchTimeSlot) && Terminated(d.szCbch4) &&
               Terminated(d.szCbch6) && Terminated(d.szCbchMode) && Terminated(d.szCbch9Hopping) &&
               Terminated(d.szCbch9) && Terminated(d.szCbch11));

    const TrFullIdleReport& full = r.FullIdle();
    FUZZ_CHECK(Terminated(full.szBcch) && Terminated(full.szRxLev) && Terminated(full.szRxQual) &&
               Terminated(full.szField3) && Terminated(full.szField4) && Terminated(full.szField5));
    FUZZ_CHECK(NeighboursTerminated(full.aNeighbourA));
    for (const TrNeighbourB& b : full.aNeighbourB)
        FUZZ_CHECK(Terminated(b.szField1) && Terminated(b.szField2) && Terminated(b.szField3));

    const TrFullDedReport& fded = r.FullDed();
    FUZZ_CHECK(Terminated(fded.szTimingAdvance) && Terminated(fded.szTxPower) &&
               Terminated(fded.szRxLev1) && Terminated(fded.szRxQual1) &&
               Terminated(fded.szRxLev2) && Terminated(fded.szRxQual2) &&
               Terminated(fded.szPairSelect));
    FUZZ_CHECK(NeighboursTerminated(fded.aNeighbour));

    // The neighbour tables the presentation reads for a pending report.
    const int nPending = r.GetPendingReport();
    if (const TrNeighbour* table = r.NeighbourTable(nPending)) {
        for (int i = 0; i < 6; ++i)
            FUZZ_CHECK(Terminated(table[i].szBcch) && Terminated(table[i].szBsic));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    // The channel numbering of the scan is its own inverse.
    for (int i = 0; i < SCAN_CHANNELS; ++i)
        FUZZ_CHECK(CTraceReport::IndexOfChannel(CTraceReport::ChannelOfIndex(i)) == i);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    CTraceReport report;
    bool bUtf8 = false;
    for (const QByteArray& bytes : fuzz::Lines(data, size)) {
        if (bytes.startsWith('\x01')) {
            const int nOp = bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0;
            const int nArg = bytes.size() > 2 ? static_cast<signed char>(bytes[2]) : 0;
            switch (nOp % 7) {
            case 0:
                report.ClearReport(nArg);
                break;
            case 1:
                report.ResetScanLevels();
                break;
            case 2:
                report.AttachScan();
                break;
            case 3:
                report.DetachScan();
                break;
            case 4:
                bUtf8 = !bUtf8;
                break;
            case 5: {
                const int nChannel = nArg * 8 - 100;
                const int nLevel = report.GetScanLevel(nChannel);
                const bool bKnown =
                    (nChannel >= 1 && nChannel <= 124) || (nChannel >= 512 && nChannel <= 885);
                FUZZ_CHECK(bKnown || nLevel == -1);
                break;
            }
            case 6:
                (void)report.NeighbourTable(nArg);
                break;
            }
        } else {
            QString line = bUtf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
            const qsizetype nBefore = line.size();
            const int nResult = report.ParseLine(line);
            FUZZ_CHECK(nResult >= 0 && nResult <= REPORT_NONE);
            FUZZ_CHECK(line.size() <= nBefore);
        }
        CheckRecord(report);
    }
    return 0;
}
