#include "buildtools/masks/mask.h"

#include <algorithm>

namespace masks {

uint32_t Random::Next() {
    // SplitMix64, keeping the high half.
    m_state += 0x9E3779B97F4A7C15ull;
    uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float Random::Uniform(float low, float high) {
    return low + (high - low) * static_cast<float>(Next() >> 8) / static_cast<float>(1u << 24);
}

Mask::Mask() : m_values(static_cast<size_t>(kWidth) * kHeight, 0.0f) {}

std::vector<uint8_t> Mask::Bytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(m_values.size());
    for (int row = 0; row < kHeight; ++row) {
        const int y = kHeight - 1 - row;
        for (int x = 0; x < kWidth; ++x) {
            const float value = std::clamp(At(x, y), 0.0f, 255.0f);
            bytes.push_back(static_cast<uint8_t>(std::lround(value)));
        }
    }
    return bytes;
}

float SmoothStep(float low, float high, float value) {
    const float t = std::clamp((value - low) / (high - low), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax;
    const float dy = by - ay;
    const float length2 = dx * dx + dy * dy;
    float t = length2 > 0.0f ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

namespace {

// A value from 0 to 1 for one lattice point.
float LatticeValue(int32_t i, int32_t j, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(i) * 0x8DA6B343u ^ static_cast<uint32_t>(j) * 0xD8163841u ^
                 seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

}  // namespace

float ValueNoise(float x, float y, float cell, uint32_t seed) {
    const float u = x / cell;
    const float v = y / cell;
    const float fu = std::floor(u);
    const float fv = std::floor(v);
    const auto i = static_cast<int32_t>(fu);
    const auto j = static_cast<int32_t>(fv);
    const float s = SmoothStep(0.0f, 1.0f, u - fu);
    const float t = SmoothStep(0.0f, 1.0f, v - fv);
    const float top = LatticeValue(i, j, seed) * (1 - s) + LatticeValue(i + 1, j, seed) * s;
    const float bottom = LatticeValue(i, j + 1, seed) * (1 - s) + LatticeValue(i + 1, j + 1, seed) * s;
    return top * (1 - t) + bottom * t;
}

}  // namespace masks
