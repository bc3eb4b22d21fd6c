// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "gsmtap/BcchMessage.h"

class QObject;
class QThread;
class CGsmtapSocket;

// The live feed to Wireshark: while switched on, every System Information
// message handed to it goes out as one GSMTAP datagram. The
// user-interface thread only builds the datagram and hands it over; the
// address lookup and the sending run on a thread of the sender's own, so
// a slow name server or a full network never holds the panel up.
class CGsmtapSender
{
public:
    CGsmtapSender();
    ~CGsmtapSender();
    CGsmtapSender(const CGsmtapSender&) = delete;
    CGsmtapSender& operator=(const CGsmtapSender&) = delete;

    // Switches the feed on or off and sets where it goes.
    void Configure(bool bEnabled, const QString& strHost, int nPort);
    bool IsEnabled() const { return m_bEnabled; }
    // Sends one message while the feed is on; nothing while it is off.
    void Send(const SBcchMessage& message);
    // Waits until the datagrams handed over so far have been sent (tests).
    void Flush();

private:
    // Runs the job on the sending thread, after the jobs posted before it.
    void Post(std::function<void(CGsmtapSocket&)> job);

    bool m_bEnabled = false;
    // Declared so that they go in this order, after the thread has ended:
    // the socket, the context, the thread.
    std::unique_ptr<QThread> m_pThread;
    std::unique_ptr<QObject> m_pContext;      // lives in m_pThread
    std::unique_ptr<CGsmtapSocket> m_pSocket; // used on m_pThread only
};
