// The effect masks: one byte per pixel of the 512 x 400 sheet, an amount of
// light that an effect adds to every channel or of shadow that it takes away.
// Masks are drawn here in screen order (row 0 at the top) with float values
// from 0 to 255 and written bottom line first, as the effects read them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace masks {

inline constexpr int kWidth = 512;
inline constexpr int kHeight = 400;

// A small generator of our own, so that every build draws the same masks
// whatever the standard library's distributions do.
class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed) {}
    uint32_t Next();
    // A value from low to high.
    float Uniform(float low, float high);

private:
    uint64_t m_state;
};

class Mask {
public:
    Mask();

    float At(int x, int y) const { return m_values[static_cast<size_t>(y) * kWidth + x]; }
    float& At(int x, int y) { return m_values[static_cast<size_t>(y) * kWidth + x]; }

    // Raises each pixel of the rectangle (clipped to the sheet) to what the
    // shape gives at the pixel's centre, when that is more.
    template <typename Shape>
    void Raise(float left, float top, float right, float bottom, Shape shape) {
        const int x0 = std::max(0, static_cast<int>(std::floor(left)));
        const int y0 = std::max(0, static_cast<int>(std::floor(top)));
        const int x1 = std::min(kWidth - 1, static_cast<int>(std::ceil(right)));
        const int y1 = std::min(kHeight - 1, static_cast<int>(std::ceil(bottom)));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float value = shape(x + 0.5f, y + 0.5f);
                float& here = At(x, y);
                here = std::max(here, value);
            }
        }
    }

    // Sets every pixel to what the field gives at its centre.
    template <typename Field>
    void Fill(Field field) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                At(x, y) = field(x + 0.5f, y + 0.5f);
            }
        }
    }

    // The file's bytes: values rounded and limited to 0..255, the bottom line
    // of the sheet first.
    std::vector<uint8_t> Bytes() const;

private:
    std::vector<float> m_values;
};

// 0 below low, 1 above high, a smooth step between.
float SmoothStep(float low, float high, float value);

// Distance from (px, py) to the segment from (ax, ay) to (bx, by).
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by);

// How much of a stroke of the given half width covers a pixel whose centre is
// at that distance from the stroke's middle line, with a one-pixel soft edge.
inline float StrokeCover(float distance, float halfWidth) {
    return 1.0f - SmoothStep(halfWidth - 0.6f, halfWidth + 0.6f, distance);
}

// Smooth value noise from 0 to 1 over lattice cells of the given size; the
// seed picks one of many unrelated fields.
float ValueNoise(float x, float y, float cell, uint32_t seed);

// The masks, one function per effect.
Mask MakeSunLight();
Mask MakeMottledShadow();
void MakeBubbles(Mask& shadow, Mask& light);
void MakeSnow(Mask& shadow, Mask& light);
void MakePlants(Mask& shadow, Mask& light);

}  // namespace masks
