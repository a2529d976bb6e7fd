// The main window: twelve mode buttons, the auto-copy box, the input box, the
// result line, the arrow label, two notice buttons and two 100 ms timers, built
// from the window description. It keeps no state of its own beyond them.
//
// Data flow: the window binds its events to a ConverterController and
// implements ConverterView on its controls, nothing more.
//   mode button clicked   -> controller.onModeClicked()
//   character typed       -> controller.onCharTyped(code), before the box acts
//   input edited by user  -> controller.onInputChanged()
//   guard timer tick      -> controller.onGuardTick()
//   copy timer tick       -> services.copyTick(auto-copy ticked, result text)
//   notice buttons, Enter -> services.showInstructions() / showAbout()
// The controller answers through the view: it reads the checked button and the
// input (as GBK bytes), writes the input, the length limit and the result line,
// and asks for the click sound.
#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

#include "converter/converter_controller.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QTimer;

namespace vantrigo {

class InputBox;
class ResultLine;

// What the window asks of the desktop. Tests put recorders in their place.
struct WindowServices {
    std::function<void()> playClick;
    std::function<void(bool autoCopyOn, const QString& resultText)> copyTick;
    std::function<void()> showInstructions;
    std::function<void()> showAbout;

    // The real ones: ALSA, the system clipboard and message boxes.
    static WindowServices desktop();
};

class ConverterWindow final : public QWidget, public ConverterView {
    Q_OBJECT

public:
    explicit ConverterWindow(WindowServices services = WindowServices::desktop());
    ~ConverterWindow() override;

    // Shows the window centred on the primary screen by its outer size.
    void showCentred();

    // ConverterView
    bool isModeChecked(ConversionMode mode) const override;
    std::string inputText() const override;
    void setInputText(std::string_view text) override;
    void setInputLengthLimit(std::int32_t limit) override;
    void setResultText(std::string_view text) override;
    void playClickSound() override;

signals:
    // The user closed the window.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QTimer* addTimer();
    // Enter: clicks the focused default button, else the first one in order.
    void pressDefaultButton();

    WindowServices services_;
    ConverterController controller_{*this};
    std::array<QRadioButton*, kModeCount> modeButtons_{};
    std::vector<QPushButton*> pushButtons_;  // in the description's order
    QCheckBox* autoCopyBox_ = nullptr;
    InputBox* inputBox_ = nullptr;
    ResultLine* resultLine_ = nullptr;
};

}  // namespace vantrigo
