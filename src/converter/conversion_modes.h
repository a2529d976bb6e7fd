// The twelve conversions: each mode's caption, source base, reader and writer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrigo {

// Numbered 1 to 12: the order of every mode table and of the option buttons.
enum class ConversionMode {
    HexToDec = 1, HexToOct, HexToBin,
    DecToHex, DecToOct, DecToBin,
    OctToHex, OctToDec, OctToBin,
    BinToHex, BinToDec, BinToOct
};

// The base a mode reads its input in; the input guards go by it.
enum class SourceBase { Hex, Dec, Oct, Bin };

struct ModeInfo {
    ConversionMode mode;
    std::string_view caption;     // UTF-8, shown on the mode's option button
    std::string_view buttonName;  // the option button's object name
    SourceBase source;
    std::int32_t (*read)(std::string_view input);
    std::string (*write)(std::int32_t value);
};

inline constexpr std::size_t kModeCount = 12;

// Table order: four groups of three by source base (Hex, Dec, Oct, Bin), each
// group's targets in the order hexadecimal, decimal, octal, binary.
extern const std::array<ModeInfo, kModeCount> kConversionModes;

const ModeInfo& modeInfo(ConversionMode mode);

}  // namespace vantrigo
