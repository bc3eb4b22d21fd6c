// SPDX-License-Identifier: GPL-3.0-or-later
// kml_map IN.kml OUT.png [WIDTHxHEIGHT]: a picture of a KML file's points,
// for the documents where no map program (and no map tiles) is at hand. It
// is no map: each Placemark's Point is drawn in its style's icon colour on
// longitude and latitude axes of equal scale in metres at the points'
// middle latitude, with a legend of the styles. The legend's texts are the
// Document description's "name: text" lines, one for each style in order
// (as tessoly-export writes its level bands), else the style's folder name.
#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdio>
#include <qcustomplot.h>

namespace {
const int KM_OK = 0;
const int KM_FAILED = 1;
const int KM_USAGE = 2;
const int KM_DEFAULT_WIDTH = 1200;
const int KM_DEFAULT_HEIGHT = 900;
const double KM_MARGIN = 0.06; // of the points' extent, on each side
const double KM_PI = 3.14159265358979323846;

struct SStyle
{
    QString strId;
    QColor colour = Qt::black;
    QString strFolder; // of its first placemark
    QVector<double> lon, lat;
};

struct SKml
{
    QString strName;
    QStringList legend; // the Document description's "name: text" lines
    QVector<SStyle> styles;
    int nPoints = 0;
};

// "aabbggrr" as KML writes a colour.
QColor KmlColour(const QString& text)
{
    bool bOk = false;
    const uint v = text.trimmed().toUInt(&bOk, 16);
    if (!bOk || text.trimmed().size() != 8)
        return Qt::black;
    return QColor(v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff, (v >> 24) & 0xff);
}

SStyle& StyleFor(SKml& kml, const QString& id)
{
    for (SStyle& s : kml.styles)
        if (s.strId == id)
            return s;
    SStyle s;
    s.strId = id;
    kml.styles.push_back(s);
    return kml.styles.back();
}

// Reads the styles and the placemarks' points; false with the reason when
// the file is no KML or holds no point.
bool ReadKml(const QString& path, SKml& kml, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    QXmlStreamReader x(&file);
    QStringList open;    // the element names down to the current one
    QStringList folders; // the names of the open folders
    QString style, styleUrl, coordinates;
    while (!x.atEnd()) {
        const auto token = x.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QString name = x.name().toString();
            open << name;
            if (name == QLatin1String("Style")) {
                style = x.attributes().value(QLatin1String("id")).toString();
            } else if (name == QLatin1String("Folder")) {
                folders << QString();
            } else if (name == QLatin1String("Placemark")) {
                styleUrl.clear();
                coordinates.clear();
            }
            continue;
        }
        if (token == QXmlStreamReader::Characters && !open.isEmpty()) {
            const QString& name = open.last();
            const QString parent = open.size() > 1 ? open[open.size() - 2] : QString();
            const QString text = x.text().toString();
            if (name == QLatin1String("color") && parent == QLatin1String("IconStyle") &&
                !style.isEmpty())
                StyleFor(kml, style).colour = KmlColour(text);
            else if (name == QLatin1String("styleUrl"))
                styleUrl += text;
            else if (name == QLatin1String("coordinates") && parent == QLatin1String("Point"))
                coordinates += text;
            else if (name == QLatin1String("name") && parent == QLatin1String("Folder") &&
                     !folders.isEmpty())
                folders.last() += text;
            else if (name == QLatin1String("name") && parent == QLatin1String("Document"))
                kml.strName += text;
            else if (name == QLatin1String("description") && parent == QLatin1String("Document"))
                for (const QString& line : text.split(QLatin1Char('\n')))
                    if (line.contains(QLatin1String(": ")))
                        kml.legend << line.trimmed();
            continue;
        }
        if (token != QXmlStreamReader::EndElement || open.isEmpty())
            continue;
        const QString name = open.takeLast();
        if (name == QLatin1String("Style")) {
            style.clear();
        } else if (name == QLatin1String("Folder")) {
            folders.removeLast();
        } else if (name == QLatin1String("Placemark")) {
            // "lon,lat[,alt]"; a placemark without a point (a line, a polygon) is not drawn.
            const QStringList c = coordinates.trimmed().split(QLatin1Char(','));
            bool bLon = false, bLat = false;
            const double lon = c.value(0).toDouble(&bLon);
            const double lat = c.size() >= 2 ? c[1].toDouble(&bLat) : 0;
            if (!bLon || !bLat || std::fabs(lat) > 90 || std::fabs(lon) > 180)
                continue;
            SStyle& s = StyleFor(
                kml, styleUrl.trimmed().remove(0, styleUrl.trimmed().startsWith(QLatin1Char('#'))));
            if (s.lon.isEmpty() && !folders.isEmpty())
                s.strFolder = folders.last().trimmed();
            s.lon << lon;
            s.lat << lat;
            ++kml.nPoints;
        }
    }
    if (x.hasError()) {
        error = QStringLiteral("line %1: %2").arg(x.lineNumber()).arg(x.errorString());
        return false;
    }
    if (kml.nPoints == 0) {
        error = QStringLiteral("no Placemark with a Point");
        return false;
    }
    return true;
}

// The axes' ranges: the points with a margin, widened along one axis so that
// a metre east is as long on the picture as a metre north.
void EqualScale(QCustomPlot& plot, const SKml& kml)
{
    double lon0 = 180, lon1 = -180, lat0 = 90, lat1 = -90;
    for (const SStyle& s : kml.styles)
        for (int i = 0; i < s.lon.size(); ++i) {
            lon0 = qMin(lon0, s.lon[i]);
            lon1 = qMax(lon1, s.lon[i]);
            lat0 = qMin(lat0, s.lat[i]);
            lat1 = qMax(lat1, s.lat[i]);
        }
    const double cosLat = qMax(0.01, std::cos((lat0 + lat1) / 2 * KM_PI / 180));
    // At least about 100 m across, so a single point or a standstill shows.
    const double minSpan = 0.001;
    double lonSpan = qMax(lon1 - lon0, minSpan / cosLat) * (1 + 2 * KM_MARGIN);
    double latSpan = qMax(lat1 - lat0, minSpan) * (1 + 2 * KM_MARGIN);
    const double w = qMax(1, plot.axisRect()->width()), h = qMax(1, plot.axisRect()->height());
    // Metres (in degrees of latitude) per pixel along each axis; the larger wins.
    const double perPixel = qMax(lonSpan * cosLat / w, latSpan / h);
    lonSpan = perPixel * w / cosLat;
    latSpan = perPixel * h;
    const double lonMid = (lon0 + lon1) / 2, latMid = (lat0 + lat1) / 2;
    plot.xAxis->setRange(lonMid - lonSpan / 2, lonMid + lonSpan / 2);
    plot.yAxis->setRange(latMid - latSpan / 2, latMid + latSpan / 2);
}

bool Draw(const SKml& kml, const QString& out, int width, int height, QString& error)
{
    QCustomPlot plot;
    plot.resize(width, height);
    plot.setViewport(QRect(0, 0, width, height)); // a hidden widget gets no resize event
    plot.setBackground(Qt::white);
    auto* title = new QCPTextElement(
        &plot,
        QStringLiteral("%1: %2 points (the KML's points, not a map)")
            .arg(kml.strName.trimmed().isEmpty() ? QStringLiteral("KML") : kml.strName.trimmed())
            .arg(kml.nPoints),
        QFont(plot.font().family(), 11, QFont::Bold));
    plot.plotLayout()->insertRow(0);
    plot.plotLayout()->addElement(0, 0, title);
    plot.xAxis->setLabel(QStringLiteral("longitude (degrees)"));
    plot.yAxis->setLabel(QStringLiteral("latitude (degrees)"));
    plot.xAxis->setNumberFormat(QStringLiteral("f"));
    plot.xAxis->setNumberPrecision(4);
    plot.yAxis->setNumberFormat(QStringLiteral("f"));
    plot.yAxis->setNumberPrecision(4);

    // The legend beside the points, never over them, at the top.
    plot.axisRect()->insetLayout()->take(plot.legend);
    auto* side = new QCPLayoutGrid;
    plot.plotLayout()->addElement(1, 1, side);
    plot.plotLayout()->setColumnStretchFactor(1, 0.001);
    side->addElement(0, 0, plot.legend);
    side->addElement(1, 0, new QCPLayoutElement(&plot));
    side->setRowStretchFactor(0, 0.001);
    plot.legend->setVisible(true);
    plot.legend->setBorderPen(Qt::NoPen);
    plot.legend->setFont(QFont(plot.font().family(), 9));
    int nLegend = 0;
    for (const SStyle& s : kml.styles) {
        QCPGraph* g = plot.addGraph();
        g->setLineStyle(QCPGraph::lsNone);
        // Filled with the style's colour; a dark ring keeps a white one in sight.
        const QColor edge = s.colour.lightness() > 200 ? QColor(Qt::black) : s.colour.darker(140);
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, edge, s.colour, 9));
        g->setData(s.lon, s.lat);
        QString label = nLegend < kml.legend.size() ? kml.legend[nLegend] : QString();
        ++nLegend;
        if (label.isEmpty())
            label = s.strFolder.isEmpty() ? s.strId : s.strFolder;
        g->setName(QStringLiteral("%1 (%2)").arg(label).arg(s.lon.size()));
    }
    // Lay out once for the plot area's size, then fit the ranges to it; the
    // tick labels may change the area a little, so once more.
    for (int i = 0; i < 2; ++i) {
        plot.replot();
        EqualScale(plot, kml);
    }
    plot.replot();
    const QPixmap picture = plot.toPixmap(width, height);
    QSaveFile file(out);
    if (picture.isNull() || !file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") ||
        !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        fprintf(stderr, "usage: kml_map IN.kml OUT.png [WIDTHxHEIGHT]\n");
        return KM_USAGE;
    }
    int width = KM_DEFAULT_WIDTH, height = KM_DEFAULT_HEIGHT;
    if (argc == 4) {
        const QStringList size = QString::fromLocal8Bit(argv[3]).split(QLatin1Char('x'));
        bool bW = false, bH = false;
        width = size.value(0).toInt(&bW);
        height = size.value(1).toInt(&bH);
        if (size.size() != 2 || !bW || !bH || width < 200 || height < 200 || width > 8000 ||
            height > 8000) {
            fprintf(stderr, "kml_map: the size %s is not WIDTHxHEIGHT from 200x200 to 8000x8000\n",
                    argv[3]);
            return KM_USAGE;
        }
    }
    // A picture needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString in = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    SKml kml;
    QString error;
    if (!ReadKml(in, kml, error)) {
        fprintf(stderr, "kml_map: %s: %s\n", argv[1], qPrintable(error));
        return KM_FAILED;
    }
    if (!Draw(kml, out, width, height, error)) {
        fprintf(stderr, "kml_map: cannot write %s: %s\n", argv[2], qPrintable(error));
        return KM_FAILED;
    }
    printf("%s: %d points of %s\n", argv[2], kml.nPoints, argv[1]);
    return KM_OK;
}
