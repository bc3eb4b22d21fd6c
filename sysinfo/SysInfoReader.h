// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sysinfo/SysInfoMessages.h"

class CBitCursor;

// Reads the System Information messages of types 1 to 4 into their values:
// the layout of every element in one place. A message is given as the 20
// octets that follow its message type; each element is read from a cursor
// standing at its first bit and leaves the cursor after its last.
class CSysInfoReader
{
public:
    enum
    {
        SI_OCTETS = 20,
        BIT_MAP_0_CHANNELS = 124 // ARFCN 1 .. 124
    };

    static SiType1 Type1(const unsigned char* pabyOctets);
    static SiType2 Type2(const unsigned char* pabyOctets);
    static SiType3 Type3(const unsigned char* pabyOctets);
    static SiType4 Type4(const unsigned char* pabyOctets);
    // How many of a type's 20 octets are its rest octets: what follows the
    // last element (type 4: after its optional elements); 0 for type 2 and
    // outside 1 .. 4.
    static int RestOctetCount(int nType, const unsigned char* pabyOctets);

    static SiFrequencyList FrequencyList(CBitCursor& c);
    static SiRachControl RachControl(CBitCursor& c);
    static SiLai Lai(CBitCursor& c);
    static SiCellSelection CellSelection(CBitCursor& c);
    static SiControlChannel ControlChannel(CBitCursor& c);
    static SiCellOptions CellOptions(CBitCursor& c);
    static SiChannelDescription ChannelDescription(CBitCursor& c);
    // From the length octet on (the tag is read by the message).
    static SiMobileAllocation MobileAllocation(CBitCursor& c);
};
