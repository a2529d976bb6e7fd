// The text-to-number conversions and full-width folding on any bytes: the
// shortcuts the primitives take (no fold when there is no byte of 0x80 or
// above, the direct integer parse) agree with the plain rules, and the
// decimal reading agrees with the C library's strtod.
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "literal_steps.h"
#include "primitives/primitives.h"

namespace {

using namespace vantrigo;

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(const std::string& text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) ++at;
    return at;
}

// textToNumber on the folded text: the longest number prefix, read by strtod
// with the exponent letters D and d spelled as e.
double strtodReading(const std::string& folded) {
    std::size_t at = 0;
    while (at < folded.size() && isBlank(folded[at])) ++at;
    const std::size_t start = at;
    if (at < folded.size() && (folded[at] == '+' || folded[at] == '-')) ++at;
    const std::size_t digits = at;
    const std::size_t intEnd = skipDigits(folded, at);
    std::size_t end = intEnd;
    if (end < folded.size() && folded[end] == '.') {
        const std::size_t fracEnd = skipDigits(folded, end + 1);
        if (intEnd > digits || fracEnd > end + 1) end = fracEnd;
    }
    if (end == digits) return 0.0;
    std::string number = folded.substr(start, end - start);
    if (end < folded.size() && std::string_view("EeDd").find(folded[end]) != std::string::npos) {
        std::size_t expDigits = end + 1;
        if (expDigits < folded.size() && (folded[expDigits] == '+' || folded[expDigits] == '-')) {
            ++expDigits;
        }
        const std::size_t expEnd = skipDigits(folded, expDigits);
        if (expEnd > expDigits) number += 'e' + folded.substr(end + 1, expEnd - end - 1);
    }
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view text = asText(bytes);

    const std::string folded = foldFullWidth(bytes);
    FUZZ_CHECK(folded.size() <= text.size());
    FUZZ_CHECK(folded.find('\0') == std::string::npos);
    FUZZ_CHECK(foldFullWidth(folded) == folded);

    const std::int32_t integer = textToInt(bytes);
    FUZZ_CHECK(integer == literal::textToInt(bytes));
    FUZZ_CHECK(integer == textToInt(folded));

    const double real = textToNumber(bytes);
    FUZZ_CHECK(!std::isnan(real));
    FUZZ_CHECK(real == textToNumber(folded) &&
               std::signbit(real) == std::signbit(textToNumber(folded)));
    // How a reading below the smallest normal double rounds is free; every
    // other reading is the correctly rounded one.
    const double expected = strtodReading(folded);
    if (std::fabs(expected) < DBL_MIN) {
        FUZZ_CHECK(std::fabs(real) < DBL_MIN);
    } else {
        FUZZ_CHECK(real == expected);
    }

    // Integers written and read back.
    fuzz::ByteReader reader(data, size);
    const auto value = reader.integer<std::int32_t>();
    FUZZ_CHECK(textToInt(intToText(value)) == value);
    FUZZ_CHECK(textToNumber(intToText(value)) == static_cast<double>(value));
    const auto wide = static_cast<std::int64_t>(value) * 1000003;
    FUZZ_CHECK(textToNumber(int64ToText(wide)) == static_cast<double>(wide));
    return 0;
}
