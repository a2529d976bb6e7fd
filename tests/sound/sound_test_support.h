// Helpers of the sound tests: the click in the mixer's format, a recording
// output device that the tests steer, and a check that a recording is made of
// whole copies of a sound.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "app/click_wave.h"
#include "app/sound_mixer.h"
#include "app/wave_file.h"

namespace vantrigo::testing {

// Long enough for a loaded CI machine; reached only when something is wrong.
inline constexpr std::chrono::seconds kPatience{60};

inline MixSamples clickFrames() {
    const auto clip = parseWave(clickSoundWave());
    return clip ? mixdown(*clip, kMixRate) : MixSamples{};
}

// How many copies of `sound` the recording is made of, overlapping or not, at
// any offsets: copies are peeled off one by one, each aligned at the first
// sample still sounding. Nothing when something other than whole copies
// remains. Exact as long as the sum never clipped.
inline std::optional<int> countCopies(std::span<const std::int16_t> recording,
                                      std::span<const std::int16_t> sound) {
    std::size_t onset = 0;
    while (onset < sound.size() && sound[onset] == 0) ++onset;
    if (onset == sound.size()) return std::nullopt;

    std::vector<std::int32_t> rest(recording.begin(), recording.end());
    for (int copies = 0;; ++copies) {
        std::size_t first = 0;
        while (first < rest.size() && rest[first] == 0) ++first;
        if (first == rest.size()) return copies;
        if (first < onset || first - onset + sound.size() > rest.size()) return std::nullopt;
        const std::size_t start = first - onset;
        for (std::size_t i = 0; i < sound.size(); ++i) rest[start + i] -= sound[i];
    }
}

// The threads of this process now. The first call starts and ends a thread of
// its own before counting, as some runtimes (ThreadSanitizer's) add a helper
// thread of theirs with the first thread created.
inline int threadsOfThisProcess() {
    static const bool warmedUp = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)warmedUp;
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

// What a RecordingDevice saw, kept apart from the device so that the test can
// read it after the mixer that owns the device is gone.
struct DeviceLog {
    std::mutex mutex;
    std::condition_variable changed;

    // Steering, set by the test.
    bool refuseOpen = false;
    bool holdOpen = false;     // open() waits for release
    bool holdWrites = false;   // write() waits for release or cancel
    bool holdTail = false;     // pending() reports a queue until release
    int failAfterWrites = -1;  // write() fails from this write on
    bool released = false;

    // Observations.
    std::vector<MixSamples> sessions;  // frames per stream opened
    int opens = 0;
    int openStreams = 0;
    int maxOpenStreams = 0;
    int writes = 0;
    int writesEntered = 0;
    int writesStartedAfterCancel = 0;
    bool cancelled = false;
    int pendingCalls = 0;
    std::optional<std::thread::id> openThread;

    void release() {
        {
            const std::lock_guard lock(mutex);
            released = true;
        }
        changed.notify_all();
    }

    template <typename Predicate>
    bool waitFor(Predicate predicate) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kPatience, [&] { return predicate(*this); });
    }

    MixSamples everything() {
        const std::lock_guard lock(mutex);
        MixSamples all;
        for (const MixSamples& session : sessions)
            all.insert(all.end(), session.begin(), session.end());
        return all;
    }
};

class RecordingStream final : public SoundStream {
public:
    explicit RecordingStream(std::shared_ptr<DeviceLog> log) : log_(std::move(log)) {}

    ~RecordingStream() override {
        {
            const std::lock_guard lock(log_->mutex);
            --log_->openStreams;
        }
        log_->changed.notify_all();
    }

    RecordingStream(const RecordingStream&) = delete;
    RecordingStream& operator=(const RecordingStream&) = delete;

    bool write(std::span<const std::int16_t> frames) override {
        std::unique_lock lock(log_->mutex);
        if (log_->cancelled) ++log_->writesStartedAfterCancel;
        ++log_->writesEntered;
        log_->changed.notify_all();
        log_->changed.wait_for(lock, kPatience, [&] {
            return !log_->holdWrites || log_->released || log_->cancelled;
        });
        if (log_->cancelled) return false;
        if (log_->failAfterWrites >= 0 && log_->writes >= log_->failAfterWrites) return false;
        ++log_->writes;
        log_->sessions.back().insert(log_->sessions.back().end(), frames.begin(), frames.end());
        log_->changed.notify_all();
        return true;
    }

    std::chrono::microseconds pending() override {
        const std::lock_guard lock(log_->mutex);
        ++log_->pendingCalls;
        log_->changed.notify_all();
        // Held, the queue drains slowly but never ends, like a device playing.
        if (!log_->holdTail || log_->released) return std::chrono::microseconds(0);
        return std::chrono::seconds(10) - std::chrono::microseconds(log_->pendingCalls);
    }

private:
    std::shared_ptr<DeviceLog> log_;
};

// An output device that records every frame and plays them instantly, unless
// the log holds it.
class RecordingDevice final : public SoundDevice {
public:
    explicit RecordingDevice(std::shared_ptr<DeviceLog> log) : log_(std::move(log)) {}

    std::unique_ptr<SoundStream> open() override {
        std::unique_lock lock(log_->mutex);
        log_->openThread = std::this_thread::get_id();
        ++log_->opens;
        log_->changed.notify_all();
        log_->changed.wait_for(lock, kPatience, [&] { return !log_->holdOpen || log_->released; });
        if (log_->refuseOpen) return nullptr;
        log_->sessions.emplace_back();
        ++log_->openStreams;
        log_->maxOpenStreams = std::max(log_->maxOpenStreams, log_->openStreams);
        return std::make_unique<RecordingStream>(log_);
    }

    void cancel() override {
        {
            const std::lock_guard lock(log_->mutex);
            log_->cancelled = true;
        }
        log_->changed.notify_all();
    }

private:
    std::shared_ptr<DeviceLog> log_;
};

// A device that counts the streams open at once on a real device.
class CountingDevice final : public SoundDevice {
public:
    struct Counts {
        std::mutex mutex;
        int opens = 0;
        int open = 0;
        int maxOpen = 0;
    };

    CountingDevice(std::unique_ptr<SoundDevice> inner, std::shared_ptr<Counts> counts)
        : inner_(std::move(inner)), counts_(std::move(counts)) {}

    std::unique_ptr<SoundStream> open() override {
        auto stream = inner_->open();
        if (!stream) return nullptr;
        const std::lock_guard lock(counts_->mutex);
        ++counts_->opens;
        counts_->maxOpen = std::max(counts_->maxOpen, ++counts_->open);
        return std::make_unique<Counted>(std::move(stream), counts_);
    }

    void cancel() override { inner_->cancel(); }

private:
    class Counted final : public SoundStream {
    public:
        Counted(std::unique_ptr<SoundStream> inner, std::shared_ptr<Counts> counts)
            : inner_(std::move(inner)), counts_(std::move(counts)) {}
        ~Counted() override {
            inner_.reset();
            const std::lock_guard lock(counts_->mutex);
            --counts_->open;
        }
        Counted(const Counted&) = delete;
        Counted& operator=(const Counted&) = delete;
        bool write(std::span<const std::int16_t> frames) override { return inner_->write(frames); }
        std::chrono::microseconds pending() override { return inner_->pending(); }

    private:
        std::unique_ptr<SoundStream> inner_;
        std::shared_ptr<Counts> counts_;
    };

    std::unique_ptr<SoundDevice> inner_;
    std::shared_ptr<Counts> counts_;
};

}  // namespace vantrigo::testing
