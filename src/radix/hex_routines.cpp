#include "radix/hex_routines.h"

#include <array>

namespace vantrigo {

namespace {

constexpr std::uint8_t kNoDigit = 16;

// The value of each byte as a hexadecimal digit of either case, kNoDigit for
// every other byte, the zero byte included: so a digit run also ends where
// the text does, and the parsers need not look for the zero byte first.
constexpr std::array<std::uint8_t, 256> kHexDigitValues = [] {
    std::array<std::uint8_t, 256> values{};
    values.fill(kNoDigit);
    for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < 6; ++i) {
        values['A' + i] = static_cast<std::uint8_t>(10 + i);
        values['a' + i] = static_cast<std::uint8_t>(10 + i);
    }
    return values;
}();

constexpr std::string_view kHexPrefix = "0x";

}  // namespace

std::int32_t hexDigitsValue(std::string_view digits) {
    std::uint32_t value = 0;  // unsigned, so the wrap modulo 2^32 is defined
    for (char c : digits) {
        const std::uint32_t digit = kHexDigitValues[static_cast<unsigned char>(c)];
        if (digit == kNoDigit) break;
        value = (value << 4) | digit;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t parsePrefixedHex(std::string_view text) {
    // The prefix holds no zero byte, so a view that starts with it has a
    // text that does.
    if (!text.starts_with(kHexPrefix)) return 0;
    return hexDigitsValue(text.substr(kHexPrefix.size()));
}

std::string formatHexUpper(std::uint32_t value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    char buffer[8];
    char* first = std::end(buffer);
    do {
        *--first = kDigits[value & 0xFu];
        value >>= 4;
    } while (value != 0);
    return std::string(first, std::end(buffer));
}

}  // namespace vantrigo
