// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class CLogObserver;

// What the front panel controller and the dialogs ask of the main frame.
// The main frame implements it; tests put a small fake in its place.
class CFrameHost
{
public:
    virtual ~CFrameHost() = default;
    virtual int IsPowerOffOnExit() const = 0;
    virtual int IsResetOnStart() const = 0;
    virtual QString GetTraceFlags() const = 0;
    virtual void SetTraceFlags(const QString& flags) = 0;
    // 1 when the trace flags read as hexadecimal AND mask is nonzero, else 0.
    virtual int HasTraceFlag(int mask) const = 0;
    virtual void SetBsLock(bool on) = 0;
    // Posts WM_CLOSE_APP: the application closes without asking.
    virtual void PostCloseApp() = 0;
    // Posts WM_BCCH_CLOSED: the BCCH System Info window is to be destroyed.
    virtual void PostBcchClosed() = 0;
    // The highest transmit power of the band in use, in dBm (the BCCH
    // dialog decodes power levels with it).
    virtual int MaxPowerDbm() const = 0;
    // The status bar's word on the ports: "Trace port lost" and the like
    // while a device is gone; empty when all is well.
    virtual void ShowPortState(const QString& text) { Q_UNUSED(text); }
    // Where the panel's traffic is recorded; none by default.
    virtual CLogObserver* Recorder() const { return nullptr; }
};
