// A small effect image in memory for the effects' pass tests: rows of
// (B, G, R) pixels with padding, row 0 first.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "effects/effects.h"

namespace effect_testing {

struct Bgr {
    int b = 0;
    int g = 0;
    int r = 0;
    bool operator==(const Bgr&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Bgr& c) {
    return out << "(B " << c.b << ", G " << c.g << ", R " << c.r << ")";
}

class TestImage {
public:
    TestImage(int width, int height, Bgr fill = {})
        : m_stride((width * 3 + 3) / 4 * 4), m_bytes(static_cast<size_t>(m_stride) * height, 0xEE) {
        m_image = EffectImage{m_bytes.data(), width, height, m_stride};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) Set(x, y, fill);
        }
    }

    const EffectImage& Image() const { return m_image; }
    std::vector<uint8_t>& Bytes() { return m_bytes; }

    Bgr At(int x, int row) const {
        const uint8_t* p = m_bytes.data() + static_cast<size_t>(row) * m_stride + 3 * x;
        return {p[0], p[1], p[2]};
    }
    void Set(int x, int row, Bgr colour) {
        uint8_t* p = m_bytes.data() + static_cast<size_t>(row) * m_stride + 3 * x;
        p[0] = static_cast<uint8_t>(colour.b);
        p[1] = static_cast<uint8_t>(colour.g);
        p[2] = static_cast<uint8_t>(colour.r);
    }
    // Fills every pixel from a small generator of our own, the same on every run.
    void Scramble(uint32_t seed) {
        for (int y = 0; y < m_image.height; ++y) {
            for (int x = 0; x < 3 * m_image.width; ++x) {
                seed = seed * 1664525u + 1013904223u;
                m_bytes[static_cast<size_t>(y) * m_stride + x] = static_cast<uint8_t>(seed >> 24);
            }
        }
    }

private:
    int m_stride;
    std::vector<uint8_t> m_bytes;
    EffectImage m_image;
};

}  // namespace effect_testing
