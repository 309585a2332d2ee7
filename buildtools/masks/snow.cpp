// Snow: flakes of every size falling over a dimmed winter sky, and a drift
// along the bottom of the sheet. The shadow mask greys the sky and puts a
// soft shadow under each flake; the light mask draws the flakes and the drift.
#include <cmath>

#include "buildtools/masks/mask.h"

namespace masks {

namespace {

constexpr float kPi = 3.14159265f;

// The top of the drift at column x, in screen rows.
float DriftTop(float x) {
    return 348.0f + 14.0f * std::sin(x / 61.0f + 0.6f) + 7.0f * std::sin(x / 23.0f + 2.1f) +
           3.0f * std::sin(x / 9.0f);
}

// A six-armed crystal: arms from the centre, each with two pairs of side
// branches, and a small hexagonal heart. Returns coverage from 0 to 1.
float Crystal(float x, float y, float cx, float cy, float radius, float turn) {
    const float halfWidth = std::max(0.75f, radius * 0.07f);
    float cover = StrokeCover(std::hypot(x - cx, y - cy), radius * 0.18f);
    for (int arm = 0; arm < 6; ++arm) {
        const float angle = turn + arm * kPi / 3.0f;
        const float ux = std::cos(angle);
        const float uy = std::sin(angle);
        const float ex = cx + radius * ux;
        const float ey = cy + radius * uy;
        cover = std::max(cover, StrokeCover(SegmentDistance(x, y, cx, cy, ex, ey), halfWidth));
        for (float at : {0.45f, 0.72f}) {
            const float bx = cx + at * radius * ux;
            const float by = cy + at * radius * uy;
            const float length = (1.0f - at) * radius * 0.75f;
            for (float side : {-1.0f, 1.0f}) {
                const float branch = angle + side * kPi / 4.0f;
                const float tx = bx + length * std::cos(branch);
                const float ty = by + length * std::sin(branch);
                cover = std::max(cover,
                                 StrokeCover(SegmentDistance(x, y, bx, by, tx, ty), halfWidth * 0.8f));
            }
        }
    }
    return cover;
}

}  // namespace

void MakeSnow(Mask& shadow, Mask& light) {
    // A grey winter light over the sky, lighter near the snow.
    shadow.Fill([](float x, float y) {
        const float top = DriftTop(x);
        const float sky = 1.0f - SmoothStep(top - 1.0f, top + 1.0f, y);
        return sky * (58.0f - 26.0f * y / kHeight);
    });
    // The drift: bright snow whose ripples catch less light in their hollows.
    light.Fill([](float x, float y) {
        const float top = DriftTop(x);
        const float snow = SmoothStep(top - 1.0f, top + 1.0f, y);
        const float ripple = 0.5f + 0.5f * std::sin(x / 17.0f + y / 6.0f + std::sin(x / 41.0f) * 2.0f);
        const float depth = std::min(1.0f, (y - top) / 50.0f);
        return snow * (245.0f - 35.0f * depth * ripple);
    });
    // A soft blue-grey edge under the drift's crest, shaded on the sky side.
    shadow.Raise(0, 320, kWidth, kHeight, [](float x, float y) {
        const float below = y - DriftTop(x);
        return below > 0.0f ? 40.0f * std::exp(-below / 4.0f) : 0.0f;
    });

    Random random(0x5A0F1A4Eu);
    for (int i = 0; i < 170; ++i) {
        // Mostly small flakes, a few medium crystals and some large ones.
        const int kind = i < 10 ? 2 : i < 48 ? 1 : 0;
        const float radius = kind == 2   ? random.Uniform(13.0f, 22.0f)
                             : kind == 1 ? random.Uniform(5.5f, 9.0f)
                                         : random.Uniform(1.4f, 3.0f);
        const float cx = random.Uniform(-radius, kWidth + radius);
        const float cy = random.Uniform(-radius, DriftTop(cx) - radius * 0.6f);
        const float turn = random.Uniform(0.0f, kPi / 3.0f);
        const float brightness = random.Uniform(200.0f, 250.0f);
        auto flake = [=](float x, float y) {
            if (kind == 0) {
                return 1.0f - SmoothStep(radius * 0.35f, radius + 0.6f, std::hypot(x - cx, y - cy));
            }
            return Crystal(x, y, cx, cy, radius, turn);
        };
        const float reach = radius + 2.0f;
        constexpr float kOffset = 2.5f;
        shadow.Raise(cx - reach + kOffset, cy - reach + kOffset, cx + reach + kOffset,
                     cy + reach + kOffset,
                     [&](float x, float y) { return 70.0f * flake(x - kOffset, y - kOffset); });
        light.Raise(cx - reach, cy - reach, cx + reach, cy + reach,
                    [&](float x, float y) { return brightness * flake(x, y); });
    }
}

}  // namespace masks
