// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QXmlStreamWriter>

#include "export/ExportWriter.h"

// A drive as GPX 1.1: one track of the samples with a position, a new
// segment wherever the position was lost; each point with its time (UTC)
// and the sample's values in its extensions, in a namespace of our own.
// Events are not part of it.
class CGpxWriter : public CExportWriter
{
public:
    explicit CGpxWriter(QIODevice* pOut);

    void WriteSample(const SSample& sample) override;
    void WriteEvent(const SMeasureEvent& event, const SGpsFix& position) override;
    void Finish() override;
    const char* Unit() const override { return "track points"; }

    static constexpr const char* kNamespace = "urn:tessoly:gpx-sample:1";
    static constexpr const char* kPrefix = "tessoly";

private:
    QXmlStreamWriter m_xml;
    bool m_bInSegment = false;
};
