// SPDX-License-Identifier: GPL-3.0-or-later
// Concatenations build each text in one allocation.
#define QT_USE_QSTRINGBUILDER
#include "sysinfo/SysInfoDecoder.h"

#include <cstring>

#include "measure/Units.h"

namespace {
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

QString CSysInfoDecoder::FormatBitMap0List(const SiFrequencyList& list)
{
    // Position i is ARFCN i + 1.
    std::vector<bool> flags(CSysInfoReader::BIT_MAP_0_CHANNELS, false);
    for (int n : list.arfcns)
        if (n >= 1 && n <= CSysInfoReader::BIT_MAP_0_CHANNELS)
            flags[n - 1] = true;
    return QStringLiteral("\r\nNeigbouring channel list:\r\n") + FormatChannelList(flags);
}

QString CSysInfoDecoder::FormatMobileAllocation(const SiMobileAllocation& allocation)
{
    return QStringLiteral("\r\nNeighbouring Channel List:\r\n") +
           FormatChannelList(allocation.used);
}

QString CSysInfoDecoder::FormatRachControl(const SiRachControl& rach)
{
    const QString e;
    QString s;
    s += FormatField(rach.nMaxRetrans, QStringLiteral("Max Retrans"),
                     QString::fromLatin1(kMaxRetrans[rach.nMaxRetrans & 3]),
                     QStringLiteral("Maximum of Retransmissions"), e, e, e);
    s += FormatField(rach.nTxInteger, QStringLiteral("Tx-Integer"),
                     QString::number(kTxInteger[rach.nTxInteger & 15]),
                     QStringLiteral("Slots used to spread Transmission"), e, e, e);
    s += FormatField(rach.bCellBarred, QStringLiteral("Cell Bar Access"), e,
                     QStringLiteral("Cell is"), QStringLiteral("not"), e, QStringLiteral("barred"));
    s += FormatField(rach.bNoReestablishment, QStringLiteral("RE"), e,
                     QStringLiteral("Cell Reestablishment"), e, QStringLiteral("not"),
                     QStringLiteral("allowed"));
    s += QStringLiteral("\r\n");
    // Access classes 0 .. 15; class 10 is the emergency call bit.
    for (int i = 0; i < 16; ++i) {
        const int bit = (rach.nAccessClasses >> i) & 1;
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

QString CSysInfoDecoder::FormatCellSelection(const SiCellSelection& selection) const
{
    const QString e;
    QString s;
    s += FormatComputedField(selection.nHysteresis, QStringLiteral("CELL-RESELECT-HYSTERESIS"),
                             selection.HysteresisDb(),
                             QStringLiteral("dB RXLEV hysteresis for LA reselection"), e, e, e);
    const int t = selection.nTxPwrMaxCch;
    s += FormatComputedField(t, QStringLiteral("MS-TXPWR-MAX-CCH"), m_nBandPower - 2 * t,
                             QStringLiteral("dBm"), e, e, e);
    s += FormatField(selection.bAcs, QStringLiteral("Additional Reseselect Param Ind (ACS)"), e, e,
                     e, e, e);
    s += FormatField(selection.bNeci, QStringLiteral("Half Rate Support (NECI)"), e,
                     QStringLiteral("New establishment causes are"), QStringLiteral("not"), e,
                     QStringLiteral("supported"));
    const int m = selection.nRxLevAccessMin;
    s += FormatComputedField(m, QStringLiteral("RXLEV-ACCESS-MIN"), Units::RxLevDbm(m),
                             QStringLiteral("dBm"), e, e, e);
    return s;
}

QString CSysInfoDecoder::FormatLai(const SiLai& lai)
{
    QString s;
    s += QStringLiteral("\r\nMobile Country Code (MCC): ") + QLatin1Char(' ') + Hex(lai.anMcc[0]) +
         Hex(lai.anMcc[1]) + Hex(lai.anMcc[2]);
    // The third MNC digit is not shown.
    s += QStringLiteral("\r\nMobile Network Code (MNC): ") + Hex(lai.anMnc[0]) + Hex(lai.anMnc[1]);
    s += QStringLiteral("\r\nLocation Area Country Code (LAC): ") + Hex(lai.nLac);
    return s;
}

QString CSysInfoDecoder::FormatRestOctets(const std::vector<unsigned char>& octets) const
{
    QString s = QStringLiteral("\r\n");
    if (!m_bRestOctets)
        return s + QStringLiteral("Bcch-Protocol without Rest Octets used!");
    s += QStringLiteral("Rest Octets: ");
    for (unsigned char by : octets)
        s += Hex(by) + QLatin1Char(' ');
    return s;
}

QString CSysInfoDecoder::FormatCbchChannel(const SiChannelDescription& channel)
{
    const QString e;
    QString s;
    // Channel type and TDMA offset, classified by its leading bits.
    const int t = channel.nChannelType;
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
    s += FormatField(channel.nTimeslot, QStringLiteral("Timeslot Number"), e, e, e, e, e);
    s += FormatField(channel.nTsc, QStringLiteral("Training Sequence"), e, e, e, e, e);
    s += FormatField(channel.bHopping, QStringLiteral("Hopping Channel"), e, e, e, e, e);
    if (channel.bHopping) {
        s += FormatField(channel.nMaio, QStringLiteral("Mobile Allocation Index Offset"), e, e, e,
                         e, e);
        s += FormatField(channel.nHsn, QStringLiteral("Hoping Sequence Number"), e, e, e, e, e);
    } else {
        s += FormatField(channel.nArfcn, QStringLiteral("Absolute RF Channel Number"), e, e, e, e,
                         e);
    }
    return s;
}

QString CSysInfoDecoder::FormatControlChannel(const SiControlChannel& channel)
{
    const QString e;
    QString s;
    s += FormatField(channel.bAtt, QStringLiteral("ATT"), e, QStringLiteral("IMSI attach-detach"),
                     QStringLiteral("not"), e, QStringLiteral("allowed"));
    s += FormatField(channel.nBsAgBlksRes, QStringLiteral("BS-AG-BLKS-RES"), e, e, e, e, e);
    const CcchConf& conf = kCcchConf[channel.nCcchConf & 7];
    const QString strTrailer = (conf.bCombined ? QString() : QStringLiteral("not ")) +
                               QStringLiteral("comb. witdh SDCCHs");
    s += FormatComputedField(channel.nCcchConf, QStringLiteral("CCCH-CONF"), conf.nChannels,
                             QStringLiteral("basic phys. chan. used for CCCH"), e, e, strTrailer);
    const int p = channel.nBsPaMfrms;
    s += FormatComputedField(
        p, QStringLiteral("BS-PA-MFRMS"), p + 2,
        QStringLiteral("multiframes periods of PAGING REQEST messages to the"), e, e,
        QStringLiteral("\r\n") + QString(35, QLatin1Char(' ')) + QStringLiteral("same subgroup"));
    // T3212, the periodic updating time-out, as carried.
    s += FormatField(channel.nT3212, QStringLiteral("Timeout Value"), e, e, e, e, e);
    return s;
}

QString CSysInfoDecoder::FormatCellOptions(const SiCellOptions& options)
{
    const QString e;
    QString s;
    s += FormatField(options.bPwrc, QStringLiteral("Power Control Indicator"), e,
                     QStringLiteral("PWRC is"), QStringLiteral("not"), e, QStringLiteral("set"));
    const int d = options.nDtx;
    const QString w = d == 1   ? QStringLiteral("shall")
                      : d == 2 ? QStringLiteral("shall not")
                               : QStringLiteral("may");
    s += FormatField(d, QStringLiteral("DTX Indicator"), e, QStringLiteral("The MSs"), w, w,
                     QStringLiteral("use uplink discontinous transmission"));
    const int r = options.nRadioLinkTimeout;
    s += FormatComputedField(r, QStringLiteral("RADIO-LINK-TIMEOUT"), 4 * r + 4, e, e, e, e);
    return s;
}

QString CSysInfoDecoder::FormatElement(const SiType1& si, int nElement) const
{
    switch (nElement) {
    case 1:
        if (si.cellChannels.nFormatId != 0)
            return QStringLiteral("Format-ID not supported!");
        return FormatBitMap0List(si.cellChannels);
    case 2:
        return FormatRachControl(si.rach);
    case 3:
        return FormatRestOctets(si.restOctets);
    }
    return QString();
}

QString CSysInfoDecoder::FormatElement(const SiType2& si, int nElement) const
{
    const QString e;
    switch (nElement) {
    case 1: {
        const int f = si.neighbours.nFormatId;
        if (f != 0)
            return FormatField(f, QStringLiteral("\r\nFormat-ID"), e,
                               QStringLiteral("not supported!"), e, e, e);
        QString s = FormatField(si.bExtension, QStringLiteral("Extension Indication"), e,
                                QStringLiteral("The information element carries the complete"), e,
                                QStringLiteral("only a part of"), QStringLiteral("BA"));
        s += QStringLiteral("\r\nBCCH Allocation Sequence Number Indication: %1").arg(si.nBaInd);
        return s + FormatBitMap0List(si.neighbours);
    }
    case 2:
        return QStringLiteral("\r\nNCC Permitted: ") + Hex(si.nNccPermitted);
    case 3:
        return FormatRachControl(si.rach);
    }
    return QString();
}

QString CSysInfoDecoder::FormatElement(const SiType3& si, int nElement) const
{
    switch (nElement) {
    case 1:
        return QStringLiteral("\r\nCell Identity Value (CI): ") + Hex(si.nCi);
    case 2:
        return FormatLai(si.lai);
    case 3:
        return FormatControlChannel(si.controlChannel);
    case 4:
        return FormatCellOptions(si.cellOptions);
    case 5:
        return FormatCellSelection(si.cellSelection);
    case 6:
        return FormatRachControl(si.rach);
    case 7:
        return FormatRestOctets(si.restOctets);
    }
    return QString();
}

QString CSysInfoDecoder::FormatElement(const SiType4& si, int nElement) const
{
    switch (nElement) {
    case 1:
        return FormatLai(si.lai);
    case 2:
        return FormatCellSelection(si.cellSelection);
    case 3:
        return FormatRachControl(si.rach);
    case 4:
        if (si.bCbch)
            return FormatCbchChannel(si.cbch);
        return QStringLiteral("\r\nNo CBCH Channel Description defined");
    case 5:
        if (si.bMobileAllocation)
            return FormatMobileAllocation(si.mobileAllocation);
        return QStringLiteral("\r\nNo mobile allocations defined");
    case 6:
        return FormatRestOctets(si.restOctets);
    }
    return QString();
}

QString CSysInfoDecoder::DecodeElement(const QString& strHeader, int nType, int nElement) const
{
    if (nElement < 1 || nElement > ElementCount(nType))
        return strHeader;
    const unsigned char* o = m_abySysInfo[nType - 1];
    switch (nType) {
    case 1:
        return strHeader + FormatElement(CSysInfoReader::Type1(o), nElement);
    case 2:
        return strHeader + FormatElement(CSysInfoReader::Type2(o), nElement);
    case 3:
        return strHeader + FormatElement(CSysInfoReader::Type3(o), nElement);
    case 4:
        return strHeader + FormatElement(CSysInfoReader::Type4(o), nElement);
    }
    return strHeader;
}
