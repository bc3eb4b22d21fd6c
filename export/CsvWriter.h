// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include "export/ExportWriter.h"

// A drive as CSV (RFC 4180: fields quoted where needed, CR LF line ends):
// the header of the sample fields, then one row per sample and one per
// event in time order. An event row has its time, position and name and
// no measured value.
class CCsvWriter : public CExportWriter
{
public:
    explicit CCsvWriter(QIODevice* pOut);

    void WriteSample(const SSample& sample) override;
    void WriteEvent(const SMeasureEvent& event, const SGpsFix& position) override;
    void Finish() override;
    const char* Unit() const override { return "rows"; }

    // A field as RFC 4180 wants it: quoted when it holds a comma, a quote or
    // a line end, its quotes doubled.
    static QString Field(const QString& strText);

private:
    // The fields up to nLastField, and the event.
    void WriteRow(const SSample& sample, int nLastField, const QString& strEvent);

    QByteArray m_buffer;
};
