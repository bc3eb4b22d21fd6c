// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <map>

// The colour of a neighbour BCCH on the level chart: a fixed palette handed
// out first come, first served; a BCCH keeps its colour for the run.
class CChartPalette
{
public:
    QColor ColourOf(int nBcch);

private:
    std::map<int, int> m_index; // BCCH -> place in the palette
};
