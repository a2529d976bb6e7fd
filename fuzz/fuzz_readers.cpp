// The four readers and the guards' value tests on any text, as pasted text
// reaches them: the readers' shortcuts agree with the steps they stand for
// (the "0x" join of the hexadecimal reader, the positional sums on doubles of
// the octal and binary readers), and the value tests find exactly the inputs
// above 2147483647.
#include <cstdlib>
#include <string>

#include "converter/conversion_modes.h"
#include "converter/input_guards.h"
#include "fuzz_support.h"
#include "literal_steps.h"
#include "primitives/primitives.h"
#include "radix/hex_routines.h"
#include "radix/radix.h"

namespace {

using namespace vantrigo;

bool allOf(std::string_view text, std::string_view allowed) {
    return text.find_first_not_of(allowed) == std::string_view::npos;
}

const SourceGuard& guardOf(SourceBase source) {
    for (const SourceGuard& guard : kSourceGuards) {
        if (guard.source == source) return guard;
    }
    std::abort();
}

constexpr std::string_view kHexDigits = "0123456789abcdefABCDEF";
constexpr std::int64_t kLargest = 2147483647;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view text = asText(bytes);

    const std::int32_t hex = readHex(bytes);
    FUZZ_CHECK(hex == literal::readHex(bytes));
    FUZZ_CHECK(readDec(bytes) == literal::textToInt(bytes));
    const std::int32_t oct = readOct(bytes);
    FUZZ_CHECK(oct == literal::readOct(bytes));
    FUZZ_CHECK(readBin(bytes) == literal::readBin(bytes));

    // One to eight hexadecimal digits, bare or after "0x": their 32-bit pattern.
    const std::string_view digits = text.starts_with("0x") ? text.substr(2) : text;
    if (!digits.empty() && digits.size() <= 8 && allOf(digits, kHexDigits)) {
        const auto pattern =
            static_cast<std::uint32_t>(std::strtoul(std::string(digits).c_str(), nullptr, 16));
        FUZZ_CHECK(hex == static_cast<std::int32_t>(pattern));
    }

    // The value tests: above the largest value, and nothing else.
    FUZZ_CHECK(exceedsLargestValue(guardOf(SourceBase::Hex), bytes) == (hex < 0));
    FUZZ_CHECK(!exceedsLargestValue(guardOf(SourceBase::Bin), bytes));
    const bool decExceeds = exceedsLargestValue(guardOf(SourceBase::Dec), bytes);
    const bool octExceeds = exceedsLargestValue(guardOf(SourceBase::Oct), bytes);
    if (!text.empty() && text.size() <= 15 && allOf(text, "0123456789")) {
        FUZZ_CHECK(decExceeds == (std::strtoll(std::string(text).c_str(), nullptr, 10) > kLargest));
    }
    if (!text.empty() && text.size() <= 15 && allOf(text, "01234567")) {
        FUZZ_CHECK(octExceeds == (std::strtoll(std::string(text).c_str(), nullptr, 8) > kLargest));
        // An octal input the test lets stand reads without wrapping.
        if (!octExceeds) FUZZ_CHECK(oct >= 0);
    }

    // Every conversion takes the text.
    for (const ModeInfo& mode : kConversionModes) {
        const std::string result = mode.write(mode.read(bytes));
        FUZZ_CHECK(result.find('\0') == std::string::npos);
    }
    return 0;
}
