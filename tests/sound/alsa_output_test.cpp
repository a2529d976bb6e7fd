// The real ALSA path, on an ALSA configuration of the test's own: HOME points
// at a temporary folder whose .asoundrc routes "default" to the file plugin
// over "null", or to a device that cannot play. The program's sound path runs
// in a child process (sound_probe), so that its output and its exit can be
// watched.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/click_sound.h"
#include "app/click_wave.h"
#include "app/sound_mixer.h"
#include "sound_test_support.h"

extern char** environ;

namespace vantrigo::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRecordingName = "out.raw";

// A temporary home folder with the given .asoundrc; "@DIR@" in the text
// stands for the folder.
class AlsaHome {
public:
    explicit AlsaHome(const std::string& asoundrc) {
        std::string pattern = (fs::temp_directory_path() / "vantrigo-sound-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        std::string text = asoundrc;
        for (auto at = text.find("@DIR@"); at != std::string::npos; at = text.find("@DIR@")) {
            text.replace(at, 5, dir_.string());
        }
        std::ofstream(dir_ / ".asoundrc") << text;
    }
    ~AlsaHome() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    AlsaHome(const AlsaHome&) = delete;
    AlsaHome& operator=(const AlsaHome&) = delete;

    const fs::path& dir() const { return dir_; }

    // Every frame the file plugin wrote, stream after stream: it writes
    // out.raw, then out.raw.0001 and so on.
    MixSamples recording() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            if (entry.path().filename().string().starts_with(kRecordingName)) {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
            const std::string x = a.filename().string(), y = b.filename().string();
            return x.size() != y.size() ? x.size() < y.size() : x < y;
        });
        MixSamples frames;
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
                const auto low = static_cast<std::uint8_t>(bytes[i]);
                const auto high = static_cast<std::uint8_t>(bytes[i + 1]);
                frames.push_back(static_cast<std::int16_t>(low | (high << 8)));
            }
        }
        return frames;
    }

private:
    fs::path dir_;
};

const std::string kFileOutput = R"(pcm.!default {
    type file
    slave.pcm "null"
    file "@DIR@/out.raw"
    format "raw"
    truncate false
}
)";

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ProbeRun {
    bool ended = false;
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs sound_probe with HOME set to the folder, its output caught in files.
ProbeRun runProbe(const AlsaHome& home, const std::string& clicks, const std::string& mode) {
    const fs::path outFile = home.dir() / "probe.stdout";
    const fs::path errFile = home.dir() / "probe.stderr";

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!std::string_view(*entry).starts_with("HOME=")) environment.emplace_back(*entry);
    }
    environment.push_back("HOME=" + home.dir().string());
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::string program = VANTRIGO_SOUND_PROBE;
    std::string countArg = clicks;
    std::string modeArg = mode;
    char* argv[] = {program.data(), countArg.data(), modeArg.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ProbeRun run;
    if (spawned != 0) return run;

    // Generous: only a hung child reaches the deadline.
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    int status = 0;
    pid_t waited = 0;
    while ((waited = waitpid(child, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (waited == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    } else {
        run.ended = true;
        run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    run.out = readAll(outFile);
    run.err = readAll(errFile);
    return run;
}

void expectCleanEnd(const ProbeRun& run) {
    EXPECT_TRUE(run.ended) << "the probe did not end";
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST(AlsaOutput, TheClickReachesTheDeviceSampleForSample) {
    const AlsaHome home(kFileOutput);
    expectCleanEnd(runProbe(home, "1", "wait"));
    EXPECT_EQ(home.recording(), clickFrames());
}

TEST(AlsaOutput, ThreeQuickClicksAreAllPlayedInFull) {
    const AlsaHome home(kFileOutput);
    expectCleanEnd(runProbe(home, "3", "wait"));
    EXPECT_EQ(countCopies(home.recording(), clickFrames()), 3);
}

TEST(AlsaOutput, ExitingWhileClicksPlayIsQuickAndClean) {
    const AlsaHome home(kFileOutput);
    expectCleanEnd(runProbe(home, "10", "exit"));
}

struct Unplayable {
    std::string name;
    std::string asoundrc;
};

void PrintTo(const Unplayable& unplayable, std::ostream* out) {
    *out << unplayable.name;
}

class AlsaDeviceThatCannotPlay : public ::testing::TestWithParam<Unplayable> {};

TEST_P(AlsaDeviceThatCannotPlay, PlaysNothingSaysNothingAndDoesNotBlock) {
    const AlsaHome home(GetParam().asoundrc);
    // "wait" returns only once the mixer has given the clicks up.
    expectCleanEnd(runProbe(home, "3", "wait"));
    expectCleanEnd(runProbe(home, "3", "exit"));
    EXPECT_TRUE(home.recording().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, AlsaDeviceThatCannotPlay,
    ::testing::Values(
        Unplayable{"MissingCard", "pcm.!default { type hw card \"VantrigoNoSuchCard\" }\n"},
        Unplayable{"UnknownPlugin", "pcm.!default { type vantrigo_no_such_plugin }\n"},
        Unplayable{"StreamRefused", R"(pcm.!default {
    type file
    slave.pcm "null"
    file "@DIR@/no-such-folder/out.raw"
    format "raw"
}
)"}),
    [](const auto& info) { return info.param.name; });

// Ten clicks at once on the real device, in this process: the threads and the
// ALSA handles they take.
TEST(AlsaOutput, TenClicksTakeOneMixerThreadAndOneDeviceHandle) {
    const AlsaHome home(kFileOutput);
    ASSERT_EQ(setenv("HOME", home.dir().c_str(), 1), 0);
    auto counts = std::make_shared<CountingDevice::Counts>();
    const int threadsBefore = threadsOfThisProcess();
    int threadsWithMixer = 0;
    {
        SoundMixer mixer(std::make_unique<CountingDevice>(makeAlsaDevice("default"), counts));
        for (int i = 0; i < 10; ++i) playWaveBytes(mixer, clickSoundWave());
        threadsWithMixer = threadsOfThisProcess();
        ASSERT_TRUE(mixer.waitUntilIdle(kPatience));
    }
    const int threadsAfter = threadsOfThisProcess();
    std::cout << "ten clicks on ALSA: " << threadsWithMixer - threadsBefore << " thread(s) added, "
              << counts->maxOpen << " PCM handle(s) open at most, " << counts->opens
              << " opened in all, " << threadsAfter - threadsBefore
              << " thread(s) left after the mixer\n";
    EXPECT_EQ(threadsWithMixer - threadsBefore, 1);
    EXPECT_EQ(counts->maxOpen, 1);
    EXPECT_EQ(counts->open, 0);
    EXPECT_EQ(threadsAfter, threadsBefore);
    EXPECT_FALSE(home.recording().empty());
}

}  // namespace
}  // namespace vantrigo::testing
