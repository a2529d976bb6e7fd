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

// The digits of a positive value in base 2^Bits, most significant first,
// without leading zeros; '' for zero.
template <unsigned Bits>
std::string powerOfTwoDigits(std::uint64_t value) {
    constexpr std::uint64_t kMask = (std::uint64_t{1} << Bits) - 1;
    char buffer[64];
    char* first = std::end(buffer);
    for (; value != 0; value >>= Bits) *--first = static_cast<char>('0' + (value & kMask));
    return std::string(first, std::end(buffer));
}

}  // namespace

std::int32_t readHex(std::string_view text) {
    // The parser reads the digits after "0x", so an unprefixed text is read as
    // "0x" joined in front of it without building that text. Both stop at a
    // zero byte by themselves.
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
    // Where the steps are exact, they give the octal numeral: a value of 1 to
    // 7 leaves the digit and a final 0, whose leading "0" is stripped, and
    // zero leaves two zeros, both stripped.
    if (value >= 0 && value < kExactDoubleBound) {
        return powerOfTwoDigits<3>(static_cast<std::uint64_t>(value));
    }

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
    if (value <= 0) return {};
    return powerOfTwoDigits<1>(static_cast<std::uint64_t>(value));
}

std::string stripLeadingZeros(std::string_view text) {
    text = asText(text);
    return std::string(text.substr(std::min(text.find_first_not_of('0'), text.size())));
}

}  // namespace vantrigo
