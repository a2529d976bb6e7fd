// The chunk walk of playWaveBytes, file by file, against a recording output:
// what each file makes the device hear, and that a file with nothing playable
// never opens the device.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/click_sound.h"
#include "app/sound_mixer.h"
#include "app/wave_file.h"
#include "sound_test_support.h"

namespace vantrigo::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putLe(Bytes& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putTag(Bytes& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

struct Format {
    std::uint16_t tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 16;
    std::optional<std::uint16_t> blockAlign = std::nullopt;  // default: as the format implies
    std::optional<std::uint32_t> byteRate = std::nullopt;
};

Bytes formatBody(const Format& format) {
    const auto blockAlign =
        format.blockAlign.value_or(static_cast<std::uint16_t>(format.channels * format.bits / 8));
    Bytes body;
    putLe(body, format.tag, 2);
    putLe(body, format.channels, 2);
    putLe(body, format.rate, 4);
    putLe(body, format.byteRate.value_or(format.rate * blockAlign), 4);
    putLe(body, blockAlign, 2);
    putLe(body, format.bits, 2);
    return body;
}

Bytes pcm16(std::initializer_list<std::int16_t> samples) {
    Bytes bytes;
    for (const std::int16_t sample : samples) {
        putLe(bytes, static_cast<std::uint16_t>(sample), 2);
    }
    return bytes;
}

// A chunk with its header; the stated length defaults to the body's, and an
// odd body is followed by its pad byte unless told otherwise.
Bytes chunk(std::string_view id, const Bytes& body, std::optional<std::uint32_t> length = {},
            bool pad = true) {
    Bytes bytes;
    putTag(bytes, id);
    putLe(bytes, length.value_or(static_cast<std::uint32_t>(body.size())), 4);
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (pad && body.size() % 2 == 1) bytes.push_back(0);
    return bytes;
}

Bytes riff(const std::vector<Bytes>& chunks, std::optional<std::uint32_t> length = {},
           std::string_view riffTag = "RIFF", std::string_view waveTag = "WAVE") {
    Bytes rest;
    putTag(rest, waveTag);
    for (const Bytes& one : chunks) rest.insert(rest.end(), one.begin(), one.end());
    Bytes file;
    putTag(file, riffTag);
    putLe(file, length.value_or(static_cast<std::uint32_t>(rest.size())), 4);
    file.insert(file.end(), rest.begin(), rest.end());
    return file;
}

Bytes prefix(const Bytes& bytes, std::size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + size);
}

struct WalkCase {
    std::string name;
    Bytes file;
    MixSamples heard;  // empty: nothing plays and the device stays closed
};

std::vector<WalkCase> walkCases() {
    const Bytes fmt = chunk("fmt ", formatBody({}));
    const Bytes data = chunk("data", pcm16({1000, -2000, 3000}));
    const MixSamples all = {1000, -2000, 3000};
    auto withFormat = [&](const Format& format, const Bytes& samples) {
        return riff({chunk("fmt ", formatBody(format)), chunk("data", samples)});
    };
    Bytes longFormat = formatBody({});
    longFormat.insert(longFormat.end(), {0, 0});  // a cbSize field

    return {
        // Well formed.
        {"Minimal", riff({fmt, data}), all},
        {"DataBeforeFormat", riff({data, fmt}), all},
        {"OtherChunksAreSkipped",
         riff({chunk("LIST", Bytes(10, 'x')), fmt, chunk("fact", {3, 0, 0, 0}), data}), all},
        {"OddChunkIsFollowedByItsPadByte", riff({chunk("junk", {1, 2, 3}), fmt, data}), all},
        {"FormatLongerThanSixteenBytes", riff({chunk("fmt ", longFormat), data}), all},
        {"FirstFormatCounts", riff({fmt, chunk("fmt ", formatBody({.tag = 3})), data}), all},
        {"FirstDataCounts", riff({fmt, data, chunk("data", pcm16({7}))}), all},
        {"OddDataLengthDropsThePartialFrame",
         riff({fmt, chunk("data", {0x10, 0x00, 0x20, 0x00, 0x30})}),
         {16, 32}},

        // Too short, wrong tags, missing or empty chunks.
        {"Empty", {}, {}},
        {"ShorterThan36Bytes", prefix(riff({fmt, data}), 35), {}},
        {"Exactly36BytesWithoutData", prefix(riff({fmt, data}), 36), {}},
        {"WrongRiffTag", riff({fmt, data}, {}, "RIFX"), {}},
        {"WrongWaveTag", riff({fmt, data}, {}, "RIFF", "AVI "), {}},
        {"NoFormat", riff({chunk("LIST", Bytes(20, 'x')), data}), {}},
        {"FormatShorterThanSixteenBytes",
         riff({chunk("fmt ", prefix(formatBody({}), 14)), data}),
         {}},
        {"NoData", riff({fmt, chunk("LIST", Bytes(8, 'x'))}), {}},
        {"EmptyData", riff({fmt, chunk("data", {})}), {}},
        {"DataShorterThanAFrame", riff({fmt, chunk("data", {0x7F})}), {}},
        {"OddChunkWithoutPadByteDerailsTheWalk",
         riff({chunk("junk", {1, 2, 3}, {}, false), fmt, data}),
         {}},

        // Lengths that disagree with the bytes given.
        {"RiffLengthPastTheEnd", riff({fmt, data}, 0xFFFFFFFFU), all},
        {"RiffLengthEndsBeforeData", riff({fmt, data}, 28), {}},
        {"RiffLengthCutsData", riff({fmt, data}, 40), {1000, -2000}},
        {"RiffLengthEndsBeforeTheFirstChunk", riff({fmt, data}, 2), {}},
        {"DataLengthPastTheEnd", riff({fmt, chunk("data", pcm16({1, 2, 3}), 1000)}), {1, 2, 3}},
        {"DataLengthAtItsLargest",
         riff({fmt, chunk("data", pcm16({1, 2, 3}), 0xFFFFFFFFU)}),
         {1, 2, 3}},
        {"ChunkLengthPastTheEndHidesWhatFollows",
         riff({fmt, chunk("LIST", {}, 0xFFFFFFF0U), data}),
         {}},
        {"FormatCutByTheEnd", riff({data, chunk("fmt ", prefix(formatBody({}), 10), 16)}), {}},

        // Formats.
        {"CompressedFormat", withFormat({.tag = 2}, pcm16({1, 2})), {}},
        {"FloatFormat", withFormat({.tag = 3, .bits = 32}, Bytes(8, 0)), {}},
        {"TwelveBits", withFormat({.bits = 12}, pcm16({1, 2})), {}},
        {"NoChannels", withFormat({.channels = 0}, pcm16({1, 2})), {}},
        {"NineChannels", withFormat({.channels = 9}, Bytes(18, 0)), {}},
        {"RateTooLow", withFormat({.rate = 4000}, pcm16({1, 2})), {}},
        {"RateTooHigh", withFormat({.rate = 384000}, pcm16({1, 2})), {}},
        {"BlockAlignDisagrees", withFormat({.blockAlign = 4}, pcm16({1, 2})), {}},
        {"ByteRateDisagrees", withFormat({.byteRate = 1}, pcm16({1, 2})), {}},
        {"EightBitsAreUnsigned",
         withFormat({.bits = 8}, {128, 129, 127, 0, 255}),
         {0, 256, -256, -32768, 32512}},
        {"StereoIsAveraged",
         withFormat({.channels = 2}, pcm16({100, 300, -100, -301})),
         {200, -200}},
        {"TwentyFourBitsKeepTheirTop",
         withFormat({.bits = 24}, {0x00, 0x34, 0x12, 0xFF, 0xFF, 0xFF}),
         {0x1234, -1}},
        {"ThirtyTwoBitsKeepTheirTop",
         withFormat({.bits = 32}, {0x00, 0x00, 0x34, 0x12, 0xFF, 0xFF, 0x00, 0x80}),
         {0x1234, -32768}},
        {"DoubleRateIsHalved",
         withFormat({.rate = 44100}, pcm16({0, 10, 20, 30, 40})),
         {0, 20, 40}},
        {"HalfRateIsInterpolated",
         withFormat({.rate = 11025}, pcm16({0, 100, -100})),
         {0, 50, 100, 0, -100}},
    };
}

// The bytes in a heap block of exactly their size, so that the sanitizers
// catch any read beyond them.
struct ExactBytes {
    explicit ExactBytes(const Bytes& bytes)
        : size(bytes.size()), block(std::make_unique<std::uint8_t[]>(bytes.size())) {
        if (size > 0) std::memcpy(block.get(), bytes.data(), size);
    }
    std::span<const std::uint8_t> span() const { return {block.get(), size}; }

    std::size_t size;
    std::unique_ptr<std::uint8_t[]> block;
};

void PrintTo(const WalkCase& walk, std::ostream* out) {
    *out << walk.name;
}

class ChunkWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(ChunkWalk, DeviceHearsWhatTheFileHolds) {
    const WalkCase& walk = GetParam();
    const ExactBytes file(walk.file);
    auto log = std::make_shared<DeviceLog>();
    {
        SoundMixer mixer(std::make_unique<RecordingDevice>(log));
        playWaveBytes(mixer, file.span());
        ASSERT_TRUE(mixer.waitUntilIdle(kPatience));
    }
    EXPECT_EQ(log->everything(), walk.heard);
    EXPECT_EQ(log->opens, walk.heard.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Files, ChunkWalk, ::testing::ValuesIn(walkCases()),
                         [](const auto& info) { return info.param.name; });

TEST(ChunkWalkBounds, SamplesPointIntoTheGivenBytes) {
    const Bytes bytes = riff({chunk("fmt ", formatBody({})), chunk("data", pcm16({5, 6}))});
    const auto clip = parseWave(bytes);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->samples.data(), bytes.data() + 44);
    EXPECT_EQ(clip->samples.size(), 4U);
}

// Every prefix of a file, and every prefix again with each length field made
// huge: the walk stays inside the bytes (the sanitizers watch the reads) and a
// clip it finds lies within them.
TEST(ChunkWalkBounds, NoPrefixOrLengthLeadsOutsideTheBytes) {
    const Bytes whole = riff({chunk("LIST", {1, 2, 3}), chunk("fmt ", formatBody({})),
                              chunk("data", pcm16({1, 2, 3, 4}))});
    const std::vector<std::size_t> lengthFields = {4, 16, 28, 52};
    for (std::size_t variant = 0; variant <= lengthFields.size(); ++variant) {
        Bytes file = whole;
        if (variant < lengthFields.size()) {
            std::memset(file.data() + lengthFields[variant], 0xFF, 4);
        }
        for (std::size_t size = 0; size <= file.size(); ++size) {
            const ExactBytes bytes(prefix(file, size));
            const auto clip = parseWave(bytes.span());
            if (!clip) continue;
            const auto* begin = bytes.span().data();
            EXPECT_GE(clip->samples.data(), begin) << variant << " " << size;
            EXPECT_LE(clip->samples.data() + clip->samples.size(), begin + size)
                << variant << " " << size;
        }
    }
}

}  // namespace
}  // namespace vantrigo::testing
