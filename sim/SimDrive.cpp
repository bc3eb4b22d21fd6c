// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimDrive.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
// How far the cells stand off the road.
const double CELL_OFFSET_M = 250.0;
// Closer than this the level no longer rises.
const double NEAREST_M = 10.0;
// One step of timing advance: half the distance light runs in a bit period.
const double TA_STEP_M = 553.5;
} // namespace

CSimDrive::CSimDrive(const CSimRoute& route, const std::vector<CSimCell>& cells, double dSpeedKmh,
                     QObject* pParent)
    : QObject(pParent), m_route(route), m_dSpeedKmh(dSpeedKmh), m_pTimer(new QTimer(this))
{
    const double dLength = m_route.Length();
    const size_t n = cells.size();
    for (size_t i = 0; i < n; ++i) {
        // at an even share of the way, off to the side of the road there
        const double d = dLength * (i + 0.5) / static_cast<double>(n);
        double dCourse = 0;
        const SSimXY p = m_route.At(d, &dCourse);
        const double side = (i % 2 ? -1 : 1) * CELL_OFFSET_M;
        const double a = dCourse * 3.14159265358979323846 / 180;
        // perpendicular to the heading: (cos, -sin) points to the right
        m_cells.push_back({cells[i], {p.dX + side * std::cos(a), p.dY - side * std::sin(a)}});
    }
    connect(m_pTimer, &QTimer::timeout, this, [this] { Step(m_pTimer->interval() / 1000.0); });
}

void CSimDrive::SetOutputs(CellsOutput cells, FixOutput fix)
{
    m_cellsOut = std::move(cells);
    m_fixOut = std::move(fix);
}

void CSimDrive::PlaceCells(const std::vector<SSimXY>& places)
{
    for (size_t i = 0; i < m_cells.size() && i < places.size(); ++i)
        m_cells[i].place = places[i];
    m_bChosen = false;
}

std::vector<SSimXY> CSimDrive::Places() const
{
    std::vector<SSimXY> places;
    for (const SPlacedCell& c : m_cells)
        places.push_back(c.place);
    return places;
}

void CSimDrive::Start(int nStepMs)
{
    Step(0);
    m_pTimer->start(std::max(10, nStepMs));
}

int CSimDrive::LevelAt(double dMetres)
{
    const double d = std::max(NEAREST_M, dMetres);
    const double level = LEVEL_AT_1KM - LEVEL_PER_DECADE * std::log10(d / 1000.0);
    return std::clamp(static_cast<int>(std::lround(level)), 0, 63);
}

void CSimDrive::Step(double dSeconds)
{
    if (m_cells.empty() || !m_route.IsValid())
        return;
    m_dDistance = std::fmod(m_dDistance + m_dSpeedKmh / 3.6 * dSeconds, m_route.Length());
    double dCourse = 0;
    const SSimXY here = m_route.At(m_dDistance, &dCourse);
    UpdateLevels(here);
    ChooseServing();
    Emit(here, dCourse);
}

void CSimDrive::UpdateLevels(const SSimXY& here)
{
    for (SPlacedCell& c : m_cells)
        c.cell.nLevel = c.cell.nBase = LevelAt(CSimRoute::Distance(here, c.place));
}

void CSimDrive::ChooseServing()
{
    size_t best = 0;
    for (size_t i = 1; i < m_cells.size(); ++i) {
        if (m_cells[i].cell.nLevel > m_cells[best].cell.nLevel)
            best = i;
    }
    const int nServing = m_cells[m_nServing].cell.nLevel;
    if (!m_bChosen || m_cells[best].cell.nLevel > nServing + HYSTERESIS)
        m_nServing = best;
    m_bChosen = true;
}

void CSimDrive::Emit(const SSimXY& here, double dCourse)
{
    if (m_cellsOut) {
        std::vector<const SPlacedCell*> others;
        for (size_t i = 0; i < m_cells.size(); ++i) {
            if (i != m_nServing)
                others.push_back(&m_cells[i]);
        }
        std::stable_sort(others.begin(), others.end(),
                         [](const SPlacedCell* a, const SPlacedCell* b) {
                             return a->cell.nLevel > b->cell.nLevel;
                         });
        std::vector<CSimCell> out = {m_cells[m_nServing].cell};
        for (size_t i = 0; i < others.size() && i < CSimRadio::NEIGHBOURS; ++i)
            out.push_back(others[i]->cell);
        const double d = CSimRoute::Distance(here, m_cells[m_nServing].place);
        m_cellsOut(out, std::clamp(static_cast<int>(d / TA_STEP_M), 0, 63));
    }
    if (m_fixOut) {
        SSimFix fix;
        fix.utc = QDateTime::currentDateTimeUtc();
        const SSimGeo g = m_route.ToGeo(here);
        fix.dLat = g.dLat;
        fix.dLon = g.dLon;
        fix.dAltitude = ALTITUDE_M;
        fix.dSpeedKmh = m_dSpeedKmh;
        fix.dCourse = dCourse;
        m_fixOut(fix);
    }
}
