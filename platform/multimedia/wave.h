// Wave files: the RIFF/WAVE parser behind PlaySoundA and the conversion of
// what it finds to the audio sink's format (22050 Hz, 16-bit, stereo).
//
// Reads uncompressed PCM at 8, 16, 24 and 32 bits, IEEE float at 32 bits and
// the extensible header when its sub-format is one of those, in one or two
// channels at 1000 to 192000 Hz. Every size in the file is checked against the
// bytes given before anything is read or allocated; a file that is not one of
// these, or that lies about its sizes, is refused with the reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

inline constexpr uint32_t kDeviceRate = 22050;
inline constexpr uint32_t kDeviceChannels = 2;

// The longest sound played, and the biggest wave file or memory image read.
inline constexpr uint32_t kMaxWaveSeconds = 600;
inline constexpr size_t kMaxWaveBytes = 64u << 20;

enum class WaveError {
    None,
    TooShort,          // fewer bytes than a RIFF header
    NotRiffWave,       // no "RIFF" ... "WAVE" signature
    TooBig,            // more bytes than kMaxWaveBytes
    ChunkPastEnd,      // a chunk (the data chunk included) runs past the end
    NoFormat,          // no "fmt " chunk before the end
    DuplicateChunk,    // two "fmt " or two "data" chunks
    BadFormatChunk,    // a "fmt " chunk too short for what it says it holds
    UnsupportedCoding, // neither PCM nor IEEE float
    BadChannels,       // not one or two channels
    BadRate,           // a rate outside 1000..192000 Hz
    BadBits,           // bits per sample that the coding does not have
    BadBlockAlign,     // a block that is not channels * bytes per sample
    NoData,            // no "data" chunk
    TooLong,           // longer than kMaxWaveSeconds
};

// What the "fmt " chunk says, reduced to what the conversion needs.
struct WaveFormat {
    bool isFloat = false;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;
    uint16_t blockAlign = 0;
};

// A parsed wave: its format and its whole frames, pointing into the bytes
// that were parsed (a trailing partial frame is dropped).
struct WaveSound {
    WaveFormat format;
    const uint8_t* frames = nullptr;
    size_t frameCount = 0;
};

[[nodiscard]] std::optional<WaveSound> ParseWave(std::span<const uint8_t> bytes, WaveError& error);

// A short English reason, for logs and test failures.
const char* DescribeWaveError(WaveError error);

// The extent of a wave image that starts at bytes, from its RIFF header: the
// RIFF size plus eight, or nothing when the header is not one. For sounds
// handed over in memory, whose length Windows also takes from the header.
[[nodiscard]] std::optional<size_t> WaveImageSize(const uint8_t* header, size_t available);

// The sound as interleaved stereo 16-bit samples at kDeviceRate, resampled
// linearly; mono is copied to both channels.
std::vector<int16_t> ConvertToDevice(const WaveSound& sound);

// How long the converted sound lasts, rounded up to a whole millisecond.
uint32_t DeviceDurationMs(size_t sampleCount);

}  // namespace platform
