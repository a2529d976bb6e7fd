// Slicing, joining and comparing with any positions and counts, against the
// byte rules written out on std::string: no position or count, however far out
// of range or negative, reads outside the text or gives another result.
#include <algorithm>
#include <string>

#include "fuzz_support.h"
#include "literal_steps.h"
#include "primitives/primitives.h"
#include "radix/radix.h"

namespace {

using namespace vantrigo;

std::string expectedLeft(std::string_view text, std::int64_t count) {
    if (count <= 0) return {};
    return std::string(text.substr(0, static_cast<std::size_t>(count)));
}

std::string expectedRight(std::string_view text, std::int64_t count) {
    if (count <= 0) return {};
    const std::size_t take = std::min<std::size_t>(text.size(), static_cast<std::size_t>(count));
    return std::string(text.substr(text.size() - take));
}

std::string expectedMid(std::string_view text, std::int64_t position, std::int64_t count) {
    const auto length = static_cast<std::int64_t>(text.size());
    if (position < 1 || position > length || count <= 0) return {};
    const std::int64_t last = std::min(position + count - 1, length);
    return std::string(text.substr(static_cast<std::size_t>(position - 1),
                                   static_cast<std::size_t>(last - position + 1)));
}

std::int32_t sign(int value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader reader(data, size);
    const auto position = reader.integer<std::int32_t>();
    const auto count = reader.integer<std::int32_t>();
    const std::string_view first = reader.text();
    const std::string_view second = reader.rest();
    const std::string_view a = asText(first);
    const std::string_view b = asText(second);

    FUZZ_CHECK(textLength(first) == static_cast<std::int32_t>(a.size()));
    FUZZ_CHECK(leftText(first, count) == expectedLeft(a, count));
    FUZZ_CHECK(rightText(first, count) == expectedRight(a, count));
    FUZZ_CHECK(midText(first, position, count) == expectedMid(a, position, count));
    // Positions inside the text, where a small fuzzer input rarely lands.
    if (!a.empty()) {
        const std::int32_t inside =
            1 + static_cast<std::int32_t>(static_cast<std::uint32_t>(position) % a.size());
        FUZZ_CHECK(midText(first, inside, count) == expectedMid(a, inside, count));
        FUZZ_CHECK(midText(first, inside, 1) == std::string(1, a[inside - 1]));
    }

    FUZZ_CHECK(joinText(first, second) == std::string(a) + std::string(b));
    FUZZ_CHECK(compareText(first, second) == sign(a.compare(b)));
    FUZZ_CHECK(compareText(second, first) == -compareText(first, second));
    FUZZ_CHECK(compareText(first, a) == 0);

    FUZZ_CHECK(charCode(first) == (a.empty() ? 0 : static_cast<signed char>(a.front())));
    const std::string single = charFromCode(count);
    FUZZ_CHECK(single.size() == ((count & 0xFF) == 0 ? 0u : 1u));
    if (!single.empty()) FUZZ_CHECK((charCode(single) & 0xFF) == (count & 0xFF));

    FUZZ_CHECK(stripLeadingZeros(first) == literal::stripLeadingZeros(first));
    return 0;
}
