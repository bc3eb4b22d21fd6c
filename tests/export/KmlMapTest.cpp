// SPDX-License-Identifier: GPL-3.0-or-later
// kml_map: a KML file's points drawn in their styles' colours.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
int KmlMap(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KML_MAP), args);
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void Write(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// The middle of the pixels of that colour left of the legend; (-1, -1) when there are none.
QPointF Centre(const QImage& image, QRgb colour)
{
    const int nLegendWidth = 150;
    QPointF sum;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width() - nLegendWidth; ++x)
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff)) {
                sum += QPointF(x, y);
                ++n;
            }
    return n ? sum / n : QPointF(-1, -1);
}
} // namespace

TEST(KmlMap, DrawsEachPointInItsStyleColourAndLeavesNoPictureOfAFileWithoutPoints)
{
    QTemporaryDir dir;
    const QString kml = dir.filePath(QStringLiteral("drive.kml"));
    const QString png = dir.filePath(QStringLiteral("drive.png"));
    // Colours are aabbggrr: green, blue and red points; blue 0.001 degrees of
    // latitude (111 m) east of green, red as far north (0.001 / cos 52.5 = 0.0016426).
    Write(kml, "<?xml version=\"1.0\"?><kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>"
               "<Style id=\"a\"><IconStyle><color>ff00c000</color></IconStyle></Style>"
               "<Style id=\"b\"><IconStyle><color>ffff0000</color></IconStyle></Style>"
               "<Style id=\"c\"><IconStyle><color>ff0000ff</color></IconStyle></Style>"
               "<Folder><name>Cell</name>"
               "<Placemark><styleUrl>#a</styleUrl><Point><coordinates>13.4,52.5</coordinates></"
               "Point></Placemark>"
               "<Placemark><styleUrl>#b</styleUrl><Point><coordinates>13.4016426,52.5,36</"
               "coordinates></Point></Placemark>"
               "<Placemark><styleUrl>#c</styleUrl><Point><coordinates>13.4,52.501</coordinates></"
               "Point></Placemark>"
               "</Folder></Document></kml>");
    ASSERT_EQ(KmlMap({kml, png, QStringLiteral("800x400")}), 0);
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(800, 400));
    const QPointF green = Centre(image, qRgb(0, 192, 0));
    const QPointF blue = Centre(image, qRgb(0, 0, 255));
    const QPointF red = Centre(image, qRgb(255, 0, 0));
    ASSERT_GT(green.x(), 0);
    // A metre east as long as a metre north.
    const double east = blue.x() - green.x(), north = green.y() - red.y();
    EXPECT_GT(east, 50);
    EXPECT_NEAR(east, north, 0.05 * east);

    QFile::remove(png);
    Write(kml, "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><Placemark><name>x</name>"
               "</Placemark></Document></kml>");
    EXPECT_EQ(KmlMap({kml, png}), 1);
    Write(kml, "<kml><Document><Placemark>");
    EXPECT_EQ(KmlMap({kml, png}), 1);
    EXPECT_FALSE(QFile::exists(png));
}
