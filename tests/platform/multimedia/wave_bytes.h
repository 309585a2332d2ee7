// Wave files made in code for the sound tests: a RIFF/WAVE image from chunks,
// and a "fmt " chunk from its fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wave_bytes {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A chunk with the size it holds, or with a size that lies about it.
inline Bytes Chunk(const char* id, const Bytes& body, int64_t claimedSize = -1) {
    Bytes out(id, id + 4);
    Put32(out, claimedSize < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(claimedSize));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) out.push_back(0);
    return out;
}

inline Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out = {'R', 'I', 'F', 'F'};
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

struct Format {
    uint16_t coding = 1;  // 1 PCM, 3 IEEE float, 0xFFFE extensible
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    int blockAlign = -1;     // -1: channels * bits / 8
    uint16_t subFormat = 1;  // the extensible header's coding
};

inline Bytes FormatChunk(const Format& f) {
    Bytes body;
    const uint16_t align = f.blockAlign < 0 ? static_cast<uint16_t>(f.channels * f.bits / 8)
                                            : static_cast<uint16_t>(f.blockAlign);
    Put16(body, f.coding);
    Put16(body, f.channels);
    Put32(body, f.rate);
    Put32(body, f.rate * align);
    Put16(body, align);
    Put16(body, f.bits);
    if (f.coding == 0xFFFE) {
        Put16(body, 22);
        Put16(body, f.bits);
        Put32(body, f.channels == 2 ? 3 : 4);
        Put16(body, f.subFormat);
        const uint8_t guidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        body.insert(body.end(), guidTail, guidTail + 14);
    }
    return Chunk("fmt ", body);
}

// A mono 16-bit PCM file of the given samples.
inline Bytes Mono16(uint32_t rate, const std::vector<int16_t>& samples) {
    Bytes data;
    for (int16_t s : samples) Put16(data, static_cast<uint16_t>(s));
    Format f;
    f.rate = rate;
    return Riff({FormatChunk(f), Chunk("data", data)});
}

// A mono 16-bit PCM file of frames frames of silence-free constant level.
inline Bytes Level16(uint32_t rate, size_t frames, int16_t level = 1000) {
    return Mono16(rate, std::vector<int16_t>(frames, level));
}

}  // namespace wave_bytes
