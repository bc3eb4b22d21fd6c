// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringView>
#include <array>

#include "sysinfo/SysInfoReader.h"

class CTraceReport;

// The 23-octet BCCH block of a System Information message of types 1 to 4
// as it was sent on the air: L2 pseudo length, protocol discriminator RR
// with skip indicator 0, message type, then the message's own octets,
// filled up with the padding octet 0x2B.
class CBcchBlock
{
public:
    enum
    {
        BLOCK_OCTETS = 23,
        HEADER_OCTETS = 3,
        FILL_OCTET = 0x2B,
        RR_DISCRIMINATOR = 0x06,
        FIRST_MESSAGE_TYPE = 0x19 // System Information 1; 2 to 4 follow
    };

    // nType 1 .. 4; pabyOctets the nOctets octets after the message type
    // (20 at most are used). Empty for another type.
    static QByteArray Assemble(int nType, const unsigned char* pabyOctets, int nOctets);
    // The block of the record's latest Bcch_Report line, or empty when that
    // line stored no octets.
    static QByteArray FromRecord(const CTraceReport& report);
    // The value of an octet field of the record: its hexadecimal number kept
    // to the low 8 bits (an empty field is 0).
    static unsigned char OctetValue(QStringView field);
    // The octets of type nType (1 .. 4) as the record holds them, whether or
    // not the latest line carried them; all 0 for another type.
    static std::array<unsigned char, CSysInfoReader::SI_OCTETS>
    RecordOctets(const CTraceReport& report, int nType);
    // Length of the message without its rest octets and without the pseudo
    // length octet itself: the value the L2 pseudo length carries.
    static int PseudoLength(int nType, const unsigned char* pabyOctets);
};
