// The chunk walk of the click sound and the conversion of what it finds, on
// any bytes: nothing outside the given bytes is read, what is found lies inside
// them, and the converted clip has the length its format implies.
#include <cstring>

#include "app/sound_mixer.h"
#include "app/wave_file.h"
#include "fuzz_support.h"

namespace {

using namespace vantrigo;

// Output rates tried beside the mixer's own.
constexpr std::uint32_t kLowestRate = 8000;
constexpr std::uint32_t kHighestRate = 192000;

std::size_t expectedFrames(const WaveClip& clip, std::uint32_t rate) {
    const std::size_t frames = clip.samples.size() / clip.format.blockAlign;
    if (frames == 0) return 0;
    if (clip.format.sampleRate == rate) return frames;
    return static_cast<std::size_t>((frames - 1) * std::uint64_t{rate} / clip.format.sampleRate) +
           1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::optional<WaveClip> clip = parseWave(bytes);
    const bool isRiffWave =
        size >= 36 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0;
    if (!clip) return 0;
    FUZZ_CHECK(isRiffWave);

    // The samples: a non-empty stretch after the header of the first chunk.
    const std::uint8_t* first = clip->samples.data();
    FUZZ_CHECK(!clip->samples.empty());
    FUZZ_CHECK(first >= data + 20 && first + clip->samples.size() <= data + size);
    FUZZ_CHECK(std::memcmp(first - 8, "data", 4) == 0);

    if (!isPlayableFormat(clip->format)) {
        FUZZ_CHECK(mixdown(*clip, kMixRate).empty());
        return 0;
    }
    FUZZ_CHECK(mixdown(*clip, kMixRate).size() == expectedFrames(*clip, kMixRate));
    // Another output rate, taken from the bytes, for the interpolation.
    const std::uint32_t rate =
        kLowestRate + (clip->format.byteRate ^ clip->samples.size()) % (kHighestRate - kLowestRate);
    FUZZ_CHECK(mixdown(*clip, rate).size() == expectedFrames(*clip, rate));
    return 0;
}
