#include "primitives/primitives.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vantrigo {

namespace {

constexpr unsigned char byteAt(std::string_view text, std::size_t index) {
    return static_cast<unsigned char>(text[index]);
}

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Tab, line feed, vertical tab, form feed, carriage return and space; no other byte.
constexpr bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool hasHighByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

// Runs parse on the folded text; texts without a double-byte character are
// already folded, which spares the copy on every keystroke.
template <typename Parse>
auto parseFolded(std::string_view text, Parse parse) {
    text = asText(text);
    if (!hasHighByte(text)) return parse(text);
    const std::string folded = foldFullWidth(text);
    return parse(std::string_view(folded));
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) ++at;
    return at;
}

struct SignedStart {
    std::size_t at;  // the first byte after the blanks and the sign
    bool negative;
};

// Leading blanks, then one optional '+' or '-'.
SignedStart signedStart(std::string_view text) {
    const std::size_t at = skipBlanks(text, 0);
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) return {at + 1, text[at] == '-'};
    return {at, false};
}

std::size_t skipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) ++at;
    return at;
}

// from_chars reports overflow and underflow alike; tell them apart by the
// decimal exponent of the leading significant digit.
double outOfRangeValue(std::string_view mantissa, std::string_view exponent) {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0.0;
    std::int64_t scale = first < point ? static_cast<std::int64_t>(point - first) - 1
                                       : -static_cast<std::int64_t>(first - point);
    // The exponent saturates far beyond any double's range.
    constexpr std::int64_t kCap = 1'000'000'000;
    std::int64_t power10 = 0;
    bool negative = false;
    for (char c : exponent) {
        if (c == '-') negative = true;
        if (isDigit(c)) power10 = std::min(kCap, power10 * 10 + (c - '0'));
    }
    scale += negative ? -power10 : power10;
    return scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

double parseNumber(std::string_view text) {
    auto [at, negative] = signedStart(text);
    const std::size_t start = at;
    const std::size_t intEnd = skipDigits(text, at);
    std::size_t end = intEnd;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fracEnd = skipDigits(text, end + 1);
        // '.' alone is no number, but '5.' and '.5' are.
        if (intEnd > start || fracEnd > end + 1) end = fracEnd;
    }
    if (end == start) return 0.0;
    const std::size_t mantissaEnd = end;

    // An exponent counts only with at least one digit after its letter and sign.
    bool dExponent = false;
    if (end < text.size() && std::string_view("EeDd").find(text[end]) != std::string_view::npos) {
        std::size_t digits = end + 1;
        if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) ++digits;
        const std::size_t expEnd = skipDigits(text, digits);
        if (expEnd > digits) {
            dExponent = text[end] == 'D' || text[end] == 'd';
            end = expEnd;
        }
    }

    std::string_view number = text.substr(start, end - start);
    std::string spelled;
    if (dExponent) {
        spelled.assign(number);
        spelled[mantissaEnd - start] = 'e';
        number = spelled;
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        value = outOfRangeValue(number.substr(0, mantissaEnd - start),
                                number.substr(mantissaEnd - start));
    }
    return negative ? -value : value;
}

struct ParsedInt {
    std::int32_t value;
    std::size_t end;  // the index of the byte that ended the number
};

ParsedInt parseInt(std::string_view text) {
    auto [at, negative] = signedStart(text);
    std::uint32_t value = 0;  // unsigned, so the wrap modulo 2^32 is defined
    for (; at < text.size() && isDigit(text[at]); ++at) {
        value = value * 10u + static_cast<std::uint32_t>(text[at] - '0');
    }
    if (negative) value = 0u - value;
    return {static_cast<std::int32_t>(value), at};
}

template <typename Int>
std::string integerText(Int value) {
    char digits[24];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), value);
    return std::string(digits, result.ptr);
}

}  // namespace

std::int32_t textLength(std::string_view text) {
    // Texts longer than 2^31 - 1 bytes do not occur: the input box holds far less.
    return static_cast<std::int32_t>(std::min<std::size_t>(
        asText(text).size(), std::numeric_limits<std::int32_t>::max()));
}

std::string leftText(std::string_view text, std::int32_t count) {
    if (count <= 0) return {};
    return std::string(asText(text).substr(0, static_cast<std::size_t>(count)));
}

std::string rightText(std::string_view text, std::int32_t count) {
    if (count <= 0) return {};
    text = asText(text);
    const std::size_t take = std::min(text.size(), static_cast<std::size_t>(count));
    return std::string(text.substr(text.size() - take));
}

std::string midText(std::string_view text, std::int32_t position, std::int32_t count) {
    text = asText(text);
    if (position < 1 || static_cast<std::size_t>(position) > text.size() || count <= 0) return {};
    return std::string(
        text.substr(static_cast<std::size_t>(position) - 1, static_cast<std::size_t>(count)));
}

std::string joinText(std::string_view first, std::string_view second) {
    first = asText(first);
    second = asText(second);
    std::string joined;
    joined.reserve(first.size() + second.size());
    joined.append(first).append(second);
    return joined;
}

std::int32_t compareText(std::string_view a, std::string_view b) {
    a = asText(a);
    b = asText(b);
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (byteAt(a, i) != byteAt(b, i)) return byteAt(a, i) < byteAt(b, i) ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::int32_t charCode(std::string_view text) {
    text = asText(text);
    if (text.empty()) return 0;
    return static_cast<std::int32_t>(static_cast<signed char>(text.front()));
}

std::string charFromCode(std::int32_t code) {
    const auto byte = static_cast<unsigned char>(code & 0xFF);
    if (byte == 0) return {};
    return std::string(1, static_cast<char>(byte));
}

std::string foldFullWidth(std::string_view text) {
    text = asText(text);
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char lead = byteAt(text, i);
        if (lead < 0x80) {
            folded.push_back(static_cast<char>(lead));
            continue;
        }
        if (i + 1 == text.size()) break;  // a lead byte without its partner is dropped
        const unsigned char trail = byteAt(text, ++i);
        char single = 0;
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            single = static_cast<char>(trail - 0x80);  // full-width forms of 0x21 .. 0x7E
        } else if (lead == 0xA1) {
            switch (trail) {
                case 0xA1: single = ' '; break;  // ideographic space
                case 0xAB: single = '~'; break;
                case 0xEE:                       // white star
                case 0xEF: single = '*'; break;  // black star
                default: break;
            }
        }
        if (single != 0) {
            folded.push_back(single);
        } else {
            folded.push_back(static_cast<char>(lead));
            folded.push_back(static_cast<char>(trail));
        }
    }
    return folded;
}

double textToNumber(std::string_view text) { return parseFolded(text, parseNumber); }

std::int32_t textToInt(std::string_view text) {
    // Folding copies every byte before the first one of 0x80 or above, and a
    // zero byte is neither blank, sign nor digit: so when the number ends
    // before any such byte, the text as given reads as the folded text would,
    // without a copy.
    const ParsedInt direct = parseInt(text);
    if (direct.end == text.size() || (text[direct.end] & 0x80) == 0) return direct.value;
    return parseFolded(text, [](std::string_view folded) { return parseInt(folded).value; });
}

std::string intToText(std::int32_t value) { return integerText(value); }

std::string int64ToText(std::int64_t value) { return integerText(value); }

double realRemainder(double dividend, double divisor) { return std::fmod(dividend, divisor); }

std::int32_t integerPart(double value) { return truncToInt32(std::floor(value)); }

double power(double base, double exponent) { return std::pow(base, exponent); }

std::int64_t truncToInt64(double value) {
    constexpr double kTwo63 = 9223372036854775808.0;
    // Written so that NaN fails the test too.
    if (!(value >= -kTwo63 && value < kTwo63)) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::int32_t truncToInt32(double value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncToInt64(value)));
}

bool realGreater(double a, double b) { return a - b > kRealTolerance; }

bool realLess(double a, double b) { return a - b < -kRealTolerance; }

}  // namespace vantrigo
