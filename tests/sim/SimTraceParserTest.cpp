// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QList>

#include "sim/SimTraceParser.h"

namespace {
using P = CSimTraceParser;

QList<P::SCommand> FeedAll(P& p, const QByteArray& s)
{
    QList<P::SCommand> out;
    for (char c : s) {
        const P::SCommand cmd = p.Feed(c);
        if (cmd.eCmd != P::TC_NONE)
            out << cmd;
    }
    return out;
}
} // namespace

TEST(SimTraceParser, ThePanelsCommandStream)
{
    P p;
    // power-on, set-up, flags, lock, release, dial, answer, scan and power-off,
    // written back to back as the panel's paced characters arrive
    const QByteArray stream = "**O&F0+0*0*B0\r*M*M*W878000\r*1*2*I+J+E562\r\\F62\r50\r\\F0\r"
                              "\\D+49301234*#\r\\S\\O\\C*6+FT+Q\\8\\66QF*S\r\r1-124,512-885\r"
                              "*S1\r\r1\rZ**Z";
    const QList<P::SCommand> c = FeedAll(p, stream);
    const QList<P::ECommand> want = {P::TC_POWER_ON, P::TC_RESET,           P::TC_SETUP_1,
                                     P::TC_SETUP_B,  P::TC_SETUP_0,         P::TC_SETUP_M,
                                     P::TC_FLAGS,    P::TC_DEFAULT_REPORTS, P::TC_LOCK_SELECT,
                                     P::TC_LOCK,     P::TC_LOCK_SELECT,     P::TC_LOCK,
                                     P::TC_DIAL,     P::TC_ANSWER,          P::TC_LOCATION_UPDATE,
                                     P::TC_ACCEPT,   P::TC_SCAN_SETUP,      P::TC_SCAN_START,
                                     P::TC_SCAN_END, P::TC_POWER_OFF_PREP,  P::TC_POWER_OFF};
    ASSERT_EQ(c.size(), want.size());
    for (int i = 0; i < want.size(); ++i)
        EXPECT_EQ(c[i].eCmd, want[i]) << i;
    EXPECT_EQ(c[6].arg, "878000");
    EXPECT_EQ(c[8].arg, "62");
    EXPECT_EQ(c[11].arg, "0");
    EXPECT_EQ(c[12].arg, "+49301234*#");
    EXPECT_EQ(c[17].arg, "1-124,512-885");
    EXPECT_TRUE(p.Pending().isEmpty());
}

TEST(SimTraceParser, GarbageIsSkippedAndLimitsHold)
{
    P p;
    auto c = FeedAll(p, "xyz*Wq**O");
    ASSERT_EQ(c.size(), 1);
    EXPECT_EQ(c[0].eCmd, P::TC_POWER_ON);
    // a flag word longer than eight digits is no command; what follows still is
    c = FeedAll(p, "*WABCDEFABC\r&F");
    ASSERT_EQ(c.size(), 1);
    EXPECT_EQ(c[0].eCmd, P::TC_RESET);
    // "*W" and CR without a word is ignored
    EXPECT_TRUE(FeedAll(p, "*W\r").isEmpty());
    // an endless list never grows the buffer beyond one command
    FeedAll(p, "*S\r\r");
    for (int i = 0; i < 10000; ++i)
        p.Feed(i % 2 ? '1' : ',');
    EXPECT_LE(p.Pending().size(), 210);
    p.Reset();
    EXPECT_TRUE(p.Pending().isEmpty());
}
