#include "app/window_looks.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <qdrawutil.h>

#include "app/window_description.h"

namespace vantrigo::window {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont songTi(int pixels) {
    QStringList families;
    for (std::string_view family : kSongTiFamilies) families << fromUtf8(family);
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    return font;
}

QIcon programIcon() {
    QIcon icon;
    const auto add = [&icon](int size) {
        icon.addFile(QStringLiteral(":/icons/vantrigo-%1.png").arg(size), QSize(size, size));
    };
    for (int size : {16, 32, 48}) add(size);
    // A dense screen asks for twice the sizes: the same pixels drawn larger
    // stay sharp where a scaled image would blur.
    if (qApp->devicePixelRatio() > 1) {
        for (int size : {64, 96}) add(size);
    }
    return icon;
}

void setColours(QWidget* control, QRgb textColour, QRgb background) {
    QPalette colours = control->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        colours.setColor(role, QColor(textColour));
    }
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        colours.setColor(role, QColor(background));
    }
    control->setPalette(colours);
    control->setAutoFillBackground(true);
}

void paintStaticEdge(QPainter& painter, const QWidget& widget) {
    qDrawShadePanel(&painter, widget.rect(), widget.palette(), true, 1);
}

void centreOnPrimaryScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window.move(area.x() + (area.width() - kOuterSize.width()) / 2,
                    area.y() + (area.height() - kOuterSize.height()) / 2);
    }
}

}  // namespace vantrigo::window
