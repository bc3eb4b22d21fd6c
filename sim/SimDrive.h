// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "sim/SimNmea.h"
#include "sim/SimRadio.h"
#include "sim/SimRoute.h"

class QTimer;

// A drive: the module moves along a route at a steady speed past cells at
// fixed places. Each step sets every cell's level from its distance, keeps
// the serving cell until another is stronger by the hysteresis, and hands
// on the cells (serving first, then the strongest others) and the position.
// Lives in the thread of the radio model it feeds.
class CSimDrive : public QObject
{
    Q_OBJECT
public:
    // Serving cell first, then the neighbours, strongest first.
    using CellsOutput = std::function<void(const std::vector<CSimCell>& cells, int nTimingAdvance)>;
    using FixOutput = std::function<void(const SSimFix& fix)>;

    // Levels in RX level units (0..63).
    enum
    {
        HYSTERESIS = 4,
        LEVEL_AT_1KM = 20
    };
    static constexpr double LEVEL_PER_DECADE = 35.0; // path loss exponent 3.5
    static constexpr double ALTITUDE_M = 40.0;

    // The cells are placed along the route, evenly, alternately left and
    // right of it.
    CSimDrive(const CSimRoute& route, const std::vector<CSimCell>& cells, double dSpeedKmh,
              QObject* pParent = nullptr);

    void SetOutputs(CellsOutput cells, FixOutput fix);
    // Puts the cells somewhere else (tests); the serving cell is chosen anew.
    void PlaceCells(const std::vector<SSimXY>& places);
    // One step now, then one every nStepMs.
    void Start(int nStepMs);
    // Moves on by this many seconds of driving and hands on the result.
    void Step(double dSeconds);

    // RX level at this distance from a cell.
    static int LevelAt(double dMetres);

    SSimXY Position() const { return m_route.At(m_dDistance); }
    const CSimCell& Serving() const { return m_cells[m_nServing].cell; }
    std::vector<SSimXY> Places() const;
    const CSimRoute& Route() const { return m_route; }

private:
    struct SPlacedCell
    {
        CSimCell cell;
        SSimXY place;
    };
    void UpdateLevels(const SSimXY& here);
    void ChooseServing();
    void Emit(const SSimXY& here, double dCourse);

    CSimRoute m_route;
    std::vector<SPlacedCell> m_cells;
    double m_dSpeedKmh;
    double m_dDistance = 0; // metres driven since the start of the route
    size_t m_nServing = 0;
    bool m_bChosen = false; // a serving cell was chosen
    CellsOutput m_cellsOut;
    FixOutput m_fixOut;
    QTimer* m_pTimer;
};
