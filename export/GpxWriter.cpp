// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/GpxWriter.h"

#include <cmath>

#include "measure/SampleFields.h"

namespace {
const char kGpxNamespace[] = "http://www.topografix.com/GPX/1/1";
const char kSchemaInstance[] = "http://www.w3.org/2001/XMLSchema-instance";
const char kSchemaLocation[] =
    "http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd";
} // namespace

CGpxWriter::CGpxWriter(QIODevice* pOut) : CExportWriter(pOut), m_xml(pOut)
{
    QXmlStreamWriter& x = m_xml;
    x.setAutoFormatting(true);
    x.setAutoFormattingIndent(1);
    x.writeStartDocument();
    x.writeDefaultNamespace(QLatin1String(kGpxNamespace));
    x.writeNamespace(QLatin1String(kNamespace), QLatin1String(kPrefix));
    x.writeNamespace(QLatin1String(kSchemaInstance), QStringLiteral("xsi"));
    x.writeStartElement(QLatin1String(kGpxNamespace), QStringLiteral("gpx"));
    x.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    x.writeAttribute(QStringLiteral("creator"), QStringLiteral("tessoly-export"));
    x.writeAttribute(QLatin1String(kSchemaInstance), QStringLiteral("schemaLocation"),
                     QLatin1String(kSchemaLocation));
    x.writeStartElement(QStringLiteral("trk"));
    x.writeTextElement(QStringLiteral("name"), QStringLiteral("Tessoly drive"));
}

void CGpxWriter::WriteSample(const SSample& s)
{
    QXmlStreamWriter& x = m_xml;
    if (!s.fix.IsFix()) {
        // The position was lost: the segment ends here.
        if (m_bInSegment)
            x.writeEndElement();
        m_bInSegment = false;
        return;
    }
    if (!m_bInSegment)
        x.writeStartElement(QStringLiteral("trkseg"));
    m_bInSegment = true;
    x.writeStartElement(QStringLiteral("trkpt"));
    x.writeAttribute(QStringLiteral("lat"), SampleFieldText(s, SAMPLE_FIELD_LAT));
    x.writeAttribute(QStringLiteral("lon"), SampleFieldText(s, SAMPLE_FIELD_LON));
    if (std::isfinite(s.fix.dAltM))
        x.writeTextElement(QStringLiteral("ele"), SampleFieldText(s, SAMPLE_FIELD_ALT_M));
    x.writeTextElement(QStringLiteral("time"), s.time.toUTC().toString(Qt::ISODateWithMs));
    x.writeStartElement(QStringLiteral("extensions"));
    x.writeStartElement(QLatin1String(kNamespace), QStringLiteral("sample"));
    // The values beyond the position; what is not known is left out.
    for (int i = SAMPLE_FIELD_SPEED_KMH; i < SAMPLE_FIELD_EVENT; ++i) {
        const QString text = SampleFieldText(s, i);
        if (!text.isEmpty())
            x.writeTextElement(QLatin1String(kNamespace), SampleFieldName(i), text);
    }
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement();
    ++m_nWritten;
}

void CGpxWriter::WriteEvent(const SMeasureEvent&, const SGpsFix&) {}

void CGpxWriter::Finish()
{
    if (m_bInSegment)
        m_xml.writeEndElement();
    m_bInSegment = false;
    m_xml.writeEndElement(); // trk
    m_xml.writeEndElement(); // gpx
    m_xml.writeEndDocument();
}
