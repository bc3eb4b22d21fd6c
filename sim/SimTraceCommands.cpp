// SPDX-License-Identifier: GPL-3.0-or-later
// The module's trace-port commands, one function per command.
#include "sim/SimCore.h"

#include <QTimer>

#include "protocol/ChannelPlan.h"
#include "protocol/TraceReports.h"
#include "sim/SimFormat.h"
#include "sim/SimReports.h"

using namespace SimReports;

void CSimCore::TraceCommand(const CSimTraceParser::SCommand& cmd)
{
    using Handler = void (CSimCore::*)(const QByteArray&);
    struct SRow
    {
        CSimTraceParser::ECommand eCmd;
        Handler pfn;
    };
    // set-up strings, lock selection and accept have nothing to do
    static const SRow kCommands[] = {
        {CSimTraceParser::TC_POWER_ON, &CSimCore::TcPowerOn},
        {CSimTraceParser::TC_POWER_OFF, &CSimCore::TcPowerOff},
        {CSimTraceParser::TC_RESET, &CSimCore::TcReset},
        {CSimTraceParser::TC_FLAGS, &CSimCore::TcFlags},
        {CSimTraceParser::TC_DEFAULT_REPORTS, &CSimCore::TcDefaultReports},
        {CSimTraceParser::TC_DIAL, &CSimCore::TcDial},
        {CSimTraceParser::TC_ANSWER, &CSimCore::TcAnswer},
        {CSimTraceParser::TC_LOCK, &CSimCore::TcLock},
        {CSimTraceParser::TC_LOCATION_UPDATE, &CSimCore::TcLocationUpdate},
        {CSimTraceParser::TC_SCAN_SETUP, &CSimCore::TcScanSetup},
        {CSimTraceParser::TC_SCAN_START, &CSimCore::TcScanStart},
        {CSimTraceParser::TC_SCAN_END, &CSimCore::TcScanEnd},
    };
    QByteArray text = CSimTraceParser::Name(cmd.eCmd);
    if (!cmd.arg.isEmpty())
        text += cmd.arg + '\r';
    Record(1, text);

    // switched off, the module only listens for power-on
    if (!m_bPoweredOn && cmd.eCmd != CSimTraceParser::TC_POWER_ON)
        return;
    for (const SRow& r : kCommands) {
        if (r.eCmd == cmd.eCmd) {
            (this->*r.pfn)(cmd.arg);
            return;
        }
    }
}

void CSimCore::TcPowerOn(const QByteArray&)
{
    if (!m_bPoweredOn)
        PowerOn();
}

void CSimCore::TcPowerOff(const QByteArray&)
{
    PowerOff();
}

void CSimCore::TcReset(const QByteArray&)
{
    ResetReports();
}

void CSimCore::TcFlags(const QByteArray& arg)
{
    SelectReports(arg.toUInt(nullptr, 16) & RF_ALL);
}

void CSimCore::TcDefaultReports(const QByteArray&)
{
    SelectReports(RF_DEFAULT_REPORTS);
}

void CSimCore::SelectReports(unsigned nFlags)
{
    m_nFlags = nFlags;
    m_bDescPending = true;
    TraceLine(SetFlagsEcho(nFlags));
    UpdateCycleTimer();
}

void CSimCore::TcDial(const QByteArray& arg)
{
    if (m_eCall == CALL_NONE)
        StartCall(QString::fromLatin1(arg), false, true);
}

void CSimCore::TcAnswer(const QByteArray&)
{
    if (m_eCall == CALL_RINGING) {
        m_pRingTimer->stop();
        CallConnected();
    }
}

void CSimCore::TcLock(const QByteArray& arg)
{
    const int ch = arg.toInt();
    if (ch == 0) {
        m_bLocked = false;
    } else if (m_radio.MoveServing(ch)) {
        m_bLocked = true;
        ServingChanged();
    }
}

void CSimCore::TcLocationUpdate(const QByteArray&)
{
    if (m_nFlags & (RF_CHAN_REQ_STANDARD | RF_CHAN_REQ_REST)) {
        TraceLine(Fmt("%s Cause LocUpd", ReportName(REPORT_CHAN_REQ)));
        TraceLine(Fmt("%s TS 0", ReportName(REPORT_AGCH)));
    }
    if (m_nFlags & RF_LAYER3) {
        TraceLine(Fmt("%s LOCATION UPDATING REQUEST LAC %X", ReportName(REPORT_L3_UPLINK),
                      m_radio.Serving().nLac));
        TraceLine(Fmt("%s LOCATION UPDATING ACCEPT", ReportName(REPORT_L3_DOWNLINK)));
    }
}

void CSimCore::TcScanSetup(const QByteArray&)
{
    if (m_eScan == SCAN_OFF)
        m_eScan = SCAN_SETUP;
    UpdateCycleTimer();
}

// The argument lists channels and ranges ("1-124,512-885"); each valid
// channel is scanned once, in the order given.
void CSimCore::TcScanStart(const QByteArray& arg)
{
    std::vector<bool> seen(1024, false);
    m_scanChannels.clear();
    for (const QByteArray& range : arg.split(',')) {
        const QList<QByteArray> ends = range.split('-');
        if (ends.size() > 2 || ends[0].isEmpty())
            continue;
        int a = ends[0].toInt(), b = ends.size() == 2 ? ends[1].toInt() : a;
        if (a > b)
            std::swap(a, b);
        for (int ch = qMax(a, ChannelPlan::kLowFirst); ch <= qMin(b, ChannelPlan::kHighLast);
             ++ch) {
            if (CSimRadio::IsValidChannel(ch) && !seen[ch]) {
                seen[ch] = true;
                m_scanChannels.push_back(ch);
            }
        }
    }
    m_eScan = m_scanChannels.empty() ? SCAN_SETUP : SCAN_RUNNING;
    m_nScanCycle = 0;
    UpdateCycleTimer();
}

void CSimCore::TcScanEnd(const QByteArray&)
{
    m_eScan = SCAN_OFF;
    m_scanChannels.clear();
    UpdateCycleTimer();
}
