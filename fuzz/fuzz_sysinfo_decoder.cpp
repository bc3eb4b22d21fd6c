// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the System Information decoder: arbitrary octet stores, band
// power and rest-octet flag; every element of one type (and pairs outside
// the catalogue) decoded, plus each element reader and its formatter on a
// short message. Checks: a decoding changes no octet, returns the header
// followed by lines that each start with "\r\n" (but one), gives the same
// text again, and a pair outside the catalogue returns the header unchanged.
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

#include "FuzzCommon.h"
#include "sysinfo/BitCursor.h"
#include "sysinfo/SysInfoDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    CSysInfoDecoder decoder;
    unsigned char store[CSysInfoDecoder::SI_TYPES][CSysInfoDecoder::SI_OCTETS] = {};
    fdp.ConsumeData(store, sizeof store);
    memcpy(decoder.m_abySysInfo, store, sizeof store);
    // The owner sets the power of the band in use: 43 or 30 dBm.
    decoder.m_nBandPower = fdp.ConsumeBool() ? 43 : 30;
    decoder.m_bRestOctets = fdp.ConsumeBool();

    // One type's elements are decoded per input (a decoding is some hundred
    // allocations, the costly part of a run); the types outside the catalogue
    // are cheap and always tried.
    const int nDecoded = fdp.ConsumeIntegralInRange<int>(1, CSysInfoDecoder::SI_TYPES);
    const QString header = QStringLiteral("Header");
    for (int nType = -1; nType <= CSysInfoDecoder::SI_TYPES + 1; ++nType) {
        const int nCount = CSysInfoDecoder::ElementCount(nType);
        if (nCount > 0 && nType != nDecoded)
            continue;
        FUZZ_CHECK((nType >= 1 && nType <= 4) ? nCount > 0 : nCount == 0);
        FUZZ_CHECK(CSysInfoDecoder::TypeLabel(nType).isEmpty() == (nCount == 0));
        for (int nElement = -1; nElement <= nCount + 2; ++nElement) {
            const bool bKnown = nElement >= 1 && nElement <= nCount;
            FUZZ_CHECK(CSysInfoDecoder::ElementLabel(nType, nElement).isEmpty() == !bKnown);
            const QString text = decoder.DecodeElement(header, nType, nElement);
            FUZZ_CHECK(memcmp(decoder.m_abySysInfo, store, sizeof store) == 0);
            FUZZ_CHECK(text.startsWith(header));
            if (!bKnown) {
                FUZZ_CHECK(text == header);
                continue;
            }
            const QStringView body = QStringView(text).mid(header.size());
            // The one text without a line break: a type 1 list in another format.
            FUZZ_CHECK(body.isEmpty() || body.startsWith(u"\r\n") ||
                       (nType == 1 && nElement == 1 && body == u"Format-ID not supported!"));
        }
    }
    // One pair decoded again gives the same text.
    const int nAgainType = fdp.ConsumeIntegralInRange<int>(1, CSysInfoDecoder::SI_TYPES);
    const int nAgainElement =
        fdp.ConsumeIntegralInRange<int>(1, CSysInfoDecoder::ElementCount(nAgainType));
    FUZZ_CHECK(decoder.DecodeElement(QString(), nAgainType, nAgainElement) ==
               decoder.DecodeElement(QString(), nAgainType, nAgainElement));

    // Each element read from the start of a short message stops at its end
    // (the octets are on the heap, sized exactly).
    const std::vector<unsigned char> tail =
        fdp.ConsumeBytes<unsigned char>(fdp.ConsumeIntegralInRange<size_t>(0, 20));
    auto read = [&tail](auto reader) {
        CBitCursor c(tail.data(), static_cast<int>(tail.size()));
        return reader(c);
    };
    (void)CSysInfoDecoder::FormatBitMap0List(read(CSysInfoReader::FrequencyList));
    (void)CSysInfoDecoder::FormatRachControl(read(CSysInfoReader::RachControl));
    (void)CSysInfoDecoder::FormatLai(read(CSysInfoReader::Lai));
    (void)decoder.FormatCellSelection(read(CSysInfoReader::CellSelection));
    (void)CSysInfoDecoder::FormatControlChannel(read(CSysInfoReader::ControlChannel));
    (void)CSysInfoDecoder::FormatCellOptions(read(CSysInfoReader::CellOptions));
    (void)CSysInfoDecoder::FormatCbchChannel(read(CSysInfoReader::ChannelDescription));
    (void)CSysInfoDecoder::FormatMobileAllocation(read(CSysInfoReader::MobileAllocation));
    CBitCursor rest(tail.data(), static_cast<int>(tail.size()));
    rest.Skip(fdp.ConsumeIntegralInRange<int>(0, 8 * 24));
    (void)decoder.FormatRestOctets(rest.RestOctets());
    std::vector<bool> flags(fdp.ConsumeIntegralInRange(0, 1100));
    for (size_t i = 0; i < flags.size(); ++i)
        flags[i] = fdp.ConsumeBool();
    const QString list = CSysInfoDecoder::FormatChannelList(flags);
    FUZZ_CHECK(memcmp(decoder.m_abySysInfo, store, sizeof store) == 0);
    bool bAny = false;
    for (bool b : flags)
        bAny = bAny || b;
    FUZZ_CHECK(bAny == !list.isEmpty());
    return 0;
}
