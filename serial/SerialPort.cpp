// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/SerialPort.h"

#include "platform/PortNames.h"
#include "platform/ThreadAnchor.h"
#include "serial/SerialReader.h"

#include <QThread>

CSerialPort::CSerialPort(QObject* pOwner, QEvent::Type nLineMessage, int nInQueue, int nOutQueue,
                         int nRingSize)
    : m_pThread(std::make_unique<QThread>()), m_pAnchor(std::make_unique<CThreadAnchor>()),
      m_pReader(std::make_unique<CSerialReader>(pOwner, nLineMessage, nInQueue, nOutQueue))
{
    // The line queue has a fixed limit of its own, far above what a serial
    // line brings while the owner pauses; the ring size is only a hint.
    Q_UNUSED(nRingSize);
    m_pThread->setObjectName(QStringLiteral("serial reader"));
    m_pReader->moveToThread(m_pThread.get());
    m_pAnchor->MoveTo(m_pThread.get());
}

CSerialPort::~CSerialPort()
{
    Close();
    // The thread has ended: the members go from here.
}

template <typename F> int CSerialPort::CallReader(F f)
{
    int nResult = 0;
    m_pAnchor->CallAndWait([&nResult, &f]() { nResult = f(); });
    return nResult;
}

int CSerialPort::Open(int nPort)
{
    return OpenDevice(CPortNames::DeviceName(nPort));
}

int CSerialPort::OpenDevice(const QString& device)
{
    m_strOpenFailure.clear();
    if (m_pThread->isRunning())
        Close();
    m_strDevice = device;
    m_bLossNoticed = false;
    m_pThread->start();
    if (!m_pThread->isRunning())
        return SP_SETUP_FAILED;
    const int nResult = CallReader([this, &device]() {
        const int n = m_pReader->OpenDevice(device);
        m_strOpenFailure = m_pReader->OpenFailure();
        return n;
    });
    if (nResult == SP_OK || nResult == SP_SETUP_FAILED) {
        // A set-up failure leaves the device open and the reader running.
        m_bRunning = true;
    } else {
        m_pAnchor->QuitAndWait();
    }
    return nResult;
}

int CSerialPort::SetParameters(int nBaud, int nDataBits, int nParity, int nStopBits)
{
    if (!m_pThread->isRunning())
        return SP_SETUP_FAILED;
    return CallReader(
        [=]() { return m_pReader->SetParameters(nBaud, nDataBits, nParity, nStopBits); });
}

int CSerialPort::Close()
{
    m_bRunning = false;
    if (m_pThread->isRunning()) {
        CallReader([this]() { return m_pReader->Close(); });
        m_pAnchor->QuitAndWait();
    }
    return SP_OK;
}

bool CSerialPort::IsOpen() const
{
    return m_bRunning;
}

bool CSerialPort::IsLost() const
{
    return m_bRunning && !m_pReader->IsDeviceOpen();
}

bool CSerialPort::TakeLossNotice()
{
    if (!IsLost() || m_bLossNoticed)
        return false;
    m_bLossNoticed = true;
    return true;
}

int CSerialPort::Write(const char* pBuffer, int nCount)
{
    if (!m_pThread->isRunning() || nCount < 0 || (!pBuffer && nCount > 0) || IsLost())
        return SP_WRITE_FAILED;
    if (nCount == 0)
        return SP_OK;
    const QByteArray bytes(pBuffer, nCount);
    return CallReader([this, &bytes]() { return m_pReader->Write(bytes); });
}

QString CSerialPort::GetLine()
{
    return m_pReader->TakeLine();
}

int CSerialPort::QueuedLines() const
{
    return m_pReader->QueuedLines();
}

void CSerialPort::SetQueueLimit(int nLines)
{
    m_pReader->SetQueueLimit(nLines);
}

QString CSerialPort::DeviceName() const
{
    return m_strDevice;
}
