// The converter's logic behind the window. It keeps no state: the checked
// option button is the mode, the input box's text is the input and the result
// line's text is the output, all read and written through ConverterView.
//
//   mode click  -> onModeClicked:  empty input (one nested change) and result
//   typed char  -> onCharTyped:    Pass or Refuse, before the box acts on it
//   text change -> onInputChanged: click, read in the source base, write result
//   guard tick  -> onGuardTick:    replace an input above 2147483647, set limit
#pragma once

#include <cstdint>

#include "converter/conversion_modes.h"
#include "converter/converter_view.h"
#include "converter/input_guards.h"

namespace vantrigo {

enum class CharVerdict { Pass, Refuse };

class ConverterController {
public:
    explicit ConverterController(ConverterView& view) : view_(view) {}

    // A mode's option button was clicked and is now the checked one.
    void onModeClicked();
    // The input text changed, by the user or through setInputText.
    void onInputChanged();
    // A character typed into the input box, not inserted yet.
    CharVerdict onCharTyped(std::int32_t code);
    // The guard timer ticked.
    void onGuardTick();

private:
    bool isSourceChecked(SourceBase source) const;

    ConverterView& view_;
};

}  // namespace vantrigo
