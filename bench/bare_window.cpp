// The baseline of the start-up figures: the main window's twenty controls,
// built from the same description with the same texts, places, fonts and
// colours, on the same Qt, and nothing behind them: the timers tick into no
// slot, no button does anything, there is no controller, no clipboard and no
// sound. What vantrigo costs beyond this is what its own code adds.
#include <qdrawutil.h>
#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <string_view>

#include "window_description.h"

namespace {

namespace window = vantrigo::window;
using window::Control;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont songTi(int pixels) {
    QStringList families;
    for (std::string_view family : window::kSongTiFamilies) families << fromUtf8(family);
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    return font;
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/icons/vantrigo-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void colour(QWidget* control, QRgb text, QRgb background) {
    QPalette colours = control->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        colours.setColor(role, QColor(text));
    }
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        colours.setColor(role, QColor(background));
    }
    control->setPalette(colours);
    control->setAutoFillBackground(true);
}

// The input box's look: a frameless line edit with a thin sunken edge.
class EdgedLineEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        QPainter painter(this);
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
    }
};

constexpr int kInputMaxLength = 32767;

QWidget* makeControl(const window::ControlSpec& spec, QWidget* parent) {
    switch (spec.control) {
        case Control::CopyTimer:
        case Control::GuardTimer:
            (new QTimer(parent))->start(window::kTimerIntervalMs);
            return nullptr;
        case Control::AutoCopyBox: {
            auto* box = new QCheckBox(fromUtf8(spec.text), parent);
            colour(box, window::kAutoCopyTextColour, window::kControlBackground);
            return box;
        }
        case Control::ModeButton: {
            const vantrigo::ModeInfo& mode = vantrigo::modeInfo(spec.mode);
            auto* button = new QRadioButton(fromUtf8(mode.caption), parent);
            button->setObjectName(fromUtf8(mode.buttonName));
            button->setChecked(spec.mode == window::kInitialMode);
            colour(button, window::kModeTextColour, window::kControlBackground);
            return button;
        }
        case Control::AboutButton:
        case Control::InstructionsButton: {
            auto* button = new QPushButton(fromUtf8(spec.text), parent);
            button->setFont(songTi(window::kButtonFontPixels));
            button->setDefault(true);
            button->setCursor(Qt::PointingHandCursor);
            return button;
        }
        case Control::ResultLine: {
            auto* label = new QLabel(parent);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setLineWidth(1);
            label->setAlignment(Qt::AlignCenter);
            label->setTextFormat(Qt::PlainText);
            label->setFocusPolicy(Qt::NoFocus);
            label->setFont(songTi(window::kResultFontPixels));
            colour(label, window::kResultTextColour, window::kControlBackground);
            return label;
        }
        case Control::ArrowLabel: {
            auto* label = new QLabel(fromUtf8(spec.text), parent);
            label->setFont(songTi(window::kArrowFontPixels));
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            QPalette colours = label->palette();
            colours.setColor(QPalette::WindowText, QColor(window::kArrowTextColour));
            label->setPalette(colours);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            return label;
        }
        case Control::InputBox: {
            auto* edit = new EdgedLineEdit(parent);
            edit->setMaxLength(kInputMaxLength);
            edit->setAcceptDrops(false);
            edit->setFont(songTi(window::kInputFontPixels));
            colour(edit, window::kInputTextColour, window::kControlBackground);
            edit->setFrame(false);
            edit->setAlignment(Qt::AlignCenter);
            return edit;
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    QWidget top(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                             Qt::WindowCloseButtonHint);
    top.setWindowTitle(fromUtf8(window::kTitle));
    top.setWindowIcon(programIcon());
    top.setFixedSize(window::kClientSize);
    QPalette background = top.palette();
    background.setColor(QPalette::Window, QColor(window::kBackground));
    top.setPalette(background);
    top.setAutoFillBackground(true);

    for (const window::ControlSpec& spec : window::kControls) {
        QWidget* control = makeControl(spec, &top);
        if (control == nullptr) continue;
        if (control->focusPolicy() != Qt::NoFocus) control->setFocusPolicy(Qt::ClickFocus);
        if (!spec.name.empty()) control->setObjectName(fromUtf8(spec.name));
        control->setGeometry(spec.geometry);
    }

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        top.move(area.x() + (area.width() - window::kOuterSize.width()) / 2,
                 area.y() + (area.height() - window::kOuterSize.height()) / 2);
    }
    top.show();
    top.activateWindow();
    return app.exec();
}
