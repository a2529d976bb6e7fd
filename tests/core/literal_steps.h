// The radix engine's readers and writers spelled out step by step on the text
// primitives and doubles, with no shortcut. The engine's fast paths are held
// against these.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "primitives/primitives.h"

namespace vantrigo::literal {

inline std::int32_t readPositional(std::string_view text, double base) {
    const std::int32_t n = textLength(text);
    std::int32_t sum = 0;
    for (std::int32_t i = 1; i <= n; ++i) {
        const double d = textToNumber(midText(text, i, 1));
        const double w = power(base, n - i);
        sum = truncToInt32(static_cast<double>(sum) + d * w);
    }
    return sum;
}

inline std::int32_t readOct(std::string_view text) { return readPositional(text, 8); }
inline std::int32_t readBin(std::string_view text) { return readPositional(text, 2); }

// The parser behind readHex, byte by byte on the text up to its zero byte:
// "0x", then hexadecimal digits of either case up to the first other byte,
// modulo 2^32 and read as signed.
inline std::int32_t parsePrefixedHex(std::string_view bytes) {
    const std::string text(asText(bytes));
    if (compareText(leftText(text, 2), "0x") != 0) return 0;
    constexpr std::string_view kUpper = "0123456789ABCDEF";
    constexpr std::string_view kLower = "0123456789abcdef";
    std::uint32_t value = 0;
    for (std::int32_t i = 3; i <= textLength(text); ++i) {
        const char c = midText(text, i, 1)[0];
        std::size_t digit = kUpper.find(c);
        if (digit == std::string_view::npos) digit = kLower.find(c);
        if (digit == std::string_view::npos) break;
        value = value * 16u + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}

inline std::int32_t readHex(std::string_view text) {
    const std::string parsed = compareText(leftText(text, 2), "0x") != 0
                                   ? joinText("0x", text)
                                   : std::string(asText(text));
    return parsePrefixedHex(parsed);
}

// textToInt as its steps say: fold, skip blanks, one sign, digits modulo 2^32.
inline std::int32_t textToInt(std::string_view text) {
    const std::string folded = foldFullWidth(text);
    std::size_t at = 0;
    while (at < folded.size() &&
           (folded[at] == ' ' || (folded[at] >= '\t' && folded[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < folded.size() && (folded[at] == '+' || folded[at] == '-')) {
        negative = folded[at++] == '-';
    }
    std::uint32_t value = 0;
    for (; at < folded.size() && folded[at] >= '0' && folded[at] <= '9'; ++at) {
        value = value * 10u + static_cast<std::uint32_t>(folded[at] - '0');
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

inline std::string stripLeadingZeros(std::string_view text) {
    const std::int32_t n = textLength(text);
    std::int32_t i = 1;
    while (i <= n && midText(text, i, 1) == "0") ++i;
    return rightText(text, n - i + 1);
}

inline std::string writeOct(std::int64_t value) {
    std::vector<std::int64_t> digits;
    do {
        digits.push_back(truncToInt64(realRemainder(static_cast<double>(value), 8)));
        value = truncToInt64(static_cast<double>(value) / 8);
    } while (value > 7);
    digits.push_back(integerPart(static_cast<double>(value)));
    std::string text;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) text = joinText(text, int64ToText(*it));
    if (leftText(text, 1) == "0") text = stripLeadingZeros(text);
    return text;
}

inline std::string writeBin(std::int32_t value) {
    std::string digits;
    while (value > 0) {
        const double code = charCode("0") + realRemainder(value, 2);
        digits = joinText(digits, charFromCode(static_cast<std::int32_t>(truncToInt64(code))));
        value = truncToInt32(static_cast<double>(value) / 2);
    }
    std::string result;
    const std::int32_t length = textLength(digits);
    for (std::int32_t i = 1; i <= length; ++i) {
        result = joinText(result, midText(digits, length - i + 1, 1));
    }
    return result;
}

}  // namespace vantrigo::literal
