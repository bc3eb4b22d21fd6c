// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FrameHost.h"

// The frame the benchmarks host the panel in: reports on, no exit actions.
class BenchFrame : public CFrameHost
{
public:
    int IsPowerOffOnExit() const override { return 0; }
    int IsResetOnStart() const override { return 0; }
    QString GetTraceFlags() const override { return QStringLiteral("878000"); }
    void SetTraceFlags(const QString&) override {}
    int HasTraceFlag(int) const override { return 1; }
    void SetBsLock(bool) override {}
    void PostCloseApp() override {}
    void PostBcchClosed() override {}
    int MaxPowerDbm() const override { return 43; }
    CLogObserver* Recorder() const override { return recorder; }
    CLogObserver* recorder = nullptr; // the session recording, when measured
};
