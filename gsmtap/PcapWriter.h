// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

typedef struct pcap pcap_t;
typedef struct pcap_dumper pcap_dumper_t;

// Writes GSMTAP datagrams into a capture file that Wireshark opens: each
// datagram in an IPv4/UDP packet from and to the loopback address, port
// 4729, with its time. The file is written under a temporary name beside
// the destination and appears only when Commit succeeds, so a failed run
// never leaves a partial file behind (nor spoils an older one).
class CPcapWriter
{
public:
    CPcapWriter() = default;
    ~CPcapWriter();
    CPcapWriter(const CPcapWriter&) = delete;
    CPcapWriter& operator=(const CPcapWriter&) = delete;

    bool Open(const QString& strPath, QString* pError);
    // nTimeMs: milliseconds since the epoch (UTC).
    void Write(qint64 nTimeMs, const QByteArray& datagram);
    bool Commit(QString* pError);

    // The IPv4/UDP packet around a datagram, as it is written.
    static QByteArray Packet(const QByteArray& datagram, quint16 nId);

private:
    void Abandon();

    QSaveFile m_file;
    pcap_t* m_pPcap = nullptr;
    pcap_dumper_t* m_pDumper = nullptr;
    quint16 m_nId = 0;
};
