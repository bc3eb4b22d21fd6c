// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

// The values of the System Information messages of types 1 to 4, element
// by element, as CSysInfoReader reads them from the octets. Codes are kept
// as the message carries them; what they stand for is the text's business.

// A frequency list of 16 octets (cell channel or neighbour cell description)
// in bit map 0 or the variable bit map; the range formats are not read.
struct SiFrequencyList
{
    int nFormatId = 0; // bits 8 and 7 of the first octet: 0 is bit map 0
    bool bVariableBitMap = false;
    // The carriers listed: bit map 0 ascending; the variable bit map its
    // origin first, then the others ascending from it. Empty in a range format.
    std::vector<int> arfcns;
};

struct SiRachControl
{
    int nMaxRetrans = 0; // code 0 .. 3
    int nTxInteger = 0;  // code 0 .. 15
    bool bCellBarred = false;
    bool bNoReestablishment = false; // RE
    int nAccessClasses = 0;          // bit i: access class i barred (bit 10: emergency calls)
};

struct SiLai
{
    int anMcc[3] = {}; // digits as carried (a filler is 15)
    int anMnc[3] = {};
    int nLac = 0;
};

struct SiCellSelection
{
    int nHysteresis = 0;     // CELL-RESELECT-HYSTERESIS code
    int nTxPwrMaxCch = 0;    // MS-TXPWR-MAX-CCH code
    bool bAcs = false;       // additional reselect parameters
    bool bNeci = false;      // new establishment causes supported
    int nRxLevAccessMin = 0; // RXLEV-ACCESS-MIN, 0 .. 63

    // The cell reselect hysteresis in dB.
    int HysteresisDb() const { return 2 * nHysteresis; }
};

struct SiControlChannel
{
    bool bAtt = false;
    int nBsAgBlksRes = 0;
    int nCcchConf = 0;
    int nBsPaMfrms = 0; // code
    int nT3212 = 0;     // periodic updating time-out
};

struct SiCellOptions
{
    bool bPwrc = false;
    int nDtx = 0;
    int nRadioLinkTimeout = 0; // code
};

// The CBCH's channel description.
struct SiChannelDescription
{
    int nChannelType = 0; // channel type and TDMA offset, 5 bits
    int nTimeslot = 0;
    int nTsc = 0;
    bool bHopping = false;
    int nMaio = 0;  // hopping only
    int nHsn = 0;   // hopping only
    int nArfcn = 0; // not hopping only
};

struct SiMobileAllocation
{
    int nLength = 0; // octets, as the length octet says
    // Position i: the (i + 1)-th carrier of the cell allocation is used; the
    // first 8 octets at most, octets past the message read as 0.
    std::vector<bool> used;
};

struct SiType1
{
    SiFrequencyList cellChannels;
    SiRachControl rach;
    std::vector<unsigned char> restOctets;
};

struct SiType2
{
    bool bExtension = false; // EXT-IND: the list is only a part of the BA
    int nBaInd = 0;
    SiFrequencyList neighbours;
    int nNccPermitted = 0;
    SiRachControl rach;
};

struct SiType3
{
    int nCi = 0;
    SiLai lai;
    SiControlChannel controlChannel;
    SiCellOptions cellOptions;
    SiCellSelection cellSelection;
    SiRachControl rach;
    std::vector<unsigned char> restOctets;
};

struct SiType4
{
    SiLai lai;
    SiCellSelection cellSelection;
    SiRachControl rach;
    bool bCbch = false; // the optional CBCH channel description is present
    SiChannelDescription cbch;
    bool bMobileAllocation = false; // the optional CBCH mobile allocation is present
    SiMobileAllocation mobileAllocation;
    std::vector<unsigned char> restOctets;
};
