// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gps/GpsFix.h"
#include "measure/MeasureEvent.h"
#include "measure/Sample.h"

class QIODevice;

// One export format: takes the samples and events of a drive in time
// order, each with the position at its time (the sample's fix, or the
// position given with the event; FIX_NONE where there is none), and writes
// them to a device. Written counts what went into the file.
class CExportWriter
{
public:
    explicit CExportWriter(QIODevice* pOut) : m_pOut(pOut) {}
    virtual ~CExportWriter() = default;

    virtual void WriteSample(const SSample& sample) = 0;
    virtual void WriteEvent(const SMeasureEvent& event, const SGpsFix& position) = 0;
    // After the last row.
    virtual void Finish() = 0;
    // What Written counts: "rows", "placemarks", ...
    virtual const char* Unit() const = 0;

    int Written() const { return m_nWritten; }

protected:
    QIODevice* m_pOut;
    int m_nWritten = 0;
};
