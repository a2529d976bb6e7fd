// The click that every change of the input plays.
#pragma once

#include <cstdint>
#include <span>

namespace vantrigo {

// Plays a RIFF WAVE held in memory once on the default sound device and
// returns at once; earlier sounds play on, overlapping. Bytes that are no
// playable wave, or a missing or busy device, play nothing and report nothing.
void playWaveBytes(std::span<const std::uint8_t> bytes);

// playWaveBytes(clickSoundWave()).
void playClickSound();

}  // namespace vantrigo
