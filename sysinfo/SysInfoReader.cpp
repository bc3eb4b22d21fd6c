// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/SysInfoReader.h"

#include <algorithm>

#include "sysinfo/BitCursor.h"

namespace {
const int kFrequencyListOctets = 16;
const int kVariableBitMap = 7; // format bits 4..2 after 10 in bits 8, 7
const int kRelativeChannels = 111;
const int kArfcnCount = 1024;
const int kTagCbchChannel = 0x64;      // CBCH Channel Description
const int kTagMobileAllocation = 0x72; // CBCH Mobile Allocation
const int kMaxAllocationOctets = 8;
} // namespace

SiFrequencyList CSysInfoReader::FrequencyList(CBitCursor& c)
{
    CBitCursor end = c;
    end.Skip(kFrequencyListOctets * 8);
    SiFrequencyList f;
    f.nFormatId = c.Read(2);
    c.Skip(2); // spare, or a neighbour list's EXT-IND and BA-IND
    if (f.nFormatId == 0) {
        // ARFCN 124 first, 1 last.
        for (int n = BIT_MAP_0_CHANNELS; n >= 1; --n)
            if (c.ReadFlag())
                f.arfcns.push_back(n);
        std::reverse(f.arfcns.begin(), f.arfcns.end());
    } else if (f.nFormatId == 2 && c.Peek(3) == kVariableBitMap) {
        f.bVariableBitMap = true;
        c.Skip(3);
        const int nOrigin = c.Read(10);
        f.arfcns.push_back(nOrigin);
        for (int n = 1; n <= kRelativeChannels; ++n)
            if (c.ReadFlag())
                f.arfcns.push_back((nOrigin + n) % kArfcnCount);
    }
    c = end;
    return f;
}

SiRachControl CSysInfoReader::RachControl(CBitCursor& c)
{
    SiRachControl r;
    r.nMaxRetrans = c.Read(2);
    r.nTxInteger = c.Read(4);
    r.bCellBarred = c.ReadFlag();
    r.bNoReestablishment = c.ReadFlag();
    r.nAccessClasses = c.Read(16);
    return r;
}

SiLai CSysInfoReader::Lai(CBitCursor& c)
{
    SiLai l;
    l.anMcc[1] = c.Read(4);
    l.anMcc[0] = c.Read(4);
    l.anMnc[2] = c.Read(4);
    l.anMcc[2] = c.Read(4);
    l.anMnc[1] = c.Read(4);
    l.anMnc[0] = c.Read(4);
    l.nLac = c.Read(16);
    return l;
}

SiCellSelection CSysInfoReader::CellSelection(CBitCursor& c)
{
    SiCellSelection s;
    s.nHysteresis = c.Read(3);
    s.nTxPwrMaxCch = c.Read(5);
    s.bAcs = c.ReadFlag();
    s.bNeci = c.ReadFlag();
    s.nRxLevAccessMin = c.Read(6);
    return s;
}

SiControlChannel CSysInfoReader::ControlChannel(CBitCursor& c)
{
    SiControlChannel d;
    c.Skip(1); // MSCR
    d.bAtt = c.ReadFlag();
    d.nBsAgBlksRes = c.Read(3);
    d.nCcchConf = c.Read(3);
    c.Skip(5); // SI22 indication, CBQ3, spare
    d.nBsPaMfrms = c.Read(3);
    d.nT3212 = c.Read(8);
    return d;
}

SiCellOptions CSysInfoReader::CellOptions(CBitCursor& c)
{
    SiCellOptions o;
    c.Skip(1); // DN indication
    o.bPwrc = c.ReadFlag();
    o.nDtx = c.Read(2);
    o.nRadioLinkTimeout = c.Read(4);
    return o;
}

SiChannelDescription CSysInfoReader::ChannelDescription(CBitCursor& c)
{
    SiChannelDescription d;
    d.nChannelType = c.Read(5);
    d.nTimeslot = c.Read(3);
    d.nTsc = c.Read(3);
    d.bHopping = c.ReadFlag();
    if (d.bHopping) {
        d.nMaio = c.Read(6);
        d.nHsn = c.Read(6);
    } else {
        c.Skip(2); // spare
        d.nArfcn = c.Read(10);
    }
    return d;
}

SiMobileAllocation CSysInfoReader::MobileAllocation(CBitCursor& c)
{
    SiMobileAllocation m;
    m.nLength = c.Read(8);
    // Bit 8 of the first octet is the highest position, bit 1 of the last position 0.
    const int nBits = std::min(m.nLength, int(kMaxAllocationOctets)) * 8;
    m.used.assign(static_cast<size_t>(nBits), false);
    for (int i = nBits - 1; i >= 0; --i)
        m.used[static_cast<size_t>(i)] = c.ReadFlag();
    c.Skip(m.nLength * 8 - nBits);
    return m;
}

SiType1 CSysInfoReader::Type1(const unsigned char* pabyOctets)
{
    CBitCursor c(pabyOctets, SI_OCTETS);
    SiType1 si;
    si.cellChannels = FrequencyList(c);
    si.rach = RachControl(c);
    si.restOctets = c.RestOctets();
    return si;
}

SiType2 CSysInfoReader::Type2(const unsigned char* pabyOctets)
{
    CBitCursor c(pabyOctets, SI_OCTETS);
    SiType2 si;
    CBitCursor header = c;
    header.Skip(2);
    si.bExtension = header.ReadFlag();
    si.nBaInd = header.Read(1);
    si.neighbours = FrequencyList(c);
    si.nNccPermitted = c.Read(8);
    si.rach = RachControl(c);
    return si;
}

SiType3 CSysInfoReader::Type3(const unsigned char* pabyOctets)
{
    CBitCursor c(pabyOctets, SI_OCTETS);
    SiType3 si;
    si.nCi = c.Read(16);
    si.lai = Lai(c);
    si.controlChannel = ControlChannel(c);
    si.cellOptions = CellOptions(c);
    si.cellSelection = CellSelection(c);
    si.rach = RachControl(c);
    si.restOctets = c.RestOctets();
    return si;
}

SiType4 CSysInfoReader::Type4(const unsigned char* pabyOctets)
{
    CBitCursor c(pabyOctets, SI_OCTETS);
    SiType4 si;
    si.lai = Lai(c);
    si.cellSelection = CellSelection(c);
    si.rach = RachControl(c);
    // The optional mobile allocation follows the optional channel description.
    si.bCbch = c.Peek(8) == kTagCbchChannel;
    if (si.bCbch) {
        c.Skip(8);
        si.cbch = ChannelDescription(c);
    }
    si.bMobileAllocation = c.Peek(8) == kTagMobileAllocation;
    if (si.bMobileAllocation) {
        c.Skip(8);
        si.mobileAllocation = MobileAllocation(c);
    }
    si.restOctets = c.RestOctets();
    return si;
}

int CSysInfoReader::RestOctetCount(int nType, const unsigned char* pabyOctets)
{
    switch (nType) {
    case 1:
        return static_cast<int>(Type1(pabyOctets).restOctets.size());
    case 3:
        return static_cast<int>(Type3(pabyOctets).restOctets.size());
    case 4:
        return static_cast<int>(Type4(pabyOctets).restOctets.size());
    default:
        return 0;
    }
}
