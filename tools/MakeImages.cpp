// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's pictures (button faces, group pictures, tool bar
// images, the application icon) into res/images. Run it when a picture is
// to change; the PNG files are kept in the repository.
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {
QString g_dir;

void Save(const QImage& img, const QString& name)
{
    img.save(g_dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QImage Canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

// A button face: bevelled frame, glyph drawn by the callback.
template <class F> void ButtonFaces(const QString& name, F glyph)
{
    const int w = 32, h = 24;
    for (int state = 0; state < 3; ++state) {
        QImage img = Canvas(w, h);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const bool down = state == 1;
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, down ? QColor(190, 190, 190) : QColor(245, 245, 245));
        g.setColorAt(1, down ? QColor(225, 225, 225) : QColor(200, 200, 200));
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
        if (state == 2) {
            p.setPen(QPen(QColor(0, 90, 200), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(2.5, 2.5, w - 5, h - 5), 2, 2);
        }
        p.translate(down ? 1 : 0, down ? 1 : 0);
        glyph(p, w, h);
        p.end();
        Save(img, name + QLatin1Char("UDF"[state]));
    }
}

void Book(QPainter& p, int w, int h)
{
    p.setPen(QPen(QColor(40, 40, 90), 1.2));
    p.setBrush(QColor(70, 110, 190));
    p.drawRect(QRectF(w / 2.0 - 7, h / 2.0 - 7, 14, 14));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(w / 2.0 - 4, h / 2.0 - 5, 9, 10));
    p.setPen(QPen(QColor(70, 70, 70), 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(w / 2.0 - 2, h / 2.0 - 2 + 3 * i),
                   QPointF(w / 2.0 + 3, h / 2.0 - 2 + 3 * i));
}

void Envelope(QPainter& p, int w, int h)
{
    QRectF r(w / 2.0 - 9, h / 2.0 - 6, 18, 12);
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(QColor(255, 250, 220));
    p.drawRect(r);
    p.drawLine(r.topLeft(), QPointF(r.center().x(), r.center().y() + 1));
    p.drawLine(r.topRight(), QPointF(r.center().x(), r.center().y() + 1));
}

void Speaker(QPainter& p, int w, int h, bool up)
{
    QPainterPath s;
    const double cx = w / 2.0 - 4, cy = h / 2.0;
    s.moveTo(cx - 6, cy - 3);
    s.lineTo(cx - 2, cy - 3);
    s.lineTo(cx + 3, cy - 7);
    s.lineTo(cx + 3, cy + 7);
    s.lineTo(cx - 2, cy + 3);
    s.lineTo(cx - 6, cy + 3);
    s.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(60, 60, 60));
    p.drawPath(s);
    p.setPen(QPen(up ? QColor(0, 140, 60) : QColor(190, 40, 30), 2));
    p.drawLine(QPointF(cx + 7, cy), QPointF(cx + 13, cy));
    if (up)
        p.drawLine(QPointF(cx + 10, cy - 3), QPointF(cx + 10, cy + 3));
}

void Antenna(QPainter& p, double cx, double top, double bottom, const QColor& c)
{
    p.setPen(QPen(c, 1.6));
    p.drawLine(QPointF(cx, top + 3), QPointF(cx - 4, bottom));
    p.drawLine(QPointF(cx, top + 3), QPointF(cx + 4, bottom));
    p.drawLine(QPointF(cx - 2.5, (top + bottom) / 2 + 2),
               QPointF(cx + 2.5, (top + bottom) / 2 + 2));
    p.setBrush(c);
    p.drawEllipse(QPointF(cx, top + 3), 1.6, 1.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c, 1.2));
    p.drawArc(QRectF(cx - 6, top - 3, 12, 12), 30 * 16, 120 * 16);
    p.drawArc(QRectF(cx - 9, top - 6, 18, 18), 35 * 16, 110 * 16);
}

void LocationUpdate(QPainter& p, int w, int h)
{
    Antenna(p, w / 2.0 - 3, 3, h - 4, QColor(40, 60, 120));
    p.setPen(QPen(QColor(0, 140, 60), 1.8));
    const double x = w / 2.0 + 8, y = h / 2.0 + 2;
    p.drawArc(QRectF(x - 5, y - 5, 10, 10), 90 * 16, 270 * 16);
    p.drawLine(QPointF(x, y - 5), QPointF(x + 3, y - 7));
    p.drawLine(QPointF(x, y - 5), QPointF(x + 3, y - 3));
}

void Tower(int w, int h, const QString& name)
{
    QImage img = Canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Antenna(p, w / 2.0, 2, h - 2, QColor(50, 50, 60));
    p.end();
    Save(img, name);
}

void Waves(int w, int h, const QString& name)
{
    QImage img = Canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 100, 180), 1.5));
    for (int i = 0; i < 3; ++i) {
        QPainterPath path;
        const double y0 = h / 4.0 + i * h / 4.0;
        path.moveTo(2, y0);
        for (int x = 2; x < w - 2; ++x)
            path.lineTo(x, y0 + 3 * std::sin((x + i * 3) / 3.0));
        p.drawPath(path);
    }
    p.end();
    Save(img, name);
}

void Phone(int w, int h, const QString& name)
{
    QImage img = Canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF body(w / 2.0 - w / 4.0, 1.5, w / 2.0, h - 3);
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(QColor(80, 80, 90));
    p.drawRoundedRect(body, 2.5, 2.5);
    p.setBrush(QColor(160, 210, 160));
    p.drawRect(QRectF(body.left() + 2, body.top() + 2.5, body.width() - 4, body.height() / 3));
    p.end();
    Save(img, name);
}

void ToolImage(QImage& strip, int index, const std::function<void(QPainter&)>& draw)
{
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(index * 16, 0);
    p.setClipRect(0, 0, 16, 16);
    draw(p);
}

void Letters(QPainter& p, const QString& text, const QColor& c)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
}

void ButtonAndGroupPictures()
{
    ButtonFaces(QStringLiteral("PPLIBRARY"), Book);
    ButtonFaces(QStringLiteral("PPDATA"), Envelope);
    ButtonFaces(QStringLiteral("PPSPEAKERUP"),
                [](QPainter& p, int w, int h) { Speaker(p, w, h, true); });
    ButtonFaces(QStringLiteral("PPSPEAKERDOWN"),
                [](QPainter& p, int w, int h) { Speaker(p, w, h, false); });
    ButtonFaces(QStringLiteral("AILOCATIONUPDATE"), LocationUpdate);
    Tower(30, 38, QStringLiteral("BITMAP138"));
    Waves(32, 44, QStringLiteral("BITMAP139"));
    Phone(21, 21, QStringLiteral("BITMAP140"));
}

// Tool bar: BCCH System Info, Channel Scan, Data, Trace, Freeze, Clear, Save, Help.
void ToolBar()
{
    QImage strip(128, 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    ToolImage(strip, 0, [](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(QColor(255, 255, 230));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        Letters(p, QStringLiteral("SI"), QColor(0, 70, 160));
    });
    ToolImage(strip, 1, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        const int hs[] = {6, 11, 4, 13, 8, 10};
        for (int i = 0; i < 6; ++i) {
            p.setBrush(i == 3 ? QColor(0, 150, 70) : QColor(180, 53, 0));
            p.drawRect(QRectF(1 + i * 2.4, 15 - hs[i], 1.8, hs[i]));
        }
    });
    ToolImage(strip, 2, [](QPainter& p) { Letters(p, QStringLiteral("D"), QColor(0, 90, 170)); });
    ToolImage(strip, 3, [](QPainter& p) { Letters(p, QStringLiteral("T"), QColor(170, 70, 0)); });
    ToolImage(strip, 4, [](QPainter& p) {
        p.setPen(QPen(QColor(40, 120, 200), 1.5));
        for (int a = 0; a < 3; ++a) {
            const double r = 6.5, t = a * M_PI / 3;
            p.drawLine(QPointF(8 - r * std::cos(t), 8 - r * std::sin(t)),
                       QPointF(8 + r * std::cos(t), 8 + r * std::sin(t)));
        }
    });
    ToolImage(strip, 5, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    });
    ToolImage(strip, 6, [](QPainter& p) {
        p.setPen(QPen(QColor(30, 30, 60), 1));
        p.setBrush(QColor(60, 80, 150));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
    });
    ToolImage(strip, 7, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 100, 200));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        Letters(p, QStringLiteral("?"), Qt::white);
    });
    Save(strip, QStringLiteral("TOOLBAR"));
}

void AppIcon()
{
    QImage icon = Canvas(48, 48);
    {
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 80, 150));
        p.drawRoundedRect(QRectF(2, 2, 44, 44), 8, 8);
        p.scale(1.6, 1.6);
        Antenna(p, 15, 4, 26, Qt::white);
    }
    Save(icon, QStringLiteral("APPICON"));
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("res/images");
    QDir().mkpath(g_dir);

    ButtonAndGroupPictures();
    ToolBar();
    AppIcon();
    return 0;
}
