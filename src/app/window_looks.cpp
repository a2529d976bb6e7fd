#include "app/window_looks.h"

#include <qdrawutil.h>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

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

void applyWindowLooks(QWidget& window) {
    window.setWindowTitle(fromUtf8(kTitle));
    window.setWindowIcon(programIcon());
    window.setFixedSize(kClientSize);
    QPalette background = window.palette();
    background.setColor(QPalette::Window, QColor(kBackground));
    window.setPalette(background);
    window.setAutoFillBackground(true);
}

void applyLooks(QWidget& control, Control kind) {
    switch (kind) {
        case Control::CopyTimer:
        case Control::GuardTimer:
            break;
        case Control::AutoCopyBox:
            setColours(&control, kAutoCopyTextColour, kControlBackground);
            break;
        case Control::ModeButton:
            setColours(&control, kModeTextColour, kControlBackground);
            break;
        case Control::AboutButton:
        case Control::InstructionsButton:
            control.setFont(songTi(kButtonFontPixels));
            control.setCursor(Qt::PointingHandCursor);
            if (auto* button = qobject_cast<QPushButton*>(&control)) button->setDefault(true);
            break;
        case Control::ResultLine:
            control.setFont(songTi(kResultFontPixels));
            setColours(&control, kResultTextColour, kControlBackground);
            if (auto* label = qobject_cast<QLabel*>(&control)) {
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);  // a thin sunken edge
                label->setLineWidth(1);
                label->setAlignment(Qt::AlignCenter);
            }
            break;
        case Control::ArrowLabel: {
            control.setFont(songTi(kArrowFontPixels));
            QPalette colours = control.palette();
            colours.setColor(QPalette::WindowText, QColor(kArrowTextColour));
            control.setPalette(colours);
            // Only its text is drawn, and a press falls through to the window.
            control.setAttribute(Qt::WA_TransparentForMouseEvents);
            if (auto* label = qobject_cast<QLabel*>(&control)) {
                label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            }
            break;
        }
        case Control::InputBox:
            control.setFont(songTi(kInputFontPixels));
            setColours(&control, kInputTextColour, kControlBackground);
            if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
                edit->setFrame(false);  // the thin edge is painted by the box itself
                edit->setAlignment(Qt::AlignCenter);
            }
            break;
    }
}

void placeControl(QWidget& control, const ControlEntry& entry) {
    const std::string_view name =
        entry.control == Control::ModeButton ? modeInfo(entry.mode).buttonName : entry.name;
    control.setObjectName(fromUtf8(name));
    control.setGeometry(entry.geometry);
    if (control.focusPolicy() != Qt::NoFocus) control.setFocusPolicy(Qt::ClickFocus);
}

}  // namespace vantrigo::window
