// The click sound as a complete RIFF WAVE file: PCM, mono, 22050 Hz, 16-bit,
// 17088 bytes of samples, 17132 bytes in all.
#pragma once

#include <cstdint>
#include <span>

namespace vantrigo {

inline constexpr std::size_t kClickWaveSize = 17132;

std::span<const std::uint8_t, kClickWaveSize> clickSoundWave();

}  // namespace vantrigo
