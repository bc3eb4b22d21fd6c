// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "protocol/ChannelPlan.h"

// One simulated base station.
struct CSimCell
{
    int nArfcn = 0;
    int nBsic = 0; // NCC * 8 + BCC
    int nMcc = 262;
    int nMnc = 1;
    int nLac = 0;
    int nCi = 0;
    int nLevel = 0; // RX level 0..63
    int nBase = 0;  // the level drifts around this value
};

// The radio world the simulated mobile sees: a serving cell and six
// neighbours whose levels drift slowly. Everything random comes from one
// seeded generator, so a seed gives the same cells and the same drift.
class CSimRadio
{
public:
    enum
    {
        NEIGHBOURS = 6,
        SI_OCTETS = 20
    };

    explicit CSimRadio(unsigned nSeed = 1, bool bRoaming = false, bool bHopping = false);

    const CSimCell& Serving() const { return m_cells[0]; }
    const CSimCell& Neighbour(int i) const { return m_cells[1 + i]; }
    bool IsHopping() const { return m_bHopping; }

    // One step of the slow level drift.
    void Drift();
    // The serving cell goes to a channel: a neighbour on it becomes the
    // serving cell, otherwise the serving cell itself moves. False for a
    // channel outside 1..124 and 512..885.
    bool MoveServing(int nArfcn);
    // Sets the serving level and, if given, the neighbours' levels.
    void SetLevels(int nServing, const QList<int>& neighbours = {});
    // All seven cells, the serving cell first.
    const std::vector<CSimCell>& Cells() const { return m_cells; }
    // Replaces the cells (serving first, then six neighbours) and the timing
    // advance; false, and nothing changed, for another number of cells.
    bool SetCells(const std::vector<CSimCell>& cells, int nTimingAdvance);

    // Carriers of the serving cell (the cell allocation), ascending.
    std::vector<int> CellAllocation() const;
    // The 20 octets after the message type of System Information 1..4.
    std::array<uint8_t, SI_OCTETS> SysInfo(int nType) const;

    // Measurements derived from the state: quality 0..7, timing advance.
    int RxQual() const;
    int TimingAdvance() const { return m_nTimingAdvance; }
    // A level for channel scanning: high on the cells' carriers, noise elsewhere.
    int ScanLevel(int nArfcn);
    int Random(int lo, int hi);

    static bool IsValidChannel(int n) { return ChannelPlan::Contains(n); }

private:
    void EncodeLai(uint8_t* p, const CSimCell& c) const;
    void EncodeRach(uint8_t* p) const;
    void EncodeChannelBits(uint8_t* p, const std::vector<int>& channels, bool bCellAlloc) const;

    std::mt19937 m_rng;
    std::vector<CSimCell> m_cells;
    bool m_bHopping;
    int m_nTimingAdvance;
};
