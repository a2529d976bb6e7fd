#include "app/click_sound.h"

#include <atomic>
#include <memory>
#include <optional>
#include <utility>

#include "app/click_wave.h"
#include "app/sound_mixer.h"
#include "app/wave_file.h"

namespace vantrigo {
namespace {

constexpr const char* kOutputDevice = "default";

std::atomic<bool> mixerStarted{false};

std::unique_ptr<SoundDevice> programDevice() {
    mixerStarted.store(true);
    return makeAlsaDevice(kOutputDevice);
}

// How long the end of the program waits for the sound device to let go.
constexpr std::chrono::milliseconds kExitPatience{500};

// Made on the first sound; stopped at program exit, which cuts what still
// plays. A device that hangs in an open or a write does not hold the exit
// back: the mixer is then left to the end of the process instead of freed.
SoundMixer& programMixer() {
    static SoundMixer* const mixer = new SoundMixer(programDevice());
    static const struct AtExit {
        ~AtExit() {
            if (mixer->stop(kExitPatience)) delete mixer;
        }
    } atExit;
    return *mixer;
}

std::shared_ptr<const MixSamples> toMixSamples(std::span<const std::uint8_t> bytes) {
    const std::optional<WaveClip> clip = parseWave(bytes);
    if (!clip) return nullptr;
    MixSamples samples = mixdown(*clip, kMixRate);
    if (samples.empty()) return nullptr;
    return std::make_shared<const MixSamples>(std::move(samples));
}

// Converted once: a keystroke then costs no more than queueing a shared buffer.
const std::shared_ptr<const MixSamples>& clickSamples() {
    static const std::shared_ptr<const MixSamples> samples = toMixSamples(clickSoundWave());
    return samples;
}

}  // namespace

void playWaveBytes(std::span<const std::uint8_t> bytes) {
    playWaveBytes(programMixer(), bytes);
}

void playClickSound() {
    programMixer().play(clickSamples());
}

void playWaveBytes(SoundMixer& mixer, std::span<const std::uint8_t> bytes) {
    if (auto samples = toMixSamples(bytes)) mixer.play(std::move(samples));
}

bool waitForSoundsToEnd(std::chrono::milliseconds timeout) {
    if (!mixerStarted.load()) return true;
    return programMixer().waitUntilIdle(timeout);
}

}  // namespace vantrigo
