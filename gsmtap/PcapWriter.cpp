// SPDX-License-Identifier: GPL-3.0-or-later
#include "gsmtap/PcapWriter.h"

#include <cstdio>
#include <pcap/pcap.h>
#include <unistd.h>

#include "gsmtap/GsmtapPacket.h"

namespace {
const int kIpHeader = 20;
const int kUdpHeader = 8;
const int kSnapLength = 65535;
const quint32 kLoopback = 0x7F000001;

void Put16(QByteArray& b, int at, quint32 v)
{
    b[at] = char(v >> 8);
    b[at + 1] = char(v);
}

void Put32(QByteArray& b, int at, quint32 v)
{
    Put16(b, at, v >> 16);
    Put16(b, at + 2, v);
}

// The one's-complement sum of the header's 16-bit words.
quint16 IpChecksum(const QByteArray& b)
{
    quint32 sum = 0;
    for (int i = 0; i < kIpHeader; i += 2)
        sum += quint32(quint8(b[i])) << 8 | quint8(b[i + 1]);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}
} // namespace

QByteArray CPcapWriter::Packet(const QByteArray& datagram, quint16 nId)
{
    const int nUdp = kUdpHeader + int(datagram.size());
    QByteArray p(kIpHeader + kUdpHeader, '\0');
    p[0] = char(0x45); // version 4, five words of header
    Put16(p, 2, kIpHeader + nUdp);
    Put16(p, 4, nId);
    p[8] = char(64); // time to live
    p[9] = char(17); // UDP
    Put32(p, 12, kLoopback);
    Put32(p, 16, kLoopback);
    Put16(p, 10, IpChecksum(p));
    Put16(p, kIpHeader, CGsmtapPacket::GSMTAP_PORT);
    Put16(p, kIpHeader + 2, CGsmtapPacket::GSMTAP_PORT);
    Put16(p, kIpHeader + 4, nUdp); // no UDP checksum: 0
    return p + datagram;
}

CPcapWriter::~CPcapWriter()
{
    Abandon();
}

void CPcapWriter::Abandon()
{
    if (m_pDumper)
        pcap_dump_close(m_pDumper);
    m_pDumper = nullptr;
    if (m_pPcap)
        pcap_close(m_pPcap);
    m_pPcap = nullptr;
    if (m_file.isOpen()) {
        // A cancelled commit removes the temporary file and closes it.
        m_file.cancelWriting();
        m_file.commit();
    }
}

bool CPcapWriter::Open(const QString& strPath, QString* pError)
{
    Abandon();
    m_file.setFileName(strPath);
    if (!m_file.open(QIODevice::WriteOnly)) {
        *pError = m_file.errorString();
        return false;
    }
    m_pPcap = pcap_open_dead(DLT_RAW, kSnapLength);
    const int fd = m_pPcap ? dup(m_file.handle()) : -1;
    FILE* fp = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (fp)
        m_pDumper = pcap_dump_fopen(m_pPcap, fp);
    if (!m_pDumper) {
        if (fp)
            fclose(fp);
        else if (fd >= 0)
            ::close(fd);
        *pError = m_pPcap ? QString::fromLocal8Bit(pcap_geterr(m_pPcap))
                          : QStringLiteral("capture writer not available");
        Abandon();
        return false;
    }
    return true;
}

void CPcapWriter::Write(qint64 nTimeMs, const QByteArray& datagram)
{
    if (!m_pDumper)
        return;
    const QByteArray packet = Packet(datagram, m_nId++);
    pcap_pkthdr h{};
    h.ts.tv_sec = static_cast<time_t>(nTimeMs / 1000);
    h.ts.tv_usec = static_cast<suseconds_t>(nTimeMs % 1000 * 1000);
    h.caplen = h.len = static_cast<bpf_u_int32>(packet.size());
    pcap_dump(reinterpret_cast<u_char*>(m_pDumper), &h,
              reinterpret_cast<const u_char*>(packet.constData()));
}

bool CPcapWriter::Commit(QString* pError)
{
    if (!m_pDumper) {
        *pError = QStringLiteral("not open");
        return false;
    }
    const bool bWritten = pcap_dump_flush(m_pDumper) == 0 && !ferror(pcap_dump_file(m_pDumper));
    pcap_dump_close(m_pDumper); // closes our copy of the descriptor
    m_pDumper = nullptr;
    pcap_close(m_pPcap);
    m_pPcap = nullptr;
    if (!bWritten || !m_file.commit()) {
        *pError = bWritten ? m_file.errorString() : QStringLiteral("write failed");
        Abandon();
        return false;
    }
    return true;
}
