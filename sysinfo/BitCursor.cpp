// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/BitCursor.h"

#include <algorithm>

CBitCursor::CBitCursor(const unsigned char* pabyOctets, int nOctets)
    : m_pabyOctets(pabyOctets), m_nOctets(std::max(nOctets, 0))
{
}

int CBitCursor::Peek(int nBits) const
{
    nBits = std::clamp(nBits, 0, 31);
    int nValue = 0;
    for (int i = m_nBit; i < m_nBit + nBits; ++i) {
        const int nOctet = i / 8;
        const int nBit = nOctet < m_nOctets ? (m_pabyOctets[nOctet] >> (7 - i % 8)) & 1 : 0;
        nValue = nValue << 1 | nBit;
    }
    return nValue;
}

int CBitCursor::Read(int nBits)
{
    const int nValue = Peek(nBits);
    Skip(nBits);
    return nValue;
}

void CBitCursor::Skip(int nBits)
{
    m_nBit = std::min(m_nBit + std::clamp(nBits, 0, m_nOctets * 8), m_nOctets * 8);
}

std::vector<unsigned char> CBitCursor::RestOctets() const
{
    const int nFirst = (m_nBit + 7) / 8;
    if (nFirst >= m_nOctets)
        return {};
    return std::vector<unsigned char>(m_pabyOctets + nFirst, m_pabyOctets + m_nOctets);
}
