// Concatenations build each text in one allocation.
#define QT_USE_QSTRINGBUILDER
#include "sysinfo/SysInfoDecoder.h"

#include <cstring>

namespace {
// Bits hi..lo of an octet, numbered 8 (most significant) to 1 as the
// message definitions write them.
int Bits(unsigned char by, int hi, int lo)
{
    return (by >> (lo - 1)) & ((1 << (hi - lo + 1)) - 1);
}

int Bit(unsigned char by, int n)
{
    return Bits(by, n, n);
}

QString Hex(int v)
{
    return QString::number(v, 16).toUpper();
}

const char* const kTypeLabels[4] = {
    "System Information Type 1",
    "System Information Type 2",
    "System Information Type 3",
    "System Information Type 4",
};

const char* const kElementLabels[4][7] = {
    {"Cell Channel Description", "RACCH Control Parameter", "Rest Octets"},
    {"BCCH Frequency List", "NCC Permitted", "RACCH Control Parameter"},
    {"Cell Identify Value", "Location Area Identification", "Control Channel Description",
     "Cell Options (BCCH)", "Cell Selection Parameters", "RACCH Control Parameter", "Rest Octets"},
    {"Location Area Identification", "Cell Selection Parameters", "RACCH Control Parameter",
     "CBCH Channel Description", "CBCH Mobile Allocation", "Rest Octets"},
};

const int kElementCounts[4] = {3, 3, 7, 6};

// Maximum number of retransmissions, by the 2-bit code.
const char* const kMaxRetrans[4] = {"1", "2", "4", "7"};
// Slots used to spread a transmission, by the 4-bit Tx-integer code.
const int kTxInteger[16] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 20, 25, 32, 50};

// CCCH-CONF: basic physical channels used for CCCH and whether they are
// combined with SDCCHs, by the 3-bit code (3, 5, 7 are reserved).
struct CcchConf
{
    int nChannels;
    bool bCombined;
};
const CcchConf kCcchConf[8] = {{1, false}, {1, true}, {2, false}, {0, true},
                               {3, false}, {0, true}, {4, false}, {0, true}};

const int kTagCbchChannel = 0x64;      // CBCH Channel Description
const int kTagMobileAllocation = 0x72; // CBCH Mobile Allocation
const int kMaxAllocationOctets = 8;
} // namespace

CSysInfoDecoder::CSysInfoDecoder()
{
    std::memset(m_abySysInfo, 0, sizeof(m_abySysInfo));
}

int CSysInfoDecoder::ElementCount(int nType)
{
    return nType >= 1 && nType <= 4 ? kElementCounts[nType - 1] : 0;
}

QString CSysInfoDecoder::TypeLabel(int nType)
{
    return nType >= 1 && nType <= 4 ? QString::fromLatin1(kTypeLabels[nType - 1]) : QString();
}

QString CSysInfoDecoder::ElementLabel(int nType, int nElement)
{
    if (nElement < 1 || nElement > ElementCount(nType))
        return QString();
    return QString::fromLatin1(kElementLabels[nType - 1][nElement - 1]);
}

unsigned char CSysInfoDecoder::Octet(int nType, int k) const
{
    if (nType < 1 || nType > SI_TYPES || k < 0 || k >= SI_OCTETS)
        return 0;
    return m_abySysInfo[nType - 1][k];
}

QString CSysInfoDecoder::FormatField(int nValue, const QString& strLabel, const QString& strValue,
                                     const QString& strDescription, const QString& strIfZero,
                                     const QString& strIfNotZero, const QString& strTrailer)
{
    const QString v = strValue.isEmpty() ? QString() : QStringLiteral("= ") + strValue;
    QString d;
    if (!strDescription.isEmpty())
        d = (v.isEmpty() ? QStringLiteral("= ") : QStringLiteral(" ")) + strDescription;
    const QString& q = nValue == 0 ? strIfZero : strIfNotZero;
    const QString qq = q.isEmpty() ? QString() : QLatin1Char(' ') + q + QLatin1Char(' ');
    const QString t = strTrailer.isEmpty() ? QString() : QLatin1Char(' ') + strTrailer;
    return QStringLiteral("\r\n") + strLabel + QStringLiteral(": ") + QString::number(nValue) +
           QLatin1Char(' ') + v + d + qq + t;
}

QString CSysInfoDecoder::FormatComputedField(int nValue, const QString& strLabel, int nShown,
                                             const QString& strDescription,
                                             const QString& strIfZero, const QString& strIfNotZero,
                                             const QString& strTrailer)
{
    if (nShown == -1)
        nShown = nValue;
    return FormatField(nValue, strLabel, QString::number(nShown), strDescription, strIfZero,
                       strIfNotZero, strTrailer);
}

QString CSysInfoDecoder::FormatChannelList(const std::vector<bool>& flags)
{
    QString s;
    const int n = static_cast<int>(flags.size());
    int nCount = 0;
    bool bStarted = false;
    for (int i = 0; i < n; ++i) {
        if (!flags[i])
            continue;
        if (i == 0 || !bStarted) {
            s += QString::number(i + 1);
            bStarted = true;
        } else if (!flags[i - 1]) {
            // A new run begins.
            if (nCount > 14) {
                s += QStringLiteral(",\r\n");
                nCount = 0;
            } else {
                s += QStringLiteral(", ");
            }
            s += QString::number(i + 1);
            ++nCount;
        } else if (i == n - 1 || !flags[i + 1]) {
            // A run of two or more ends here.
            s += QStringLiteral(" - ") + QString::number(i + 1);
            ++nCount;
        }
    }
    return s;
}

QString CSysInfoDecoder::FormatBitMap0List(unsigned char byFirst, const unsigned char* pabyNext)
{
    // Octet j (0 = the first) bit b carries ARFCN (15 - j) * 8 + b; the first
    // octet only its bits 4..1 (ARFCN 124 .. 121).
    std::vector<bool> flags(124, false);
    for (int j = 0; j < 16; ++j) {
        const unsigned char by = j == 0 ? byFirst : pabyNext[j - 1];
        const int nTopBit = j == 0 ? 4 : 8;
        for (int b = 1; b <= nTopBit; ++b)
            if (Bit(by, b))
                flags[(15 - j) * 8 + b - 1] = true;
    }
    return QStringLiteral("\r\nNeigbouring channel list:\r\n") + FormatChannelList(flags);
}

QString CSysInfoDecoder::FormatMobileAllocation(int nTagPos) const
{
    if (Octet(4, nTagPos) != kTagMobileAllocation)
        return QStringLiteral("\r\nNo mobile allocations defined");
    int nLen = Octet(4, nTagPos + 1);
    if (nLen * 8 > kMaxAllocationOctets * 8)
        nLen = kMaxAllocationOctets;
    // Bit 1 of the last octet is position 0, bit 8 of the first 8L - 1.
    std::vector<bool> flags(static_cast<size_t>(nLen) * 8, false);
    for (int i = 0; i < nLen; ++i) {
        const unsigned char by = Octet(4, nTagPos + 2 + i);
        for (int b = 1; b <= 8; ++b)
            if (Bit(by, b))
                flags[(nLen - 1 - i) * 8 + b - 1] = true;
    }
    return QStringLiteral("\r\nNeighbouring Channel List:\r\n") + FormatChannelList(flags);
}

QString CSysInfoDecoder::FormatRachControl(unsigned char a, unsigned char b, unsigned char c)
{
    const QString e;
    QString s;
    s += FormatField(Bits(a, 8, 7), QStringLiteral("Max Retrans"),
                     QString::fromLatin1(kMaxRetrans[Bits(a, 8, 7)]),
                     QStringLiteral("Maximum of Retransmissions"), e, e, e);
    s += FormatField(Bits(a, 6, 3), QStringLiteral("Tx-Integer"),
                     QString::number(kTxInteger[Bits(a, 6, 3)]),
                     QStringLiteral("Slots used to spread Transmission"), e, e, e);
    s += FormatField(Bit(a, 2), QStringLiteral("Cell Bar Access"), e, QStringLiteral("Cell is"),
                     QStringLiteral("not"), e, QStringLiteral("barred"));
    s += FormatField(Bit(a, 1), QStringLiteral("RE"), e, QStringLiteral("Cell Reestablishment"), e,
                     QStringLiteral("not"), QStringLiteral("allowed"));
    s += QStringLiteral("\r\n");
    // Access classes 0 .. 15; class 10 is the emergency call bit.
    const int w = b * 256 + c;
    for (int i = 0; i < 16; ++i) {
        const int bit = (w >> i) & 1;
        const QLatin1Char cBit(bit ? '1' : '0');
        if (i == 10)
            s += QLatin1String("\r\nECC 10: ") % cBit % QLatin1String(" = Emergency Call ") %
                 QLatin1String(bit ? "not " : "") % QLatin1String("allowed");
        else
            s += QLatin1String("\r\nACC ") % QString::number(i) % QLatin1String(": ") % cBit %
                 QLatin1String(" = Access is ") % QLatin1String(bit ? "" : "not ") %
                 QLatin1String("barred");
    }
    return s;
}

QString CSysInfoDecoder::FormatCellSelection(unsigned char a, unsigned char b) const
{
    const QString e;
    QString s;
    const int h = Bits(a, 8, 6);
    s += FormatComputedField(h, QStringLiteral("CELL-RESELECT-HYSTERESIS"), 2 * h,
                             QStringLiteral("dB RXLEV hysteresis for LA reselection"), e, e, e);
    const int t = Bits(a, 5, 1);
    s += FormatComputedField(t, QStringLiteral("MS-TXPWR-MAX-CCH"), m_nBandPower - 2 * t,
                             QStringLiteral("dBm"), e, e, e);
    s += FormatField(Bit(b, 8), QStringLiteral("Additional Reseselect Param Ind (ACS)"), e, e, e, e,
                     e);
    s += FormatField(Bit(b, 7), QStringLiteral("Half Rate Support (NECI)"), e,
                     QStringLiteral("New establishment causes are"), QStringLiteral("not"), e,
                     QStringLiteral("supported"));
    const int m = Bits(b, 6, 1);
    s += FormatComputedField(m, QStringLiteral("RXLEV-ACCESS-MIN"), m - 110, QStringLiteral("dBm"),
                             e, e, e);
    return s;
}

QString CSysInfoDecoder::FormatLai(unsigned char a, unsigned char b, unsigned char c,
                                   unsigned char d, unsigned char e)
{
    QString s;
    s += QStringLiteral("\r\nMobile Country Code (MCC): ") + QLatin1Char(' ') + Hex(Bits(a, 4, 1)) +
         Hex(Bits(a, 8, 5)) + Hex(Bits(b, 4, 1));
    // The third MNC digit (b bits 8..5) is not shown.
    s +=
        QStringLiteral("\r\nMobile Network Code (MNC): ") + Hex(Bits(c, 4, 1)) + Hex(Bits(c, 8, 5));
    s += QStringLiteral("\r\nLocation Area Country Code (LAC): ") + Hex(d * 256 + e);
    return s;
}

QString CSysInfoDecoder::FormatRestOctets(int nCount, int nType) const
{
    QString s = QStringLiteral("\r\n");
    if (!m_bRestOctets)
        return s + QStringLiteral("Bcch-Protocol without Rest Octets used!");
    s += QStringLiteral("Rest Octets: ");
    if (nCount > SI_OCTETS)
        nCount = SI_OCTETS;
    for (int k = SI_OCTETS - nCount; k < SI_OCTETS && nCount > 0; ++k)
        s += Hex(Octet(nType, k)) + QLatin1Char(' ');
    return s;
}

QString CSysInfoDecoder::FormatCbchChannel(unsigned char a, unsigned char b, unsigned char c)
{
    const QString e;
    QString s;
    // Channel type and TDMA offset, classified by its leading bits.
    const int t = Bits(a, 8, 4);
    QString strChannel;
    int nSub = -1;
    if (t == 1) {
        strChannel = QStringLiteral("TCH/F + ACCHs");
    } else if ((t & 0x1E) == 0x02) {
        strChannel = QStringLiteral("TCH/H + ACCHs");
        nSub = t & 0x01;
    } else if ((t & 0x1C) == 0x04) {
        strChannel = QStringLiteral("SDCCH/4 + SDCCH/C4 or CBCH(SDCCH/4)");
        nSub = t & 0x03;
    } else if ((t & 0x18) == 0x08) {
        strChannel = QStringLiteral("SDCCH/8 + SDCCH/C8 or CBCH(SDCCH/8)");
        nSub = t & 0x07;
    } else {
        strChannel = QStringLiteral("Channel Type not defined");
    }
    const QString strTrailer =
        nSub >= 0 ? QStringLiteral(", Subchannel = %1").arg(nSub) : QString();
    s += FormatField(t, QStringLiteral("Channel Type and TDMA Offset"), e, strChannel, e, e,
                     strTrailer);
    s += FormatField(Bits(a, 3, 1), QStringLiteral("Timeslot Number"), e, e, e, e, e);
    s += FormatField(Bits(b, 8, 6), QStringLiteral("Training Sequence"), e, e, e, e, e);
    const int h = Bit(b, 5);
    s += FormatField(h, QStringLiteral("Hopping Channel"), e, e, e, e, e);
    if (h) {
        s += FormatField(Bits(b, 4, 1) * 4 + Bits(c, 8, 7),
                         QStringLiteral("Mobile Allocation Index Offset"), e, e, e, e, e);
        s += FormatField(Bits(c, 6, 1), QStringLiteral("Hoping Sequence Number"), e, e, e, e, e);
    } else {
        // Octet b bits 4 and 3 are spare; the channel's high bits are bits 2 and 1.
        s += FormatField(Bits(b, 2, 1) * 256 + c, QStringLiteral("Absolute RF Channel Number"), e,
                         e, e, e, e);
    }
    return s;
}

QString CSysInfoDecoder::FormatControlChannel(unsigned char a, unsigned char b, unsigned char c)
{
    const QString e;
    QString s;
    s += FormatField(Bit(a, 7), QStringLiteral("ATT"), e, QStringLiteral("IMSI attach-detach"),
                     QStringLiteral("not"), e, QStringLiteral("allowed"));
    s += FormatField(Bits(a, 6, 4), QStringLiteral("BS-AG-BLKS-RES"), e, e, e, e, e);
    const int nConf = Bits(a, 3, 1);
    const CcchConf& conf = kCcchConf[nConf];
    const QString strTrailer = (conf.bCombined ? QString() : QStringLiteral("not ")) +
                               QStringLiteral("comb. witdh SDCCHs");
    s += FormatComputedField(nConf, QStringLiteral("CCCH-CONF"), conf.nChannels,
                             QStringLiteral("basic phys. chan. used for CCCH"), e, e, strTrailer);
    const int p = Bits(b, 3, 1);
    s += FormatComputedField(
        p, QStringLiteral("BS-PA-MFRMS"), p + 2,
        QStringLiteral("multiframes periods of PAGING REQEST messages to the"), e, e,
        QStringLiteral("\r\n") + QString(35, QLatin1Char(' ')) + QStringLiteral("same subgroup"));
    // T3212, the periodic updating time-out, as the raw octet.
    s += FormatField(c, QStringLiteral("Timeout Value"), e, e, e, e, e);
    return s;
}

QString CSysInfoDecoder::FormatCellOptions(unsigned char a)
{
    const QString e;
    QString s;
    s += FormatField(Bit(a, 7), QStringLiteral("Power Control Indicator"), e,
                     QStringLiteral("PWRC is"), QStringLiteral("not"), e, QStringLiteral("set"));
    const int d = Bits(a, 6, 5);
    const QString w = d == 1   ? QStringLiteral("shall")
                      : d == 2 ? QStringLiteral("shall not")
                               : QStringLiteral("may");
    s += FormatField(d, QStringLiteral("DTX Indicator"), e, QStringLiteral("The MSs"), w, w,
                     QStringLiteral("use uplink discontinous transmission"));
    const int r = Bits(a, 4, 1);
    s += FormatComputedField(r, QStringLiteral("RADIO-LINK-TIMEOUT"), 4 * r + 4, e, e, e, e);
    return s;
}

QString CSysInfoDecoder::DecodeType1(int nElement) const
{
    const unsigned char* o = m_abySysInfo[0];
    switch (nElement) {
    case 1:
        if (Bits(o[0], 8, 7) != 0)
            return QStringLiteral("Format-ID not supported!");
        return FormatBitMap0List(o[0], o + 1);
    case 2:
        return FormatRachControl(o[16], o[17], o[18]);
    case 3:
        return FormatRestOctets(RestOctetCount(1, o), 1);
    }
    return QString();
}

QString CSysInfoDecoder::DecodeType2(int nElement) const
{
    const QString e;
    const unsigned char* o = m_abySysInfo[1];
    switch (nElement) {
    case 1: {
        const int f = Bits(o[0], 8, 7);
        if (f != 0)
            return FormatField(f, QStringLiteral("\r\nFormat-ID"), e,
                               QStringLiteral("not supported!"), e, e, e);
        QString s = FormatField(Bit(o[0], 6), QStringLiteral("Extension Indication"), e,
                                QStringLiteral("The information element carries the complete"), e,
                                QStringLiteral("only a part of"), QStringLiteral("BA"));
        s += QStringLiteral("\r\nBCCH Allocation Sequence Number Indication: %1").arg(Bit(o[0], 5));
        return s + FormatBitMap0List(o[0], o + 1);
    }
    case 2:
        return QStringLiteral("\r\nNCC Permitted: ") + Hex(o[16]);
    case 3:
        return FormatRachControl(o[17], o[18], o[19]);
    }
    return QString();
}

QString CSysInfoDecoder::DecodeType3(int nElement) const
{
    const unsigned char* o = m_abySysInfo[2];
    switch (nElement) {
    case 1:
        return QStringLiteral("\r\nCell Identity Value (CI): ") + Hex(o[0] * 256 + o[1]);
    case 2:
        return FormatLai(o[2], o[3], o[4], o[5], o[6]);
    case 3:
        return FormatControlChannel(o[7], o[8], o[9]);
    case 4:
        return FormatCellOptions(o[10]);
    case 5:
        return FormatCellSelection(o[11], o[12]);
    case 6:
        return FormatRachControl(o[13], o[14], o[15]);
    case 7:
        return FormatRestOctets(RestOctetCount(3, o), 3);
    }
    return QString();
}

QString CSysInfoDecoder::DecodeType4(int nElement) const
{
    const unsigned char* o = m_abySysInfo[3];
    const bool bCbch = o[10] == kTagCbchChannel;
    // The optional mobile allocation follows the optional channel description.
    const int nAllocTag = bCbch ? 14 : 10;
    switch (nElement) {
    case 1:
        return FormatLai(o[0], o[1], o[2], o[3], o[4]);
    case 2:
        return FormatCellSelection(o[5], o[6]);
    case 3:
        return FormatRachControl(o[7], o[8], o[9]);
    case 4:
        if (bCbch)
            return FormatCbchChannel(o[11], o[12], o[13]);
        return QStringLiteral("\r\nNo CBCH Channel Description defined");
    case 5:
        return FormatMobileAllocation(nAllocTag);
    case 6:
        return FormatRestOctets(RestOctetCount(4, o), 4);
    }
    return QString();
}

int CSysInfoDecoder::RestOctetCount(int nType, const unsigned char* pabyOctets)
{
    switch (nType) {
    case 1:
        return 1;
    case 3:
        return 4;
    case 4: {
        const unsigned char* o = pabyOctets;
        const bool bCbch = o[10] == kTagCbchChannel;
        const int nAllocTag = bCbch ? 14 : 10;
        int n = bCbch ? 6 : 10;
        if (o[nAllocTag] == kTagMobileAllocation)
            n -= 2 + o[nAllocTag + 1];
        return n;
    }
    default:
        return 0;
    }
}

QString CSysInfoDecoder::DecodeElement(const QString& strHeader, int nType, int nElement) const
{
    if (nElement < 1 || nElement > ElementCount(nType))
        return strHeader;
    switch (nType) {
    case 1:
        return strHeader + DecodeType1(nElement);
    case 2:
        return strHeader + DecodeType2(nElement);
    case 3:
        return strHeader + DecodeType3(nElement);
    case 4:
        return strHeader + DecodeType4(nElement);
    }
    return strHeader;
}
