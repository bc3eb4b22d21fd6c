// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QString>
#include <atomic>
#include <memory>

#include "serial/LineSource.h"

class QObject;
class QThread;
class CSerialReader;
class CThreadAnchor;

// Result codes of Open, SetParameters and Write.
enum
{
    SP_OK = 0,
    SP_ACCESS_DENIED = 1,
    SP_NO_PORT = 2,
    SP_OPEN_FAILED = 3,
    SP_SETUP_FAILED = 4,
    SP_WRITE_FAILED = 5,
    SP_WRITE_INCOMPLETE = 7
};

// One serial channel: opens a port by number, sets its line parameters and
// runs a reader thread that cuts the input into lines, queues them and posts
// one line message per line to its owner. Writes are synchronous.
class CSerialPort : public CLineSource
{
public:
    CSerialPort(QObject* pOwner, QEvent::Type nLineMessage, int nInQueue, int nOutQueue,
                int nRingSize);
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens the device of port number n (see CPortNames).
    int Open(int nPort);
    // Opens a device by its path.
    int OpenDevice(const QString& device);
    // Why the last open failed, in the user's words with the way out
    // ("No such device: ...", "Permission denied: ...", "In use by another
    // program: ..."); empty after a success.
    QString OpenFailure() const { return m_strOpenFailure; }
    int SetParameters(int nBaud, int nDataBits, int nParity, int nStopBits);
    int Close();
    bool IsOpen() const;
    // True while open but the device has gone away (unplugged, hung up);
    // writes then fail at once, without touching the device, until it is
    // opened again.
    bool IsLost() const;
    // True the first time it is asked after the device was lost, so that the
    // loss is reported once; false again until the next loss.
    bool TakeLossNotice();
    int Write(const char* pBuffer, int nCount);
    // The next queued line; called once per line message.
    QString GetLine() override;
    // Lines queued and not yet taken.
    int QueuedLines() const;
    // The most lines queued before the reader waits for the owner (10,000).
    void SetQueueLimit(int nLines);
    QString DeviceName() const;

private:
    // Runs f in the reader thread and returns its result.
    template <typename F> int CallReader(F f);

    // Declared so that they go in this order, after the thread has ended:
    // the reader, the anchor, the thread.
    std::unique_ptr<QThread> m_pThread;
    std::unique_ptr<CThreadAnchor> m_pAnchor; // runs the calls into the reader thread
    std::unique_ptr<CSerialReader> m_pReader;
    QString m_strOpenFailure;
    std::atomic<bool> m_bRunning{false};
    bool m_bLossNoticed = false;
    QString m_strDevice;
};
