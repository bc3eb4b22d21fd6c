// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/KmlWriter.h"

#include <QXmlStreamWriter>

#include "measure/SampleFields.h"

namespace {
const char kKmlNamespace[] = "http://www.opengis.net/kml/2.2";
// Green to dark red, and grey for no level ("aabbggrr").
const char* const kBandColours[CKmlWriter::BAND_COUNT] = {
    "ff00c000", "ff00ffaa", "ff00ffff", "ff00a0ff", "ff0000ff", "ff800080", "ff808080"};
const char* const kBandNames[CKmlWriter::BAND_COUNT] = {"green", "light green", "yellow", "orange",
                                                        "red",   "purple",      "grey"};
const int kBandTopDbm = -60;
const int kBandStepDb = 10;
const char kIcon[] = "http://maps.google.com/mapfiles/kml/shapes/shaded_dot.png";
const char kEventStyle[] = "event";

QString Text(const SSample& s, int nField)
{
    const QString t = SampleFieldText(s, nField);
    return t.isEmpty() ? QStringLiteral("-") : t;
}

// "262-1-95-6699" (decimal), or the BCCH where the cell is not known.
QString CellName(const SSample& s)
{
    if (s.nMcc && s.nMnc && s.nLac && s.nCi)
        return QStringLiteral("Cell %1-%2-%3-%4")
            .arg(*s.nMcc)
            .arg(*s.nMnc)
            .arg(*s.nLac)
            .arg(*s.nCi);
    if (s.nBcch)
        return QStringLiteral("BCCH %1").arg(*s.nBcch);
    return QStringLiteral("Unknown cell");
}

QString Coordinates(const SGpsFix& f)
{
    return QString::number(f.dLon, 'f', 6) + QLatin1Char(',') + QString::number(f.dLat, 'f', 6);
}

QString BandText(int nBand)
{
    if (nBand == CKmlWriter::BAND_UNKNOWN)
        return QStringLiteral("no level");
    const int top = kBandTopDbm - kBandStepDb * (nBand - 1) - 1;
    const int bottom = kBandTopDbm - kBandStepDb * nBand;
    if (nBand == 0)
        return QStringLiteral("%1 dBm and above").arg(kBandTopDbm);
    if (nBand == CKmlWriter::BAND_LOWEST)
        return QStringLiteral("below %1 dBm").arg(top + 1);
    return QStringLiteral("%1 to %2 dBm").arg(bottom).arg(top);
}

void Point(QXmlStreamWriter& x, const QDateTime& time, const SGpsFix& f)
{
    x.writeStartElement(QStringLiteral("TimeStamp"));
    x.writeTextElement(QStringLiteral("when"), MeasureTimeText(time));
    x.writeEndElement();
    x.writeStartElement(QStringLiteral("Point"));
    x.writeTextElement(QStringLiteral("coordinates"), Coordinates(f));
    x.writeEndElement();
}

void Style(QXmlStreamWriter& x, const QString& id, const char* pszColour)
{
    x.writeStartElement(QStringLiteral("Style"));
    x.writeAttribute(QStringLiteral("id"), id);
    x.writeStartElement(QStringLiteral("IconStyle"));
    x.writeTextElement(QStringLiteral("color"), QLatin1String(pszColour));
    x.writeTextElement(QStringLiteral("scale"), QStringLiteral("0.6"));
    x.writeStartElement(QStringLiteral("Icon"));
    x.writeTextElement(QStringLiteral("href"), QLatin1String(kIcon));
    x.writeEndElement();
    x.writeEndElement();
    x.writeStartElement(QStringLiteral("LabelStyle"));
    x.writeTextElement(QStringLiteral("scale"), QStringLiteral("0"));
    x.writeEndElement();
    x.writeEndElement();
}
} // namespace

CKmlWriter::CKmlWriter(QIODevice* pOut) : CExportWriter(pOut) {}

int CKmlWriter::Band(const std::optional<int>& nRxLevDbm)
{
    if (!nRxLevDbm)
        return BAND_UNKNOWN;
    if (*nRxLevDbm >= kBandTopDbm)
        return 0;
    return qMin(int(BAND_LOWEST), (kBandTopDbm - *nRxLevDbm - 1) / kBandStepDb + 1);
}

const char* CKmlWriter::BandColour(int nBand)
{
    return nBand >= 0 && nBand < BAND_COUNT ? kBandColours[nBand] : kBandColours[BAND_UNKNOWN];
}

void CKmlWriter::WriteSample(const SSample& sample)
{
    if (!sample.fix.IsFix())
        return;
    const QString cell = CellName(sample);
    auto it = m_cellIndex.find(cell);
    if (it == m_cellIndex.end()) {
        it = m_cellIndex.insert(cell, m_cells.size());
        m_cells << cell;
        m_samples.emplace_back();
    }
    m_samples[*it].push_back(sample);
}

void CKmlWriter::WriteEvent(const SMeasureEvent& event, const SGpsFix& position)
{
    if (position.IsFix())
        m_events.emplace_back(event, position);
}

void CKmlWriter::Finish()
{
    QXmlStreamWriter x(m_pOut);
    x.setAutoFormatting(true);
    x.setAutoFormattingIndent(1);
    x.writeStartDocument();
    x.writeDefaultNamespace(QLatin1String(kKmlNamespace));
    x.writeStartElement(QStringLiteral("kml"));
    x.writeStartElement(QStringLiteral("Document"));
    x.writeTextElement(QStringLiteral("name"), QStringLiteral("Tessoly drive"));
    QStringList legend{QStringLiteral("Serving RX level:")};
    for (int b = 0; b < BAND_COUNT; ++b)
        legend << QStringLiteral("%1: %2").arg(QLatin1String(kBandNames[b]), BandText(b));
    x.writeTextElement(QStringLiteral("description"), legend.join(QLatin1Char('\n')));
    for (int b = 0; b < BAND_COUNT; ++b)
        Style(x, QStringLiteral("rx%1").arg(b), kBandColours[b]);
    Style(x, QLatin1String(kEventStyle), "ffffffff");

    for (int c = 0; c < m_cells.size(); ++c) {
        x.writeStartElement(QStringLiteral("Folder"));
        x.writeTextElement(QStringLiteral("name"), m_cells[c]);
        for (const SSample& s : m_samples[c]) {
            x.writeStartElement(QStringLiteral("Placemark"));
            const QString level = s.nRxLevDbm ? QStringLiteral("%1 dBm").arg(*s.nRxLevDbm)
                                              : QStringLiteral("no level");
            x.writeTextElement(QStringLiteral("name"), s.time.toString(QStringLiteral("HH:mm:ss")) +
                                                           QLatin1Char(' ') + level);
            const QString ci = s.nMcc && s.nMnc && s.nLac && s.nCi ? QStringLiteral("%1-%2-%3-%4")
                                                                         .arg(*s.nMcc)
                                                                         .arg(*s.nMnc)
                                                                         .arg(*s.nLac)
                                                                         .arg(*s.nCi)
                                                                   : QStringLiteral("-");
            const QStringList d = {
                QStringLiteral("Cell (MCC-MNC-LAC-CI) ") + ci,
                QStringLiteral("BCCH ") + Text(s, SAMPLE_FIELD_BCCH),
                QStringLiteral("BSIC ") + Text(s, SAMPLE_FIELD_BSIC),
                QStringLiteral("RX level ") + level,
                QStringLiteral("RX Qual ") + Text(s, SAMPLE_FIELD_RXQUAL),
                QStringLiteral("TA ") + Text(s, SAMPLE_FIELD_TA),
            };
            x.writeTextElement(QStringLiteral("description"), d.join(QLatin1Char('\n')));
            x.writeTextElement(QStringLiteral("styleUrl"),
                               QStringLiteral("#rx%1").arg(Band(s.nRxLevDbm)));
            Point(x, s.time, s.fix);
            x.writeEndElement();
            ++m_nWritten;
        }
        x.writeEndElement();
    }

    x.writeStartElement(QStringLiteral("Folder"));
    x.writeTextElement(QStringLiteral("name"), QStringLiteral("Events"));
    for (const auto& [event, position] : m_events) {
        x.writeStartElement(QStringLiteral("Placemark"));
        x.writeTextElement(QStringLiteral("name"), QLatin1String(EventName(event.nEvent)));
        QString d = MeasureTimeText(event.time);
        if (!event.strText.isEmpty())
            d += QLatin1Char('\n') + event.strText;
        x.writeTextElement(QStringLiteral("description"), d);
        x.writeTextElement(QStringLiteral("styleUrl"),
                           QLatin1Char('#') + QLatin1String(kEventStyle));
        Point(x, event.time, position);
        x.writeEndElement();
        ++m_nWritten;
    }
    x.writeEndElement();
    x.writeEndDocument();
}
