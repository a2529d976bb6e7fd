// Stopping the sound mixer when the program ends: with a device that answers
// it ends at once, and a device that hangs in an open or a write, deaf to the
// cancel, cannot hold the end of the program back.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "app/sound_mixer.h"
#include "sound_test_support.h"

namespace vantrigo::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Far beyond any healthy stop on a loaded machine, and far below "forever".
constexpr auto kStopPatience = 500ms;
constexpr auto kHealthyStopBound = 30s;

// Where a HangingDevice hangs until the test lets it go.
enum class HangIn { Open, Write };

struct Hang {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
    int cancels = 0;

    void enterAndWait() {
        std::unique_lock lock(mutex);
        entered = true;
        changed.notify_all();
        changed.wait(lock, [this] { return released; });
    }
    bool waitUntilEntered() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kPatience, [this] { return entered; });
    }
    void release() {
        {
            const std::lock_guard lock(mutex);
            released = true;
        }
        changed.notify_all();
    }
};

// A device that hangs in open() or in a stream's write() until released,
// whatever cancel() says: a sound server that has stopped answering.
class HangingDevice final : public SoundDevice {
public:
    HangingDevice(HangIn where, std::shared_ptr<Hang> hang)
        : where_(where), hang_(std::move(hang)) {}

    std::unique_ptr<SoundStream> open() override {
        if (where_ == HangIn::Open) hang_->enterAndWait();
        return std::make_unique<Stream>(where_, hang_);
    }

    void cancel() override {
        const std::lock_guard lock(hang_->mutex);
        ++hang_->cancels;
    }

private:
    class Stream final : public SoundStream {
    public:
        Stream(HangIn where, std::shared_ptr<Hang> hang) : where_(where), hang_(std::move(hang)) {}
        bool write(std::span<const std::int16_t>) override {
            if (where_ == HangIn::Write) hang_->enterAndWait();
            return true;
        }
        std::chrono::microseconds pending() override { return 0us; }

    private:
        HangIn where_;
        std::shared_ptr<Hang> hang_;
    };

    HangIn where_;
    std::shared_ptr<Hang> hang_;
};

std::shared_ptr<const MixSamples> click() {
    return std::make_shared<const MixSamples>(clickFrames());
}

// A mixer whose stop let its thread go may never be destroyed; the tests
// keep theirs here, reachable to the end of the process.
SoundMixer* keptMixers[4] = {};
std::size_t keptCount = 0;

class StopWithAHangingDevice : public ::testing::TestWithParam<HangIn> {};

TEST_P(StopWithAHangingDevice, GivesUpAfterItsPatienceAndLetsTheThreadGo) {
    auto hang = std::make_shared<Hang>();
    auto* mixer = new SoundMixer(std::make_unique<HangingDevice>(GetParam(), hang));
    ASSERT_LT(keptCount, std::size(keptMixers));
    keptMixers[keptCount++] = mixer;
    mixer->play(click());
    ASSERT_TRUE(hang->waitUntilEntered());

    const auto start = Clock::now();
    EXPECT_FALSE(mixer->stop(kStopPatience));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, kStopPatience);
    EXPECT_LT(took, kHealthyStopBound);

    // The device wakes after all: the thread the mixer let go ends cleanly.
    hang->release();
    EXPECT_TRUE(mixer->stop(kPatience));
    const std::lock_guard lock(hang->mutex);
    EXPECT_EQ(hang->cancels, 1);
}

INSTANTIATE_TEST_SUITE_P(HangingDevices, StopWithAHangingDevice,
                         ::testing::Values(HangIn::Open, HangIn::Write), [](const auto& info) {
                             return info.param == HangIn::Open ? "InOpen" : "InWrite";
                         });

TEST(MixerStop, EndsAtOnceWhileSoundsPlayOnADeviceThatAnswers) {
    auto log = std::make_shared<DeviceLog>();
    log->holdWrites = true;  // a write waits for room until cancelled, as ALSA's does
    auto mixer = std::make_unique<SoundMixer>(std::make_unique<RecordingDevice>(log));
    for (int i = 0; i < 5; ++i) mixer->play(click());
    ASSERT_TRUE(log->waitFor([](DeviceLog& l) { return l.writesEntered > 0; }));

    const auto start = Clock::now();
    EXPECT_TRUE(mixer->stop(kPatience));
    EXPECT_LT(Clock::now() - start, kHealthyStopBound);
    EXPECT_TRUE(mixer->stop(0ms));  // once ended, it stays ended
    mixer.reset();                  // and is destroyed at once
    const std::lock_guard lock(log->mutex);
    EXPECT_EQ(log->openStreams, 0);
    EXPECT_EQ(log->writesStartedAfterCancel, 0);
}

TEST(MixerStop, SoundsStartedAfterTheStopAreNotPlayed) {
    auto log = std::make_shared<DeviceLog>();
    SoundMixer mixer(std::make_unique<RecordingDevice>(log));
    ASSERT_TRUE(mixer.stop(kPatience));
    mixer.play(click());
    EXPECT_TRUE(mixer.waitUntilIdle(0ms));
    const std::lock_guard lock(log->mutex);
    EXPECT_EQ(log->opens, 0);
}

}  // namespace
}  // namespace vantrigo::testing
