// Saves a PNG of an X11 window once it is drawn: the picture is taken again
// until two grabs 100 ms apart agree.
//
//   window_shot WINDOW_ID FILE.png
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    bool ok = false;
    const WId window = QString::fromLocal8Bit(argc == 3 ? argv[1] : "").toULongLong(&ok, 0);
    if (!ok) {
        std::fprintf(stderr, "usage: window_shot WINDOW_ID FILE.png\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    QImage previous;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QImage image = screen->grabWindow(window).toImage();
        if (!image.isNull() && image == previous) {
            if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
                std::fprintf(stderr, "window_shot: cannot write %s\n", argv[2]);
                return 1;
            }
            return 0;
        }
        previous = image;
        QThread::msleep(100);
    }
    std::fprintf(stderr, "window_shot: window %s did not settle\n", argv[1]);
    return 1;
}
