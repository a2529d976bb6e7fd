// Shared by the fuzz targets: typed values read off the fuzzer's bytes, and the
// check that turns a broken property into a crash the fuzzer keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

// Aborts with the failed condition: libFuzzer saves the input as a crash, and
// the corpus replay of the ordinary builds fails.
#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ::vantrigo::fuzz::fail(#condition, __FILE__, __LINE__))

namespace vantrigo::fuzz {

[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    std::abort();
}

// Reads values off the front of the bytes. Past the end every value is 0 and
// every text empty, so any input decodes to something.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size)
        : bytes_(reinterpret_cast<const char*>(data), size) {}

    bool empty() const { return bytes_.empty(); }

    std::uint8_t byte() { return integer<std::uint8_t>(); }

    // sizeof(Int) bytes in the machine's order; missing bytes count as 0.
    template <typename Int>
    Int integer() {
        unsigned char raw[sizeof(Int)] = {};
        const std::size_t taken = bytes_.size() < sizeof(Int) ? bytes_.size() : sizeof(Int);
        if (taken > 0) std::memcpy(raw, bytes_.data(), taken);
        bytes_.remove_prefix(taken);
        Int value;
        std::memcpy(&value, raw, sizeof(Int));
        return value;
    }

    // A text led by its 16-bit length, cut where the bytes end. Zero bytes
    // stay in it: the code under test must stop at them.
    std::string_view text() {
        const std::size_t wanted = integer<std::uint16_t>();
        const std::size_t length = wanted < bytes_.size() ? wanted : bytes_.size();
        const std::string_view taken = bytes_.substr(0, length);
        bytes_.remove_prefix(length);
        return taken;
    }

    std::string_view rest() {
        const std::string_view taken = bytes_;
        bytes_ = {};
        return taken;
    }

private:
    std::string_view bytes_;
};

}  // namespace vantrigo::fuzz
