// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "SimFields.h"
#include "sim/SimRadio.h"
#include "sim/SimReports.h"
#include "sysinfo/SysInfoReader.h"

namespace {
bool Lists(const SiFrequencyList& list, int ch)
{
    return std::count(list.arfcns.begin(), list.arfcns.end(), ch) == 1;
}

// The cell's MCC, MNC and LAC as a message carries them.
void ExpectLai(const SiLai& lai, const CSimCell& s)
{
    EXPECT_EQ(lai.anMcc[0] * 100 + lai.anMcc[1] * 10 + lai.anMcc[2], s.nMcc);
    EXPECT_EQ(lai.anMnc[2], 0xF);
    EXPECT_EQ(lai.anMnc[0] * 10 + lai.anMnc[1], s.nMnc);
    EXPECT_EQ(lai.nLac, s.nLac);
}
} // namespace

TEST(SimRadio, SeedGivesTheSameWorldAndDrift)
{
    CSimRadio a(7), b(7), c(8);
    for (int i = 0; i < 50; ++i) {
        a.Drift();
        b.Drift();
        c.Drift();
    }
    EXPECT_EQ(SimReports::IdleModeRpt(a), SimReports::IdleModeRpt(b));
    EXPECT_EQ(a.SysInfo(3), b.SysInfo(3));
    EXPECT_NE(SimReports::IdleModeRpt(a), SimReports::IdleModeRpt(c));
    // levels stay in range and the seven carriers are distinct
    for (int i = 0; i < 6; ++i) {
        EXPECT_NE(a.Neighbour(i).nArfcn, a.Serving().nArfcn);
        EXPECT_GE(a.Neighbour(i).nLevel, 0);
        EXPECT_LE(a.Neighbour(i).nLevel, 63);
    }
}

TEST(SimRadio, SystemInformationEncodesTheCell)
{
    CSimRadio r(3);
    const CSimCell& s = r.Serving();
    const SiType1 si1 = CSysInfoReader::Type1(r.SysInfo(1).data());
    const SiType2 si2 = CSysInfoReader::Type2(r.SysInfo(2).data());
    const SiType3 si3 = CSysInfoReader::Type3(r.SysInfo(3).data());
    const SiType4 si4 = CSysInfoReader::Type4(r.SysInfo(4).data());
    EXPECT_EQ(si1.cellChannels.nFormatId, 0); // bit map 0
    for (int ch : r.CellAllocation())
        EXPECT_TRUE(Lists(si1.cellChannels, ch)) << ch;
    EXPECT_EQ(si2.neighbours.arfcns.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(Lists(si2.neighbours, r.Neighbour(i).nArfcn));
    EXPECT_EQ(si3.nCi, s.nCi);
    ExpectLai(si3.lai, s);
    ExpectLai(si4.lai, s);
    EXPECT_TRUE(si4.bCbch); // CBCH channel description
    EXPECT_EQ(si4.cbch.nArfcn, s.nArfcn);
    EXPECT_EQ(si4.cbch.nChannelType, 0x0A); // SDCCH/8, subchannel 2

    CSimRadio h(3, false, true);
    const SiType4 hop4 = CSysInfoReader::Type4(h.SysInfo(4).data());
    EXPECT_TRUE(hop4.cbch.bHopping);
    EXPECT_TRUE(hop4.bMobileAllocation); // mobile allocation follows
    EXPECT_EQ(hop4.mobileAllocation.nLength, 1);
}

TEST(SimRadio, MovingTheServingCell)
{
    CSimRadio r(5);
    const CSimCell n2 = r.Neighbour(2);
    const int nOld = r.Serving().nArfcn;
    EXPECT_TRUE(r.MoveServing(n2.nArfcn));
    EXPECT_EQ(r.Serving().nCi, n2.nCi);
    EXPECT_EQ(r.Neighbour(2).nArfcn, nOld);
    EXPECT_FALSE(r.MoveServing(300));
    EXPECT_FALSE(r.MoveServing(0));
    EXPECT_TRUE(r.MoveServing(700)); // a free channel of the 1800 band
    EXPECT_EQ(r.Serving().nArfcn, 700);
    const SiFrequencyList ca = CSysInfoReader::Type1(r.SysInfo(1).data()).cellChannels;
    EXPECT_TRUE(ca.bVariableBitMap);
    EXPECT_EQ(ca.arfcns.front(), r.CellAllocation().front());
    // neighbours of the 1800 band cannot go into bit map 0: the list says it is partial
    EXPECT_FALSE(CSysInfoReader::Type2(r.SysInfo(2).data()).bExtension);
    r.MoveServing(r.Neighbour(0).nArfcn);
    EXPECT_EQ(r.Neighbour(0).nArfcn, 700);
    EXPECT_TRUE(CSysInfoReader::Type2(r.SysInfo(2).data()).bExtension);
    r.SetLevels(70, {-5});
    EXPECT_EQ(r.Serving().nLevel, 63);
    EXPECT_EQ(r.Neighbour(0).nLevel, 0);
}

TEST(SimReports, EveryFieldFitsItsPlace)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        CSimRadio r(seed, seed % 2, seed % 3 == 0);
        r.SetLevels(static_cast<int>(seed * 3) % 64, {0, 63, 5, 9, 10, 40});
        using namespace SimReports;
        const auto idle = SimFields(IdleModeRpt(r), "Idle_Mode_Rpt");
        EXPECT_EQ(idle.size(), 20);
        std::map<int, int> idleCaps = {{0, 4}, {1, 4}};
        for (int j = 0; j < 6; ++j)
            idleCaps.insert({{2 + 3 * j, 4}, {3 + 3 * j, 4}, {4 + 3 * j, 3}});
        EXPECT_TRUE(SimFieldsFit(idle, idleCaps));
        EXPECT_EQ(idle[4], "99"); // level 0: BSIC not decoded
        const auto cell = SimFields(CellId(r.Serving()), "Cell ID     ");
        EXPECT_EQ(cell.size(), 8);
        EXPECT_TRUE(SimFieldsFit(cell, {{1, 5}, {3, 5}, {5, 3}, {7, 4}}));
        const auto full = SimFields(FullIdleReport(r), "Full Idle Report");
        EXPECT_EQ(full.size(), 6);
        EXPECT_TRUE(SimFieldsFit(full, {{0, 4}, {1, 4}, {2, 2}, {3, 4}, {4, 4}, {5, 2}}));
        EXPECT_LE(full[2].toInt(), 7);
        for (int i = 0; i < 6; ++i) {
            const auto nf = SimFields(NCell(r, i, true), "NCell");
            EXPECT_EQ(nf.size(), 7);
            EXPECT_EQ(nf[0].toInt(), i + 1);
            EXPECT_TRUE(SimFieldsFit(nf, {{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 3}, {6, 5}}));
        }
        const auto desc = FullIdleDesc(r);
        ASSERT_EQ(desc.size(), 6);
        EXPECT_TRUE(SimFieldsFit(SimFields(desc[0], "Full Idle Desc"),
                                 {{1, 4}, {3, 3}, {5, 5}, {7, 5}, {9, 3}, {11, 4}}));
        EXPECT_TRUE(
            SimFieldsFit(SimFields(desc[1], "NonC"), {{1, 2}, {3, 2}, {5, 2}, {7, 2}, {9, 2}}));
        EXPECT_TRUE(SimFieldsFit(SimFields(desc[2], "Max Retrans"), {{0, 3}, {3, 5}, {7, 3}}));
        EXPECT_TRUE(
            SimFieldsFit(SimFields(desc[3], "Min Access"), {{0, 3}, {3, 6}, {5, 2}, {7, 4}}));
        const auto flags = SimFields(desc[4], "Flags         ");
        EXPECT_EQ(flags.size(), 14);
        EXPECT_TRUE(
            SimFieldsFit(flags, {{1, 2}, {3, 2}, {5, 2}, {7, 2}, {9, 2}, {11, 2}, {13, 2}}));
        const auto cbch = SimFields(desc[5], "CBCH Supported");
        const bool bHop = cbch.value(7) == "Hopping";
        EXPECT_EQ(bHop, r.IsHopping());
        EXPECT_TRUE(SimFieldsFit(
            cbch, {{0, 7}, {2, 2}, {4, 2}, {6, 2}, {7, 12}, {9, bHop ? 3 : 4}, {11, 3}}));
        for (int t = 1; t <= 4; ++t) {
            const auto b = SimFields(BcchReport(r, t, 9), "Bcch_Report");
            EXPECT_EQ(b.size(), 24);
            EXPECT_EQ(b[0], "21");
            EXPECT_EQ(b[3].toInt(nullptr, 16), 0x18 + t);
            std::map<int, int> caps = {{1, 4}, {2, 3}};
            for (int k = 4; k < 24; ++k)
                caps[k] = 3;
            EXPECT_TRUE(SimFieldsFit(b, caps));
        }
        const auto ded = SimFields(DedicatedRpt(r, 7, true), "Dedicated_Rpt");
        EXPECT_EQ(ded.size(), 25);
        std::map<int, int> dedCaps = {{0, 3}, {1, 3}, {2, 3}, {3, 2}, {4, 3}, {5, 2}, {24, 3}};
        for (int j = 0; j < 6; ++j)
            dedCaps.insert({{6 + 3 * j, 4}, {7 + 3 * j, 4}, {8 + 3 * j, 3}});
        EXPECT_TRUE(SimFieldsFit(ded, dedCaps));
        EXPECT_LE(ded[3].toInt(), 7);
        EXPECT_LE(ded[5].toInt(), 7);
        const auto fd = SimFields(FullDedReport(r, 7), "Full Ded Report");
        EXPECT_EQ(fd.size(), 7);
        EXPECT_TRUE(SimFieldsFit(fd, {{0, 3}, {1, 3}, {2, 3}, {3, 2}, {4, 3}, {5, 2}, {6, 2}}));
        const auto chan = DedicatedChan(r, 3);
        const auto dc = SimFields(chan[0], "Dedicated_Chan");
        EXPECT_EQ(dc.value(9) == "Hopping", r.IsHopping());
        EXPECT_EQ(dc.value(4), "3");
        EXPECT_TRUE(SimFieldsFit(dc, {{0, 4},
                                      {1, 3},
                                      {2, 7},
                                      {4, 2},
                                      {6, 2},
                                      {8, 2},
                                      {9, 12},
                                      {11, r.IsHopping() ? 3 : 2},
                                      {13, r.IsHopping() ? 3 : 4},
                                      {15, 2}}));
        if (r.IsHopping()) {
            ASSERT_EQ(chan.size(), 2);
            const auto cc = SimFields(chan[1], "Chan_Count");
            EXPECT_EQ(cc[0].toInt(), cc.size() - 1);
        } else {
            EXPECT_EQ(chan.size(), 1);
        }
    }
}
