// Reading a RIFF WAVE file held in memory: the chunk walk and the conversion
// of its samples to the mixer's stream. Pure functions of their arguments,
// no I/O.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vantrigo {

// The "fmt " chunk's first 16 bytes, as the file states them.
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

// A wave found in a file: its format and the bytes of its "data" chunk, which
// point into the bytes given to parseWave.
struct WaveClip {
    WaveFormat format;
    std::span<const std::uint8_t> samples;
};

// Walks the chunks of a RIFF WAVE file. The file needs at least 36 bytes,
// "RIFF" at offset 0 and "WAVE" at offset 8; from offset 12 the chunks are
// walked until both "fmt " and "data" are found. The walk ends at the length
// stated at offset 4 or at the end of the bytes, whichever comes first, and a
// chunk whose stated length runs past that end is cut there and ends the walk:
// nothing beyond the given bytes is ever read. A chunk of odd length is
// followed by one pad byte, as RIFF requires, which the walk skips. The first
// "fmt " and the first "data" chunk count. No result without a "fmt " chunk of
// at least 16 bytes, or without a non-empty "data" chunk.
std::optional<WaveClip> parseWave(std::span<const std::uint8_t> bytes);

// Whether the mixer can play the format: integer PCM of 8, 16, 24 or 32 bits,
// 1 to 8 channels, 8000 to 192000 frames a second, with the block size and
// byte rate that these imply.
bool isPlayableFormat(const WaveFormat& format);

// The clip as 16-bit signed mono frames at `rate`: channels are averaged and
// another sample rate is converted by linear interpolation. A trailing partial
// frame is ignored. Empty when the format is not playable or the data holds no
// whole frame.
std::vector<std::int16_t> mixdown(const WaveClip& clip, std::uint32_t rate);

}  // namespace vantrigo
