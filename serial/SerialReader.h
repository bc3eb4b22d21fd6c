// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serial/LineSplitter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <atomic>
#include <deque>
#include <mutex>

class QSocketNotifier;
class QTimer;

// The worker of one serial channel. It lives in the channel's reader thread
// and owns the QSerialPort there: every call that touches the device runs in
// that thread (the channel calls in with a blocking queued call). Received
// bytes are cut into lines, queued and announced to the owner with one posted
// event per line. The queue holds at most a fixed number of lines; when it
// is full the reader leaves the bytes in the device until the owner has
// caught up, so nothing is lost and memory stays bounded.
//
// Bytes that trickle in, as from a slow serial line, are taken in batches:
// once the reader has caught up with the device and the bytes since it last
// caught up came at less than kTrickleBytesPerSecond, it stops listening for
// kHoldOffMs and then takes what has arrived. A 9600-baud line would
// otherwise wake the thread for every few characters. The first bytes after
// a quiet spell, and a flood, are read at once.
//
// When the device goes away the reader lets it go and posts a
// CPortLostEvent to the owner.
class CSerialReader : public QObject
{
    Q_OBJECT
public:
    CSerialReader(QObject* pOwner, QEvent::Type nLineMessage, int nInQueue, int nOutQueue);
    ~CSerialReader() override;

    // These run in the reader thread.
    int OpenDevice(const QString& device);
    // Why the last OpenDevice failed, for the user; empty after a success.
    QString OpenFailure() const { return m_strOpenFailure; }
    int SetParameters(int nBaud, int nDataBits, int nParity, int nStopBits);
    int Write(const QByteArray& bytes);
    int Close();

    // Thread-safe.
    QString TakeLine();
    int QueuedLines() const;
    // The most lines the queue holds (at least 1).
    void SetQueueLimit(int nLines);

    static constexpr int kMaxQueuedLines = 10000;
    // 200 ms are 192 characters at 9600 baud; a serial driver buffers far
    // more. Each batch wakes the program and draws the panel once: five a
    // second are plenty for the eye. Longer than the log waits between
    // showings of new lines, so each batch is shown as it comes.
    static constexpr int kHoldOffMs = 200;
    // A 38,400-baud line brings at most 3,840 bytes a second.
    static constexpr qint64 kTrickleBytesPerSecond = 4000;
    // True while the device is open in the reader thread (false after it vanished).
    bool IsDeviceOpen() const { return m_bDeviceOpen.load(); }

private:
    // Invoked by name from the owner's thread as well: the call is then made
    // and queued inside Qt, the one place that orders it with the reader.
    Q_INVOKABLE void OnReadyRead();
    void PaceReads(qint64 nTaken);
    void EndHoldOff();
    void ResetPacing();
    QSocketNotifier* ReadNotifier() const;
    // Bytes that wait in the device, not yet read by the port.
    qint64 BytesWaiting() const;
    void OnError(QSerialPort::SerialPortError error);
    void DropDevice();
    int WriteFailed();
    bool DeviceHungUp() const;
    void PutLine(const QString& line);

    QObject* m_pOwner;
    QEvent::Type m_nLineMessage;
    QString m_strOpenFailure;
    int m_nInQueue;
    qint32 m_nBaud = 9600;
    QSerialPort* m_pPort;
    CLineSplitter m_splitter;
    QByteArray m_readBuffer;
    bool m_bDropPending = false;
    static constexpr int kMaxSpuriousErrors = 200; // per second
    QElapsedTimer m_spuriousClock;
    int m_nSpuriousErrors = 0;
    std::atomic<bool> m_bDeviceOpen{false};

    mutable std::mutex m_lock;
    std::deque<QString> m_lines;
    int m_nMaxLines = kMaxQueuedLines;
    // Set when the reader left bytes unread because the queue was full.
    bool m_bStalled = false;

    // Reader thread only: the pace of reading.
    QTimer* m_pHoldOff;
    QElapsedTimer m_caughtUp; // since the last read that left the device empty
    qint64 m_nPacedBytes = 0; // bytes taken since then
};
