#include "platform/multimedia/wave.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {
namespace {

constexpr uint16_t kCodingPcm = 1;
constexpr uint16_t kCodingFloat = 3;
constexpr uint16_t kCodingExtensible = 0xFFFE;
constexpr uint32_t kMinRate = 1000;
constexpr uint32_t kMaxRate = 192000;
constexpr size_t kRiffHeaderSize = 12;
constexpr size_t kChunkHeaderSize = 8;
constexpr size_t kBasicFormatSize = 16;
constexpr size_t kExtensibleFormatSize = 40;
// The sub-format's first two bytes, at this offset of an extensible header,
// are the coding; the rest of its GUID is the same for PCM and float.
constexpr size_t kSubFormatOffset = 24;

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool HasId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Checks a "fmt " chunk and fills format; returns WaveError::None when it is
// one that ConvertToDevice can play.
WaveError ReadFormat(const uint8_t* body, size_t size, WaveFormat& format) {
    if (size < kBasicFormatSize) return WaveError::BadFormatChunk;
    uint16_t coding = Read16(body);
    format.channels = Read16(body + 2);
    format.rate = Read32(body + 4);
    format.blockAlign = Read16(body + 12);
    format.bits = Read16(body + 14);
    if (coding == kCodingExtensible) {
        if (size < kExtensibleFormatSize) return WaveError::BadFormatChunk;
        coding = Read16(body + kSubFormatOffset);
    }
    if (coding != kCodingPcm && coding != kCodingFloat) return WaveError::UnsupportedCoding;
    format.isFloat = coding == kCodingFloat;
    if (format.channels < 1 || format.channels > 2) return WaveError::BadChannels;
    if (format.rate < kMinRate || format.rate > kMaxRate) return WaveError::BadRate;
    const bool bitsOk = format.isFloat ? format.bits == 32
                                       : (format.bits == 8 || format.bits == 16 ||
                                          format.bits == 24 || format.bits == 32);
    if (!bitsOk) return WaveError::BadBits;
    if (format.blockAlign != format.channels * (format.bits / 8)) return WaveError::BadBlockAlign;
    return WaveError::None;
}

int16_t SampleU8(const uint8_t* p) { return static_cast<int16_t>((p[0] - 128) * 256); }
int16_t SampleS16(const uint8_t* p) { return static_cast<int16_t>(Read16(p)); }
int16_t SampleS24(const uint8_t* p) { return static_cast<int16_t>(Read16(p + 1)); }
int16_t SampleS32(const uint8_t* p) { return static_cast<int16_t>(Read16(p + 2)); }

int16_t SampleF32(const uint8_t* p) {
    const uint32_t bits = Read32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (!(value == value)) return 0;  // NaN
    const float scaled = std::clamp(value, -1.0f, 1.0f) * 32767.0f;
    return static_cast<int16_t>(std::lround(scaled));
}

using SampleReader = int16_t (*)(const uint8_t*);

SampleReader ReaderFor(const WaveFormat& format) {
    if (format.isFloat) return &SampleF32;
    switch (format.bits) {
        case 8: return &SampleU8;
        case 16: return &SampleS16;
        case 24: return &SampleS24;
        default: return &SampleS32;
    }
}

// The sound at its own rate as stereo 16-bit frames.
std::vector<int16_t> DecodeStereo(const WaveSound& sound) {
    const SampleReader read = ReaderFor(sound.format);
    const size_t bytesPerSample = sound.format.bits / 8;
    const bool mono = sound.format.channels == 1;
    std::vector<int16_t> out(sound.frameCount * kDeviceChannels);
    const uint8_t* frame = sound.frames;
    for (size_t i = 0; i < sound.frameCount; ++i, frame += sound.format.blockAlign) {
        out[2 * i] = read(frame);
        out[2 * i + 1] = mono ? out[2 * i] : read(frame + bytesPerSample);
    }
    return out;
}

}  // namespace

std::optional<size_t> WaveImageSize(const uint8_t* header, size_t available) {
    if (header == nullptr || available < kRiffHeaderSize) return std::nullopt;
    if (!HasId(header, "RIFF") || !HasId(header + 8, "WAVE")) return std::nullopt;
    return static_cast<size_t>(Read32(header + 4)) + kChunkHeaderSize;
}

std::optional<WaveSound> ParseWave(std::span<const uint8_t> bytes, WaveError& error) {
    error = WaveError::None;
    if (bytes.size() > kMaxWaveBytes) error = WaveError::TooBig;
    else if (bytes.size() < kRiffHeaderSize) error = WaveError::TooShort;
    else if (!HasId(bytes.data(), "RIFF") || !HasId(bytes.data() + 8, "WAVE")) error = WaveError::NotRiffWave;
    if (error != WaveError::None) return std::nullopt;

    WaveSound sound;
    bool haveFormat = false;
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
    size_t offset = kRiffHeaderSize;
    // Chunks after both needed ones are never looked at, so trailing junk
    // does not spoil a good file.
    while ((!haveFormat || data == nullptr) && bytes.size() - offset >= kChunkHeaderSize) {
        const uint8_t* header = bytes.data() + offset;
        const size_t size = Read32(header + 4);
        const size_t body = offset + kChunkHeaderSize;
        if (size > bytes.size() - body) {
            error = WaveError::ChunkPastEnd;
            return std::nullopt;
        }
        if (HasId(header, "fmt ")) {
            if (haveFormat) error = WaveError::DuplicateChunk;
            else error = ReadFormat(bytes.data() + body, size, sound.format);
            if (error != WaveError::None) return std::nullopt;
            haveFormat = true;
        } else if (HasId(header, "data")) {
            if (data != nullptr) {
                error = WaveError::DuplicateChunk;
                return std::nullopt;
            }
            data = bytes.data() + body;
            dataSize = size;
        }
        // Chunks are padded to an even length; a missing pad byte at the very
        // end is tolerated.
        offset = body + size + (size & 1);
        if (offset > bytes.size()) offset = bytes.size();
    }
    if (!haveFormat) error = WaveError::NoFormat;
    else if (data == nullptr) error = WaveError::NoData;
    if (error != WaveError::None) return std::nullopt;

    sound.frames = data;
    sound.frameCount = dataSize / sound.format.blockAlign;
    if (sound.frameCount / sound.format.rate >= kMaxWaveSeconds) {
        error = WaveError::TooLong;
        return std::nullopt;
    }
    return sound;
}

const char* DescribeWaveError(WaveError error) {
    switch (error) {
        case WaveError::None: return "no error";
        case WaveError::TooShort: return "too short for a wave file";
        case WaveError::NotRiffWave: return "not a RIFF/WAVE file";
        case WaveError::TooBig: return "too big";
        case WaveError::ChunkPastEnd: return "a chunk runs past the end of the file";
        case WaveError::NoFormat: return "no format chunk";
        case WaveError::DuplicateChunk: return "a format or data chunk appears twice";
        case WaveError::BadFormatChunk: return "the format chunk is too short";
        case WaveError::UnsupportedCoding: return "neither PCM nor IEEE float";
        case WaveError::BadChannels: return "not one or two channels";
        case WaveError::BadRate: return "a sample rate out of range";
        case WaveError::BadBits: return "bits per sample that the coding does not have";
        case WaveError::BadBlockAlign: return "a block size that does not fit the format";
        case WaveError::NoData: return "no data chunk";
        case WaveError::TooLong: return "too long";
    }
    return "unknown error";
}

std::vector<int16_t> ConvertToDevice(const WaveSound& sound) {
    std::vector<int16_t> source = DecodeStereo(sound);
    const uint64_t rate = sound.format.rate;
    if (rate == kDeviceRate || source.empty()) return source;
    const uint64_t frames = sound.frameCount;
    const size_t outFrames = static_cast<size_t>((frames * kDeviceRate + rate - 1) / rate);
    std::vector<int16_t> out(outFrames * kDeviceChannels);
    for (size_t i = 0; i < outFrames; ++i) {
        // Output frame i sits at source position i * rate / kDeviceRate.
        const uint64_t position = i * rate;
        const size_t at = static_cast<size_t>(position / kDeviceRate);
        const int64_t fraction = static_cast<int64_t>(position % kDeviceRate);
        const size_t next = std::min<size_t>(at + 1, sound.frameCount - 1);
        for (size_t c = 0; c < kDeviceChannels; ++c) {
            const int64_t a = source[at * kDeviceChannels + c];
            const int64_t b = source[next * kDeviceChannels + c];
            out[i * kDeviceChannels + c] = static_cast<int16_t>(a + (b - a) * fraction / kDeviceRate);
        }
    }
    return out;
}

uint32_t DeviceDurationMs(size_t sampleCount) {
    const uint64_t frames = sampleCount / kDeviceChannels;
    return static_cast<uint32_t>((frames * 1000 + kDeviceRate - 1) / kDeviceRate);
}

}  // namespace platform
