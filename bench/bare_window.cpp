// The baseline of the start-up figures: the main window's twenty controls,
// built from the same description with the same texts, places, fonts and
// colours, on the same Qt, and nothing behind them: the timers tick into no
// slot, no button does anything, there is no controller, no clipboard and no
// sound. What vantrigo costs beyond this is what its own code adds.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include <string_view>

#include "app/window_description.h"
#include "app/window_looks.h"

namespace {

namespace window = vantrigo::window;
using window::Control;
using window::fromUtf8;
using window::songTi;

// The input box's look: a frameless line edit with a thin sunken edge.
class EdgedLineEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        QPainter painter(this);
        window::paintStaticEdge(painter, *this);
    }
};

constexpr int kInputMaxLength = 32767;

QWidget* makeControl(const window::ControlEntry& entry, QWidget* parent) {
    switch (entry.control) {
        case Control::CopyTimer:
        case Control::GuardTimer:
            (new QTimer(parent))->start(window::kTimerIntervalMs);
            return nullptr;
        case Control::AutoCopyBox: {
            auto* box = new QCheckBox(fromUtf8(entry.text), parent);
            window::setColours(box, window::kAutoCopyTextColour, window::kControlBackground);
            return box;
        }
        case Control::ModeButton: {
            const vantrigo::ModeInfo& mode = vantrigo::modeInfo(entry.mode);
            auto* button = new QRadioButton(fromUtf8(mode.caption), parent);
            button->setObjectName(fromUtf8(mode.buttonName));
            button->setChecked(entry.mode == window::kInitialMode);
            window::setColours(button, window::kModeTextColour, window::kControlBackground);
            return button;
        }
        case Control::AboutButton:
        case Control::InstructionsButton: {
            auto* button = new QPushButton(fromUtf8(entry.text), parent);
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
            window::setColours(label, window::kResultTextColour, window::kControlBackground);
            return label;
        }
        case Control::ArrowLabel: {
            auto* label = new QLabel(fromUtf8(entry.text), parent);
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
            window::setColours(edit, window::kInputTextColour, window::kControlBackground);
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

    QWidget top(nullptr, window::kWindowFlags);
    top.setWindowTitle(fromUtf8(window::kTitle));
    top.setWindowIcon(window::programIcon());
    top.setFixedSize(window::kClientSize);
    QPalette background = top.palette();
    background.setColor(QPalette::Window, QColor(window::kBackground));
    top.setPalette(background);
    top.setAutoFillBackground(true);

    for (const window::ControlEntry& entry : window::kControls) {
        QWidget* control = makeControl(entry, &top);
        if (control == nullptr) continue;
        if (control->focusPolicy() != Qt::NoFocus) control->setFocusPolicy(Qt::ClickFocus);
        if (!entry.name.empty()) control->setObjectName(fromUtf8(entry.name));
        control->setGeometry(entry.geometry);
    }

    window::centreOnPrimaryScreen(top);
    top.show();
    top.activateWindow();
    return app.exec();
}
