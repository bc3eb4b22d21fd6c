// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimRadio.h"

#include <algorithm>

namespace {
// RACH control: Max Retrans code 2 (4), Tx-Integer code 14 (32 slots),
// cell not barred, re-establishment allowed, no access class barred.
const uint8_t RACH_A = 0xB8;
// Control channel description: ATT set, BS-AG-BLKS-RES 1, one non-combined
// CCCH; BS-PA-MFRMS code 3; T3212 ten decihours.
const uint8_t CCD[3] = {0x48, 0x03, 0x0A};
// Cell options: PWRC clear, DTX "shall use", radio link timeout 32.
const uint8_t CELL_OPTIONS = 0x17;
// Cell selection: hysteresis 4 dB, MS-TXPWR-MAX-CCH 5, RXLEV-ACCESS-MIN 10.
const uint8_t CELL_SEL[2] = {0x45, 0x0A};
const uint8_t PADDING = 0x2B;
const uint8_t TAG_CBCH_CHANNEL = 0x64;
const uint8_t TAG_CBCH_MA = 0x72;

int Wrap(int nArfcn, int nStep)
{
    using namespace ChannelPlan;
    if (nArfcn <= kLowLast)
        return (nArfcn - kLowFirst + nStep) % kLowCount + kLowFirst;
    return (nArfcn - kHighFirst + nStep) % kHighCount + kHighFirst;
}
} // namespace

CSimRadio::CSimRadio(unsigned nSeed, bool bRoaming, bool bHopping)
    : m_rng(nSeed), m_bHopping(bHopping)
{
    const int nLac = Random(0x1000, 0x7FFF);
    const int nNcc = Random(0, 7);
    std::vector<int> used;
    for (int i = 0; i <= NEIGHBOURS; ++i) {
        CSimCell c;
        do {
            c.nArfcn = Random(ChannelPlan::kLowFirst, ChannelPlan::kLowLast);
        } while (std::find(used.begin(), used.end(), c.nArfcn) != used.end());
        used.push_back(c.nArfcn);
        c.nBsic = (i == 0 ? nNcc : Random(0, 7)) * 8 + Random(0, 7);
        c.nMcc = 262;
        c.nMnc = bRoaming ? 2 : 1;
        c.nLac = i == NEIGHBOURS ? nLac + 1 : nLac;
        c.nCi = Random(0x100, 0xFFFE);
        c.nBase = i == 0 ? Random(36, 48) : Random(8, 34);
        c.nLevel = c.nBase;
        m_cells.push_back(c);
    }
    m_nTimingAdvance = Random(1, 12);
}

int CSimRadio::Random(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    return lo + static_cast<int>(m_rng() % static_cast<unsigned>(hi - lo + 1));
}

void CSimRadio::Drift()
{
    for (CSimCell& c : m_cells) {
        const int lo = std::max(0, c.nBase - 5);
        const int hi = std::min(63, c.nBase + 5);
        c.nLevel = std::clamp(c.nLevel + Random(-1, 1), lo, hi);
    }
    if (Random(0, 9) == 0)
        m_nTimingAdvance = std::clamp(m_nTimingAdvance + Random(-1, 1), 0, 63);
}

bool CSimRadio::MoveServing(int nArfcn)
{
    if (!IsValidChannel(nArfcn))
        return false;
    for (size_t i = 1; i < m_cells.size(); ++i) {
        if (m_cells[i].nArfcn == nArfcn) {
            std::swap(m_cells[0], m_cells[i]);
            return true;
        }
    }
    m_cells[0].nArfcn = nArfcn;
    return true;
}

void CSimRadio::SetLevels(int nServing, const QList<int>& neighbours)
{
    m_cells[0].nBase = m_cells[0].nLevel = std::clamp(nServing, 0, 63);
    for (int i = 0; i < neighbours.size() && i < NEIGHBOURS; ++i)
        m_cells[1 + i].nBase = m_cells[1 + i].nLevel = std::clamp(neighbours[i], 0, 63);
}

bool CSimRadio::SetCells(const std::vector<CSimCell>& cells, int nTimingAdvance)
{
    if (cells.size() != m_cells.size())
        return false;
    m_cells = cells;
    for (CSimCell& c : m_cells) {
        c.nLevel = std::clamp(c.nLevel, 0, 63);
        c.nBase = std::clamp(c.nBase, 0, 63);
    }
    m_nTimingAdvance = std::clamp(nTimingAdvance, 0, 63);
    return true;
}

std::vector<int> CSimRadio::CellAllocation() const
{
    const int a = Serving().nArfcn;
    std::vector<int> ca = {a, Wrap(a, 20), Wrap(a, 40), Wrap(a, 60)};
    std::sort(ca.begin(), ca.end());
    ca.erase(std::unique(ca.begin(), ca.end()), ca.end());
    return ca;
}

int CSimRadio::RxQual() const
{
    const int v = Serving().nLevel;
    if (v >= 30)
        return 0;
    if (v >= 25)
        return 1;
    if (v >= 20)
        return 2;
    if (v >= 15)
        return 3;
    if (v >= 10)
        return 5;
    return 7;
}

int CSimRadio::ScanLevel(int nArfcn)
{
    for (const CSimCell& c : m_cells) {
        if (c.nArfcn == nArfcn)
            return std::clamp(c.nLevel + Random(-1, 1), 0, 63);
    }
    for (int n : CellAllocation()) {
        if (n == nArfcn)
            return std::clamp(Serving().nLevel - 3 + Random(-1, 1), 0, 63);
    }
    return Random(0, 6);
}

void CSimRadio::EncodeLai(uint8_t* p, const CSimCell& c) const
{
    const int m1 = c.nMcc / 100, m2 = c.nMcc / 10 % 10, m3 = c.nMcc % 10;
    const int n1 = c.nMnc / 10 % 10, n2 = c.nMnc % 10;
    p[0] = static_cast<uint8_t>(m2 << 4 | m1);
    p[1] = static_cast<uint8_t>(0xF0 | m3); // two-digit MNC: third digit F
    p[2] = static_cast<uint8_t>(n2 << 4 | n1);
    p[3] = static_cast<uint8_t>(c.nLac >> 8);
    p[4] = static_cast<uint8_t>(c.nLac & 0xFF);
}

void CSimRadio::EncodeRach(uint8_t* p) const
{
    p[0] = RACH_A;
    p[1] = 0;
    p[2] = 0;
}

// A frequency list of 16 octets. Channels 1..124 use bit map 0; a cell
// allocation that lies in the 1800 band uses the variable bit map.
void CSimRadio::EncodeChannelBits(uint8_t* p, const std::vector<int>& channels,
                                  bool bCellAlloc) const
{
    std::fill(p, p + 16, 0);
    const bool bHigh = !channels.empty() && channels.front() > ChannelPlan::kLowLast;
    if (bCellAlloc && bHigh) {
        const int orig = channels.front();
        p[0] = static_cast<uint8_t>(0x80 | 0x0E | ((orig >> 9) & 1));
        p[1] = static_cast<uint8_t>((orig >> 1) & 0xFF);
        p[2] = static_cast<uint8_t>((orig & 1) << 7);
        for (int ch : channels) {
            const int n = ch - orig;
            if (n >= 1 && n <= 111)
                p[2 + n / 8] |= static_cast<uint8_t>(1 << (7 - n % 8));
        }
        return;
    }
    bool bLeftOut = false;
    for (int ch : channels) {
        if (ch < ChannelPlan::kLowFirst || ch > ChannelPlan::kLowLast) {
            bLeftOut = true;
            continue;
        }
        p[15 - (ch - 1) / 8] |= static_cast<uint8_t>(1 << ((ch - 1) % 8));
    }
    if (!bCellAlloc && bLeftOut)
        p[0] |= 0x20; // EXT-IND: the list is only a part of the BA
}

std::array<uint8_t, CSimRadio::SI_OCTETS> CSimRadio::SysInfo(int nType) const
{
    std::array<uint8_t, SI_OCTETS> o;
    o.fill(PADDING);
    const CSimCell& s = Serving();
    switch (nType) {
    case 1:
        EncodeChannelBits(o.data(), CellAllocation(), true);
        EncodeRach(o.data() + 16);
        break;
    case 2: {
        std::vector<int> ba;
        for (int i = 0; i < NEIGHBOURS; ++i)
            ba.push_back(Neighbour(i).nArfcn);
        EncodeChannelBits(o.data(), ba, false);
        o[16] = 0xFF; // every NCC permitted
        EncodeRach(o.data() + 17);
        break;
    }
    case 3:
        o[0] = static_cast<uint8_t>(s.nCi >> 8);
        o[1] = static_cast<uint8_t>(s.nCi & 0xFF);
        EncodeLai(o.data() + 2, s);
        std::copy(CCD, CCD + 3, o.data() + 7);
        o[10] = CELL_OPTIONS;
        o[11] = CELL_SEL[0];
        o[12] = CELL_SEL[1];
        EncodeRach(o.data() + 13);
        break;
    case 4: {
        EncodeLai(o.data(), s);
        o[5] = CELL_SEL[0];
        o[6] = CELL_SEL[1];
        EncodeRach(o.data() + 7);
        // CBCH on SDCCH/8 subchannel 2 of time slot 1
        const int tsc = s.nBsic & 7;
        o[10] = TAG_CBCH_CHANNEL;
        o[11] = static_cast<uint8_t>(0x0A << 3 | 1);
        if (m_bHopping) {
            const int maio = 0, hsn = (s.nBsic * 3) % 64;
            o[12] = static_cast<uint8_t>(tsc << 5 | 0x10 | (maio >> 2));
            o[13] = static_cast<uint8_t>((maio & 3) << 6 | hsn);
            const size_t k = std::min<size_t>(CellAllocation().size(), 8);
            o[14] = TAG_CBCH_MA;
            o[15] = 1;
            o[16] = static_cast<uint8_t>((1u << k) - 1);
        } else {
            o[12] = static_cast<uint8_t>(tsc << 5 | ((s.nArfcn >> 8) & 3));
            o[13] = static_cast<uint8_t>(s.nArfcn & 0xFF);
        }
        break;
    }
    default:
        break;
    }
    return o;
}
