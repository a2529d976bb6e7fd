#include "converter/memory_converter_view.h"

#include <algorithm>
#include <limits>

#include "primitives/primitives.h"

namespace vantrigo {

void MemoryConverterView::setInputText(std::string_view text) {
    input_ = asText(text);
    controller_.onInputChanged();
}

void MemoryConverterView::clickMode(ConversionMode mode) {
    checked_ = mode;
    controller_.onModeClicked();
}

CharVerdict MemoryConverterView::typeCharacter(std::int32_t code) {
    const CharVerdict verdict = controller_.onCharTyped(code);
    if (verdict == CharVerdict::Refuse) return verdict;
    if (code == kBackspaceCode) {
        if (!input_.empty()) userEdit(input_.substr(0, input_.size() - 1));
    } else if (room() > 0) {
        // Only ASCII codes pass the filter, so the character is one byte.
        userEdit(input_ + charFromCode(code));
    }
    return verdict;
}

void MemoryConverterView::paste(std::string_view text) {
    text = asText(text).substr(0, room());
    if (!text.empty()) userEdit(input_ + std::string(text));
}

void MemoryConverterView::clearInput() {
    if (!input_.empty()) userEdit({});
}

void MemoryConverterView::userEdit(std::string text) {
    input_ = std::move(text);
    controller_.onInputChanged();
}

std::size_t MemoryConverterView::room() const {
    if (!lengthLimit_) return std::numeric_limits<std::size_t>::max();
    const auto limit = static_cast<std::size_t>(std::max(*lengthLimit_, 0));
    return limit > input_.size() ? limit - input_.size() : 0;
}

}  // namespace vantrigo
