#include "primitives/primitives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace vantrigo {
namespace {

using namespace std::string_literals;

constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TextSlicing, CountsBytesAndCutsAtTheEnds) {
    EXPECT_EQ(textLength(""), 0);
    EXPECT_EQ(textLength("\xA3\xB1"), 2);
    EXPECT_EQ(textLength("ab\0cd"s), 2);

    EXPECT_EQ(leftText("abc", 0), "");
    EXPECT_EQ(leftText("abc", -3), "");
    EXPECT_EQ(leftText("abc", 5), "abc");
    EXPECT_EQ(leftText("", 2), "");
    EXPECT_EQ(leftText("\xB0\xA1x", 1), "\xB0");  // splits a double-byte character

    EXPECT_EQ(rightText("abc", 2), "bc");
    EXPECT_EQ(rightText("abc", -1), "");
    EXPECT_EQ(rightText("abc", 9), "abc");

    EXPECT_EQ(midText("abc", 0, 1), "");
    EXPECT_EQ(midText("abc", 3, 5), "c");
    EXPECT_EQ(midText("abc", 4, 1), "");
    EXPECT_EQ(midText("abc", 2, 0), "");
    EXPECT_EQ(midText("abc", 2, 1), "b");
    EXPECT_EQ(midText("abc", std::numeric_limits<std::int32_t>::max(), 1), "");
    EXPECT_EQ(midText("abc", 1, std::numeric_limits<std::int32_t>::max()), "abc");
}

TEST(TextSlicing, ViewsEndAtTheirFirstZeroByte) {
    const std::string bytes = "0x\0FF"s;
    EXPECT_EQ(rightText(bytes, 3), "0x");
    EXPECT_EQ(midText(bytes, 4, 1), "");
    EXPECT_EQ(joinText(bytes, "1\0" "2"s), "0x1");
    EXPECT_EQ(compareText("a\0b"s, "a"), 0);
}

TEST(TextJoinAndCompare, ByUnsignedBytes) {
    EXPECT_EQ(joinText("0x", "FF"), "0xFF");
    EXPECT_EQ(joinText("", ""), "");

    EXPECT_EQ(compareText("", std::string_view{}), 0);
    EXPECT_EQ(compareText("0x", "0X"), 1);
    EXPECT_EQ(compareText("0X", "0x"), -1);
    EXPECT_EQ(compareText("\xB0", "0"), 1);  // 0xB0 sorts after '0', not before
    EXPECT_EQ(compareText("0", "0x"), -1);   // a proper prefix sorts first
    EXPECT_EQ(compareText("0x", "0"), 1);
    EXPECT_EQ(compareText("0x", "0x"), 0);
}

TEST(CharCodes, SignedFirstByteAndLowByteBack) {
    EXPECT_EQ(charCode("0"), 48);
    EXPECT_EQ(charCode(""), 0);
    EXPECT_EQ(charCode("\xB0\xA1"), -80);
    EXPECT_EQ(charCode("\xFF"), -1);

    EXPECT_EQ(charFromCode(49), "1");
    EXPECT_EQ(charFromCode(0), "");
    EXPECT_EQ(charFromCode(256), "");       // low 8 bits are zero
    EXPECT_EQ(charFromCode(0x130), "0");    // low 8 bits only
    EXPECT_EQ(charFromCode(-80), "\xB0");
}

struct FoldCase {
    std::string text;
    std::string folded;
};

TEST(FoldFullWidth, FollowsItsTable) {
    const std::vector<FoldCase> cases = {
        {"", ""},
        {"12", "12"},
        {"\xA3\xB1\xA3\xB2", "12"},             // full-width digits
        {"\xA3\xAD\xA3\xB5", "-5"},             // full-width minus and five
        {"\xA3\xA1", "!"},                      // first of the A3 row
        {"\xA3\xFE", "~"},                      // last of the A3 row
        {"\xA3\xA0", "\xA3\xA0"},               // just outside the row: kept as a pair
        {"\xA3\xFF", "\xA3\xFF"},
        {"\xA1\xA1", " "},                      // ideographic space
        {"\xA1\xAB", "~"},
        {"\xA1\xEE\xA1\xEF", "**"},             // white and black stars
        {"\xA1\xA2", "\xA1\xA2"},               // other A1 pairs stay
        {"\xB0\xA1", "\xB0\xA1"},               // a hanzi stays
        {"1\xA3", "1"},                         // a lead byte at the end is dropped
        {"\xA3", ""},
        {"\xA3" "1", "\xA3" "1"},               // any byte completes a pair
        {"\x80\xA3\xB1", "\x80\xA3"},           // pairs go by position: 80 A3, then B1 alone
    };
    for (const auto& c : cases) EXPECT_EQ(foldFullWidth(c.text), c.folded) << c.text;
}

struct NumberCase {
    std::string text;
    double value;
};

TEST(TextToNumber, ReadsTheLongestNumberPrefix) {
    const std::vector<NumberCase> cases = {
        {"", 0},          {"a", 0},          {"F", 0},
        {"0x1F", 0},      {" 12", 12},       {"\t\n\v\f\r 7", 7},
        {"12abc", 12},    {"1 2", 1},        {"+7", 7},
        {"-5", -5},       {".5", 0.5},       {"5.", 5},
        {".", 0},         {"-", 0},          {"+.", 0},
        {"+-5", 0},       {"- 5", 0},        {"1e3", 1000},
        {"1E3", 1000},    {"1d3", 1000},     {"1D3", 1000},
        {"1e", 1},        {"1e+", 1},        {"1d-", 1},
        {"1e-2", 0.01},   {"2.5e+1x", 25},   {"5.e1", 50},
        {".5e1", 5},      {"1e3e4", 1000},   {"1.2.3", 1.2},
        {"99999999999", 99999999999.0},
        {"2147483647", 2147483647.0},
        {"17777777777", 17777777777.0},
        {"123456789012345", 123456789012345.0},
        {"\xA3\xB1\xA3\xB2", 12},               // full-width 12
        {"\xA1\xA1\xA3\xAD\xA3\xB5", -5},       // ideographic space, full-width -5
        {"\x80", 0},                            // one high byte: dropped by the fold
        {"\xB0", 0},
        {"\x1c" "5", 0},                        // 0x1C is no blank
        {"inf", 0},        {"nan", 0},          {"0x10", 0},
        {"1,5", 1},
        {"0.1", 0.1},      {"-0.1", -0.1},
    };
    for (const auto& c : cases) EXPECT_EQ(textToNumber(c.text), c.value) << c.text;
}

TEST(TextToNumber, OverflowGivesSignedInfinityAndUnderflowZero) {
    EXPECT_EQ(textToNumber("1e400"), kInf);
    EXPECT_EQ(textToNumber("-1e400"), -kInf);
    EXPECT_EQ(textToNumber("1d99999999999999999999"), kInf);
    EXPECT_EQ(textToNumber(std::string(400, '9')), kInf);
    EXPECT_EQ(textToNumber("0." + std::string(400, '0') + "1e100"), 1e-301);  // in range again
    EXPECT_EQ(textToNumber("1e-400"), 0.0);
    EXPECT_EQ(textToNumber("0." + std::string(500, '0') + "1"), 0.0);
    EXPECT_EQ(textToNumber("0.0001e310"), 1e306);
    EXPECT_EQ(textToNumber("0e999999"), 0.0);
    EXPECT_EQ(textToNumber("1e-310"), 1e-310);  // subnormal, still the nearest double
}

TEST(TextToNumber, IsCorrectlyRoundedForLongTexts) {
    // 2^53 + 1 lies halfway between two doubles; ties go to even.
    EXPECT_EQ(textToNumber("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(textToNumber("9007199254740993.0000000000000000001"), 9007199254740994.0);
    EXPECT_EQ(textToNumber(std::string(300, '1')), std::stod(std::string(300, '1')));
}

struct IntCase {
    std::string text;
    std::int32_t value;
};

TEST(TextToInt, WrapsModulo2To32) {
    const std::vector<IntCase> cases = {
        {"2147483647", 2147483647},  {"2147483648", -2147483647 - 1},
        {"4294967295", -1},          {"4294967296", 0},
        {"99999999999", 1215752191}, {"-5", -5},
        {" +7", 7},                  {"12abc", 12},
        {"", 0},                     {"3.7", 3},
        {"1e3", 1},                  {"0x1F", 0},
        {"- 5", 0},                  {"+-5", 0},
        {"-2147483648", -2147483647 - 1},
        {"-4294967295", 1},
        {"\xA3\xB1\xA3\xB2", 12},
        {"\xA3\xAD\xA3\xB5", -5},
        {"\t\r\n 42", 42},
        {"\xB0\xA1" "12", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(textToInt(c.text), c.value) << c.text;
}

TEST(IntegerTexts, DecimalWithMinusOnly) {
    EXPECT_EQ(intToText(0), "0");
    EXPECT_EQ(intToText(-5), "-5");
    EXPECT_EQ(intToText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    EXPECT_EQ(intToText(2147483647), "2147483647");
    EXPECT_EQ(int64ToText(-7), "-7");
    EXPECT_EQ(int64ToText(kInt64Min), "-9223372036854775808");
}

TEST(RealComparison, IsStrictBeyondTheTolerance) {
    EXPECT_FALSE(realGreater(10.00000005, 10));
    EXPECT_TRUE(realGreater(10.0000002, 10));
    EXPECT_FALSE(realLess(9.99999995, 10));
    EXPECT_TRUE(realLess(9.9999998, 10));
    EXPECT_FALSE(realGreater(2147483647, 2147483647));
    EXPECT_TRUE(realGreater(2147483648, 2147483647));
    EXPECT_TRUE(realGreater(kInf, 17777777777.0));
    EXPECT_FALSE(realGreater(-kInf, 0));

    double tolerance = 0;
    const unsigned char bytes[] = {0x48, 0xAF, 0xBC, 0x9A, 0xF2, 0xD7, 0x7A, 0x3E};
    std::memcpy(&tolerance, bytes, sizeof tolerance);  // the constant's exact bits
    EXPECT_EQ(kRealTolerance, tolerance);
}

struct TruncCase {
    double value;
    std::int64_t wide;
    std::int32_t narrow;
};

TEST(TruncToInt64, TowardZeroElseMinimum) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<TruncCase> cases = {
        {7.9, 7, 7},
        {-7.9, -7, -7},
        {-0.5, 0, 0},
        {2147483648.0, 2147483648, -2147483647 - 1},
        {4294967296.0, 4294967296, 0},
        {4294967301.0, 4294967301, 5},
        {9223372036854774784.0, 9223372036854774784, -1024},  // largest double below 2^63
        {9223372036854775808.0, kInt64Min, 0},             // 2^63 itself is out of range
        {-9223372036854775808.0, kInt64Min, 0},            // -2^63 is in range
        {1e30, kInt64Min, 0},
        {-1e30, kInt64Min, 0},
        {kInf, kInt64Min, 0},
        {-kInf, kInt64Min, 0},
        {nan, kInt64Min, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(truncToInt64(c.value), c.wide) << c.value;
        EXPECT_EQ(truncToInt32(c.value), c.narrow) << c.value;
    }
}

TEST(RealArithmetic, RemainderIntegerPartAndPower) {
    EXPECT_EQ(realRemainder(-1, 8), -1);
    EXPECT_EQ(realRemainder(-9, 8), -1);
    EXPECT_EQ(realRemainder(9, 8), 1);
    EXPECT_EQ(realRemainder(0, 8), 0);
    EXPECT_EQ(realRemainder(-17, 2), -1);
    EXPECT_EQ(realRemainder(7.5, 2), 1.5);

    EXPECT_EQ(integerPart(7.0), 7);
    EXPECT_EQ(integerPart(-2.5), -3);
    EXPECT_EQ(integerPart(2.5), 2);
    EXPECT_EQ(integerPart(4294967301.0), 5);
    EXPECT_EQ(integerPart(1e300), 0);

    EXPECT_EQ(power(8, 0), 1);
    EXPECT_EQ(power(2, 10), 1024);
    EXPECT_EQ(power(8, 10), 1073741824);
    EXPECT_EQ(power(8, 341), std::ldexp(1.0, 1023));
    EXPECT_EQ(power(8, 342), kInf);
    EXPECT_EQ(power(2, 1024), kInf);
}

}  // namespace
}  // namespace vantrigo
