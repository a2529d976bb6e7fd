// The window's side of the converter: the controller reads and writes the
// window's state only through this interface, so the same logic runs behind
// the real window and behind MemoryConverterView.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "converter/conversion_modes.h"

namespace vantrigo {

class ConverterView {
public:
    virtual ~ConverterView() = default;

    // Whether that mode's option button is checked now.
    virtual bool isModeChecked(ConversionMode mode) const = 0;
    // The input box's text as GBK bytes.
    virtual std::string inputText() const = 0;
    // Replaces the input and runs the controller's onInputChanged exactly once
    // before returning, also when the text does not change; never limited.
    virtual void setInputText(std::string_view text) = 0;
    // From now on typing and pasting cannot make the input longer than limit
    // characters; a longer text already there is not cut.
    virtual void setInputLengthLimit(std::int32_t limit) = 0;
    virtual void setResultText(std::string_view text) = 0;
    // Starts one click and returns without waiting for it.
    virtual void playClickSound() = 0;

protected:
    ConverterView() = default;
    ConverterView(const ConverterView&) = default;
    ConverterView& operator=(const ConverterView&) = default;
};

}  // namespace vantrigo
