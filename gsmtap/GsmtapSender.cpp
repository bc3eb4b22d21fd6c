// SPDX-License-Identifier: GPL-3.0-or-later
#include "gsmtap/GsmtapSender.h"

#include <QObject>
#include <QThread>

#include "gsmtap/GsmtapPacket.h"
#include "gsmtap/GsmtapSocket.h"

CGsmtapSender::CGsmtapSender() = default;

CGsmtapSender::~CGsmtapSender()
{
    if (!m_pThread)
        return;
    m_pThread->quit();
    m_pThread->wait();
}

void CGsmtapSender::Post(std::function<void(CGsmtapSocket&)> job)
{
    if (!m_pThread) {
        m_pThread = std::make_unique<QThread>();
        m_pThread->setObjectName(QStringLiteral("gsmtap"));
        m_pContext = std::make_unique<QObject>();
        m_pContext->moveToThread(m_pThread.get());
        m_pSocket = std::make_unique<CGsmtapSocket>();
        m_pThread->start();
    }
    CGsmtapSocket* pSocket = m_pSocket.get();
    QMetaObject::invokeMethod(
        m_pContext.get(), [pSocket, job] { job(*pSocket); }, Qt::QueuedConnection);
}

void CGsmtapSender::Configure(bool bEnabled, const QString& strHost, int nPort)
{
    m_bEnabled = bEnabled;
    if (bEnabled)
        Post([strHost, nPort](CGsmtapSocket& s) { s.Open(strHost, nPort); });
    else if (m_pThread)
        Post([](CGsmtapSocket& s) { s.Close(); });
}

void CGsmtapSender::Send(const SBcchMessage& message)
{
    if (!m_bEnabled)
        return;
    const QByteArray datagram = CGsmtapPacket::Make(message);
    Post([datagram](CGsmtapSocket& s) { s.Send(datagram); });
}

void CGsmtapSender::Flush()
{
    if (m_pThread)
        QMetaObject::invokeMethod(
            m_pContext.get(), [] {}, Qt::BlockingQueuedConnection);
}
