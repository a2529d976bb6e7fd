#include "radix/hex_routines.h"

#include "primitives/primitives.h"

namespace vantrigo {

namespace {

constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr std::string_view kHexPrefix = "0x";

}  // namespace

std::int32_t hexDigitsValue(std::string_view digits) {
    std::uint32_t value = 0;  // unsigned, so the wrap modulo 2^32 is defined
    for (char c : asText(digits)) {
        const int digit = hexDigit(c);
        if (digit < 0) break;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t parsePrefixedHex(std::string_view text) {
    text = asText(text);
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
