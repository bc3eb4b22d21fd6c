// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/BcchBlock.h"

#include <algorithm>
#include <cstring>

#include "protocol/StringE.h"
#include "sysinfo/SysInfoDecoder.h"
#include "trace/TraceReport.h"

namespace {
const int kMessageOctets = CBcchBlock::BLOCK_OCTETS - 1; // after the pseudo length

// The value of one of the record's octet fields, read without a copy on the heap.
template <size_t N> unsigned char FieldValue(const char (&field)[N])
{
    QChar text[N];
    qsizetype n = 0;
    for (; n < qsizetype(N) && field[n] != 0; ++n)
        text[n] = QLatin1Char(field[n]);
    return CBcchBlock::OctetValue(QStringView(text, n));
}
} // namespace

int CBcchBlock::PseudoLength(int nType, const unsigned char* pabyOctets)
{
    const int nRest = CSysInfoReader::RestOctetCount(nType, pabyOctets);
    return std::clamp(kMessageOctets - nRest, HEADER_OCTETS - 1, kMessageOctets);
}

QByteArray CBcchBlock::Assemble(int nType, const unsigned char* pabyOctets, int nOctets)
{
    if (nType < 1 || nType > CSysInfoDecoder::SI_TYPES)
        return QByteArray();
    unsigned char o[CSysInfoDecoder::SI_OCTETS];
    memset(o, FILL_OCTET, sizeof o);
    memcpy(o, pabyOctets, std::clamp(nOctets, 0, int(sizeof o)));
    QByteArray block(BLOCK_OCTETS, char(FILL_OCTET));
    // Coded as a length of 6 bits, then the bits 0 and 1.
    block[0] = char(PseudoLength(nType, o) << 2 | 0x01);
    block[1] = char(RR_DISCRIMINATOR);
    block[2] = char(FIRST_MESSAGE_TYPE + nType - 1);
    memcpy(block.data() + HEADER_OCTETS, o, sizeof o);
    return block;
}

QByteArray CBcchBlock::FromRecord(const CTraceReport& r)
{
    const int t = r.Bcch().nType;
    if (t < 0 || t >= CSysInfoDecoder::SI_TYPES)
        return QByteArray();
    // The octet count includes the message type; a line that ended early
    // emptied the field after its last octet.
    const int nCount = std::clamp(r.Bcch().nOctets - 1, 0, int(CSysInfoDecoder::SI_OCTETS));
    unsigned char o[CSysInfoDecoder::SI_OCTETS];
    int n = 0;
    for (; n < nCount && r.Bcch().aszSysInfo[t][n][0] != 0; ++n)
        o[n] = FieldValue(r.Bcch().aszSysInfo[t][n]);
    // A line with the message type alone carries no message.
    return n > 0 ? Assemble(t + 1, o, n) : QByteArray();
}

unsigned char CBcchBlock::OctetValue(QStringView field)
{
    return static_cast<unsigned char>(CStringE::ViewToInt(field, 16) & 0xFF);
}

std::array<unsigned char, CSysInfoReader::SI_OCTETS> CBcchBlock::RecordOctets(const CTraceReport& r,
                                                                              int nType)
{
    std::array<unsigned char, CSysInfoReader::SI_OCTETS> o{};
    if (nType < 1 || nType > CSysInfoDecoder::SI_TYPES)
        return o;
    for (int k = 0; k < CSysInfoReader::SI_OCTETS; ++k)
        o[k] = FieldValue(r.Bcch().aszSysInfo[nType - 1][k]);
    return o;
}
