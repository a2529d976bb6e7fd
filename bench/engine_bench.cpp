// The radix engine's readers and writers beside the standard library's
// conversion of the same base on the same values, and the controller's two
// busiest operations through MemoryConverterView.
//
// Like for like: a reader takes a std::string_view and gives an int32, as
// std::from_chars does on the same bytes; a writer returns a new std::string,
// so the standard side is std::to_chars into a buffer and a std::string made
// from it.
//
//   engine_bench [google benchmark flags] [--table FILE]
//
// After the usual report it prints a table of the ratios (engine / standard
// library, from the median CPU time of the repetitions); --table FILE writes
// the same rows to FILE for scripts/bench.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "converter/conversion_modes.h"
#include "converter/input_guards.h"
#include "converter/memory_converter_view.h"
#include "radix/radix.h"

namespace {

using vantrigo::ConversionMode;

std::string writeOct32(std::int32_t value) {
    return vantrigo::writeOct(value);
}

struct BaseCase {
    std::string_view name;
    int radix;
    std::int32_t (*read)(std::string_view);
    std::string (*write)(std::int32_t);
};

constexpr std::array<BaseCase, 4> kBases{{
    {"hex", 16, vantrigo::readHex, vantrigo::writeHex},
    {"dec", 10, vantrigo::readDec, vantrigo::writeDec},
    {"oct", 8, vantrigo::readOct, writeOct32},
    {"bin", 2, vantrigo::readBin, vantrigo::writeBin},
}};

// The spread: for every bit length 1 .. 31, the same number of values with
// their top bit at that length and random bits below it, so short and long
// texts weigh alike. Fixed seed: every run converts the same values.
constexpr int kValuesPerLength = 32;

const std::vector<std::int32_t>& spread() {
    static const std::vector<std::int32_t> values = [] {
        std::mt19937 rng(20130623);
        std::vector<std::int32_t> out;
        for (int length = 1; length <= 31; ++length) {
            const std::uint32_t top = std::uint32_t{1} << (length - 1);
            for (int i = 0; i < kValuesPerLength; ++i) {
                out.push_back(static_cast<std::int32_t>(top | (rng() & (top - 1))));
            }
        }
        std::shuffle(out.begin(), out.end(), rng);
        return out;
    }();
    return values;
}

// The texts the readers read: the engine writer's text of each value, which
// std::from_chars reads as well (upper-case hexadecimal included).
std::vector<std::string> spreadTexts(const BaseCase& base) {
    std::vector<std::string> texts;
    for (std::int32_t value : spread()) texts.push_back(base.write(value));
    return texts;
}

std::int32_t standardRead(std::string_view text, int radix) {
    std::int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, radix);
    return value;
}

std::string standardWrite(std::int32_t value, int radix) {
    char buffer[40];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value, radix);
    return std::string(buffer, result.ptr);
}

void countItems(benchmark::State& state, std::size_t perIteration) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(perIteration));
    state.counters["per_iteration"] = static_cast<double>(perIteration);
}

void readEngine(benchmark::State& state, const BaseCase& base) {
    const std::vector<std::string> texts = spreadTexts(base);
    for (auto _ : state) {
        for (const std::string& text : texts) benchmark::DoNotOptimize(base.read(text));
    }
    countItems(state, texts.size());
}

void readStandard(benchmark::State& state, const BaseCase& base) {
    const std::vector<std::string> texts = spreadTexts(base);
    for (auto _ : state) {
        for (const std::string& text : texts) {
            benchmark::DoNotOptimize(standardRead(text, base.radix));
        }
    }
    countItems(state, texts.size());
}

void writeEngine(benchmark::State& state, const BaseCase& base) {
    const std::vector<std::int32_t>& values = spread();
    for (auto _ : state) {
        for (std::int32_t value : values) {
            std::string text = base.write(value);
            benchmark::DoNotOptimize(text.data());
            benchmark::ClobberMemory();
        }
    }
    countItems(state, values.size());
}

void writeStandard(benchmark::State& state, const BaseCase& base) {
    const std::vector<std::int32_t>& values = spread();
    for (auto _ : state) {
        for (std::int32_t value : values) {
            std::string text = standardWrite(value, base.radix);
            benchmark::DoNotOptimize(text.data());
            benchmark::ClobberMemory();
        }
    }
    countItems(state, values.size());
}

// The longest input a mode's guard lets stand: 2147483647 in the source base.
std::string_view largestInput(ConversionMode mode) {
    const auto source = vantrigo::modeInfo(mode).source;
    for (const auto& guard : vantrigo::kSourceGuards) {
        if (guard.source == source) return guard.replacement;
    }
    return {};
}

// One change of the input box: the click request, the read, the write and the
// result line, as every keystroke runs them.
void inputChanged(benchmark::State& state, ConversionMode mode) {
    vantrigo::MemoryConverterView view(mode);
    view.setInputText(largestInput(mode));
    for (auto _ : state) {
        view.controller().onInputChanged();
        benchmark::DoNotOptimize(view.result().data());
    }
    countItems(state, 1);
}

// One guard tick on an input that stands: ten of them run every second.
void guardTick(benchmark::State& state, ConversionMode mode) {
    vantrigo::MemoryConverterView view(mode);
    view.setInputText(largestInput(mode));
    for (auto _ : state) {
        view.controller().onGuardTick();
        benchmark::DoNotOptimize(view.lengthLimit());
    }
    countItems(state, 1);
}

// The base of a mode's reader, by the routine itself.
std::string_view readerBase(const vantrigo::ModeInfo& info) {
    for (const BaseCase& base : kBases) {
        if (base.read == info.read) return base.name;
    }
    return "?";
}

// The base of a mode's writer, by the texts it writes: the mode table may
// wrap a writer in a routine of its own (the octal writer takes 64 bits).
std::string_view writerBase(const vantrigo::ModeInfo& info) {
    for (const BaseCase& base : kBases) {
        const auto& values = spread();
        const bool same = std::all_of(values.begin(), values.end(), [&](std::int32_t value) {
            return base.write(value) == info.write(value);
        });
        if (same) return base.name;
    }
    return "?";
}

// "hex_to_dec" and the like.
std::string modeName(const vantrigo::ModeInfo& info) {
    return std::string(readerBase(info)) + "_to_" + std::string(writerBase(info));
}

// The first mode of each source base stands for its base on a tick: the tick
// looks at the source base only.
std::vector<const vantrigo::ModeInfo*> firstModeOfEachSource() {
    std::vector<const vantrigo::ModeInfo*> modes;
    for (const auto& info : vantrigo::kConversionModes) {
        const bool seen = std::any_of(modes.begin(), modes.end(), [&](const auto* mode) {
            return mode->source == info.source;
        });
        if (!seen) modes.push_back(&info);
    }
    return modes;
}

void registerAll() {
    for (const BaseCase& base : kBases) {
        const std::string name(base.name);
        benchmark::RegisterBenchmark(("read/" + name + "/engine").c_str(), readEngine, base);
        benchmark::RegisterBenchmark(("read/" + name + "/std").c_str(), readStandard, base);
        benchmark::RegisterBenchmark(("write/" + name + "/engine").c_str(), writeEngine, base);
        benchmark::RegisterBenchmark(("write/" + name + "/std").c_str(), writeStandard, base);
    }
    for (const auto& info : vantrigo::kConversionModes) {
        benchmark::RegisterBenchmark(("onInputChanged/" + modeName(info)).c_str(), inputChanged,
                                     info.mode);
    }
    for (const auto* info : firstModeOfEachSource()) {
        const std::string source(readerBase(*info));
        benchmark::RegisterBenchmark(("onGuardTick/" + source).c_str(), guardTick, info->mode);
    }
}

// Keeps every repetition's CPU time per item while the console reporter
// prints as usual.
class CollectingReporter final : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: files and pipes get plain text.
    CollectingReporter()
        : ConsoleReporter(isatty(fileno(stdout)) != 0 ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const auto perIteration = run.counters.find("per_iteration");
            if (perIteration == run.counters.end() || run.iterations == 0) continue;
            const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            nanoseconds_[run.run_name.function_name].push_back(seconds * 1e9 /
                                                               perIteration->second.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The median of the repetitions, or a negative value when it did not run.
    double median(const std::string& name) const {
        const auto found = nanoseconds_.find(name);
        if (found == nanoseconds_.end() || found->second.empty()) return -1;
        std::vector<double> times = found->second;
        std::sort(times.begin(), times.end());
        const std::size_t mid = times.size() / 2;
        return times.size() % 2 == 1 ? times[mid] : (times[mid - 1] + times[mid]) / 2;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : nanoseconds_) out.push_back(entry.first);
        return out;
    }

private:
    std::map<std::string, std::vector<double>> nanoseconds_;
};

constexpr double kRatioGoal = 3.0;

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string verdict(bool met) {
    return met ? "yes" : "**no**";
}

// Markdown rows: Figure | Vantrigo | Baseline | Ratio | Goal | Met.
std::vector<std::string> tableRows(const CollectingReporter& results) {
    std::vector<std::string> rows;
    struct Direction {
        const char* kind;
        const char* engineSide;
        const char* standardSide;
    };
    const Direction directions[] = {
        {"read", "string_view -> int32", "std::from_chars(int32)"},
        {"write", "int32 -> std::string", "std::to_chars + std::string"},
    };
    for (const Direction& direction : directions) {
        for (const BaseCase& base : kBases) {
            const std::string stem = std::string(direction.kind) + "/" + std::string(base.name);
            const double engine = results.median(stem + "/engine");
            const double standard = results.median(stem + "/std");
            if (engine < 0 || standard < 0) continue;
            const double ratio = engine / standard;
            const std::string routine =
                std::string(direction.kind) +
                static_cast<char>(std::toupper(static_cast<unsigned char>(base.name[0]))) +
                std::string(base.name.substr(1));
            rows.push_back("| `" + routine + "` (" + direction.engineSide + "), ns per value | " +
                           formatted("%.1f", engine) + " | " + direction.standardSide + ", base " +
                           std::to_string(base.radix) + ": " + formatted("%.1f", standard) + " | " +
                           formatted("%.2f", ratio) + " | ≤ 3 | " + verdict(ratio <= kRatioGoal) +
                           " |");
        }
    }

    // The controller: the slowest and fastest case of each operation.
    struct Operation {
        const char* prefix;
        const char* label;
    };
    for (const Operation& op : {Operation{"onInputChanged/", "`onInputChanged`, ns (12 modes)"},
                                Operation{"onGuardTick/", "`onGuardTick`, ns (4 source bases)"}}) {
        double slowest = -1, fastest = -1;
        std::string slowestName;
        for (const std::string& name : results.names()) {
            if (name.rfind(op.prefix, 0) != 0) continue;
            const double time = results.median(name);
            if (time > slowest) {
                slowest = time;
                slowestName = name.substr(std::strlen(op.prefix));
            }
            if (fastest < 0 || time < fastest) fastest = time;
        }
        if (slowest < 0) continue;
        rows.push_back(std::string("| ") + op.label + ", fastest – slowest | " +
                       formatted("%.0f", fastest) + " – " + formatted("%.0f", slowest) + " (" +
                       slowestName + ") | – | – | – | – |");
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    // Our own flag, taken out before the library sees the rest.
    std::string tableFile;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--table") == 0 && i + 1 < argc) {
            tableFile = argv[++i];
            continue;
        }
        args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

    registerAll();
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::vector<std::string> rows = tableRows(reporter);
    std::printf("\n| Figure | Vantrigo | Baseline | Ratio | Goal | Met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const std::string& row : rows) std::printf("%s\n", row.c_str());
    if (!tableFile.empty()) {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(tableFile.c_str(), "w"),
                                                            std::fclose);
        if (!out) {
            std::fprintf(stderr, "engine_bench: cannot write %s\n", tableFile.c_str());
            return 1;
        }
        for (const std::string& row : rows) std::fprintf(out.get(), "%s\n", row.c_str());
    }
    return 0;
}
