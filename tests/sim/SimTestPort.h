// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The panel's side of one simulated port in the tests: the slave of the
// pseudo-terminal, opened raw.
class SimTestPort
{
public:
    explicit SimTestPort(const QString& strPath);
    ~SimTestPort();
    SimTestPort(const SimTestPort&) = delete;
    SimTestPort& operator=(const SimTestPort&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    void Close();
    bool Write(const QByteArray& bytes);
    // Reads until the collected text holds the wanted text; true if it came in time.
    bool WaitFor(const QByteArray& wanted, int nTimeoutMs = 2000);
    // Reads whatever arrives within the time.
    void Collect(int nMs);
    QByteArray& Text() { return m_in; }
    // The complete lines received so far (CR or LF ends a line; empty lines dropped).
    QList<QByteArray> Lines() const;
    void Clear() { m_in.clear(); }

private:
    int ReadSome(int nWaitMs);
    int m_fd = -1;
    QByteArray m_in;
};
