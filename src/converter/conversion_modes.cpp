#include "converter/conversion_modes.h"

#include "radix/radix.h"

namespace vantrigo {

namespace {

// The octal writer takes 64 bits; the value is widened with its sign.
std::string writeOctFrom32(std::int32_t value) { return writeOct(value); }

}  // namespace

const std::array<ModeInfo, kModeCount> kConversionModes{{
    {ConversionMode::HexToDec, "十六转十", "单选框1", SourceBase::Hex, readHex, writeDec},
    {ConversionMode::HexToOct, "十六转八", "单选框2", SourceBase::Hex, readHex, writeOctFrom32},
    {ConversionMode::HexToBin, "十六转二", "单选框3", SourceBase::Hex, readHex, writeBin},
    {ConversionMode::DecToHex, "十转十六", "单选框4", SourceBase::Dec, readDec, writeHex},
    {ConversionMode::DecToOct, "十转八", "单选框5", SourceBase::Dec, readDec, writeOctFrom32},
    {ConversionMode::DecToBin, "十转二", "单选框6", SourceBase::Dec, readDec, writeBin},
    {ConversionMode::OctToHex, "八转十六", "单选框7", SourceBase::Oct, readOct, writeHex},
    {ConversionMode::OctToDec, "八转十", "单选框8", SourceBase::Oct, readOct, writeDec},
    {ConversionMode::OctToBin, "八转二", "单选框9", SourceBase::Oct, readOct, writeBin},
    {ConversionMode::BinToHex, "二转十六", "单选框10", SourceBase::Bin, readBin, writeHex},
    {ConversionMode::BinToDec, "二转十", "单选框11", SourceBase::Bin, readBin, writeDec},
    {ConversionMode::BinToOct, "二转八", "单选框12", SourceBase::Bin, readBin, writeOctFrom32},
}};

const ModeInfo& modeInfo(ConversionMode mode) {
    return kConversionModes[static_cast<std::size_t>(mode) - 1];
}

}  // namespace vantrigo
