#include "radix/radix.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "radix/hex_routines.h"

namespace vantrigo {
namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

struct ReadCase {
    std::string text;
    std::int32_t value;
};

void expectReads(std::int32_t (*read)(std::string_view), const std::vector<ReadCase>& cases) {
    for (const auto& c : cases) EXPECT_EQ(read(c.text), c.value) << '"' << c.text << '"';
}

TEST(ReadHex, DigitsAfterAnOptionalLowerCasePrefix) {
    expectReads(readHex, {
        {"", 0},
        {"0", 0},
        {"0x", 0},
        {"1F", 31},
        {"1f", 31},
        {"0x1F", 31},
        {"7FFFFFFF", kMax32},
        {"80000000", kMin32},
        {"FFFFFFFF", -1},
        {"ffffffff", -1},
        {"123456789", 0x23456789},  // a ninth digit shifts the first one out
        {"0X1F", 0},                // "0x0X1F": the parser stops at 'X'
        {"0x0X1F", 0},
        {"0x 12", 0},
        {" 12", 0},
        {"-1", 0},
        {"12G4", 0x12},
        {"x1", 0},
        {"0xx1", 0},
        {"\xA3\xB1", 0},            // full-width digits are not folded here
    });
}

TEST(ReadDec, WrapsLikeTextToInt) {
    expectReads(readDec, {
        {"", 0},
        {"2147483647", kMax32},
        {"2147483648", kMin32},
        {"4294967295", -1},
        {"9999999999", 1410065407},
        {"-5", -5},
        {"1e10", 1},
    });
}

TEST(ReadOct, PositionalWithEveryByteInItsPlace) {
    expectReads(readOct, {
        {"", 0},
        {"17", 15},
        {"777", 511},
        {"7777777777", 1073741823},
        {"17777777777", kMax32},
        {"20000000000", kMin32},
        {"37777777777", -1},
        {"40000000000", 0},
        {"77777777777", -1},
        {"8", 8},
        {"19", 17},
        {"1a", 8},
        {"a1", 1},
        {"-1", 1},
        {"\xA3\xB1" "1", 1},  // both bytes of a pair count as 0 in their places
        {"1\xA3\xB1", 64},
    });
}

TEST(ReadBin, PositionalWithFaceValues) {
    expectReads(readBin, {
        {"", 0},
        {"101", 5},
        {std::string(31, '1'), kMax32},
        {"1" + std::string(30, '0'), 1073741824},
        {std::string(32, '1'), -1},
        {"1" + std::string(32, '0'), 0},
        {"2", 2},
        {"12", 4},
        {"1a", 2},
        {"9", 9},
    });
}

// On doubles the weights of long texts are inexact, too large for 64 bits or
// infinite; every such step leaves the 32-bit sum at 0, so only the digits
// below 2^32 count.
TEST(ReadOctBin, LongTextsReadAsTheDoublesGo) {
    EXPECT_EQ(readOct("1" + std::string(16, '0') + "1"), 1);  // 8^17 + 1
    EXPECT_EQ(readOct("1" + std::string(20, '0') + "5"), 5);  // 8^21 = 2^63: trunc gives -2^63
    EXPECT_EQ(readOct("7" + std::string(342, '0')), 0);       // 7 * infinity
    EXPECT_EQ(readOct("7" + std::string(341, '0') + "3"), 3);
    EXPECT_EQ(readOct("9" + std::string(10, '7')), kMax32);  // 10 * 8^10 - 1 wraps
    EXPECT_EQ(readBin("1" + std::string(1024, '0') + "11"), 3);
    EXPECT_EQ(readBin("1" + std::string(52, '0') + "1"), 1);  // 2^53 + 1
    EXPECT_EQ(readBin("1" + std::string(53, '0')), 0);
}

struct WriteCase {
    std::int64_t value;
    std::string text;
};

TEST(WriteHex, UpperCaseTwosComplement) {
    const std::vector<WriteCase> cases = {
        {0, "0"}, {255, "FF"}, {kMax32, "7FFFFFFF"}, {-1, "FFFFFFFF"}, {kMin32, "80000000"},
        {0xABCDEF, "ABCDEF"},
    };
    for (const auto& c : cases) EXPECT_EQ(writeHex(static_cast<std::int32_t>(c.value)), c.text);
}

TEST(WriteDec, SignedDecimal) {
    EXPECT_EQ(writeDec(0), "0");
    EXPECT_EQ(writeDec(-1), "-1");
    EXPECT_EQ(writeDec(kMin32), "-2147483648");
}

TEST(WriteOct, NumeralWithoutZeroAndTheLoopsTextForNegatives) {
    const std::vector<WriteCase> cases = {
        {0, ""},       {1, "1"},        {7, "7"},           {8, "10"},
        {9, "11"},     {63, "77"},      {64, "100"},        {511, "777"},
        {512, "1000"}, {kMax32, "17777777777"},
        // 2^63 - 1 becomes 2^63 as a real.
        {std::numeric_limits<std::int64_t>::max(), "1000000000000000000000"},
        {-1, "-1"},    {-7, "-7"},      {-8, "-10"},        {-9, "-1-1"},
        {-64, "-80"},  {kMin32, "-2684354560"},
        // 2^63 / 8 = 2^60 leaves a 0 remainder; 2^60's low 32 bits are 0: "00".
        {std::numeric_limits<std::int64_t>::min(), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(writeOct(c.value), c.text) << c.value;
}

TEST(WriteBin, BitsOfPositiveValuesOnly) {
    const std::vector<WriteCase> cases = {
        {0, ""},   {1, "1"},   {2, "10"},   {5, "101"},  {255, "11111111"},
        {1073741824, "1" + std::string(30, '0')},
        {kMax32, std::string(31, '1')},
        {-1, ""},  {kMin32, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(writeBin(static_cast<std::int32_t>(c.value)), c.text);
}

TEST(StripLeadingZeros, KeepsFromTheFirstOtherByte) {
    EXPECT_EQ(stripLeadingZeros(""), "");
    EXPECT_EQ(stripLeadingZeros("0"), "");
    EXPECT_EQ(stripLeadingZeros("000"), "");
    EXPECT_EQ(stripLeadingZeros("007"), "7");
    EXPECT_EQ(stripLeadingZeros("0070"), "70");
    EXPECT_EQ(stripLeadingZeros("0-1"), "-1");
}

TEST(HexRoutines, ParserAndFormatter) {
    EXPECT_EQ(parsePrefixedHex("0x"), 0);
    EXPECT_EQ(parsePrefixedHex("0x123456789"), 0x23456789);
    EXPECT_EQ(parsePrefixedHex("0xfF"), 255);
    EXPECT_EQ(parsePrefixedHex("FF"), 0);  // without its prefix
    EXPECT_EQ(formatHexUpper(0), "0");
    EXPECT_EQ(formatHexUpper(0xFFFFFFFFu), "FFFFFFFF");
    EXPECT_EQ(formatHexUpper(0x10u), "10");
}

}  // namespace
}  // namespace vantrigo
