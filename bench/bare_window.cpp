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

QWidget* makeControl(const window::ControlEntry& entry, QWidget* parent) {
    switch (entry.control) {
        case Control::CopyTimer:
        case Control::GuardTimer:
            (new QTimer(parent))->start(window::kTimerIntervalMs);
            return nullptr;
        case Control::AutoCopyBox:
            return new QCheckBox(fromUtf8(entry.text), parent);
        case Control::ModeButton: {
            auto* button =
                new QRadioButton(fromUtf8(vantrigo::modeInfo(entry.mode).caption), parent);
            button->setChecked(entry.mode == window::kInitialMode);
            return button;
        }
        case Control::AboutButton:
        case Control::InstructionsButton:
            return new QPushButton(fromUtf8(entry.text), parent);
        case Control::ResultLine: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setFocusPolicy(Qt::NoFocus);
            return label;
        }
        case Control::ArrowLabel:
            return new QLabel(fromUtf8(entry.text), parent);
        case Control::InputBox: {
            auto* edit = new EdgedLineEdit(parent);
            edit->setAcceptDrops(false);
            return edit;
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    QWidget top(nullptr, window::kWindowFlags);
    window::applyWindowLooks(top);

    for (const window::ControlEntry& entry : window::kControls) {
        QWidget* control = makeControl(entry, &top);
        if (control == nullptr) continue;
        window::applyLooks(*control, entry.control);
        window::placeControl(*control, entry);
    }

    window::centreOnPrimaryScreen(top);
    top.show();
    top.activateWindow();
    return app.exec();
}
