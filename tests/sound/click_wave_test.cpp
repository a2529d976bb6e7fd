// The embedded click: its file layout, and that it sounds like a click that
// can overlap itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>

#include "app/click_wave.h"
#include "app/sound_mixer.h"
#include "app/wave_file.h"
#include "sound_test_support.h"

namespace vantrigo::testing {
namespace {

struct HeaderField {
    std::size_t offset;
    std::size_t size;
    std::uint32_t value;  // for tags: the four characters, first in the low byte
};

constexpr std::uint32_t tagValue(const char (&tag)[5]) {
    return static_cast<std::uint32_t>(tag[0]) | static_cast<std::uint32_t>(tag[1]) << 8 |
           static_cast<std::uint32_t>(tag[2]) << 16 | static_cast<std::uint32_t>(tag[3]) << 24;
}

TEST(ClickWave, HeaderHasTheFixedLayout) {
    const HeaderField fields[] = {
        {0, 4, tagValue("RIFF")},
        {4, 4, 17124},
        {8, 4, tagValue("WAVE")},
        {12, 4, tagValue("fmt ")},
        {16, 4, 16},
        {20, 2, 1},
        {22, 2, 1},
        {24, 4, 22050},
        {28, 4, 44100},
        {32, 2, 2},
        {34, 2, 16},
        {36, 4, tagValue("data")},
        {40, 4, 17088},
    };
    const auto wave = clickSoundWave();
    ASSERT_EQ(wave.size(), 17132U);
    for (const HeaderField& field : fields) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < field.size; ++i) {
            value |= static_cast<std::uint32_t>(wave[field.offset + i]) << (8 * i);
        }
        EXPECT_EQ(value, field.value) << "at offset " << field.offset;
    }
}

TEST(ClickWave, WalksToAPlayableClipOfAllItsSamples) {
    const auto wave = clickSoundWave();
    const auto clip = parseWave(wave);
    ASSERT_TRUE(clip);
    EXPECT_TRUE(isPlayableFormat(clip->format));
    EXPECT_EQ(clip->samples.data(), wave.data() + 44);
    EXPECT_EQ(clip->samples.size(), 17088U);
    EXPECT_EQ(clickFrames().size(), 8544U);  // mono 16-bit at the mixer's rate: no conversion
}

double rms(std::span<const std::int16_t> samples) {
    double sum = 0;
    for (const std::int16_t sample : samples) sum += static_cast<double>(sample) * sample;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

TEST(ClickWave, IsASharpClickThatDiesAway) {
    const MixSamples click = clickFrames();
    ASSERT_EQ(click.size(), 8544U);
    const std::span<const std::int16_t> all(click);
    constexpr std::size_t kTenMs = 221;

    // Starts and ends on silence: no step at either end.
    EXPECT_EQ(click.front(), 0);
    EXPECT_EQ(click.back(), 0);
    // Loudest in its first 20 ms, then falls by far more than 40 dB.
    const auto loudest = std::max_element(click.begin(), click.end(),
                                          [](auto a, auto b) { return std::abs(a) < std::abs(b); });
    EXPECT_LT(loudest - click.begin(), static_cast<std::ptrdiff_t>(2 * kTenMs));
    EXPECT_GT(rms(all.first(2 * kTenMs)), 100 * rms(all.last(10 * kTenMs)));
    // Sounds past 100 ms still (a tail, not a cut-off burst).
    EXPECT_GT(rms(all.subspan(10 * kTenMs, 10 * kTenMs)), 0.0);
    // No offset from zero worth speaking of.
    const double mean = std::accumulate(click.begin(), click.end(), 0.0) / click.size();
    EXPECT_LT(std::abs(mean), 16.0);
}

TEST(ClickWave, ThreeOverlappingClicksStayClearOfClipping) {
    const MixSamples click = clickFrames();
    int peak = 0;
    for (const std::int16_t sample : click) peak = std::max(peak, std::abs(int{sample}));
    EXPECT_GT(peak, 32767 / 8);  // audible
    EXPECT_LE(3 * peak, 32767);
}

}  // namespace
}  // namespace vantrigo::testing
