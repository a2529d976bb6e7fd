// Text and number primitives: the byte-exact operations that the radix engine
// and the input guards are built on.
//
// A text is a run of GBK bytes. Lengths and positions count bytes, positions
// start at 1, and a position or count may split a double-byte character; only
// foldFullWidth knows about pairs. The empty text also stands for "no text".
// A text handed over as std::string_view ends at its first zero byte.
//
// Reals are IEEE doubles. A real becomes an integer only through
// truncToInt64, and reals are compared only through realGreater / realLess.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrigo {

// The tolerance of the real comparison rule: the double nearest to 1e-7.
inline constexpr double kRealTolerance = 1e-7;

// The text a view holds: its bytes up to the first zero byte.
//   asText({"ab\0cd", 5}) == "ab"
constexpr std::string_view asText(std::string_view bytes) noexcept {
    return bytes.substr(0, bytes.find('\0'));
}

// Measuring, slicing, joining and comparing by bytes.
std::int32_t textLength(std::string_view text);
// The first min(count, length) bytes; '' for count <= 0.
std::string leftText(std::string_view text, std::int32_t count);
// The last min(count, length) bytes; '' for count <= 0.
std::string rightText(std::string_view text, std::int32_t count);
// Bytes position .. position + count - 1 (1-based), cut at the end;
// '' when position is outside 1..length or count <= 0.
std::string midText(std::string_view text, std::int32_t position, std::int32_t count);
std::string joinText(std::string_view first, std::string_view second);
// -1, 0 or 1 by unsigned bytes; a proper prefix sorts first.
std::int32_t compareText(std::string_view a, std::string_view b);

// The first byte as a signed 8-bit value: charCode("\xB0") == -80, charCode("") == 0.
std::int32_t charCode(std::string_view text);
// The one-byte text of code's low 8 bits; a zero byte gives ''.
std::string charFromCode(std::int32_t code);

// Full-width GBK forms folded to ASCII: "\xA3\xB1\xA3\xB2" (full-width "12") -> "12".
std::string foldFullWidth(std::string_view text);

// The longest leading decimal number (sign, digits, point, exponent with E, e,
// D or d) after folding and blanks, as the nearest double; 0 when there is
// none, an infinity when it overflows.  textToNumber(" 1d3x") == 1000.0
double textToNumber(std::string_view text);
// Sign and decimal digits after folding and blanks, wrapping modulo 2^32.
//   textToInt("4294967295") == -1, textToInt("3.7") == 3
std::int32_t textToInt(std::string_view text);

std::string intToText(std::int32_t value);
std::string int64ToText(std::int64_t value);

// Remainder of the division truncated toward zero: (-9, 8) -> -1, (7.5, 2) -> 1.5.
double realRemainder(double dividend, double divisor);
// floor(value) through truncToInt64, low 32 bits: -2.5 -> -3, 4294967301.0 -> 5.
std::int32_t integerPart(double value);
double power(double base, double exponent);

// Toward zero; NaN, infinities and values outside the 64-bit range give -2^63.
std::int64_t truncToInt64(double value);
// truncToInt64 into a 32-bit destination: its low 32 bits, two's complement.
//   truncToInt32(2147483648.0) == -2147483648, truncToInt32(1e30) == 0
std::int32_t truncToInt32(double value);

// The real comparison rule: greater / less by more than kRealTolerance.
bool realGreater(double a, double b);
bool realLess(double a, double b);

}  // namespace vantrigo
