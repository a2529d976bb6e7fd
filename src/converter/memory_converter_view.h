// A window-less ConverterView: the window's state held in memory, with a
// controller of its own and the user's actions (mode clicks, typing, pasting,
// ticks) played against it the way the window plays them. Tests, fuzzers and
// benchmarks drive the converter through it.
//
// Characters are bytes here: the length limit counts bytes, typing appends at
// the end and Backspace removes the last byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "converter/converter_controller.h"

namespace vantrigo {

class MemoryConverterView final : public ConverterView {
public:
    explicit MemoryConverterView(ConversionMode checked = ConversionMode::HexToDec)
        : checked_(checked) {}
    MemoryConverterView(const MemoryConverterView&) = delete;
    MemoryConverterView& operator=(const MemoryConverterView&) = delete;

    ConverterController& controller() { return controller_; }

    // ConverterView
    bool isModeChecked(ConversionMode mode) const override { return mode == checked_; }
    std::string inputText() const override { return input_; }
    void setInputText(std::string_view text) override;
    void setInputLengthLimit(std::int32_t limit) override { lengthLimit_ = limit; }
    void setResultText(std::string_view text) override { result_ = text; }
    void playClickSound() override { ++clickCount_; }

    // The state, as the window would show it.
    ConversionMode checkedMode() const { return checked_; }
    const std::string& input() const { return input_; }
    const std::string& result() const { return result_; }
    // Unset until the first tick: the box has no limit of its own.
    std::optional<std::int32_t> lengthLimit() const { return lengthLimit_; }
    // Click sounds requested so far.
    std::int64_t clickCount() const { return clickCount_; }

    // The user's actions.
    // Checks the mode's button (also when it is checked already) and clicks it.
    void clickMode(ConversionMode mode);
    // Types one character: the filter first, then Backspace removes the last
    // byte or the character is appended where the limit leaves room.
    CharVerdict typeCharacter(std::int32_t code);
    // Appends as much of the text as the limit leaves room for, unfiltered.
    void paste(std::string_view text);
    // Selects everything and deletes it.
    void clearInput();
    void tick() { controller_.onGuardTick(); }

private:
    // A change made by the user: the text changes, then onInputChanged runs.
    void userEdit(std::string text);
    std::size_t room() const;

    ConversionMode checked_;
    std::string input_;
    std::string result_;
    std::optional<std::int32_t> lengthLimit_;
    std::int64_t clickCount_ = 0;
    ConverterController controller_{*this};
};

}  // namespace vantrigo
