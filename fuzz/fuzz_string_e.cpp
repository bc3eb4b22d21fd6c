// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the field cutter and the number readers: a text cut by a run of
// GetNextToken calls with arbitrary skip counts and delimiter sets, every
// token read as a number. Checks: a token holds no delimiter and is a piece
// of the text; once a call returns an empty token, later calls never return
// a non-empty one; CTokenView cuts exactly as GetNextToken with the default
// delimiters; the number readers agree with strtol where that one is exact.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "FuzzCommon.h"
#include "protocol/StringE.h"

namespace {

QString TextFrom(FuzzedDataProvider& fdp, bool bWide)
{
    const std::string bytes = fdp.ConsumeRandomLengthString(256);
    if (!bWide)
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // Pairs of bytes as UTF-16 code units, lone surrogates included.
    QString s;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        s += QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         static_cast<unsigned char>(bytes[i + 1]) << 8));
    return s;
}

// Compares ViewToInt with strtol on plain ASCII text short enough for both
// to read all of it the same way.
void CheckNumber(QStringView text)
{
    const int n10 = CStringE::ViewToInt(text, 10);
    const int n16 = CStringE::ViewToInt(text, 16);
    FUZZ_CHECK(CStringE::ViewToInt(text, 8) == 0); // bases other than 10 and 16 read nothing
    (void)n10;
    if (text.size() > 64)
        return;
    std::string ascii;
    for (QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 127)
            return;
        ascii += static_cast<char>(c.unicode());
    }
    const size_t nLead = ascii.find_first_not_of(" \t\n\v\f\r");
    const std::string rest = nLead == std::string::npos ? std::string() : ascii.substr(nLead);

    errno = 0;
    const long v10 = strtol(ascii.c_str(), nullptr, 10);
    if (errno == 0 && v10 >= INT_MIN && v10 <= INT_MAX)
        FUZZ_CHECK(n10 == static_cast<int>(v10));

    // The hexadecimal reader looks at no more than 15 characters.
    if (rest.size() <= 15) {
        errno = 0;
        const long v16 = strtol(ascii.c_str(), nullptr, 16);
        if (errno == 0) {
            const long clamped = v16 < INT_MIN ? INT_MIN : v16 > INT_MAX ? INT_MAX : v16;
            FUZZ_CHECK(n16 == static_cast<int>(clamped));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    const bool bWide = fdp.ConsumeBool();
    const QString text = TextFrom(fdp, bWide);

    CStringE s(text);
    FUZZ_CHECK(s.Position() == 0 && s.Delimiters() == QLatin1String(CStringE::DefaultDelimiters()));
    CheckNumber(text);
    FUZZ_CHECK(s.ToInt(10) == CStringE::ViewToInt(text, 10));
    FUZZ_CHECK(s.ToInt(16) == CStringE::ViewToInt(text, 16));

    // The default cut, by both cutters.
    {
        CStringE copy(text);
        CTokenView view(text);
        for (int i = 0; i <= text.size() + 1; ++i) {
            const QString token = copy.GetNextToken();
            const QStringView piece = view.Next();
            FUZZ_CHECK(token == piece);
            if (token.isEmpty())
                break;
            for (QChar c : token)
                FUZZ_CHECK(!CStringE::IsDefaultDelimiter(c));
        }
    }

    // Arbitrary skip counts and delimiter sets.
    bool bEnded = false;
    for (int nCall = 0; nCall < 64 && fdp.remaining_bytes() > 0; ++nCall) {
        int nSkip;
        switch (fdp.ConsumeIntegralInRange(0, 3)) {
        case 0:
            nSkip = 0;
            break;
        case 1:
            nSkip = fdp.ConsumeIntegralInRange(0, 8);
            break;
        default:
            nSkip = fdp.ConsumeIntegral<int>();
            break;
        }
        const QString delims = fdp.ConsumeBool() ? QString() : TextFrom(fdp, bWide);
        const QString& used = delims.isEmpty() ? s.Delimiters() : delims;
        const int nBefore = s.Position();
        const QString token = s.GetNextToken(nSkip, delims);

        FUZZ_CHECK(!(bEnded && !token.isEmpty()));
        bEnded = bEnded || token.isEmpty();
        FUZZ_CHECK(s.Position() >= nBefore);
        FUZZ_CHECK(token.size() <= text.size());
        for (QChar c : token)
            FUZZ_CHECK(!used.contains(c));
        if (!token.isEmpty()) {
            const qsizetype nStart = s.Position() - token.size();
            FUZZ_CHECK(nStart >= 0 && QStringView(text).mid(nStart, token.size()) == token);
        }
        // The stored set stays: the call's own set is for that call only.
        FUZZ_CHECK(s.Delimiters() == QLatin1String(CStringE::DefaultDelimiters()));

        const CStringE number(token);
        FUZZ_CHECK(number.ToInt(10) == CStringE::ViewToInt(token, 10));
        FUZZ_CHECK(number.ToInt(16) == CStringE::ViewToInt(token, 16));
        CheckNumber(token);
    }

    // Numbers written by CStringE read back.
    const int nValue = fdp.ConsumeIntegral<int>();
    FUZZ_CHECK(CStringE(nValue, 10).ToInt(10) == nValue);
    if (nValue >= 0)
        FUZZ_CHECK(CStringE(nValue, 16).ToInt(16) == nValue);
    return 0;
}
