// Reads back every value 0 .. 2^31 - 1 from the text of its own base's writer,
// in all four bases, on every core, and prints how long it took.
//
//   roundtrip_all            the whole sweep
//   roundtrip_all --up-to N  values 0 .. N only (a quick check)
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "radix/radix.h"

namespace {

using vantrigo::readBin;
using vantrigo::readDec;
using vantrigo::readHex;
using vantrigo::readOct;

struct Base {
    const char* name;
    std::int32_t (*read)(std::string_view);
    std::string (*write)(std::int32_t);
};

std::string writeOct32(std::int32_t value) {
    return vantrigo::writeOct(value);
}

constexpr std::array<Base, 4> kBases{{
    {"hex", readHex, vantrigo::writeHex},
    {"dec", readDec, vantrigo::writeDec},
    {"oct", readOct, writeOct32},
    {"bin", readBin, vantrigo::writeBin},
}};

constexpr std::int64_t kChunk = 1 << 20;

}  // namespace

int main(int argc, char** argv) {
    std::int64_t last = INT32_MAX;
    if (argc == 3 && std::strcmp(argv[1], "--up-to") == 0) {
        last = std::clamp<std::int64_t>(std::strtoll(argv[2], nullptr, 10), 0, INT32_MAX);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--up-to N]\n", argv[0]);
        return 2;
    }

    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::atomic<std::int64_t> next{0};
    std::atomic<std::int64_t> failures{0};
    std::mutex report;

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (;;) {
                const std::int64_t first = next.fetch_add(kChunk);
                if (first > last) return;
                const std::int64_t end = std::min(first + kChunk - 1, last);
                for (std::int64_t v = first; v <= end; ++v) {
                    const auto value = static_cast<std::int32_t>(v);
                    for (const Base& base : kBases) {
                        if (base.read(base.write(value)) == value) continue;
                        if (failures.fetch_add(1) < 10) {
                            std::lock_guard lock(report);
                            std::fprintf(stderr, "%s: %d reads back as %d\n", base.name, value,
                                         base.read(base.write(value)));
                        }
                    }
                }
            }
        });
    }
    for (auto& worker : workers) worker.join();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;

    const double values = static_cast<double>(last + 1);
    std::printf("roundtrip_all: %.0f values x 4 bases on %u threads in %.1f s (%.1f M values/s)\n",
                values, threads, seconds.count(), values / seconds.count() / 1e6);
    if (failures != 0) {
        std::printf("roundtrip_all: %lld failures\n", static_cast<long long>(failures.load()));
        return 1;
    }
    std::printf("roundtrip_all: every value reads back\n");
    return 0;
}
