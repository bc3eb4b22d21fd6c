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

// The worker of one serial channel. It lives in the channel's reader thread
// and owns the QSerialPort there: every call that touches the device runs in
// that thread (the channel calls in with a blocking queued call). Received
// bytes are cut into lines, queued and announced to the owner with one posted
// event per line. The queue holds at most a fixed number of lines; when it
// is full the reader leaves the bytes in the device until the owner has
// caught up, so nothing is lost and memory stays bounded.
class CSerialReader : public QObject
{
    Q_OBJECT
public:
    CSerialReader(QObject* pOwner, QEvent::Type nLineMessage, int nInQueue, int nOutQueue);
    ~CSerialReader() override;

    // These run in the reader thread.
    int OpenDevice(const QString& device);
    int SetParameters(int nBaud, int nDataBits, int nParity, int nStopBits);
    int Write(const QByteArray& bytes);
    int Close();

    // Thread-safe.
    QString TakeLine();
    int QueuedLines() const;
    // The most lines the queue holds (at least 1).
    void SetQueueLimit(int nLines);

    static constexpr int kMaxQueuedLines = 10000;
    // True while the device is open in the reader thread (false after it vanished).
    bool IsDeviceOpen() const { return m_bDeviceOpen.load(); }

private:
    // Invoked by name from the owner's thread as well: the call is then made
    // and queued inside Qt, the one place that orders it with the reader.
    Q_INVOKABLE void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void DropDevice();
    int WriteFailed();
    bool DeviceHungUp() const;
    void PutLine(const QString& line);

    QObject* m_pOwner;
    QEvent::Type m_nLineMessage;
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
};
