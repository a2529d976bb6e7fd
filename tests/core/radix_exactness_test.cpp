// The engine's integer paths against the readers and writers spelled out on
// doubles, over random and adversarial input, and the read-back property.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "literal_steps.h"
#include "radix/radix.h"

namespace vantrigo {
namespace {

constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

// Bytes a paste can bring: digits above the base, letters, signs, blanks,
// high bytes of GBK pairs and full-width forms.
std::string randomText(std::mt19937_64& rng, std::size_t length) {
    static constexpr std::string_view kAlphabet =
        "0123456789012345670101010189aAfFgxX+-. \t\xA3\xB1\xB0\xA1\x80\xFF";
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string text(length, '0');
    for (char& c : text) c = kAlphabet[pick(rng)];
    return text;
}

TEST(ReadersMatchTheStepsOnDoubles, RandomAndLongTexts) {
    std::mt19937_64 rng(20130623);
    std::vector<std::string> texts;
    for (int i = 0; i < 20000; ++i) texts.push_back(randomText(rng, rng() % 40));
    for (std::size_t length : {17u, 18u, 22u, 25u, 50u, 51u, 54u, 64u, 342u, 343u, 400u, 1025u,
                               1100u}) {
        for (int i = 0; i < 20; ++i) texts.push_back(randomText(rng, length));
        texts.push_back(std::string(length, '9'));
        texts.push_back(std::string(length, '7'));
        texts.push_back(std::string(length, '1'));
        texts.push_back("1" + std::string(length - 1, '0'));
    }
    for (const auto& text : texts) {
        ASSERT_EQ(readOct(text), literal::readOct(text)) << '"' << text << '"';
        ASSERT_EQ(readBin(text), literal::readBin(text)) << '"' << text << '"';
    }
}

TEST(WritersMatchTheStepsOnDoubles, RandomAndEdgeValues) {
    std::mt19937_64 rng(19);
    std::vector<std::int64_t> values;
    for (int i = 0; i < 100000; ++i) {
        const auto raw = static_cast<std::int64_t>(rng());
        values.push_back(raw >> (rng() % 64));  // every magnitude, both signs
    }
    constexpr std::int64_t kTwo53 = std::int64_t{1} << 53;
    for (std::int64_t edge : {kTwo53 - 1, kTwo53, kTwo53 + 1, kTwo53 + 7, kTwo53 + 9}) {
        values.push_back(edge);
        values.push_back(-edge);
    }
    values.push_back(std::numeric_limits<std::int64_t>::max());
    values.push_back(std::numeric_limits<std::int64_t>::min());
    values.push_back(std::numeric_limits<std::int64_t>::min() + 1);
    for (std::int64_t v = -70; v <= 70; ++v) values.push_back(v);

    for (std::int64_t value : values) {
        ASSERT_EQ(writeOct(value), literal::writeOct(value)) << value;
        const auto narrow = static_cast<std::int32_t>(value);
        ASSERT_EQ(writeBin(narrow), literal::writeBin(narrow)) << narrow;
    }
}

// Texts with zero bytes inside, prefixes of both cases, blanks, signs, and
// full-width digits and lone lead bytes of GBK pairs, for the hexadecimal and
// decimal readers' shortcuts past the zero byte and the folding.
std::string randomBytes(std::mt19937_64& rng, std::size_t length) {
    using namespace std::string_view_literals;
    static constexpr std::array kPieces = {
        "\0"sv,       "0x"sv,   "0X"sv,       "0"sv,        "7"sv,        "9"sv,
        "F"sv,        "f"sv,    "g"sv,        "x"sv,        " "sv,        "\t"sv,
        "+"sv,        "-"sv,    "\xA3\xB1"sv, "\xA3\xB9"sv, "\xA3\xAD"sv, "\xA1\xA1"sv,
        "\xB0\xA1"sv, "\xA3"sv, "\x80"sv,     "\xFF"sv};
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    std::string text;
    while (text.size() < length) text += kPieces[pick(rng)];
    return text;
}

TEST(HexAndDecimalReadersMatchTheirSteps, AnyBytes) {
    std::mt19937_64 rng(623);
    std::vector<std::string> texts;
    for (int i = 0; i < 200000; ++i) texts.push_back(randomBytes(rng, rng() % 16));
    // A zero byte, a full-width digit or a lone lead byte at every place of
    // the longest inputs.
    for (std::string_view base : {"0x7FFFFFFF", "FFFFFFFF", " -2147483648", "+99999999999"}) {
        for (std::string_view insert : {std::string_view("\0", 1), std::string_view("\xA3\xB5"),
                                        std::string_view("\xA3"), std::string_view("\x80")}) {
            for (std::size_t at = 0; at <= base.size(); ++at) {
                std::string text(base);
                text.insert(at, insert);
                texts.push_back(text);
            }
        }
    }
    for (const auto& text : texts) {
        ASSERT_EQ(readHex(text), literal::readHex(text)) << testing::PrintToString(text);
        ASSERT_EQ(readDec(text), literal::textToInt(text)) << testing::PrintToString(text);
    }
}

struct Base {
    const char* name;
    std::int32_t (*read)(std::string_view);
    std::string (*write)(std::int32_t);
};

std::string writeOct32(std::int32_t value) { return writeOct(value); }

constexpr std::array<Base, 4> kBases{{
    {"hex", readHex, writeHex},
    {"dec", readDec, writeDec},
    {"oct", readOct, writeOct32},
    {"bin", readBin, writeBin},
}};

// Every value 0 .. 2^31 - 1 reads back; bench/roundtrip_all sweeps them all.
TEST(ReadBack, FixedSeedSampleInEveryBase) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<std::int32_t> any(0, kMax32);
    std::vector<std::int32_t> values = {0, 1, 7, 8, 15, 16, 255, 256, kMax32 - 1, kMax32};
    for (int shift = 0; shift < 31; ++shift) {
        values.push_back(1 << shift);
        values.push_back((1 << shift) - 1);
    }
    for (int i = 0; i < 300000; ++i) values.push_back(any(rng));
    for (const Base& base : kBases) {
        for (std::int32_t value : values) {
            ASSERT_EQ(base.read(base.write(value)), value) << base.name << ' ' << value;
        }
    }
}

TEST(ReadBack, HexAndDecimalKeepNegativeValues) {
    std::mt19937 rng(7);
    std::vector<std::int32_t> values = {-1, std::numeric_limits<std::int32_t>::min()};
    for (int i = 0; i < 100000; ++i) values.push_back(static_cast<std::int32_t>(rng()));
    for (std::int32_t value : values) {
        ASSERT_EQ(readHex(writeHex(value)), value);
        ASSERT_EQ(readDec(writeDec(value)), value);
    }
}

}  // namespace
}  // namespace vantrigo
