#pragma once

#include <QString>
#include <vector>

// Turns the octets of the BCCH System Information messages of types 1 to 4
// into readable text, one information element at a time. Every line of the
// text starts with "\r\n" and has no line end of its own.
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
        SI_OCTETS = 20
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

    // --- element formatters (octets as the message carries them) -----------
    // Bit map 0 frequency list: pabyNext points to the 15 octets after the first.
    static QString FormatBitMap0List(unsigned char byFirst, const unsigned char* pabyNext);
    // Mobile allocation of the type 4 message; the tag is octet nTagPos of
    // that type's store. Octets past the store read as 0.
    QString FormatMobileAllocation(int nTagPos) const;
    static QString FormatRachControl(unsigned char a, unsigned char b, unsigned char c);
    QString FormatCellSelection(unsigned char a, unsigned char b) const;
    static QString FormatLai(unsigned char a, unsigned char b, unsigned char c, unsigned char d,
                             unsigned char e);
    // The last nCount of the type's 20 octets (nType 1 .. 4).
    QString FormatRestOctets(int nCount, int nType) const;
    static QString FormatCbchChannel(unsigned char a, unsigned char b, unsigned char c);
    static QString FormatControlChannel(unsigned char a, unsigned char b, unsigned char c);
    static QString FormatCellOptions(unsigned char a);

    // How many of a type's 20 octets are its rest octets (type 4: what the
    // optional CBCH elements leave; below 1 when they fill the message).
    static int RestOctetCount(int nType, const unsigned char* pabyOctets);

    // Octet store: m_abySysInfo[type - 1][k], k = 0 .. 19.
    unsigned char m_abySysInfo[SI_TYPES][SI_OCTETS];
    // Maximum output power of the band in use, in dBm (43 or 30).
    int m_nBandPower = 43;
    // The BCCH reports carry their rest octets.
    bool m_bRestOctets = true;

private:
    // Octet k of a type's store; 0 outside the store.
    unsigned char Octet(int nType, int k) const;
    QString DecodeType1(int nElement) const;
    QString DecodeType2(int nElement) const;
    QString DecodeType3(int nElement) const;
    QString DecodeType4(int nElement) const;
};
