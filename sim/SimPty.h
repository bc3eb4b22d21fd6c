// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;
class QTimer;

// The device end of one simulated serial line: the master of a
// pseudo-terminal whose slave path the panel opens. A slave descriptor is
// kept open here so that the master never hangs up while the panel has its
// side closed; output nobody reads is dropped instead of piling up. Lives in
// the thread that created it.
class CSimPty : public QObject
{
    Q_OBJECT
public:
    explicit CSimPty(QObject* pParent = nullptr);
    ~CSimPty() override;

    bool Open();
    void Close();
    bool IsOpen() const { return m_nMaster >= 0; }
    const QString& SlavePath() const { return m_strSlavePath; }

    // Queues bytes for the panel and writes what the line takes now.
    void Write(const QByteArray& bytes);
    qsizetype Queued() const { return m_out.size(); }
    // Bytes written that the panel has not read yet: queued here or waiting
    // on the line.
    qint64 Backlog() const;

    // Output queued beyond this is dropped together with what the slave side
    // has not read (nobody is listening).
    static constexpr qsizetype MAX_QUEUE = 64 * 1024;

signals:
    void BytesReceived(const QByteArray& bytes);

private:
    void OnReadable();
    void OnWritable();
    void Flush();
    void DropUnread();
    void PauseReading();

    int m_nMaster = -1;
    int m_nSlaveKeep = -1;
    QString m_strSlavePath;
    QByteArray m_out;
    std::unique_ptr<QSocketNotifier> m_pReadNotifier;
    std::unique_ptr<QSocketNotifier> m_pWriteNotifier;
    std::unique_ptr<QTimer> m_pRetry;
};
