// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gsmtap/BcchMessage.h"

class CTraceReport;

// Follows the trace lines as the record parses them and picks out the
// System Information messages. The carrier is the one the Bcch_Report line
// names, else that of the serving cell in the latest Idle_Mode_Rpt or Full
// Idle Report; the level is the serving cell's as the panel shows it, 0 dBm
// (none known) for another carrier or before any serving-cell report. The
// live feed and the capture-file tool share it, so both read the module's
// lines by the panel's own rules.
class CBcchCapture
{
public:
    // nKind is what ParseLine returned for the line just parsed. True when
    // that line carried System Information octets; *pMessage is then filled.
    bool Follow(const CTraceReport& report, int nKind, SBcchMessage* pMessage);

    int Arfcn() const { return m_nArfcn; }
    int LevelDbm() const { return m_nLevelDbm; }

private:
    void TakeServing(const char* pszBcch, const char* pszRxLev);

    int m_nArfcn = 0;    // none known yet
    int m_nLevelDbm = 0; // none known yet
};
