#include "converter/converter_controller.h"

#include <algorithm>
#include <string>

namespace vantrigo {

void ConverterController::onModeClicked() {
    // The nested change converts the empty input under the new mode; the
    // result line is emptied afterwards whatever that gave.
    view_.setInputText("");
    view_.setResultText("");
}

void ConverterController::onInputChanged() {
    view_.playClickSound();
    for (const ModeInfo& mode : kConversionModes) {
        if (!view_.isModeChecked(mode.mode)) continue;
        const std::string input = view_.inputText();
        view_.setResultText(mode.write(mode.read(input)));
    }
}

CharVerdict ConverterController::onCharTyped(std::int32_t code) {
    for (const SourceGuard& guard : kSourceGuards) {
        if (isSourceChecked(guard.source) && !acceptsCode(guard, code)) return CharVerdict::Refuse;
    }
    return CharVerdict::Pass;
}

void ConverterController::onGuardTick() {
    for (const SourceGuard& guard : kSourceGuards) {
        if (!isSourceChecked(guard.source)) continue;
        if (exceedsLargestValue(guard, view_.inputText())) view_.setInputText(guard.replacement);
        view_.setInputLengthLimit(lengthLimit(guard));
    }
}

bool ConverterController::isSourceChecked(SourceBase source) const {
    return std::any_of(kConversionModes.begin(), kConversionModes.end(), [&](const ModeInfo& m) {
        return m.source == source && view_.isModeChecked(m.mode);
    });
}

}  // namespace vantrigo
