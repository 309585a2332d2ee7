#include "buildtools/synth/wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace synth {
namespace {

void Put16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

bool WriteWav(const std::string& path, const std::vector<float>& samples, int sampleRate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string bytes;
    bytes.reserve(44 + dataBytes);
    bytes += "RIFF";
    Put32(bytes, 36 + dataBytes);
    bytes += "WAVEfmt ";
    Put32(bytes, 16);
    Put16(bytes, 1);  // PCM.
    Put16(bytes, 1);  // Mono.
    Put32(bytes, static_cast<uint32_t>(sampleRate));
    Put32(bytes, static_cast<uint32_t>(sampleRate) * 2);
    Put16(bytes, 2);
    Put16(bytes, 16);
    bytes += "data";
    Put32(bytes, dataBytes);
    for (float sample : samples) {
        const long value = std::lround(std::clamp(static_cast<double>(sample), -1.0, 1.0) * 32767.0);
        Put16(bytes, static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xFFFF);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace synth
