// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/CsvWriter.h"

#include <QIODevice>

#include "measure/SampleFields.h"

namespace {
// Rows are written in pieces of about this size.
const int kChunk = 64 * 1024;
const char kLineEnd[] = "\r\n";
} // namespace

CCsvWriter::CCsvWriter(QIODevice* pOut) : CExportWriter(pOut)
{
    for (int i = 0; i < SAMPLE_FIELD_COUNT; ++i) {
        if (i > 0)
            m_buffer += ',';
        m_buffer += Field(SampleFieldName(i)).toUtf8();
    }
    m_buffer += kLineEnd;
}

QString CCsvWriter::Field(const QString& strText)
{
    if (!strText.contains(QLatin1Char(',')) && !strText.contains(QLatin1Char('"')) &&
        !strText.contains(QLatin1Char('\r')) && !strText.contains(QLatin1Char('\n')))
        return strText;
    QString s = strText;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

void CCsvWriter::WriteRow(const SSample& sample, int nLastField, const QString& strEvent)
{
    for (int i = 0; i < SAMPLE_FIELD_COUNT; ++i) {
        if (i > 0)
            m_buffer += ',';
        if (i == SAMPLE_FIELD_EVENT)
            m_buffer += Field(strEvent).toUtf8();
        else if (i <= nLastField)
            m_buffer += Field(SampleFieldText(sample, i)).toUtf8();
    }
    m_buffer += kLineEnd;
    ++m_nWritten;
    if (m_buffer.size() >= kChunk) {
        m_pOut->write(m_buffer);
        m_buffer.clear();
    }
}

void CCsvWriter::WriteSample(const SSample& sample)
{
    WriteRow(sample, SAMPLE_FIELD_COUNT - 1, QString());
}

void CCsvWriter::WriteEvent(const SMeasureEvent& event, const SGpsFix& position)
{
    // The time and the position come first: only they and the event.
    SSample s;
    s.time = event.time;
    s.fix = position;
    WriteRow(s, SAMPLE_FIELD_FIX, QLatin1String(EventName(event.nEvent)));
}

void CCsvWriter::Finish()
{
    m_pOut->write(m_buffer);
    m_buffer.clear();
}
