// The four writers on any value: the octal and binary writers' digit shortcuts
// agree with their division loops on doubles, the hexadecimal and decimal ones
// with printf, and every writer's text reads back as its value.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "literal_steps.h"
#include "primitives/primitives.h"
#include "radix/radix.h"

namespace {

using namespace vantrigo;

std::string printed(const char* format, auto value) {
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    return std::string(buffer, static_cast<std::size_t>(length));
}

// Doubles hold every integer below this exactly.
constexpr std::int64_t kExact = std::int64_t{1} << 53;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader reader(data, size);
    const auto wide = reader.integer<std::int64_t>();
    const auto value = static_cast<std::int32_t>(wide);

    const std::string hex = writeHex(value);
    FUZZ_CHECK(hex == printed("%X", static_cast<unsigned>(value)));
    FUZZ_CHECK(readHex(hex) == value);

    const std::string dec = writeDec(value);
    FUZZ_CHECK(dec == printed("%d", value));
    FUZZ_CHECK(readDec(dec) == value);

    // The controller widens every value it writes in octal.
    const std::string oct = writeOct(value);
    FUZZ_CHECK(oct == literal::writeOct(value));
    if (wide > -kExact && wide < kExact) FUZZ_CHECK(writeOct(wide) == literal::writeOct(wide));
    (void)writeOct(wide);  // any 64-bit value is taken

    const std::string bin = writeBin(value);
    FUZZ_CHECK(bin == literal::writeBin(value));

    if (value >= 0) {
        FUZZ_CHECK(oct == (value == 0 ? "" : printed("%o", static_cast<unsigned>(value))));
        FUZZ_CHECK(readOct(oct) == value);
        FUZZ_CHECK(readBin(bin) == value);
        FUZZ_CHECK(bin.size() <= 31 && bin.find_first_not_of("01") == std::string::npos);
    } else {
        FUZZ_CHECK(bin.empty());
    }
    return 0;
}
