#pragma once

#include <QByteArray>

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
    // Length of the message without its rest octets and without the pseudo
    // length octet itself: the value the L2 pseudo length carries.
    static int PseudoLength(int nType, const unsigned char* pabyOctets);
};
