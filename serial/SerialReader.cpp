// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/SerialReader.h"

#include "platform/Diagnostics.h"
#include "platform/PortProblem.h"
#include "serial/PortLostEvent.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {
// Time allowed for a write: a fixed margin plus twice the time the bytes
// take on the line at the current speed (10 bit times per character).
int WriteTimeoutMs(qsizetype nBytes, qint32 nBaud)
{
    const qint64 nLineMs = nBaud > 0 ? nBytes * 10 * 1000 / nBaud : nBytes * 10;
    return static_cast<int>(qMin<qint64>(3000 + 2 * nLineMs, 120000));
}

bool ToDataBits(int n, QSerialPort::DataBits* p)
{
    if (n < 5 || n > 8)
        return false;
    *p = static_cast<QSerialPort::DataBits>(n);
    return true;
}

// The driver's numbering of parity (0 none .. 4 space) and stop bits
// (0 one, 1 one and a half, 2 two), looked up in tables.
template <class T, size_t N> bool FromTable(int n, const T (&table)[N], T* p)
{
    if (n < 0 || n >= static_cast<int>(N))
        return false;
    *p = table[n];
    return true;
}

bool ToParity(int n, QSerialPort::Parity* p)
{
    static const QSerialPort::Parity kParity[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                  QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                  QSerialPort::SpaceParity};
    return FromTable(n, kParity, p);
}

bool ToStopBits(int n, QSerialPort::StopBits* p)
{
    static const QSerialPort::StopBits kStopBits[] = {
        QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
    return FromTable(n, kStopBits, p);
}
} // namespace

CSerialReader::CSerialReader(QObject* pOwner, QEvent::Type nLineMessage, int nInQueue,
                             int nOutQueue)
    : m_pOwner(pOwner), m_nLineMessage(nLineMessage), m_nInQueue(qMax(nInQueue, 64)),
      m_pPort(new QSerialPort(this)), m_pHoldOff(new QTimer(this))
{
    m_pHoldOff->setSingleShot(true);
    m_pHoldOff->setInterval(kHoldOffMs);
    connect(m_pHoldOff, &QTimer::timeout, this, &CSerialReader::EndHoldOff);
    // Writes wait until the bytes are out, so the output queue needs no size.
    Q_UNUSED(nOutQueue);
    // What the port itself buffers while the line queue is full.
    m_pPort->setReadBufferSize(m_nInQueue);
    connect(m_pPort, &QSerialPort::readyRead, this, &CSerialReader::OnReadyRead);
    connect(m_pPort, &QSerialPort::errorOccurred, this, &CSerialReader::OnError);
}

CSerialReader::~CSerialReader() = default;

int CSerialReader::OpenDevice(const QString& device)
{
    m_bDropPending = false;
    if (m_pPort->isOpen())
        Close();
    ResetPacing();
    m_splitter.Reset();
    m_strOpenFailure.clear();
    // Before the lock file is taken: a missing device is never "in use".
    if (device.isEmpty() || (device.startsWith(QLatin1Char('/')) && !QFile::exists(device))) {
        m_strOpenFailure = CPortProblem::Explain(device, 2, QString());
        return 2;
    }
    m_pPort->setPortName(device);
    m_pPort->clearError();
    if (!m_pPort->open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_pPort->error();
        const QString systemText = m_pPort->errorString();
        qCDebug(lcSerial) << "open" << device << "failed:" << systemText;
        m_pPort->clearError();
        const int nResult = error == QSerialPort::DeviceNotFoundError ? 2
                            : error == QSerialPort::PermissionError   ? 1
                                                                      : 3;
        m_strOpenFailure = CPortProblem::Explain(device, nResult, systemText);
        return nResult;
    }
    m_bDeviceOpen = true;

    // Every set-up step is tried even after one failed.
    bool bOk = true;
    m_nBaud = 9600;
    bOk &= m_pPort->setBaudRate(m_nBaud);
    bOk &= m_pPort->setDataBits(QSerialPort::Data8);
    bOk &= m_pPort->setParity(QSerialPort::NoParity);
    bOk &= m_pPort->setStopBits(QSerialPort::OneStop);
    bOk &= m_pPort->setFlowControl(QSerialPort::NoFlowControl);
    bOk &= m_pPort->clear(QSerialPort::AllDirections);
    // Modem lines: a pseudo-terminal has none, which is not a failure.
    for (int nLine = 0; nLine < 2; ++nLine) {
        const bool bSet =
            nLine == 0 ? m_pPort->setDataTerminalReady(true) : m_pPort->setRequestToSend(true);
        if (!bSet && m_pPort->error() != QSerialPort::UnsupportedOperationError)
            bOk = false;
    }
    if (!bOk) {
        qCWarning(lcSerial) << "set-up of" << device << "failed:" << m_pPort->errorString();
        m_strOpenFailure = CPortProblem::Explain(device, 4, m_pPort->errorString());
    }
    m_pPort->clearError();
    return bOk ? 0 : 4;
}

int CSerialReader::SetParameters(int nBaud, int nDataBits, int nParity, int nStopBits)
{
    if (!m_pPort->isOpen())
        return 4;
    QSerialPort::DataBits dataBits;
    QSerialPort::Parity parity;
    QSerialPort::StopBits stopBits;
    if (nBaud <= 0 || !ToDataBits(nDataBits, &dataBits) || !ToParity(nParity, &parity) ||
        !ToStopBits(nStopBits, &stopBits))
        return 4;
    bool bOk = m_pPort->setBaudRate(nBaud);
    bOk &= m_pPort->setDataBits(dataBits);
    bOk &= m_pPort->setParity(parity);
    bOk &= m_pPort->setStopBits(stopBits);
    if (bOk)
        m_nBaud = nBaud;
    else
        qCWarning(lcSerial) << "line parameters refused:" << m_pPort->errorString();
    m_pPort->clearError();
    return bOk ? 0 : 4;
}

int CSerialReader::Write(const QByteArray& bytes)
{
    if (!m_pPort->isOpen())
        return 5;
    if (bytes.isEmpty())
        return 0;
    const int nTimeout = WriteTimeoutMs(bytes.size(), m_nBaud);
#ifdef Q_OS_UNIX
    // Straight to the device. The port's own wait for written bytes also
    // reads, and gives up without a reason when its read buffer is full,
    // which is the case whenever the line queue is full and the reader
    // holds back: the command would be lost.
    const int fd = static_cast<int>(m_pPort->handle());
    QElapsedTimer timer;
    timer.start();
    qsizetype nDone = 0;
    while (nDone < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + nDone, bytes.size() - nDone);
        if (n > 0) {
            nDone += n;
            continue;
        }
        const int nError = n < 0 ? errno : 0;
        if (nError == EINTR)
            continue;
        if (n < 0 && nError != EAGAIN && nError != EWOULDBLOCK) {
            qCWarning(lcSerial) << "write failed:" << qt_error_string(nError);
            return WriteFailed();
        }
        const int nLeft = nTimeout - static_cast<int>(timer.elapsed());
        if (nLeft <= 0)
            break;
        struct pollfd p = {fd, POLLOUT, 0};
        if (::poll(&p, 1, nLeft) > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            qCWarning(lcSerial) << "write failed: the device hung up";
            return WriteFailed();
        }
    }
    // Timed out: what did not go out is dropped, not sent later.
    if (nDone < bytes.size())
        return nDone > 0 ? 7 : 5;
    return 0;
#else
    if (m_pPort->write(bytes) != bytes.size()) {
        m_pPort->clearError();
        m_pPort->clear(QSerialPort::Output);
        return WriteFailed();
    }
    QElapsedTimer timer;
    timer.start();
    while (m_pPort->isOpen() && m_pPort->bytesToWrite() > 0) {
        const int nLeft = nTimeout - static_cast<int>(timer.elapsed());
        if (nLeft <= 0)
            break;
        if (!m_pPort->waitForBytesWritten(nLeft)) {
            if (m_pPort->error() == QSerialPort::TimeoutError)
                break;
            qCWarning(lcSerial) << "write failed:" << m_pPort->errorString();
            if (m_pPort->isOpen())
                m_pPort->clear(QSerialPort::Output);
            m_pPort->clearError();
            return WriteFailed();
        }
    }
    if (!m_pPort->isOpen())
        return WriteFailed();
    const qint64 nLeftOver = m_pPort->bytesToWrite();
    if (nLeftOver > 0) {
        // Timed out: what did not go out is dropped, not sent later.
        m_pPort->clear(QSerialPort::Output);
        m_pPort->clearError();
        return nLeftOver < bytes.size() ? 7 : 5;
    }
    return 0;
#endif
}

int CSerialReader::WriteFailed()
{
    // A device that is gone is let go at once, so that the channel knows
    // before its next write.
    if (m_bDeviceOpen && (!m_pPort->isOpen() || DeviceHungUp())) {
        qCWarning(lcSerial) << "device" << m_pPort->portName() << "lost while writing";
        m_bDropPending = true;
        DropDevice();
    }
    return 5;
}

int CSerialReader::Close()
{
    m_bDropPending = false;
    ResetPacing();
    if (m_pPort->isOpen()) {
        m_pPort->setDataTerminalReady(false);
        m_pPort->clear(QSerialPort::AllDirections);
        m_pPort->close();
        m_pPort->clearError();
    }
    m_splitter.Reset();
    m_bDeviceOpen = false;
    return 0;
}

QString CSerialReader::TakeLine()
{
    QString line;
    bool bResume = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_lines.empty())
            return QString();
        line = std::move(m_lines.front());
        m_lines.pop_front();
        if (m_bStalled && static_cast<int>(m_lines.size()) <= m_nMaxLines / 2) {
            m_bStalled = false;
            bResume = true;
        }
    }
    if (bResume)
        QMetaObject::invokeMethod(this, "OnReadyRead", Qt::QueuedConnection);
    return line;
}

void CSerialReader::SetQueueLimit(int nLines)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_nMaxLines = qMax(nLines, 1);
}

int CSerialReader::QueuedLines() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return static_cast<int>(m_lines.size());
}

void CSerialReader::PutLine(const QString& line)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_lines.push_back(line);
    }
    if (m_pOwner)
        QCoreApplication::postEvent(m_pOwner, new QEvent(m_nLineMessage));
}

void CSerialReader::OnReadyRead()
{
    if (m_readBuffer.size() != m_nInQueue)
        m_readBuffer.resize(m_nInQueue);
    qint64 nTaken = 0;
    while (m_pPort->isOpen()) {
        qint64 nRoom;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            nRoom = m_nMaxLines - static_cast<qint64>(m_lines.size());
            if (nRoom <= 0) {
                // Full: the bytes wait in the device until the owner has caught up.
                m_bStalled = true;
                return;
            }
        }
        // n bytes finish at most 1 + (n - 1) / 2 lines: a terminator may end
        // the partial line, every further line needs a byte and a terminator.
        const qint64 nMax = qMin<qint64>(m_nInQueue, 2 * nRoom - 1);
        const qint64 n = m_pPort->read(m_readBuffer.data(), nMax);
        if (n <= 0)
            break;
        nTaken += n;
        m_splitter.Feed(m_readBuffer.constData(), n,
                        [this](const QString& line) { PutLine(line); });
    }
    PaceReads(nTaken);
}

void CSerialReader::PaceReads(qint64 nTaken)
{
    m_nPacedBytes += nTaken;
    // More waits in the device: the port's notification comes again at once.
    if (!m_pPort->isOpen() || BytesWaiting() > 0)
        return;
    const qint64 nSinceNs = m_caughtUp.isValid() ? m_caughtUp.nsecsElapsed() : -1;
    const bool bTrickle =
        nSinceNs >= 0 && nSinceNs < 2 * kHoldOffMs * 1000000LL &&
        m_nPacedBytes * 1000000000LL < kTrickleBytesPerSecond * qMax<qint64>(nSinceNs, 1);
    m_caughtUp.start();
    m_nPacedBytes = 0;
    if (!bTrickle)
        return;
    if (QSocketNotifier* pNotifier = ReadNotifier()) {
        pNotifier->setEnabled(false);
        m_pHoldOff->start();
    }
}

void CSerialReader::EndHoldOff()
{
    // Bytes that came meanwhile wake the port's notification at once.
    if (QSocketNotifier* pNotifier = m_pPort->isOpen() ? ReadNotifier() : nullptr)
        pNotifier->setEnabled(true);
}

void CSerialReader::ResetPacing()
{
    m_pHoldOff->stop();
    m_caughtUp.invalidate();
    m_nPacedBytes = 0;
}

QSocketNotifier* CSerialReader::ReadNotifier() const
{
    // The port watches its device with a read notifier of its own (a child
    // it makes on opening). Should a version of the port keep it elsewhere,
    // no notifier is found and every read simply happens at once.
    const auto notifiers = m_pPort->findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly);
    for (QSocketNotifier* pNotifier : notifiers) {
        if (pNotifier->type() == QSocketNotifier::Read)
            return pNotifier;
    }
    return nullptr;
}

qint64 CSerialReader::BytesWaiting() const
{
#ifdef Q_OS_UNIX
    int n = 0;
    const int fd = static_cast<int>(m_pPort->handle());
    return fd >= 0 && ::ioctl(fd, FIONREAD, &n) == 0 ? n : 0;
#else
    return 1;
#endif
}

void CSerialReader::OnError(QSerialPort::SerialPortError error)
{
    // A device that is gone keeps reporting: stop using it rather than spin.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    if (!m_pPort->isOpen() || m_bDropPending)
        return;
    if (!DeviceHungUp()) {
        // A read notification that found no bytes reports a read or resource
        // error with a stale or transient system error (EAGAIN, ENOTTY;
        // pseudo-terminals do this now and then); the device is still there.
        // Only a flood of them means it is not.
        if (!m_spuriousClock.isValid() || m_spuriousClock.elapsed() > 1000) {
            m_spuriousClock.start();
            m_nSpuriousErrors = 0;
        }
        if (++m_nSpuriousErrors < kMaxSpuriousErrors) {
            m_pPort->clearError();
            // After a resource error the port stops watching for input; a read
            // call turns the watch on again.
            QMetaObject::invokeMethod(this, &CSerialReader::OnReadyRead, Qt::QueuedConnection);
            return;
        }
    }
    qCWarning(lcSerial) << "device" << m_pPort->portName() << "lost:" << error
                        << m_pPort->errorString();
    m_bDropPending = true;
    // Closed from the event loop, not from inside the port's own signal.
    QMetaObject::invokeMethod(this, &CSerialReader::DropDevice, Qt::QueuedConnection);
}

bool CSerialReader::DeviceHungUp() const
{
#ifdef Q_OS_UNIX
    struct pollfd p = {static_cast<int>(m_pPort->handle()), POLLIN, 0};
    if (p.fd < 0)
        return true;
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return true;
#endif
}

void CSerialReader::DropDevice()
{
    if (!m_bDropPending)
        return;
    m_bDropPending = false;
    ResetPacing();
    if (m_pPort->isOpen())
        m_pPort->close();
    m_pPort->clearError();
    m_splitter.Reset();
    m_bDeviceOpen = false;
    // The owner hears of it now, not at its next write.
    if (m_pOwner)
        QCoreApplication::postEvent(m_pOwner, new CPortLostEvent(m_nLineMessage));
}
