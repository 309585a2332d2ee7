// Soap bubbles floating over the drawing: each darkens its rim and casts a
// faint shadow down and to the right, and catches light in a bright spot at
// its upper left and a thin crescent at its lower right.
#include <cmath>
#include <vector>

#include "buildtools/masks/mask.h"

namespace masks {

namespace {

struct Bubble {
    float x;
    float y;
    float radius;
};

// Bubbles of many sizes, placed at random but never crowding each other.
std::vector<Bubble> PlaceBubbles() {
    Random random(0x0B0BB1E5u);
    std::vector<Bubble> bubbles;
    for (int tries = 0; tries < 4000 && bubbles.size() < 26; ++tries) {
        // Large bubbles are rare: the radius leans towards the small end.
        const float t = random.Uniform(0.0f, 1.0f);
        const Bubble bubble{random.Uniform(-10.0f, kWidth + 10.0f),
                            random.Uniform(-10.0f, kHeight + 10.0f), 12.0f + 52.0f * t * t};
        bool crowded = false;
        for (const Bubble& other : bubbles) {
            const float gap = std::hypot(bubble.x - other.x, bubble.y - other.y);
            crowded = crowded || gap < 0.95f * (bubble.radius + other.radius) + 6.0f;
        }
        if (!crowded) {
            bubbles.push_back(bubble);
        }
    }
    return bubbles;
}

}  // namespace

void MakeBubbles(Mask& shadow, Mask& light) {
    for (const Bubble& b : PlaceBubbles()) {
        const float r = b.radius;
        const float shiftX = 0.16f * r;
        const float shiftY = 0.22f * r;
        shadow.Raise(b.x - r - 2, b.y - r - 2, b.x + r + shiftX + 4, b.y + r + shiftY + 4,
                     [&](float x, float y) {
                         const float d = std::hypot(x - b.x, y - b.y);
                         // A dark rim just inside the edge, fading inwards.
                         const float rimWidth = std::max(1.8f, 0.14f * r);
                         const float rim = std::exp(-std::pow((r - d) / rimWidth, 2.0f)) *
                                           (1.0f - SmoothStep(r - 0.5f, r + 1.0f, d));
                         // The cast shadow, seen outside the bubble only.
                         const float cast = std::hypot(x - b.x - shiftX, y - b.y - shiftY);
                         const float drop = (1.0f - SmoothStep(0.75f * r, 1.02f * r, cast)) *
                                            SmoothStep(r - 0.5f, r + 1.5f, d);
                         // Inside, the far side is a touch darker than the near one.
                         const float inside = 1.0f - SmoothStep(r - 1.0f, r + 0.5f, d);
                         const float tint = inside * 18.0f *
                                            std::max(0.0f, ((x - b.x) + (y - b.y)) / (1.41f * r));
                         return std::max({95.0f * rim, 45.0f * drop, tint});
                     });
        light.Raise(b.x - r, b.y - r, b.x + r, b.y + r, [&](float x, float y) {
            const float d = std::hypot(x - b.x, y - b.y);
            const float inside = 1.0f - SmoothStep(r - 1.0f, r + 0.5f, d);
            // The highlight: a soft oval window reflection at the upper left.
            const float hx = (x - (b.x - 0.40f * r)) / (0.26f * r);
            const float hy = (y - (b.y - 0.42f * r)) / (0.18f * r);
            const float spot = 1.0f - SmoothStep(0.55f, 1.0f, std::hypot(hx, hy));
            // The crescent: light along the rim, facing the lower right.
            const float along = ((x - b.x) + (y - b.y)) / (1.41f * std::max(d, 1.0f));
            const float band = std::exp(-std::pow((r - 0.16f * r - d) / (0.07f * r + 0.8f), 2.0f));
            const float crescent = band * SmoothStep(0.35f, 0.9f, along);
            const float film = 20.0f * inside;
            return inside * std::max({240.0f * spot, 120.0f * crescent, film});
        });
    }
}

}  // namespace masks
