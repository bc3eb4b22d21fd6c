// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/FrameHost.h"

class CTessolyDlg;

// A main frame stand-in for tests of the panel and the dialogs.
class FakeFrame : public CFrameHost
{
public:
    int IsPowerOffOnExit() const override { return powerOffOnExit; }
    int IsResetOnStart() const override { return resetOnStart; }
    QString GetTraceFlags() const override { return traceFlags; }
    void SetTraceFlags(const QString& f) override { traceFlags = f; }
    int HasTraceFlag(int mask) const override;
    void SetBsLock(bool on) override
    {
        bsLock = on;
        ++bsLockCalls;
    }
    void PostCloseApp() override { ++closeAppPosts; }
    void PostBcchClosed() override { ++bcchClosedPosts; }
    int MaxPowerDbm() const override;
    void ShowPortState(const QString& text) override { portState = text; }
    CLogObserver* Recorder() const override { return recorder; }

    int powerOffOnExit = 0;
    int resetOnStart = 0;
    QString traceFlags = QStringLiteral("FFFFFF");
    bool bsLock = false;
    int bsLockCalls = 0;
    int closeAppPosts = 0;
    int bcchClosedPosts = 0;
    QString portState;
    CLogObserver* recorder = nullptr;
    CTessolyDlg* controller = nullptr;
};
