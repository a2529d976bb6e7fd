#include "app/converter_window.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>

#include "app/click_sound.h"
#include "app/clipboard.h"
#include "app/gbk_codec.h"
#include "app/input_box.h"
#include "app/notices.h"
#include "app/result_line.h"
#include "app/window_description.h"
#include "app/window_looks.h"

namespace vantrigo {

namespace {

using window::fromUtf8;

// What assistive technology calls the two controls without a caption.
constexpr std::string_view kInputAccessibleName = "待转换的数";
constexpr std::string_view kResultAccessibleName = "转换结果";

// The result line as assistive technology sees it: named for what it is,
// with the result as its value and in its name. AT-SPI relays a change of
// name but drops a change of value on a label, and QLabel::setText reports
// the change of name itself.
class ResultLineAccessible final : public QAccessibleWidget {
public:
    explicit ResultLineAccessible(ResultLine* line)
        : QAccessibleWidget(line, QAccessible::StaticText) {}

    QString text(QAccessible::Text which) const override {
        const QString shown = static_cast<const QLabel*>(widget())->text();
        if (which == QAccessible::Value) return shown;
        if (which != QAccessible::Name) return QAccessibleWidget::text(which);
        const QString name = fromUtf8(kResultAccessibleName);
        return shown.isEmpty() ? name : name + QStringLiteral("：") + shown;
    }
};

// Qt makes a plain top-level widget a client area; this one is a window,
// named by its title.
QAccessibleInterface* windowAccessible(const QString&, QObject* object) {
    if (auto* line = qobject_cast<ResultLine*>(object)) return new ResultLineAccessible(line);
    if (auto* window = qobject_cast<ConverterWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    return nullptr;
}

bool isEnter(const QKeyEvent& event) {
    const bool enterKey = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return enterKey &&
           !(event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
}

bool isArrow(const QKeyEvent& event) {
    return event.key() == Qt::Key_Left || event.key() == Qt::Key_Right ||
           event.key() == Qt::Key_Up || event.key() == Qt::Key_Down;
}

}  // namespace

WindowServices WindowServices::desktop() {
    return {vantrigo::playClickSound, vantrigo::onCopyTick, vantrigo::showInstructions,
            vantrigo::showAbout};
}

ConverterWindow::ConverterWindow(WindowServices services)
    : QWidget(nullptr, window::kWindowFlags), services_(std::move(services)) {
    // Asked only when an assistive technology looks at the window.
    [[maybe_unused]] static const bool factoryInstalled = [] {
        QAccessible::installFactory(windowAccessible);
        return true;
    }();
    window::applyWindowLooks(*this);
    buildControls();
}

ConverterWindow::~ConverterWindow() = default;

void ConverterWindow::buildControls() {
    using window::Control;
    for (const window::ControlEntry& entry : window::kControls) {
        QWidget* control = nullptr;
        switch (entry.control) {
            case Control::CopyTimer:
                connect(addTimer(), &QTimer::timeout, this, [this] {
                    services_.copyTick(autoCopyBox_->isChecked(), resultLine_->text());
                });
                break;
            case Control::GuardTimer:
                connect(addTimer(), &QTimer::timeout, this, [this] { controller_.onGuardTick(); });
                break;
            case Control::AutoCopyBox:
                autoCopyBox_ = new QCheckBox(fromUtf8(entry.text), this);
                control = autoCopyBox_;
                break;
            case Control::ModeButton: {
                auto* button = new QRadioButton(fromUtf8(modeInfo(entry.mode).caption), this);
                button->setChecked(entry.mode == window::kInitialMode);
                connect(button, &QRadioButton::clicked, this,
                        [this] { controller_.onModeClicked(); });
                modeButtons_[static_cast<std::size_t>(entry.mode) - 1] = button;
                control = button;
                break;
            }
            case Control::AboutButton:
            case Control::InstructionsButton: {
                auto* button = new QPushButton(fromUtf8(entry.text), this);
                const auto& show = entry.control == Control::AboutButton
                                       ? services_.showAbout
                                       : services_.showInstructions;
                connect(button, &QPushButton::clicked, this, [show] { show(); });
                pushButtons_.push_back(button);
                control = button;
                break;
            }
            case Control::ResultLine:
                resultLine_ = new ResultLine(this);
                control = resultLine_;
                break;
            case Control::ArrowLabel:
                control = new QLabel(fromUtf8(entry.text), this);
                break;
            case Control::InputBox:
                inputBox_ = new InputBox(this);
                inputBox_->setAccessibleName(fromUtf8(kInputAccessibleName));
                inputBox_->setCharacterFilter([this](std::int32_t code) {
                    return controller_.onCharTyped(code) == CharVerdict::Pass;
                });
                connect(inputBox_, &QLineEdit::textEdited, this,
                        [this] { controller_.onInputChanged(); });
                control = inputBox_;
                break;
        }
        if (control == nullptr) continue;
        window::applyLooks(*control, entry.control);
        window::placeControl(*control, entry);
        control->installEventFilter(this);
    }
}

QTimer* ConverterWindow::addTimer() {
    auto* timer = new QTimer(this);
    timer->start(window::kTimerIntervalMs);
    return timer;
}

void ConverterWindow::showCentred() {
    window::centreOnPrimaryScreen(*this);
    show();
    activateWindow();
}

bool ConverterWindow::isModeChecked(ConversionMode mode) const {
    return modeButtons_[static_cast<std::size_t>(mode) - 1]->isChecked();
}

std::string ConverterWindow::inputText() const {
    return toGbk(inputBox_->text());
}

void ConverterWindow::setInputText(std::string_view text) {
    // setText raises no textEdited, so the one change event is ours to raise.
    inputBox_->setText(fromGbk(text));
    controller_.onInputChanged();
}

void ConverterWindow::setInputLengthLimit(std::int32_t limit) {
    inputBox_->setLengthLimit(limit);
}

void ConverterWindow::setResultText(std::string_view text) {
    resultLine_->setText(fromGbk(text));
}

void ConverterWindow::playClickSound() {
    services_.playClick();
}

bool ConverterWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (isEnter(key)) {
            pressDefaultButton();
            return true;
        }
        // Arrows never move the focus or the check among the buttons.
        if (watched != inputBox_ && isArrow(key)) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool ConverterWindow::focusNextPrevChild(bool) {
    return false;
}

void ConverterWindow::keyPressEvent(QKeyEvent* event) {
    if (isEnter(*event)) {
        pressDefaultButton();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ConverterWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (QWindow* handle = windowHandle()) handle->startSystemMove();
    }
    QWidget::mousePressEvent(event);
}

void ConverterWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void ConverterWindow::pressDefaultButton() {
    QWidget* focused = focusWidget();
    for (QPushButton* button : pushButtons_) {
        if (button == focused && button->isDefault()) {
            button->click();
            return;
        }
    }
    for (QPushButton* button : pushButtons_) {
        if (button->isVisible() && button->isEnabled() && button->isDefault()) {
            button->click();
            return;
        }
    }
}

}  // namespace vantrigo
