// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/ChartPalette.h"

#include <iterator>

namespace {
// Told apart on white and from the serving level's black.
const QRgb kPalette[] = {0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd, 0x8c564b,
                         0xe377c2, 0x17becf, 0xbcbd22, 0x7f7f7f, 0x393b79, 0xad494a};
} // namespace

QColor CChartPalette::ColourOf(int nBcch)
{
    auto it = m_index.find(nBcch);
    if (it == m_index.end())
        it = m_index.emplace(nBcch, int(m_index.size() % std::size(kPalette))).first;
    return QColor(kPalette[it->second]);
}
