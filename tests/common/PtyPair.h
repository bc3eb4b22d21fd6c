// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal for serial tests: the test holds the master end, the
// code under test opens the slave end by its path.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsValid() const { return m_master >= 0; }
    const QString& SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }
    // Writes bytes to the master end (they arrive at the slave's reader).
    bool Write(const QByteArray& bytes);
    // Reads what the slave side wrote, waiting up to timeoutMs for the first byte
    // and collecting until the line is quiet for quietMs.
    QByteArray Read(int timeoutMs = 1000, int quietMs = 50);
    // Reads exactly n bytes (or fewer on time-out).
    QByteArray ReadExactly(int n, int timeoutMs = 2000);
    // Closes the master end (the device "disappears" for the slave side).
    void CloseMaster();

private:
    int m_master = -1;
    int m_slaveKeep = -1; // kept open so the slave does not hang up before it is opened
    QString m_slavePath;
};
