#include "app/click_wave.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

// The click is computed by the compiler from the generator below and stored in
// the program as a finished file; nothing is computed or loaded at run time.
// The generator uses integer arithmetic only, so every build yields the same
// bytes.
//
// The sound: a short burst of band-passed noise around 3.2 kHz that dies away
// within a few milliseconds, a damped 1.75 kHz tone for body, and a faint
// low-passed noise tail that fades over the rest of the 0.39 seconds. The peak
// is held to about a quarter of full scale so that several clicks overlapping
// in the mixer stay clear of clipping.

namespace vantrigo {
namespace {

constexpr std::uint32_t kSampleRate = 22050;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
constexpr std::size_t kHeaderSize = 44;
constexpr std::size_t kDataSize = kClickWaveSize - kHeaderSize;
constexpr std::size_t kFrameCount = kDataSize / kBlockAlign;
static_assert(kDataSize == 17088);

constexpr std::int64_t kPeak = 9000;
constexpr std::size_t kAttackFrames = 11;  // 0.5 ms
constexpr std::size_t kFadeFrames = 220;   // 10 ms, ending on silence

// Filter and decay constants in Q30 (value * 2^30).
constexpr int kQ = 30;
constexpr std::int64_t kOne = std::int64_t{1} << kQ;
// Band-pass resonator, r = 0.80 at 3200 Hz: 2 r cos(w) and r^2.
constexpr std::int64_t kTickA1 = 1051902236;
constexpr std::int64_t kTickA2 = 687194767;
// Burst envelope, time constant 4 ms: exp(-1 / (0.004 * 22050)).
constexpr std::int64_t kTickDecay = 1061636634;
// Damped 1750 Hz tone, time constant 12 ms: 2 r cos(w) and r^2.
constexpr std::int64_t kToneA1 = 1878852307;
constexpr std::int64_t kToneA2 = 1065656457;
constexpr std::int64_t kToneImpulse = std::int64_t{1} << 20;
// Tail: one-pole low-pass at 1500 Hz, time constant 90 ms.
constexpr std::int64_t kTailLowPass = 373463903;
constexpr std::int64_t kTailDecay = 1073200896;

// Noise source: xorshift32.
struct Noise {
    std::uint32_t state = 0x2545F491U;

    constexpr std::int64_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<std::int64_t>(state >> 16) - 32768;
    }
};

// x * numerator / denominator, rounded toward zero.
constexpr std::int64_t scale(std::int64_t x, std::int64_t numerator, std::int64_t denominator) {
    return x * numerator / denominator;
}

constexpr std::array<std::int64_t, kFrameCount> generateClick() {
    std::array<std::int64_t, kFrameCount> mix{};
    Noise noise;
    std::int64_t tick1 = 0, tick2 = 0, tickEnvelope = kOne;
    std::int64_t tone1 = 0, tone2 = 0;
    std::int64_t tail = 0, tailEnvelope = kOne;
    for (std::size_t n = 0; n < kFrameCount; ++n) {
        const std::int64_t white = noise.next();

        const std::int64_t tick = white + ((kTickA1 * tick1 - kTickA2 * tick2) >> kQ);
        tick2 = tick1;
        tick1 = tick;
        const std::int64_t burst = (tick * tickEnvelope) >> kQ;
        tickEnvelope = (tickEnvelope * kTickDecay) >> kQ;

        const std::int64_t tone =
            (n == 0 ? kToneImpulse : 0) + ((kToneA1 * tone1 - kToneA2 * tone2) >> kQ);
        tone2 = tone1;
        tone1 = tone;

        tail += ((white - tail) * kTailLowPass) >> kQ;
        const std::int64_t hiss = (tail * tailEnvelope) >> kQ;
        tailEnvelope = (tailEnvelope * kTailDecay) >> kQ;

        mix[n] = burst + ((tone * 3) >> 8) + (hiss >> 3);
        if (n < kAttackFrames) mix[n] = scale(mix[n], static_cast<std::int64_t>(n), kAttackFrames);
        if (n >= kFrameCount - kFadeFrames) {
            mix[n] = scale(mix[n], static_cast<std::int64_t>(kFrameCount - 1 - n), kFadeFrames);
        }
    }

    std::int64_t peak = 1;
    for (const std::int64_t sample : mix) peak = std::max(peak, sample < 0 ? -sample : sample);
    for (std::int64_t& sample : mix) sample = scale(sample, kPeak, peak);
    return mix;
}

constexpr void putBytes(std::array<std::uint8_t, kClickWaveSize>& file, std::size_t& at,
                        std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) file[at++] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr void putTag(std::array<std::uint8_t, kClickWaveSize>& file, std::size_t& at,
                      const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) file[at++] = static_cast<std::uint8_t>(tag[i]);
}

constexpr std::array<std::uint8_t, kClickWaveSize> buildClickWave() {
    std::array<std::uint8_t, kClickWaveSize> file{};
    std::size_t at = 0;
    putTag(file, at, "RIFF");
    putBytes(file, at, kClickWaveSize - 8, 4);
    putTag(file, at, "WAVE");
    putTag(file, at, "fmt ");
    putBytes(file, at, 16, 4);
    putBytes(file, at, 1, 2);  // PCM
    putBytes(file, at, kChannels, 2);
    putBytes(file, at, kSampleRate, 4);
    putBytes(file, at, kSampleRate * kBlockAlign, 4);
    putBytes(file, at, kBlockAlign, 2);
    putBytes(file, at, kBitsPerSample, 2);
    putTag(file, at, "data");
    putBytes(file, at, kDataSize, 4);
    for (const std::int64_t sample : generateClick()) {
        putBytes(file, at, static_cast<std::uint32_t>(static_cast<std::int32_t>(sample)), 2);
    }
    return file;
}

constexpr std::array<std::uint8_t, kClickWaveSize> kClickWave = buildClickWave();
static_assert(kClickWave[40] == (kDataSize & 0xFF) && kClickWave[41] == (kDataSize >> 8));

}  // namespace

std::span<const std::uint8_t, kClickWaveSize> clickSoundWave() {
    return kClickWave;
}

}  // namespace vantrigo
