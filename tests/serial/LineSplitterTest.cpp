// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/LineSplitter.h"

#include <gtest/gtest.h>

namespace {
QByteArray Bytes(const char* p, int n)
{
    return QByteArray(p, n);
}
} // namespace

TEST(LineSplitter, TerminatorsAndEmptyLines)
{
    CLineSplitter s;
    EXPECT_EQ(s.Feed("OK\r\n"), QStringList{"OK"});
    EXPECT_TRUE(s.Feed("\r\n\r\n").isEmpty());
    EXPECT_EQ(s.Feed("a\rb\nc\r\n\n\rd\r"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_TRUE(s.Pending().isEmpty());
}

TEST(LineSplitter, NulBytesAreDropped)
{
    CLineSplitter s;
    EXPECT_EQ(s.Feed(Bytes("AB\0D\n", 5)), QStringList{"ABD"});
    // A line made only of NUL bytes is empty: nothing is delivered.
    EXPECT_TRUE(s.Feed(Bytes("\0\0\r\0\n", 5)).isEmpty());
    EXPECT_EQ(s.Feed(Bytes("\0X\0", 3)), QStringList{});
    EXPECT_EQ(s.Feed(Bytes("\r", 1)), QStringList{"X"});
}

TEST(LineSplitter, PartialLinesWaitForTheirTerminator)
{
    CLineSplitter s;
    EXPECT_TRUE(s.Feed("Idle_Mo").isEmpty());
    EXPECT_EQ(s.Feed("de_Rpt 62\r\nnext"), QStringList{"Idle_Mode_Rpt 62"});
    EXPECT_EQ(s.Pending(), QByteArray("next"));
    EXPECT_EQ(s.Feed("\n"), QStringList{"next"});

    // A prompt without terminator is held back, then joined with what follows.
    EXPECT_TRUE(s.Feed("> ").isEmpty());
    EXPECT_EQ(s.Pending(), QByteArray("> "));
    EXPECT_EQ(s.Feed("text\r"), QStringList{"> text"});

    // Reset drops the partial line.
    s.Feed("stale");
    s.Reset();
    EXPECT_EQ(s.Feed("fresh\r"), QStringList{"fresh"});
}

TEST(LineSplitter, LongLinesAndLatin1)
{
    CLineSplitter s;
    QByteArray big(10000, 'x');
    for (int i = 0; i < big.size(); i += 777)
        big[i] = static_cast<char>('a' + i % 26);
    QStringList got;
    for (int i = 0; i < big.size(); i += 4096)
        got += s.Feed(big.mid(i, 4096));
    EXPECT_TRUE(got.isEmpty());
    got += s.Feed("\r\n");
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0], QString::fromLatin1(big));

    // One line of 5000 characters in a single buffer, between two others.
    const QByteArray mid(5000, 'm');
    got = s.Feed("a\r" + mid + "\rb\r");
    ASSERT_EQ(got.size(), 3);
    EXPECT_EQ(got[1].size(), 5000);

    // Bytes above 0x7f become the same code points, one character each.
    got = s.Feed(QByteArray("caf\xe9\xff\r"));
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].size(), 5);
    EXPECT_EQ(got[0].at(3).unicode(), 0xe9);
    EXPECT_EQ(got[0].at(4).unicode(), 0xff);
}

TEST(LineSplitter, ByteByByteMatchesWholeBuffer)
{
    static const char kStream[] = "AT\r\r\nOK\r\n+CREG: 0,1\r\n\0\r\nRING\n> ";
    const QByteArray stream(kStream, sizeof kStream - 1);
    CLineSplitter whole, single;
    const QStringList expected = whole.Feed(stream);
    QStringList got;
    for (char c : stream)
        got += single.Feed(QByteArray(1, c));
    EXPECT_EQ(got, expected);
    EXPECT_EQ(expected, (QStringList{"AT", "OK", "+CREG: 0,1", "RING"}));
    EXPECT_EQ(single.Pending(), whole.Pending());
}
