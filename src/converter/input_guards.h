// The input guards per source base: the characters the filter lets through,
// the test that finds an input above 2147483647, its replacement and the
// length limit of the input box.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "converter/conversion_modes.h"

namespace vantrigo {

inline constexpr std::int32_t kBackspaceCode = 8;

struct CodeRange {
    std::int32_t first;
    std::int32_t last;
};

// How a tick finds an input above the largest value, 2147483647.
enum class ValueTest {
    None,                 // every input stands
    HexReadsNegative,     // readHex wraps 80000000 .. FFFFFFFF below zero
    DecimalReadingAbove,  // textToNumber is greater than decimalBound by the real rule
};

struct SourceGuard {
    SourceBase source;
    std::array<CodeRange, 3> digits;  // unused ranges are empty (first > last)
    ValueTest test;
    double decimalBound;
    std::string_view replacement;  // 2147483647 written in the source base
};

// The input box's length limit: the length of the largest value's text.
constexpr std::int32_t lengthLimit(const SourceGuard& guard) {
    return static_cast<std::int32_t>(guard.replacement.size());
}

// In the order the guards are taken: Hex, Dec, Oct, Bin.
extern const std::array<SourceGuard, 4> kSourceGuards;

// Backspace and the digits of the base pass; every other code is refused.
bool acceptsCode(const SourceGuard& guard, std::int32_t code);
// Whether the input must be replaced by the guard's replacement.
bool exceedsLargestValue(const SourceGuard& guard, std::string_view input);

}  // namespace vantrigo
