// The click that every change of the input plays.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

namespace vantrigo {

class SoundMixer;

// Plays a RIFF WAVE held in memory once on the default sound device and
// returns at once; earlier sounds play on, overlapping. Bytes that are no
// playable wave, or a missing or busy device, play nothing and report nothing.
void playWaveBytes(std::span<const std::uint8_t> bytes);

// playWaveBytes(clickSoundWave()).
void playClickSound();

// playWaveBytes on the given mixer instead of the program's own.
void playWaveBytes(SoundMixer& mixer, std::span<const std::uint8_t> bytes);

// Waits until every sound started so far has played out and the sound device
// is closed again; false if the timeout came first. True at once when no sound
// was ever started.
bool waitForSoundsToEnd(std::chrono::milliseconds timeout);

}  // namespace vantrigo
