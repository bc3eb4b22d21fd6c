// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "sysinfo/SysInfoReader.h"

// Turns the octets of the BCCH System Information messages of types 1 to 4
// into readable text, one information element at a time: CSysInfoReader
// reads the message's values, the formatters below write them. Every line
// of the text starts with "\r\n" and has no line end of its own.
//
// The octet store holds, per type, the 20 octets that follow the message
// type octet. The band power and the rest-octet flag are inputs the owner
// sets before it asks for a decoding; a decoding changes nothing.
class CSysInfoDecoder
{
public:
    enum
    {
        SI_TYPES = 4,
        SI_OCTETS = CSysInfoReader::SI_OCTETS
    };

    CSysInfoDecoder();
    virtual ~CSysInfoDecoder() = default;

    // Labels of the element tree: the type itself (element 0) and its
    // elements 1 .. ElementCount(type). Empty outside the catalogue.
    static int ElementCount(int nType);
    static QString TypeLabel(int nType);
    static QString ElementLabel(int nType, int nElement);

    // The header with the text of element nElement of type nType (1 .. 4)
    // appended; a pair outside the catalogue returns the header unchanged.
    QString DecodeElement(const QString& strHeader, int nType, int nElement) const;

    // --- line builders ------------------------------------------------------
    static QString FormatField(int nValue, const QString& strLabel, const QString& strValue,
                               const QString& strDescription, const QString& strIfZero,
                               const QString& strIfNotZero, const QString& strTrailer);
    // FormatField with the value text nShown in decimal; a shown value of
    // exactly -1 is replaced by the value itself.
    static QString FormatComputedField(int nValue, const QString& strLabel, int nShown,
                                       const QString& strDescription, const QString& strIfZero,
                                       const QString& strIfNotZero, const QString& strTrailer);
    // Set positions i written as i + 1: runs as "first - last", separated by
    // ", " with a line break after every 15 entries.
    static QString FormatChannelList(const std::vector<bool>& flags);

    // --- element formatters (the values CSysInfoReader reads) ---------------
    // A frequency list in bit map 0.
    static QString FormatBitMap0List(const SiFrequencyList& list);
    static QString FormatMobileAllocation(const SiMobileAllocation& allocation);
    static QString FormatRachControl(const SiRachControl& rach);
    QString FormatCellSelection(const SiCellSelection& selection) const;
    static QString FormatLai(const SiLai& lai);
    QString FormatRestOctets(const std::vector<unsigned char>& octets) const;
    static QString FormatCbchChannel(const SiChannelDescription& channel);
    static QString FormatControlChannel(const SiControlChannel& channel);
    static QString FormatCellOptions(const SiCellOptions& options);

    // Octet store: m_abySysInfo[type - 1][k], k = 0 .. 19.
    unsigned char m_abySysInfo[SI_TYPES][SI_OCTETS];
    // Maximum output power of the band in use, in dBm (43 or 30).
    int m_nBandPower = 43;
    // The BCCH reports carry their rest octets.
    bool m_bRestOctets = true;

private:
    QString FormatElement(const SiType1& si, int nElement) const;
    QString FormatElement(const SiType2& si, int nElement) const;
    QString FormatElement(const SiType3& si, int nElement) const;
    QString FormatElement(const SiType4& si, int nElement) const;
};
