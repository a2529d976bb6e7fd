#include "app/sound_mixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <limits>
#include <utility>

namespace vantrigo {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How far ahead of the ear the device buffers: the delay before a new click is
// heard while others play.
constexpr unsigned kAlsaLatencyMicroseconds = 50'000;
// A device that takes no frames, or plays none of its queue, for this long is
// given up.
constexpr auto kStallLimit = 1s;
// Slices of waiting for room, between which a stop request is noticed.
constexpr int kWaitMilliseconds = 10;
// How often the queue is looked at while it plays out.
constexpr auto kTailPoll = 20ms;

// ALSA's configuration cache is process-wide; opening, closing and freeing it
// are serialised so that one of our streams never frees it under another.
// Constant-initialised, so it outlives a mixer that ends at program exit.
constinit std::mutex alsaConfigMutex;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaErrors() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&ignoreAlsaError); });
}

bool configure(snd_pcm_t* pcm) {
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kMixRate, 1,
                           kAlsaLatencyMicroseconds) < 0) {
        return false;
    }
    snd_pcm_uframes_t bufferFrames = 0;
    snd_pcm_uframes_t periodFrames = 0;
    if (snd_pcm_get_params(pcm, &bufferFrames, &periodFrames) < 0) return false;

    // Start as soon as a period is queued rather than when the buffer is full,
    // so that a click is heard without waiting for the next.
    snd_pcm_sw_params_t* software = nullptr;
    if (snd_pcm_sw_params_malloc(&software) < 0) return false;
    const bool done = snd_pcm_sw_params_current(pcm, software) >= 0 &&
                      snd_pcm_sw_params_set_start_threshold(pcm, software, periodFrames) >= 0 &&
                      snd_pcm_sw_params(pcm, software) >= 0;
    snd_pcm_sw_params_free(software);
    return done;
}

class AlsaStream final : public SoundStream {
public:
    AlsaStream(snd_pcm_t* pcm, const std::atomic<bool>& cancelled)
        : pcm_(pcm), cancelled_(cancelled) {}

    ~AlsaStream() override {
        snd_pcm_drop(pcm_);
        const std::lock_guard lock(alsaConfigMutex);
        snd_pcm_close(pcm_);
        snd_config_update_free_global();
    }

    AlsaStream(const AlsaStream&) = delete;
    AlsaStream& operator=(const AlsaStream&) = delete;

    bool write(std::span<const std::int16_t> frames) override {
        // Non-blocking writes with short waits: neither a full buffer nor a
        // stuck device holds the mixer's thread once it is told to stop.
        auto lastProgress = Clock::now();
        while (!frames.empty()) {
            if (cancelled_.load()) return false;
            const snd_pcm_sframes_t written = snd_pcm_writei(pcm_, frames.data(), frames.size());
            if (written > 0) {
                frames = frames.subspan(static_cast<std::size_t>(written));
                lastProgress = Clock::now();
                continue;
            }
            if (written == 0 || written == -EAGAIN) {
                if (Clock::now() - lastProgress > kStallLimit) return false;
                const int ready = snd_pcm_wait(pcm_, kWaitMilliseconds);
                if (ready < 0 && snd_pcm_recover(pcm_, ready, 1) < 0) return false;
                continue;
            }
            if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) < 0) return false;
        }
        return true;
    }

    std::chrono::microseconds pending() override {
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm_, &delay) < 0 || delay <= 0) return 0us;
        // Fewer frames than the start threshold leave the stream waiting.
        if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED && snd_pcm_start(pcm_) < 0) return 0us;
        return std::chrono::microseconds{delay * 1'000'000 / kMixRate};
    }

private:
    snd_pcm_t* pcm_;
    const std::atomic<bool>& cancelled_;
};

class AlsaDevice final : public SoundDevice {
public:
    explicit AlsaDevice(std::string pcmName) : pcmName_(std::move(pcmName)) {}

    std::unique_ptr<SoundStream> open() override {
        silenceAlsaErrors();
        const std::lock_guard lock(alsaConfigMutex);
        snd_pcm_t* pcm = nullptr;
        // Non-blocking, so that a device held by another program fails at once.
        if (snd_pcm_open(&pcm, pcmName_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
            snd_config_update_free_global();
            return nullptr;
        }
        if (!configure(pcm)) {
            snd_pcm_close(pcm);
            snd_config_update_free_global();
            return nullptr;
        }
        return std::make_unique<AlsaStream>(pcm, cancelled_);
    }

    void cancel() override { cancelled_.store(true); }

private:
    std::string pcmName_;
    std::atomic<bool> cancelled_{false};
};

}  // namespace

std::unique_ptr<SoundDevice> makeAlsaDevice(std::string pcmName) {
    return std::make_unique<AlsaDevice>(std::move(pcmName));
}

SoundMixer::SoundMixer(std::unique_ptr<SoundDevice> device) : device_(std::move(device)) {
    voices_.reserve(kMaxVoices);
    thread_ = std::thread([this] { run(); });
}

SoundMixer::~SoundMixer() {
    requestStop();
    if (thread_.joinable()) thread_.join();
}

bool SoundMixer::stop(std::chrono::milliseconds timeout) {
    requestStop();
    std::unique_lock lock(mutex_);
    const bool ended = idle_.wait_for(lock, timeout, [this] { return ended_; });
    lock.unlock();
    if (thread_.joinable()) {
        if (ended) {
            thread_.join();
        } else {
            thread_.detach();
        }
    }
    return ended;
}

void SoundMixer::requestStop() {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) return;
        stopping_ = true;
    }
    wake_.notify_all();
    device_->cancel();
}

void SoundMixer::play(std::shared_ptr<const MixSamples> samples) {
    if (!samples || samples->empty()) return;
    {
        const std::lock_guard lock(mutex_);
        if (stopping_ || voices_.size() >= kMaxVoices) return;
        voices_.push_back(Voice{std::move(samples), 0});
        busy_ = true;
    }
    wake_.notify_one();
}

bool SoundMixer::waitUntilIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [this] { return !busy_; });
}

void SoundMixer::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !voices_.empty(); });
        if (stopping_) break;

        lock.unlock();
        std::unique_ptr<SoundStream> stream = device_->open();
        lock.lock();
        if (stream) {
            playOn(*stream, lock);
        } else {
            voices_.clear();
        }

        lock.unlock();
        stream.reset();
        lock.lock();
        if (voices_.empty()) {
            busy_ = false;
            idle_.notify_all();
        }
    }
    voices_.clear();
    busy_ = false;
    ended_ = true;
    idle_.notify_all();
}

void SoundMixer::playOn(SoundStream& stream, std::unique_lock<std::mutex>& lock) {
    std::array<std::int16_t, kMixPeriodFrames> period{};
    // While the queue plays out: the least still pending, and when it fell.
    constexpr auto kNotDraining = std::chrono::microseconds::max();
    std::chrono::microseconds leastLeft = kNotDraining;
    Clock::time_point lastFall;
    while (!stopping_) {
        if (voices_.empty()) {
            // Let what is queued play out; a new sound continues the stream.
            lock.unlock();
            const std::chrono::microseconds left = stream.pending();
            lock.lock();
            if (left <= 0us) return;
            const auto now = Clock::now();
            if (left < leastLeft) {
                leastLeft = left;
                lastFall = now;
            } else if (now - lastFall > kStallLimit) {
                return;  // the device has stopped playing
            }
            wake_.wait_for(lock, std::min<std::chrono::microseconds>(left, kTailPoll),
                           [this] { return stopping_ || !voices_.empty(); });
            continue;
        }
        leastLeft = kNotDraining;
        const std::size_t frames = mixPeriod(period);

        lock.unlock();
        const bool written = stream.write(std::span<const std::int16_t>(period).first(frames));
        lock.lock();
        if (!written) {
            voices_.clear();
            return;
        }
    }
}

// Sums the next period of every voice, saturating, and retires the voices that
// end in it. Returns the frames filled: up to the end of the longest voice.
std::size_t SoundMixer::mixPeriod(std::array<std::int16_t, kMixPeriodFrames>& period) {
    std::array<std::int32_t, kMixPeriodFrames> sum{};
    std::size_t filled = 0;
    for (std::size_t i = 0; i < voices_.size();) {
        Voice& voice = voices_[i];
        const MixSamples& samples = *voice.samples;
        const std::size_t count = std::min(period.size(), samples.size() - voice.position);
        for (std::size_t frame = 0; frame < count; ++frame) {
            sum[frame] += samples[voice.position + frame];
        }
        voice.position += count;
        filled = std::max(filled, count);
        if (voice.position < samples.size()) {
            ++i;
            continue;
        }
        if (i + 1 != voices_.size()) voice = std::move(voices_.back());
        voices_.pop_back();
    }
    for (std::size_t frame = 0; frame < filled; ++frame) {
        period[frame] = static_cast<std::int16_t>(
            std::clamp<std::int32_t>(sum[frame], std::numeric_limits<std::int16_t>::min(),
                                     std::numeric_limits<std::int16_t>::max()));
    }
    return filled;
}

}  // namespace vantrigo
