// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

// Reads a message's bits in the order they are sent: octet by octet, each
// octet from its most significant bit (bit 8) down. Bits past the last
// octet read as 0, so a short or truncated message never leads outside its
// octets.
class CBitCursor
{
public:
    CBitCursor(const unsigned char* pabyOctets, int nOctets);

    // The next nBits (0 .. 31) as a number, the first bit the most significant.
    int Read(int nBits);
    bool ReadFlag() { return Read(1) != 0; }
    // The next nBits without moving on.
    int Peek(int nBits) const;
    // Moves on by nBits (not below 0); the cursor may stand past the end.
    void Skip(int nBits);
    // The whole octets from the cursor to the end (none once past it).
    std::vector<unsigned char> RestOctets() const;

private:
    const unsigned char* m_pabyOctets;
    int m_nOctets;
    // Bit position from the start; at most m_nOctets * 8.
    int m_nBit = 0;
};
