// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <utility>

#include "sysinfo/BitCursor.h"
#include "sysinfo/SysInfoDecoder.h"

namespace {
using R = CSysInfoReader;

// An element read from its octets.
template <class T, class... Octets> T Read(T (*read)(CBitCursor&), Octets... octets)
{
    const unsigned char o[] = {static_cast<unsigned char>(octets)...};
    CBitCursor c(o, sizeof o);
    return read(c);
}

// Fills octets of a type's store from k on.
void Put(CSysInfoDecoder& d, int type, int k, std::initializer_list<int> octets)
{
    for (int v : octets)
        d.m_abySysInfo[type - 1][k++] = static_cast<unsigned char>(v);
}

QString Crlf(const char* lines)
{
    return QString::fromLatin1(lines);
}

QString AccLines(int w)
{
    QString s;
    for (int i = 0; i < 16; ++i) {
        const int bit = (w >> i) & 1;
        if (i == 10)
            s += QStringLiteral("\r\nECC 10: %1 = Emergency Call %2allowed")
                     .arg(bit)
                     .arg(bit ? "not " : "");
        else
            s += QStringLiteral("\r\nACC %1: %2 = Access is %3barred")
                     .arg(i)
                     .arg(bit)
                     .arg(bit ? "" : "not ");
    }
    return s;
}
} // namespace

TEST(SysInfoDecoder, ChannelListRunsAndLineBreaks)
{
    auto list = [](std::initializer_list<int> numbers, int n) {
        std::vector<bool> f(n, false);
        for (int v : numbers)
            f[v - 1] = true;
        return CSysInfoDecoder::FormatChannelList(f);
    };
    EXPECT_EQ(list({1, 2, 3, 7, 10, 11}, 12), QStringLiteral("1 - 3, 7, 10 - 11"));
    EXPECT_EQ(list({}, 12), QString());
    // A run that ends at the last position.
    EXPECT_EQ(list({5, 11, 12}, 12), QStringLiteral("5, 11 - 12"));
    EXPECT_EQ(list({1, 2, 3, 4, 5, 6, 7, 8}, 8), QStringLiteral("1 - 8"));
    // Seventeen single channels: a line break replaces the blank before the 17th.
    std::vector<bool> f(40, false);
    QString expected;
    for (int k = 0; k < 17; ++k) {
        f[2 * k] = true;
        if (k > 0)
            expected += k == 16 ? QStringLiteral(",\r\n") : QStringLiteral(", ");
        expected += QString::number(2 * k + 1);
    }
    EXPECT_EQ(CSysInfoDecoder::FormatChannelList(f), expected);
    EXPECT_EQ(expected.count(QStringLiteral(", ")), 15);
}

TEST(SysInfoDecoder, RachControl)
{
    const QString expected = Crlf("\r\nMax Retrans: 1 = 2 Maximum of Retransmissions"
                                  "\r\nTx-Integer: 1 = 4 Slots used to spread Transmission"
                                  "\r\nCell Bar Access: 0 = Cell is not  barred"
                                  "\r\nRE: 1 = Cell Reestablishment not  allowed"
                                  "\r\n") +
                             AccLines(0x0004);
    EXPECT_EQ(CSysInfoDecoder::FormatRachControl(Read(R::RachControl, 0x45, 0x00, 0x04)), expected);
    EXPECT_TRUE(expected.contains(QStringLiteral("\r\nACC 2: 1 = Access is barred")));
    EXPECT_TRUE(expected.contains(QStringLiteral("\r\nECC 10: 0 = Emergency Call allowed")));

    // Highest codes and every class barred: the table ends and bit 10 flips its wording.
    const QString all = CSysInfoDecoder::FormatRachControl(Read(R::RachControl, 0xFF, 0xFF, 0xFF));
    EXPECT_TRUE(all.startsWith(QStringLiteral("\r\nMax Retrans: 3 = 7 Maximum")));
    EXPECT_TRUE(all.contains(QStringLiteral("\r\nTx-Integer: 15 = 50 Slots")));
    EXPECT_TRUE(all.contains(QStringLiteral("\r\nCell Bar Access: 1 = Cell is barred")));
    EXPECT_TRUE(all.contains(QStringLiteral("\r\nECC 10: 1 = Emergency Call not allowed")));
    EXPECT_TRUE(all.contains(QStringLiteral("\r\nACC 15: 1 = Access is barred")));
    // The access classes come from octet b (8 .. 15) and c (0 .. 7).
    const QString hi = CSysInfoDecoder::FormatRachControl(Read(R::RachControl, 0x00, 0x80, 0x00));
    EXPECT_TRUE(hi.contains(QStringLiteral("\r\nACC 15: 1 = Access is barred")));
    EXPECT_TRUE(hi.contains(QStringLiteral("\r\nACC 7: 0 = Access is not barred")));
}

TEST(SysInfoDecoder, BitMap0AndFormatId)
{
    CSysInfoDecoder d;
    // 0x0F and 15 zero octets: ARFCN 121 .. 124.
    Put(d, 1, 0, {0x0F});
    EXPECT_EQ(d.DecodeElement("H", 1, 1), Crlf("H\r\nNeigbouring channel list:\r\n121 - 124"));
    // Only bit 1 of the sixteenth octet: ARFCN 1.
    Put(d, 1, 0, {0x00});
    Put(d, 1, 15, {0x01});
    EXPECT_EQ(d.DecodeElement("H", 1, 1), Crlf("H\r\nNeigbouring channel list:\r\n1"));
    // Bit 8 of the second octet is ARFCN 120; bits 8..5 of the first are not channels.
    Put(d, 1, 0, {0x30, 0x80});
    Put(d, 1, 15, {0x00});
    EXPECT_EQ(d.DecodeElement("H", 1, 1), Crlf("H\r\nNeigbouring channel list:\r\n120"));
    // No bit set: the heading only.
    Put(d, 1, 0, {0x00, 0x00});
    EXPECT_EQ(d.DecodeElement("H", 1, 1), Crlf("H\r\nNeigbouring channel list:\r\n"));

    // Type 1, other formats: the text alone, no line break in front.
    Put(d, 1, 0, {0x80});
    EXPECT_EQ(d.DecodeElement("H", 1, 1), Crlf("HFormat-ID not supported!"));
    // Type 2, other formats: an empty line first.
    Put(d, 2, 0, {0x8E});
    EXPECT_EQ(d.DecodeElement("H", 2, 1), Crlf("H\r\n\r\nFormat-ID: 2 = not supported!"));
    Put(d, 2, 0, {0x40});
    EXPECT_EQ(d.DecodeElement("H", 2, 1), Crlf("H\r\n\r\nFormat-ID: 1 = not supported!"));
    // Extension indication set, BA-IND clear.
    Put(d, 2, 0, {0x20});
    EXPECT_EQ(d.DecodeElement("H", 2, 1),
              Crlf("H\r\nExtension Indication: 1 = The information element carries the complete "
                   "only a part of  BA"
                   "\r\nBCCH Allocation Sequence Number Indication: 0"
                   "\r\nNeigbouring channel list:\r\n"));
    Put(d, 2, 16, {0xA5});
    EXPECT_EQ(d.DecodeElement("", 2, 2), Crlf("\r\nNCC Permitted: A5"));
}

TEST(SysInfoDecoder, LocationAreaIdentification)
{
    EXPECT_EQ(CSysInfoDecoder::FormatLai(Read(R::Lai, 0x62, 0xF2, 0x10, 0x12, 0x34)),
              Crlf("\r\nMobile Country Code (MCC):  262"
                   "\r\nMobile Network Code (MNC): 01"
                   "\r\nLocation Area Country Code (LAC): 1234"));
    const QString s = CSysInfoDecoder::FormatLai(Read(R::Lai, 0x02, 0xF8, 0x01, 0x00, 0x0A));
    EXPECT_TRUE(s.contains(QStringLiteral("(MCC):  208\r\n")));
    EXPECT_TRUE(s.contains(QStringLiteral("(MNC): 10\r\n")));
    // Upper-case hexadecimal without leading zeros.
    EXPECT_TRUE(s.endsWith(QStringLiteral("(LAC): A")));
    // Filler digits show as F; the third MNC digit is not shown.
    const QString f = CSysInfoDecoder::FormatLai(Read(R::Lai, 0xFF, 0x3F, 0xFF, 0xFF, 0xFF));
    EXPECT_TRUE(f.contains(QStringLiteral("(MCC):  FFF\r\n")));
    EXPECT_TRUE(f.contains(QStringLiteral("(MNC): FF\r\n")));
    EXPECT_TRUE(f.endsWith(QStringLiteral("(LAC): FFFF")));
}

TEST(SysInfoDecoder, CellSelectionUsesBandPower)
{
    CSysInfoDecoder d;
    const QString e43 = Crlf("\r\nCELL-RESELECT-HYSTERESIS: 2 = 4 dB RXLEV hysteresis for LA "
                             "reselection"
                             "\r\nMS-TXPWR-MAX-CCH: 5 = 33 dBm"
                             "\r\nAdditional Reseselect Param Ind (ACS): 0 "
                             "\r\nHalf Rate Support (NECI): 0 = New establishment causes are not  "
                             "supported"
                             "\r\nRXLEV-ACCESS-MIN: 10 = -100 dBm");
    d.m_nBandPower = 43;
    EXPECT_EQ(d.FormatCellSelection(Read(R::CellSelection, 0x45, 0x0A)), e43);
    d.m_nBandPower = 30;
    EXPECT_TRUE(d.FormatCellSelection(Read(R::CellSelection, 0x45, 0x0A))
                    .contains(QStringLiteral("\r\nMS-TXPWR-MAX-CCH: 5 = 20 dBm\r\n")));
    // Level 22 computes -1, which is replaced by the level.
    d.m_nBandPower = 43;
    EXPECT_TRUE(d.FormatCellSelection(Read(R::CellSelection, 0x16, 0x00))
                    .contains(QStringLiteral("\r\nMS-TXPWR-MAX-CCH: 22 = 22 dBm\r\n")));
    const QString b = d.FormatCellSelection(Read(R::CellSelection, 0x00, 0xFF));
    EXPECT_TRUE(b.contains(QStringLiteral("(ACS): 1 \r\n")));
    EXPECT_TRUE(b.contains(QStringLiteral("(NECI): 1 = New establishment causes are supported")));
    EXPECT_TRUE(b.endsWith(QStringLiteral("RXLEV-ACCESS-MIN: 63 = -47 dBm")));

    // Type 3 reads octets 11, 12 of its own array; type 4 octets 5, 6 of its own.
    Put(d, 3, 11, {0xFF, 0xFF});
    Put(d, 4, 5, {0x45, 0x0A});
    EXPECT_EQ(d.DecodeElement("", 4, 2), e43);
    Put(d, 3, 11, {0x45, 0x0A});
    Put(d, 4, 5, {0x00, 0x00});
    EXPECT_EQ(d.DecodeElement("", 3, 5), e43);
}

TEST(SysInfoDecoder, ControlChannelAndCellOptions)
{
    const QString cc5 =
        CSysInfoDecoder::FormatControlChannel(Read(R::ControlChannel, 0x05, 0x00, 0x00));
    EXPECT_TRUE(cc5.contains(QStringLiteral(
        "\r\nCCCH-CONF: 5 = 0 basic phys. chan. used for CCCH comb. witdh SDCCHs\r\n")));
    EXPECT_TRUE(cc5.startsWith(QStringLiteral("\r\nATT: 0 = IMSI attach-detach not  allowed")));
    // BS-PA-MFRMS 0 gives 2 and continues on an indented second line.
    EXPECT_TRUE(cc5.contains(
        QStringLiteral("\r\nBS-PA-MFRMS: 0 = 2 multiframes periods of PAGING REQEST messages to "
                       "the \r\n") +
        QString(35, QLatin1Char(' ')) + QStringLiteral("same subgroup\r\n")));
    EXPECT_TRUE(cc5.endsWith(QStringLiteral("\r\nTimeout Value: 0 ")));
    struct
    {
        int code;
        const char* text;
    } const confs[] = {
        {0, "0 = 1 basic phys. chan. used for CCCH not comb."},
        {1, "1 = 1 basic phys. chan. used for CCCH comb."},
        {2, "2 = 2 basic phys. chan. used for CCCH not comb."},
        {3, "3 = 0 basic phys. chan. used for CCCH comb."},
        {4, "4 = 3 basic phys. chan. used for CCCH not comb."},
        {6, "6 = 4 basic phys. chan. used for CCCH not comb."},
        {7, "7 = 0 basic phys. chan. used for CCCH comb."},
    };
    for (const auto& c : confs)
        EXPECT_TRUE(CSysInfoDecoder::FormatControlChannel(
                        Read(R::ControlChannel, 0x70 | c.code, 0x07, 0xFF))
                        .contains(QStringLiteral("CCCH-CONF: ") + QLatin1String(c.text)))
            << c.code;
    const QString full =
        CSysInfoDecoder::FormatControlChannel(Read(R::ControlChannel, 0x7F, 0xFF, 0xFF));
    EXPECT_TRUE(full.contains(QStringLiteral("\r\nATT: 1 = IMSI attach-detach allowed\r\n")));
    EXPECT_TRUE(full.contains(QStringLiteral("\r\nBS-AG-BLKS-RES: 7 \r\n")));
    EXPECT_TRUE(full.contains(QStringLiteral("BS-PA-MFRMS: 7 = 9 multiframes")));
    EXPECT_TRUE(full.endsWith(QStringLiteral("\r\nTimeout Value: 255 ")));

    EXPECT_EQ(CSysInfoDecoder::FormatCellOptions(Read(R::CellOptions, 0x0F)),
              Crlf("\r\nPower Control Indicator: 0 = PWRC is not  set"
                   "\r\nDTX Indicator: 0 = The MSs may  use uplink discontinous transmission"
                   "\r\nRADIO-LINK-TIMEOUT: 15 = 64"));
    EXPECT_TRUE(
        CSysInfoDecoder::FormatCellOptions(Read(R::CellOptions, 0x40))
            .startsWith(QStringLiteral("\r\nPower Control Indicator: 1 = PWRC is set\r\n")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCellOptions(Read(R::CellOptions, 0x10))
                    .contains(QStringLiteral("DTX Indicator: 1 = The MSs shall  use")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCellOptions(Read(R::CellOptions, 0x20))
                    .contains(QStringLiteral("DTX Indicator: 2 = The MSs shall not  use")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCellOptions(Read(R::CellOptions, 0x30))
                    .contains(QStringLiteral("DTX Indicator: 3 = The MSs may  use")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCellOptions(Read(R::CellOptions, 0x00))
                    .endsWith(QStringLiteral("RADIO-LINK-TIMEOUT: 0 = 4")));
}

TEST(SysInfoDecoder, CbchChannelDescription)
{
    EXPECT_EQ(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x52, 0x00, 0x00)),
              Crlf("\r\nChannel Type and TDMA Offset: 10 = SDCCH/8 + SDCCH/C8 or CBCH(SDCCH/8) , "
                   "Subchannel = 2"
                   "\r\nTimeslot Number: 2 "
                   "\r\nTraining Sequence: 0 "
                   "\r\nHopping Channel: 0 "
                   "\r\nAbsolute RF Channel Number: 0 "));
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x08, 0, 0))
                    .startsWith(QStringLiteral(
                        "\r\nChannel Type and TDMA Offset: 1 = TCH/F + ACCHs\r\nTimeslot")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x00, 0, 0))
                    .startsWith(QStringLiteral(
                        "\r\nChannel Type and TDMA Offset: 0 = Channel Type not defined\r\n")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x80, 0, 0))
                    .startsWith(QStringLiteral(
                        "\r\nChannel Type and TDMA Offset: 16 = Channel Type not defined\r\n")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x18, 0, 0))
                    .startsWith(QStringLiteral("\r\nChannel Type and TDMA Offset: 3 = TCH/H + "
                                               "ACCHs , Subchannel = 1\r\n")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x38, 0, 0))
                    .startsWith(QStringLiteral("\r\nChannel Type and TDMA Offset: 7 = SDCCH/4 + "
                                               "SDCCH/C4 or CBCH(SDCCH/4) , Subchannel = 3\r\n")));
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x7F, 0, 0))
                    .startsWith(QStringLiteral("\r\nChannel Type and TDMA Offset: 15 = SDCCH/8 + "
                                               "SDCCH/C8 or CBCH(SDCCH/8) , Subchannel = 7\r\n"
                                               "Timeslot Number: 7 ")));
    // Not hopping: the radio channel from octets b and c.
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x52, 0x01, 0xC5))
                    .endsWith(QStringLiteral("\r\nAbsolute RF Channel Number: 453 ")));
    // Spare bits set never take the channel number above 1023.
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x52, 0x0F, 0xFF))
                    .endsWith(QStringLiteral("\r\nAbsolute RF Channel Number: 1023 ")));
    // Hopping: MAIO from b bits 4..1 and c bits 8..7, HSN from c bits 6..1.
    EXPECT_TRUE(CSysInfoDecoder::FormatCbchChannel(Read(R::ChannelDescription, 0x52, 0xFF, 0xFF))
                    .endsWith(QStringLiteral("\r\nTraining Sequence: 7 \r\nHopping Channel: 1 "
                                             "\r\nMobile Allocation Index Offset: 63 "
                                             "\r\nHoping Sequence Number: 63 ")));
}

TEST(SysInfoDecoder, Type4OptionalElementsAndRestOctets)
{
    CSysInfoDecoder d;
    for (int k = 0; k < 20; ++k)
        d.m_abySysInfo[3][k] = static_cast<unsigned char>(k);
    // No CBCH elements: the rest octets are octets 10 to 19.
    EXPECT_EQ(d.DecodeElement("", 4, 4), Crlf("\r\nNo CBCH Channel Description defined"));
    EXPECT_EQ(d.DecodeElement("", 4, 5), Crlf("\r\nNo mobile allocations defined"));
    EXPECT_EQ(d.DecodeElement("", 4, 6), Crlf("\r\nRest Octets: A B C D E F 10 11 12 13 "));

    // Channel description and a mobile allocation of length 2: octets 18 and 19.
    Put(d, 4, 10, {0x64, 0x52, 0x00, 0x00, 0x72, 0x02, 0x80, 0x05, 0xAB, 0x0C});
    EXPECT_TRUE(d.DecodeElement("", 4, 4).startsWith(
        QStringLiteral("\r\nChannel Type and TDMA Offset: 10 = SDCCH/8")));
    // Bit 1 of the last octet is position 1; bit 8 of the first 16.
    EXPECT_EQ(d.DecodeElement("", 4, 5), Crlf("\r\nNeighbouring Channel List:\r\n1, 3, 16"));
    EXPECT_EQ(d.DecodeElement("", 4, 6), Crlf("\r\nRest Octets: AB C "));

    // Channel description without an allocation: rest octets 14 to 19.
    Put(d, 4, 14, {0x2B});
    EXPECT_EQ(d.DecodeElement("", 4, 5), Crlf("\r\nNo mobile allocations defined"));
    EXPECT_EQ(d.DecodeElement("", 4, 6), Crlf("\r\nRest Octets: 2B 2 80 5 AB C "));

    // An allocation without a channel description starts at octet 10.
    Put(d, 4, 10, {0x72, 0x01, 0x03});
    EXPECT_EQ(d.DecodeElement("", 4, 4), Crlf("\r\nNo CBCH Channel Description defined"));
    EXPECT_EQ(d.DecodeElement("", 4, 5), Crlf("\r\nNeighbouring Channel List:\r\n1 - 2"));
    EXPECT_EQ(d.DecodeElement("", 4, 6), Crlf("\r\nRest Octets: 0 2B 2 80 5 AB C "));
    // A zero-length allocation lists nothing.
    Put(d, 4, 11, {0x00});
    EXPECT_EQ(d.DecodeElement("", 4, 5), Crlf("\r\nNeighbouring Channel List:\r\n"));

    // Other rest octets: type 1 octet 19, type 3 octets 16 to 19.
    Put(d, 1, 19, {0x2B});
    EXPECT_EQ(d.DecodeElement("", 1, 3), Crlf("\r\nRest Octets: 2B "));
    Put(d, 3, 16, {0x00, 0x01, 0xFF, 0x2B});
    EXPECT_EQ(d.DecodeElement("", 3, 7), Crlf("\r\nRest Octets: 0 1 FF 2B "));

    // Rest octets not requested from the module.
    d.m_bRestOctets = false;
    for (auto te : std::initializer_list<std::pair<int, int>>{{1, 3}, {3, 7}, {4, 6}})
        EXPECT_EQ(d.DecodeElement("H", te.first, te.second),
                  Crlf("H\r\nBcch-Protocol without Rest Octets used!"));
}

TEST(SysInfoDecoder, OverlongMobileAllocationStaysInTheStore)
{
    CSysInfoDecoder d;
    // Whatever lies after the store reads as all ones here; a decoder that
    // read past octet 19 would list those bits as channels.
    d.m_nBandPower = -1;
    Put(d, 4, 10, {0x64, 0x52, 0x00, 0x00, 0x72, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    // The length is cut to 8 octets; octets 16 .. 19 are the first four.
    // The first octet's bit 8 is position 63 (channel 64).
    EXPECT_EQ(d.DecodeElement("", 4, 5), Crlf("\r\nNeighbouring Channel List:\r\n33 - 64"));
    // Nothing is left for rest octets.
    EXPECT_EQ(d.DecodeElement("", 4, 6), Crlf("\r\nRest Octets: "));
    // Length 5 from octet 14: octets 16 .. 19 and one beyond the store.
    Put(d, 4, 15, {0x05, 0x00, 0x00, 0x00, 0x01});
    EXPECT_EQ(d.DecodeElement("", 4, 5), Crlf("\r\nNeighbouring Channel List:\r\n9"));
    // Tag at octet 10 with length 9: cut to 8, octets 12 .. 19.
    Put(d, 4, 10, {0x72, 0x09, 0x80, 0, 0, 0, 0, 0, 0, 0x01});
    EXPECT_EQ(d.DecodeElement("", 4, 5), Crlf("\r\nNeighbouring Channel List:\r\n1, 64"));
}

TEST(SysInfoDecoder, CatalogueAndOutOfRangePairs)
{
    CSysInfoDecoder d;
    EXPECT_EQ(CSysInfoDecoder::ElementCount(1), 3);
    EXPECT_EQ(CSysInfoDecoder::ElementCount(2), 3);
    EXPECT_EQ(CSysInfoDecoder::ElementCount(3), 7);
    EXPECT_EQ(CSysInfoDecoder::ElementCount(4), 6);
    EXPECT_EQ(CSysInfoDecoder::TypeLabel(3), QStringLiteral("System Information Type 3"));
    EXPECT_EQ(CSysInfoDecoder::ElementLabel(3, 1), QStringLiteral("Cell Identify Value"));
    EXPECT_EQ(CSysInfoDecoder::ElementLabel(4, 5), QStringLiteral("CBCH Mobile Allocation"));
    EXPECT_EQ(CSysInfoDecoder::ElementLabel(2, 2), QStringLiteral("NCC Permitted"));
    for (auto te : std::initializer_list<std::pair<int, int>>{
             {0, 1}, {5, 1}, {-1, 1}, {1, 0}, {1, 4}, {2, 4}, {3, 8}, {4, 7}, {4, -3}})
        EXPECT_EQ(d.DecodeElement("Header", te.first, te.second), QStringLiteral("Header"))
            << te.first << "," << te.second;
    Put(d, 3, 0, {0x00, 0x0F});
    EXPECT_EQ(d.DecodeElement("", 3, 1), Crlf("\r\nCell Identity Value (CI): F"));
}
