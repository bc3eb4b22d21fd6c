// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the line splitter with a byte stream cut into arbitrary chunks,
// with a Reset now and then. The lines must be exactly those of a plain
// byte-at-a-time model: CR or LF ends a non-empty line, NUL bytes are
// dropped, the rest waits. No line is empty or holds CR, LF or NUL.
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "FuzzCommon.h"
#include "serial/LineSplitter.h"

namespace {

// The splitter's rules, one byte at a time.
struct Model
{
    QByteArray current;
    QStringList lines;

    void Feed(const std::string& bytes)
    {
        for (char c : bytes) {
            if (c == '\0')
                continue;
            if (c == '\r' || c == '\n') {
                if (!current.isEmpty())
                    lines << QString::fromLatin1(current);
                current.clear();
                continue;
            }
            current += c;
        }
    }
};

void CheckLine(const QString& line)
{
    FUZZ_CHECK(!line.isEmpty());
    for (QChar c : line)
        FUZZ_CHECK(c != u'\r' && c != u'\n' && c != u'\0' && c.unicode() < 256);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    CLineSplitter byCallback;
    CLineSplitter byList;
    Model model;
    QStringList fromCallback;
    QStringList fromList;
    qsizetype nChecked = 0;
    while (fdp.remaining_bytes() > 0) {
        const int nOp = fdp.ConsumeIntegralInRange(0, 15);
        if (nOp == 0) {
            byCallback.Reset();
            byList.Reset();
            model.current.clear();
            continue;
        }
        const std::string chunk = fdp.ConsumeRandomLengthString(512);
        byCallback.Feed(chunk.data(), static_cast<qsizetype>(chunk.size()),
                        [&fromCallback](const QString& line) { fromCallback << line; });
        fromList += byList.Feed(QByteArray(chunk.data(), static_cast<qsizetype>(chunk.size())));
        model.Feed(chunk);

        // The lines of this chunk (the earlier ones were compared before).
        FUZZ_CHECK(fromCallback.size() == model.lines.size());
        FUZZ_CHECK(fromList.size() == model.lines.size());
        for (; nChecked < model.lines.size(); ++nChecked) {
            FUZZ_CHECK(fromCallback[nChecked] == model.lines[nChecked]);
            FUZZ_CHECK(fromList[nChecked] == model.lines[nChecked]);
        }
        FUZZ_CHECK(byCallback.Pending() == model.current);
        FUZZ_CHECK(byList.Pending() == model.current);
        FUZZ_CHECK(!byCallback.Pending().contains('\0') && !byCallback.Pending().contains('\r') &&
                   !byCallback.Pending().contains('\n'));
    }
    for (const QString& line : fromCallback)
        CheckLine(line);
    // Null or empty input changes nothing.
    const QByteArray before = byCallback.Pending();
    byCallback.Feed(nullptr, 5, [](const QString&) { FUZZ_CHECK(false); });
    byCallback.Feed(before.constData(), 0, [](const QString&) { FUZZ_CHECK(false); });
    FUZZ_CHECK(byCallback.Pending() == before);
    return 0;
}
