// The two hexadecimal routines the radix engine rests on: a parser of
// "0x"-prefixed texts and upper-case "%X" formatting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrigo {

// The value of the hexadecimal digits that open the text, up to the first byte
// that is no digit, modulo 2^32 and read as signed; 0 without a digit.
//   hexDigitsValue("ff") == 255, hexDigitsValue("123456789") == 0x23456789,
//   hexDigitsValue("FFFFFFFF") == -1, hexDigitsValue(" 1") == 0
std::int32_t hexDigitsValue(std::string_view digits);

// A "0x"-prefixed text: the hexadecimal digits after the two-byte prefix, as
// hexDigitsValue reads them. Nothing else is skipped or accepted, so
// "0x0X1F" and "0x 12" give 0; a text without the prefix gives 0 as well.
std::int32_t parsePrefixedHex(std::string_view text);

// Upper-case hexadecimal digits without leading zeros: 0 -> "0", 255 -> "FF".
std::string formatHexUpper(std::uint32_t value);

}  // namespace vantrigo
