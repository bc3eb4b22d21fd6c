// SPDX-License-Identifier: GPL-3.0-or-later
#include <QRandomGenerator>
#include <QStringList>
#include <climits>
#include <gtest/gtest.h>

#include "protocol/StringE.h"

namespace {
QStringList Fields(CStringE s, int nMax = 20)
{
    QStringList out;
    for (int i = 0; i < nMax; ++i) {
        const QString f = s.GetNextToken();
        out << f;
        if (f.isEmpty())
            break;
    }
    return out;
}
} // namespace

TEST(StringE, CutsFieldsAtRunsOfDelimiters)
{
    EXPECT_EQ(Fields(CStringE("+COPS: 0,0,\"name\"")),
              QStringList({"+COPS", "0", "0", "name", ""}));
    EXPECT_EQ(Fields(CStringE("  ,,a , b;")), QStringList({"a", "b", ""}));
    EXPECT_EQ(Fields(CStringE("a\tb=c:d")), QStringList({"a", "b", "c", "d", ""}));

    CStringE delimsOnly(" ,;\t");
    EXPECT_EQ(delimsOnly.GetNextToken(), QString());
    EXPECT_EQ(delimsOnly.Position(), 4);

    // After the last field every call yields an empty field.
    CStringE trailing("x ,, ");
    EXPECT_EQ(trailing.GetNextToken(), QString("x"));
    EXPECT_EQ(trailing.GetNextToken(), QString());
    EXPECT_EQ(trailing.GetNextToken(), QString());
    EXPECT_EQ(trailing.GetNextToken(3), QString());
}

TEST(StringE, EmptyTextIgnoresTheSkipCount)
{
    CStringE empty("");
    EXPECT_EQ(empty.GetNextToken(5), QString());
    EXPECT_EQ(empty.GetNextToken(0), QString());
    EXPECT_EQ(empty.Position(), 0);

    CStringE def;
    EXPECT_TRUE(def.Delimiters().isEmpty());
    EXPECT_EQ(def.GetNextToken(), QString());
    // A huge skip count does not overflow the read position.
    CStringE s("abc");
    EXPECT_EQ(s.GetNextToken(INT_MAX), QString());
    EXPECT_EQ(s.GetNextToken(INT_MAX), QString());
    EXPECT_EQ(s.GetNextToken(-4), QString());
}

TEST(StringE, PerCallDelimitersAndSkip)
{
    CStringE s("+COPS: 0,0,\"My Net, Ltd\",2");
    EXPECT_EQ(s.GetNextToken(), QString("+COPS"));
    EXPECT_EQ(s.GetNextToken(), QString("0"));
    EXPECT_EQ(s.GetNextToken(), QString("0"));
    // The read position stands on the comma before the quoted name.
    EXPECT_EQ(s.GetNextToken(1, "\""), QString("My Net, Ltd"));
    EXPECT_EQ(s.Delimiters(), QString::fromLatin1(CStringE::DefaultDelimiters()));
    EXPECT_EQ(s.GetNextToken(), QString("2"));
    // A negative skip count does nothing.
    CStringE t("ab cd");
    EXPECT_EQ(t.GetNextToken(-3), QString("ab"));
}

TEST(StringE, CopyAndAssignmentKeepTheReadPosition)
{
    CStringE a("12345 678 9");
    a.GetNextToken();
    EXPECT_EQ(a.Position(), 5);
    CStringE b;
    b = a;
    EXPECT_EQ(b.Position(), 5);
    EXPECT_EQ(b.GetNextToken(), QString("678"));
    CStringE c(a);
    EXPECT_EQ(c.GetNextToken(), QString("678"));
    // Assigning plain text to a fresh CStringE starts over.
    CStringE d = CStringE(QString("x y"));
    EXPECT_EQ(d.Position(), 0);
    EXPECT_EQ(d.GetNextToken(), QString("x"));
}

TEST(StringE, ReadsHexadecimal)
{
    EXPECT_EQ(CStringE("FFFFFF").ToInt(16), 16777215);
    EXPECT_EQ(CStringE("ffffff").ToInt(16), 16777215);
    EXPECT_EQ(CStringE("  878000").ToInt(16), 8880128);
    EXPECT_EQ(CStringE("1fz").ToInt(16), 31);
    EXPECT_EQ(CStringE("0x1F").ToInt(16), 31);
    EXPECT_EQ(CStringE("0X1f").ToInt(16), 31);
    EXPECT_EQ(CStringE("").ToInt(16), 0);
    EXPECT_EQ(CStringE("   ").ToInt(16), 0);
    EXPECT_EQ(CStringE("zz").ToInt(16), 0);
    EXPECT_EQ(CStringE("-").ToInt(16), 0);
    EXPECT_EQ(CStringE("0x").ToInt(16), 0);
    EXPECT_EQ(CStringE("-1b").ToInt(16), -27);
    EXPECT_EQ(CStringE("+1b").ToInt(16), 27);
    // Saturation instead of wrapping.
    EXPECT_EQ(CStringE("ffffffff").ToInt(16), INT_MAX);
    EXPECT_EQ(CStringE("7fffffff").ToInt(16), INT_MAX);
    EXPECT_EQ(CStringE("-80000000").ToInt(16), INT_MIN);
    EXPECT_EQ(CStringE("-80000001").ToInt(16), INT_MIN);
    EXPECT_EQ(CStringE("123456789abcdef").ToInt(16), INT_MAX);
    // Only 15 characters after the white space are looked at.
    EXPECT_EQ(CStringE(" 000000000000001f").ToInt(16), 1);
    EXPECT_EQ(CStringE("00000000000001f").ToInt(16), 31);
    // Other bases read nothing.
    EXPECT_EQ(CStringE("12").ToInt(8), 0);
}

TEST(StringE, ReadsDecimal)
{
    EXPECT_EQ(CStringE(" -12abc").ToInt(10), -12);
    EXPECT_EQ(CStringE("\t+7").ToInt(10), 7);
    EXPECT_EQ(CStringE("x12").ToInt(10), 0);
    EXPECT_EQ(CStringE("").ToInt(10), 0);
    EXPECT_EQ(CStringE("1f").ToInt(10), 1);
    // No overflow check: the low 32 bits are kept.
    EXPECT_EQ(CStringE("4294967297").ToInt(10), 1);
    EXPECT_EQ(CStringE("2147483648").ToInt(10), INT_MIN);
    EXPECT_EQ(CStringE("99999999999999999999999").ToInt(10), -159383553);
    // Digits of other scripts are not decimal digits here.
    EXPECT_EQ(CStringE(QString::fromUtf8("\xd9\xa3")).ToInt(10), 0);
}

TEST(StringE, WritesNumbers)
{
    const CStringE zero(0, 16), flags(8880128, 16), octal(5, 8);
    EXPECT_EQ(QString(zero), QString("0"));
    EXPECT_EQ(QString(flags), QString("878000"));
    EXPECT_EQ(QString(octal), QString());
    for (const CStringE* s : {&zero, &flags, &octal}) {
        EXPECT_EQ(s->Position(), 0);
        EXPECT_EQ(s->Delimiters(), QString(" ,\t:=\";"));
    }
    EXPECT_EQ(QString(CStringE(-1, 16)), QString("ffffffff"));
    EXPECT_EQ(QString(CStringE(0x1FFFFFF, 16)), QString("1ffffff"));
    EXPECT_EQ(QString(CStringE(-7, 10)), QString("-7"));
    EXPECT_EQ(QString(CStringE(0, 10)), QString("0"));
    EXPECT_EQ(QString(CStringE(INT_MIN, 10)), QString("-2147483648"));
    // Round trip of the flag word.
    EXPECT_EQ(CStringE(CStringE(0x878000, 16)).ToInt(16), 0x878000);
}

TEST(StringE, TokenViewMatchesGetNextToken)
{
    const char alphabet[] = " ,\t:=\";ab1-";
    QStringList samples = {
        "", " ", "a", " a ", "Idle_Mode_Rpt 12 45", ",,;;a::b==c\"d\"", "x,,", "  ,,a , b;"};
    QRandomGenerator rng(7);
    for (int i = 0; i < 500; ++i) {
        QString s;
        const int n = rng.bounded(12);
        for (int k = 0; k < n; ++k)
            s += QChar::fromLatin1(alphabet[rng.bounded(int(sizeof alphabet) - 1)]);
        samples << s;
    }
    for (const QString& s : samples) {
        CStringE ref(s);
        CTokenView view(s);
        for (int k = 0; k < 20; ++k) {
            const QString expected = ref.GetNextToken();
            const QStringView got = view.Next();
            ASSERT_EQ(got.toString(), expected) << qPrintable(s);
            if (expected.isEmpty())
                break;
        }
    }
}
