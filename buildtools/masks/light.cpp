// The sun's light and the mottled shadow of leaves, both smooth fields over
// the whole sheet.
#include <algorithm>
#include <cmath>

#include "buildtools/masks/mask.h"

namespace masks {

// A sun near the top left corner: a bright disc, a glow around it, and long
// rays fanning over the sheet, every other one shorter.
Mask MakeSunLight() {
    constexpr float kCentreX = 72.0f;
    constexpr float kCentreY = 64.0f;
    constexpr float kRadius = 36.0f;
    Mask mask;
    mask.Fill([&](float x, float y) {
        const float dx = x - kCentreX;
        const float dy = y - kCentreY;
        const float distance = std::hypot(dx, dy);
        const float outside = std::max(0.0f, distance - kRadius);
        const float disc = 235.0f * (1.0f - SmoothStep(kRadius - 1.5f, kRadius + 1.5f, distance));
        const float glow = 130.0f * std::exp(-outside / 40.0f);
        // Rays: sixteen around the sun, the odd ones shorter, a little
        // narrower far from it.
        const float angle = std::atan2(dy, dx);
        const float sharpness = 10.0f + outside / 25.0f;
        const float beam = std::pow(std::max(0.0f, std::cos(16.0f * angle)), sharpness);
        const float reach = std::cos(8.0f * angle) > 0.0f ? 380.0f : 150.0f;
        const float ray = 110.0f * beam * std::exp(-outside / reach) * SmoothStep(0.0f, 10.0f, outside);
        const float warmth = 30.0f * std::exp(-distance / 480.0f);
        return std::min(255.0f, disc + glow + ray + warmth);
    });
    return mask;
}

// Dappled shade: a few octaves of smooth noise, cut softly into patches of
// shadow with sunny gaps between them.
Mask MakeMottledShadow() {
    // Each octave is turned by its own angle, so that no lattice lines up.
    auto octave = [](float x, float y, float cell, float angle, uint32_t seed) {
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        return ValueNoise(c * x - s * y + 1000.0f, s * x + c * y + 1000.0f, cell, seed);
    };
    Mask mask;
    mask.Fill([&](float x, float y) {
        const float n = 0.55f * octave(x, y, 84.0f, 0.3f, 11) + 0.28f * octave(x, y, 41.0f, 1.1f, 12) +
                        0.17f * octave(x, y, 19.0f, 2.0f, 13);
        const float patch = SmoothStep(0.38f, 0.62f, n);
        // The shade is a little deeper towards the top, under the foliage,
        // and light enough everywhere for the drawing to show through.
        const float depth = 62.0f + 24.0f * (1.0f - y / kHeight);
        return 6.0f + depth * patch;
    });
    return mask;
}

}  // namespace masks
