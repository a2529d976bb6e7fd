#include "radix/radix.h"

#include <array>

#include "primitives/primitives.h"
#include "radix/hex_routines.h"

namespace vantrigo {

namespace {

constexpr std::string_view kHexPrefix = "0x";

// The digit value of one byte, as textToNumber reads the one-byte text:
// 0 to 9 for '0' to '9', 0 for every other byte.
constexpr int digitValue(char byte) { return byte >= '0' && byte <= '9' ? byte - '0' : 0; }

// Positional reading: the steps on doubles, sum := low 32 bits of
// trunc(sum + d * base^k) with k counting down from length - 1, equal the
// digits' positional value modulo 2^32 for every length. The weights come
// largest first: each one from 2^32 up is a whole multiple of 2^32, too large
// for 64 bits or infinite, so those steps all leave the sum at 0 (a multiple of
// 2^32, or -2^63 from trunc, or NaN / infinity, whose low 32 bits are 0), and
// every later step stays below 2^53, where doubles are exact.
template <std::uint32_t Base>
std::int32_t readPositional(std::string_view text) {
    std::uint32_t sum = 0;  // unsigned, so the wrap modulo 2^32 is defined
    for (char byte : asText(text)) sum = sum * Base + static_cast<std::uint32_t>(digitValue(byte));
    return static_cast<std::int32_t>(sum);
}

// Values whose magnitude is below 2^53 convert to doubles exactly, and then
// the remainder and truncated quotient on doubles equal C++'s % and /.
constexpr std::int64_t kExactDoubleBound = std::int64_t{1} << 53;

}  // namespace

std::int32_t readHex(std::string_view text) {
    text = asText(text);
    // The parser reads the digits after "0x", so an unprefixed text is read as
    // "0x" joined in front of it without building that text.
    return text.starts_with(kHexPrefix) ? parsePrefixedHex(text) : hexDigitsValue(text);
}

std::int32_t readDec(std::string_view text) { return textToInt(text); }

std::int32_t readOct(std::string_view text) { return readPositional<8>(text); }

std::int32_t readBin(std::string_view text) { return readPositional<2>(text); }

std::string writeHex(std::int32_t value) {
    return formatHexUpper(static_cast<std::uint32_t>(value));
}

std::string writeDec(std::int32_t value) { return intToText(value); }

std::string writeOct(std::int64_t value) {
    // Least significant first. A positive value has at most 22 octal digits
    // here; a negative one leaves the loop after its first step.
    std::array<std::int64_t, 24> digits{};
    std::size_t count = 0;
    // The test follows the step, so the step runs at least once.
    do {
        if (value > -kExactDoubleBound && value < kExactDoubleBound) {
            digits[count++] = value % 8;
            value /= 8;
        } else {
            const double real = static_cast<double>(value);
            digits[count++] = truncToInt64(realRemainder(real, 8));
            value = truncToInt64(real / 8);
        }
    } while (value > 7);
    digits[count++] = integerPart(static_cast<double>(value));

    std::string text;
    for (std::size_t i = count; i-- > 0;) {
        if (digits[i] >= 0 && digits[i] <= 7) {
            text.push_back(static_cast<char>('0' + digits[i]));
        } else {
            text += int64ToText(digits[i]);
        }
    }
    if (text.starts_with('0')) text = stripLeadingZeros(text);
    return text;
}

std::string writeBin(std::int32_t value) {
    // On doubles each step is exact for 32-bit values: the remainder by 2 is
    // the low bit and the truncated half is a shift. Zero and negative values
    // never enter the loop.
    std::string digits;
    for (auto rest = value; rest > 0; rest /= 2) digits.push_back(static_cast<char>('0' + rest % 2));
    return std::string(digits.rbegin(), digits.rend());
}

std::string stripLeadingZeros(std::string_view text) {
    text = asText(text);
    return std::string(text.substr(std::min(text.find_first_not_of('0'), text.size())));
}

}  // namespace vantrigo
