// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "export/ExportWriter.h"

// A drive as KML for Google Earth and QGIS: one placemark per sample with
// a position, coloured by the serving RX level in 10 dB steps (the legend
// is in the document's description), in one folder per serving cell; the
// events with a position as placemarks of their own folder. The document is
// written at Finish, when every cell is known.
class CKmlWriter : public CExportWriter
{
public:
    explicit CKmlWriter(QIODevice* pOut);

    void WriteSample(const SSample& sample) override;
    void WriteEvent(const SMeasureEvent& event, const SGpsFix& position) override;
    void Finish() override;
    const char* Unit() const override { return "placemarks"; }

    // The colour band of a level: 0 for -60 dBm and above, then one per
    // 10 dB down to BAND_LOWEST (below -100 dBm); BAND_UNKNOWN without a level.
    static int Band(const std::optional<int>& nRxLevDbm);
    // A band's KML colour, "aabbggrr".
    static const char* BandColour(int nBand);
    enum
    {
        BAND_LOWEST = 5,
        BAND_UNKNOWN = 6,
        BAND_COUNT = 7
    };

private:
    QStringList m_cells; // the folders' names, in the order met
    QHash<QString, int> m_cellIndex;
    std::vector<std::vector<SSample>> m_samples; // per cell
    std::vector<std::pair<SMeasureEvent, SGpsFix>> m_events;
};
