// The mixer on a recording device that the tests hold and release: calls
// return at once, overlapping sounds are summed and all heard in full, one
// thread and one stream serve them all, and stopping is immediate.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/click_sound.h"
#include "app/click_wave.h"
#include "app/sound_mixer.h"
#include "sound_test_support.h"

namespace vantrigo::testing {
namespace {

std::shared_ptr<const MixSamples> sound(MixSamples samples) {
    return std::make_shared<const MixSamples>(std::move(samples));
}

// A mixer on a recording device, steered before the mixer starts.
struct Rig {
    std::shared_ptr<DeviceLog> log = std::make_shared<DeviceLog>();
    std::unique_ptr<SoundMixer> mixer;

    template <typename Steer>
    explicit Rig(Steer steer) {
        steer(*log);
        mixer = std::make_unique<SoundMixer>(std::make_unique<RecordingDevice>(log));
    }
    Rig() : Rig([](DeviceLog&) {}) {}

    void waitUntilIdle() { ASSERT_TRUE(mixer->waitUntilIdle(kPatience)); }
};

void holdOpen(DeviceLog& log) {
    log.holdOpen = true;
}

TEST(SoundMixer, PlayReturnsBeforeTheDeviceIsOpenedOnTheMixersThread) {
    Rig rig(holdOpen);
    rig.mixer->play(sound({1, 2, 3}));
    // play() has returned while open() is still held, and open() runs elsewhere.
    ASSERT_TRUE(rig.log->waitFor([](DeviceLog& log) { return log.opens == 1; }));
    {
        const std::lock_guard lock(rig.log->mutex);
        EXPECT_NE(*rig.log->openThread, std::this_thread::get_id());
        EXPECT_TRUE(rig.log->sessions.empty());
    }
    rig.log->release();
    rig.waitUntilIdle();
    EXPECT_EQ(rig.log->everything(), (MixSamples{1, 2, 3}));
}

struct SumCase {
    std::string name;
    std::vector<MixSamples> sounds;
    MixSamples heard;
};

TEST(SoundMixer, SoundsStartedTogetherAreSummedWithSaturation) {
    const SumCase cases[] = {
        {"aligned", {{1, 2, 3}, {10, 20}}, {11, 22, 3}},
        {"cancelling", {{5, -5}, {-5, 5}}, {0, 0}},
        {"saturating up", {{30000, 2}, {30000}}, {32767, 2}},
        {"saturating down", {{-30000, -1}, {-30000}}, {-32768, -1}},
        {"across periods",
         {MixSamples(300, 1), MixSamples(600, 2)},
         [] {
             MixSamples heard(600, 2);
             std::fill(heard.begin(), heard.begin() + 300, 3);
             return heard;
         }()},
        {"an empty sound adds nothing", {{}, {5}}, {5}},
    };
    for (const SumCase& sum : cases) {
        SCOPED_TRACE(sum.name);
        Rig rig(holdOpen);
        for (const MixSamples& one : sum.sounds) rig.mixer->play(sound(one));
        rig.log->release();
        rig.waitUntilIdle();
        EXPECT_EQ(rig.log->everything(), sum.heard);
        EXPECT_EQ(rig.log->opens, 1);
    }
}

TEST(SoundMixer, ThreeQuickClicksAreAllHeardInFull) {
    Rig rig;
    for (int i = 0; i < 3; ++i) playWaveBytes(*rig.mixer, clickSoundWave());
    rig.waitUntilIdle();
    EXPECT_EQ(countCopies(rig.log->everything(), clickFrames()), 3);
}

TEST(SoundMixer, ASoundStartedWhileTheStreamDrainsContinuesIt) {
    Rig rig([](DeviceLog& log) { log.holdTail = true; });
    rig.mixer->play(sound({1, 2}));
    ASSERT_TRUE(rig.log->waitFor([](DeviceLog& log) { return log.pendingCalls > 0; }));
    rig.mixer->play(sound({3, 4}));
    ASSERT_TRUE(rig.log->waitFor([](DeviceLog& log) { return log.writes == 2; }));
    rig.log->release();
    rig.waitUntilIdle();
    EXPECT_EQ(rig.log->everything(), (MixSamples{1, 2, 3, 4}));
    EXPECT_EQ(rig.log->opens, 1);
    EXPECT_EQ(rig.log->openStreams, 0);
}

TEST(SoundMixer, TenOverlappingClicksUseOneThreadAndOneStream) {
    const int threadsBefore = threadsOfThisProcess();
    Rig rig(holdOpen);
    for (int i = 0; i < 10; ++i) playWaveBytes(*rig.mixer, clickSoundWave());
    ASSERT_TRUE(rig.log->waitFor([](DeviceLog& log) { return log.opens == 1; }));
    const int threadsWhilePlaying = threadsOfThisProcess();
    rig.log->release();
    rig.waitUntilIdle();

    std::cout << "ten overlapping clicks: " << threadsWhilePlaying - threadsBefore
              << " thread(s) added, " << rig.log->maxOpenStreams << " stream(s) open at most, "
              << rig.log->opens << " opened in all\n";
    EXPECT_EQ(threadsWhilePlaying - threadsBefore, 1);
    EXPECT_EQ(rig.log->maxOpenStreams, 1);
    EXPECT_EQ(rig.log->opens, 1);
    EXPECT_EQ(rig.log->everything().size(), clickFrames().size());
}

TEST(SoundMixer, EndingTheMixerCutsPlayingSoundsAtOnce) {
    Rig rig([](DeviceLog& log) { log.holdWrites = true; });
    for (int i = 0; i < 10; ++i) playWaveBytes(*rig.mixer, clickSoundWave());
    ASSERT_TRUE(rig.log->waitFor([](DeviceLog& log) { return log.writesEntered == 1; }));

    rig.mixer.reset();  // the held write is the only one in progress

    const std::lock_guard lock(rig.log->mutex);
    EXPECT_EQ(rig.log->writesStartedAfterCancel, 0);
    EXPECT_EQ(rig.log->writesEntered, 1);
    EXPECT_EQ(rig.log->openStreams, 0);
    EXPECT_TRUE(rig.log->sessions.at(0).empty());
}

TEST(SoundMixer, AMissingDeviceDropsTheSoundsAndIsTriedAgainNextTime) {
    Rig rig([](DeviceLog& log) { log.refuseOpen = true; });
    rig.mixer->play(sound({1, 2, 3}));
    rig.waitUntilIdle();
    rig.mixer->play(sound({4, 5}));
    rig.waitUntilIdle();
    EXPECT_EQ(rig.log->opens, 2);
    EXPECT_TRUE(rig.log->everything().empty());
}

TEST(SoundMixer, AFailingDeviceDropsWhatPlaysAndIsOpenedAgainForTheNext) {
    Rig rig([](DeviceLog& log) { log.failAfterWrites = 1; });
    rig.mixer->play(sound(MixSamples(4 * kMixPeriodFrames, 7)));
    rig.waitUntilIdle();
    {
        const std::lock_guard lock(rig.log->mutex);
        EXPECT_EQ(rig.log->sessions.at(0).size(), kMixPeriodFrames);
        EXPECT_EQ(rig.log->openStreams, 0);
        rig.log->failAfterWrites = -1;
    }
    rig.mixer->play(sound({1, 2}));
    rig.waitUntilIdle();
    const std::lock_guard lock(rig.log->mutex);
    ASSERT_EQ(rig.log->sessions.size(), 2U);
    EXPECT_EQ(rig.log->sessions[1], (MixSamples{1, 2}));
}

TEST(SoundMixer, SoundsBeyondTheVoiceLimitAreDropped) {
    Rig rig(holdOpen);
    const auto one = sound({1});
    for (std::size_t i = 0; i < kMaxVoices + 50; ++i) rig.mixer->play(one);
    rig.log->release();
    rig.waitUntilIdle();
    EXPECT_EQ(rig.log->everything(), (MixSamples{static_cast<std::int16_t>(kMaxVoices)}));
}

TEST(SoundMixer, NoSoundNeverOpensTheDevice) {
    Rig rig;
    rig.mixer->play(nullptr);
    rig.mixer->play(sound({}));
    playWaveBytes(*rig.mixer, std::span<const std::uint8_t>());
    rig.waitUntilIdle();
    EXPECT_EQ(rig.log->opens, 0);
}

}  // namespace
}  // namespace vantrigo::testing
