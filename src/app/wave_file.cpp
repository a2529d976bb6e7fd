#include "app/wave_file.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace vantrigo {
namespace {

using Tag = std::array<std::uint8_t, 4>;

constexpr Tag kRiffTag = {'R', 'I', 'F', 'F'};
constexpr Tag kWaveTag = {'W', 'A', 'V', 'E'};
constexpr Tag kFormatTag = {'f', 'm', 't', ' '};
constexpr Tag kDataTag = {'d', 'a', 't', 'a'};

constexpr std::size_t kMinimumFileSize = 36;
constexpr std::size_t kRiffHeaderSize = 8;  // tag and length; the length counts from here
constexpr std::size_t kFirstChunk = 12;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kFormatSize = 16;

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kMaxChannels = 8;
constexpr std::uint32_t kMinRate = 8000;
constexpr std::uint32_t kMaxRate = 192000;

std::uint16_t readLe16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t readLe32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

bool hasTag(std::span<const std::uint8_t> bytes, std::size_t at, const Tag& tag) {
    return std::equal(tag.begin(), tag.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

WaveFormat readFormat(std::span<const std::uint8_t> body) {
    WaveFormat format;
    format.formatTag = readLe16(body, 0);
    format.channels = readLe16(body, 2);
    format.sampleRate = readLe32(body, 4);
    format.byteRate = readLe32(body, 8);
    format.blockAlign = readLe16(body, 12);
    format.bitsPerSample = readLe16(body, 14);
    return format;
}

// One sample of 1 to 4 little-endian bytes, scaled to the 16-bit range. 8-bit
// samples are unsigned, wider ones signed.
std::int32_t decodeSample(const std::uint8_t* sample, std::size_t bytesPerSample) {
    if (bytesPerSample == 1) return (static_cast<std::int32_t>(sample[0]) - 128) * 256;
    // The top two bytes carry the 16-bit value; lower ones are dropped.
    const std::size_t top = bytesPerSample - 2;
    const auto value = static_cast<std::uint16_t>(sample[top] | (sample[top + 1] << 8));
    return static_cast<std::int16_t>(value);
}

}  // namespace

std::optional<WaveClip> parseWave(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMinimumFileSize) return std::nullopt;
    if (!hasTag(bytes, 0, kRiffTag) || !hasTag(bytes, kFirstChunk - 4, kWaveTag)) {
        return std::nullopt;
    }

    const std::uint64_t statedEnd = kRiffHeaderSize + std::uint64_t{readLe32(bytes, 4)};
    const std::size_t end =
        static_cast<std::size_t>(std::min<std::uint64_t>(statedEnd, bytes.size()));

    std::optional<WaveFormat> format;
    std::optional<std::span<const std::uint8_t>> data;
    std::size_t at = kFirstChunk;
    while (!(format && data) && at < end && end - at >= kChunkHeaderSize) {
        const std::size_t body = at + kChunkHeaderSize;
        const std::uint32_t statedLength = readLe32(bytes, at + 4);
        const std::size_t room = end - body;
        const bool cut = statedLength > room;
        const std::size_t length = cut ? room : statedLength;
        const auto contents = bytes.subspan(body, length);

        if (!format && hasTag(bytes, at, kFormatTag)) {
            if (length < kFormatSize) return std::nullopt;
            format = readFormat(contents);
        } else if (!data && hasTag(bytes, at, kDataTag)) {
            data = contents;
        }

        if (cut) break;
        const std::size_t padded = length + (length & 1U);
        if (padded >= end - body) break;
        at = body + padded;
    }

    if (!format || !data || data->empty()) return std::nullopt;
    return WaveClip{*format, *data};
}

bool isPlayableFormat(const WaveFormat& format) {
    const unsigned bits = format.bitsPerSample;
    if (format.formatTag != kPcmFormat) return false;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (format.channels == 0 || format.channels > kMaxChannels) return false;
    if (format.sampleRate < kMinRate || format.sampleRate > kMaxRate) return false;
    const unsigned blockAlign = format.channels * (bits / 8);
    return format.blockAlign == blockAlign &&
           format.byteRate == std::uint64_t{format.sampleRate} * blockAlign;
}

std::vector<std::int16_t> mixdown(const WaveClip& clip, std::uint32_t rate) {
    const WaveFormat& format = clip.format;
    if (!isPlayableFormat(format) || rate == 0) return {};
    const std::size_t frameCount = clip.samples.size() / format.blockAlign;
    if (frameCount == 0) return {};

    const std::size_t bytesPerSample = format.bitsPerSample / 8U;
    const std::int32_t channels = format.channels;
    auto frameAt = [&](std::size_t frame) {
        const std::uint8_t* sample = clip.samples.data() + frame * format.blockAlign;
        std::int32_t sum = 0;
        for (std::int32_t channel = 0; channel < channels; ++channel) {
            sum += decodeSample(sample, bytesPerSample);
            sample += bytesPerSample;
        }
        return sum / channels;
    };

    std::vector<std::int16_t> frames;
    if (format.sampleRate == rate) {
        frames.resize(frameCount);
        for (std::size_t frame = 0; frame < frameCount; ++frame) {
            frames[frame] = static_cast<std::int16_t>(frameAt(frame));
        }
        return frames;
    }

    // Output frame k sits at input position k * sampleRate / rate; positions
    // are kept as whole numbers in units of 1/rate of an input frame.
    const std::uint64_t inRate = format.sampleRate;
    const std::uint64_t lastPosition = (frameCount - 1) * std::uint64_t{rate};
    const std::size_t outCount = static_cast<std::size_t>(lastPosition / inRate) + 1;
    frames.resize(outCount);
    for (std::size_t k = 0; k < outCount; ++k) {
        const std::uint64_t position = k * inRate;
        const std::size_t left = static_cast<std::size_t>(position / rate);
        const auto fraction = static_cast<std::int64_t>(position % rate);
        const std::int64_t a = frameAt(left);
        const std::int64_t b = left + 1 < frameCount ? frameAt(left + 1) : a;
        frames[k] = static_cast<std::int16_t>(a + (b - a) * fraction / std::int64_t{rate});
    }
    return frames;
}

}  // namespace vantrigo
