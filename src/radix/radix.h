// The radix engine: readers that turn any text into a 32-bit signed value and
// writers that turn a value into the text of its base.
//
// No routine rejects anything. Readers wrap modulo 2^32 and read stray bytes
// as their rules say; the octal and binary writers give '' for zero.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrigo {

// Hexadecimal after an optional case-sensitive "0x": "1f" -> 31, "FFFFFFFF" -> -1.
std::int32_t readHex(std::string_view text);
// Decimal as textToInt reads it: "9999999999" -> 1410065407.
std::int32_t readDec(std::string_view text);
// Positional base 8 on doubles; every byte keeps its place, non-digits count
// as 0 and '8', '9' at face value: "17" -> 15, "1a" -> 8, "19" -> 17.
std::int32_t readOct(std::string_view text);
// Positional base 2 on doubles, like readOct: "101" -> 5, "12" -> 4.
std::int32_t readBin(std::string_view text);

// Upper case, two's complement for negatives: -1 -> "FFFFFFFF".
std::string writeHex(std::int32_t value);
// 0 -> "0", -5 -> "-5".
std::string writeDec(std::int32_t value);
// 0 -> "", 8 -> "10"; a negative value gives the division loop's own text:
// -9 -> "-1-1", -64 -> "-80".
std::string writeOct(std::int64_t value);
// 5 -> "101"; zero and negative values give "".
std::string writeBin(std::int32_t value);

// "0070" -> "70", "000" -> "".
std::string stripLeadingZeros(std::string_view text);

}  // namespace vantrigo
