// The mixer behind the click sound: one thread sums every sound that is
// playing into one stream on one output device.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace vantrigo {

// The stream format of the mixer: 16-bit signed mono frames at this rate.
inline constexpr std::uint32_t kMixRate = 22050;

// Frames the mixer renders and hands to the device at a time (about 12 ms).
inline constexpr std::size_t kMixPeriodFrames = 256;

// Sounds that can play at once; a sound started beyond them is dropped.
inline constexpr std::size_t kMaxVoices = 256;

using MixSamples = std::vector<std::int16_t>;

// An open output stream in the mixer's format. Used by the mixer's thread only.
class SoundStream {
public:
    virtual ~SoundStream() = default;  // stops at once, dropping what is queued

    // Queues the frames for playing, waiting while the device has no room.
    // False when the stream has failed and can play nothing more.
    virtual bool write(std::span<const std::int16_t> frames) = 0;

    // How long the frames queued so far still take to play.
    virtual std::chrono::microseconds pending() = 0;
};

// Where the mixer's streams go.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;

    // A new stream, or null when the device is missing, busy or refuses it.
    virtual std::unique_ptr<SoundStream> open() = 0;

    // Called once, from another thread, when the mixer ends: a write that is
    // waiting for room returns at once, and later writes fail.
    virtual void cancel() = 0;
};

// The ALSA PCM of that name (such as "default"). Opening never waits for a
// busy device, and ALSA's own error messages are silenced for the process.
std::unique_ptr<SoundDevice> makeAlsaDevice(std::string pcmName);

// Plays any number of overlapping sounds through one stream. The device is
// opened when a sound starts while none is playing, and closed when the last
// one has played out. When the device cannot be opened or fails, the sounds
// waiting for it are dropped silently.
class SoundMixer {
public:
    explicit SoundMixer(std::unique_ptr<SoundDevice> device);
    // Stops every sound at once, closes the device and ends the thread.
    ~SoundMixer();

    // Stops every sound at once and waits up to the timeout for the device to
    // be closed and the thread to end. True when it has ended. False when the
    // device still holds the thread (an open or write that does not return):
    // the thread is then let go, and the mixer must never be destroyed, since
    // the thread may still wake and use it.
    bool stop(std::chrono::milliseconds timeout);

    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;

    // Starts the sound, in the mixer's format, and returns at once without
    // touching the device. Empty sounds play nothing.
    void play(std::shared_ptr<const MixSamples> samples);

    // Waits until every sound started so far has played out or been dropped
    // and the device is closed again; false if the timeout came first.
    bool waitUntilIdle(std::chrono::milliseconds timeout);

private:
    struct Voice {
        std::shared_ptr<const MixSamples> samples;
        std::size_t position = 0;
    };

    // Tells the thread to stop, once; later calls do nothing.
    void requestStop();
    void run();
    void playOn(SoundStream& stream, std::unique_lock<std::mutex>& lock);
    std::size_t mixPeriod(std::array<std::int16_t, kMixPeriodFrames>& period);

    std::unique_ptr<SoundDevice> device_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::vector<Voice> voices_;
    bool busy_ = false;
    bool stopping_ = false;
    bool ended_ = false;  // the thread has left run()
    std::thread thread_;  // last: it starts once the members above exist
};

}  // namespace vantrigo
