// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/TraceReports.h"

namespace {
const char* const kNames[REPORT_NAMES] = {"Set Flags? ",
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
} // namespace

const char* ReportName(int nKind)
{
    return nKind >= 0 && nKind < REPORT_NAMES ? kNames[nKind] : "";
}
