// SPDX-License-Identifier: GPL-3.0-or-later
// grab_window WINDOW OUT.png: a picture of an X window (its id, as xwininfo
// prints it; 0 for the whole screen) as the X server shows it now. Scripts
// use it to picture the program's windows on a virtual display.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: grab_window WINDOW OUT.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    bool bOk = false;
    const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&bOk, 0);
    QScreen* pScreen = QGuiApplication::primaryScreen();
    if (!bOk || !pScreen) {
        fprintf(stderr, "grab_window: no window %s or no screen\n", argv[1]);
        return 2;
    }
    const QPixmap picture = pScreen->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        fprintf(stderr, "grab_window: cannot picture window %s into %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
