// Compares screenshots of the window at scale 1 and at scale 2: the second is
// exactly twice the size, its flat areas fall where the layout says twice
// over, and it was drawn at its own resolution rather than enlarged from the
// first (its text is crisp, not pixel-doubled or blurred).
//
//   hidpi_shot_check SCALE1.png SCALE2.png
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <vector>

#include "app/window_description.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

// Points in flat areas, in the window's own pixels: the background's
// corners and the empty right ends of the input box and the result line.
std::vector<QPoint> flatPoints() {
    std::vector<QPoint> points = {{2, 2},
                                  {vantrigo::window::kClientSize.width() - 3, 2},
                                  {2, vantrigo::window::kClientSize.height() - 3}};
    for (const auto& entry : vantrigo::window::kControls) {
        if (entry.control == vantrigo::window::Control::InputBox ||
            entry.control == vantrigo::window::Control::ResultLine) {
            points.push_back({entry.geometry.right() - 4, entry.geometry.center().y()});
        }
    }
    return points;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: hidpi_shot_check SCALE1.png SCALE2.png\n");
        return 2;
    }
    const QImage single =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QImage dense =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (single.isNull() || dense.isNull()) {
        std::fprintf(stderr, "FAIL: cannot read the screenshots\n");
        return 1;
    }
    check(single.size() == vantrigo::window::kClientSize, "scale 1 is not the window's own size");
    check(dense.size() == single.size() * 2, "scale 2 is not twice the size of scale 1");
    if (failures > 0) return 1;

    for (const QPoint& p : flatPoints()) {
        const QRgb colour = single.pixel(p);
        for (const QPoint& q : {p * 2, p * 2 + QPoint(1, 1)}) {
            check(dense.pixel(q) == colour, "a flat area is not where the layout puts it");
        }
    }
    check(single.pixel(2, 2) == vantrigo::window::kBackground, "the background's colour is wrong");

    const QSize size = dense.size();
    check(dense != single.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation),
          "scale 2 is scale 1 with its pixels doubled");
    check(dense != single.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
          "scale 2 is scale 1 enlarged smoothly");
    // Crisp text has edges inside the 2 x 2 squares that stand for one pixel
    // of scale 1; an enlarged picture has almost none.
    int split = 0;
    for (int y = 0; y + 1 < size.height(); y += 2) {
        for (int x = 0; x + 1 < size.width(); x += 2) {
            const QRgb corner = dense.pixel(x, y);
            if (dense.pixel(x + 1, y) != corner || dense.pixel(x, y + 1) != corner ||
                dense.pixel(x + 1, y + 1) != corner) {
                ++split;
            }
        }
    }
    std::printf("scale 2: %d of %d squares hold detail finer than scale 1\n", split,
                size.width() * size.height() / 4);
    check(split > 500, "scale 2 holds no detail finer than scale 1");
    return failures == 0 ? 0 : 1;
}
