// Plants growing over the drawing: leafy stems rising from the bottom of the
// sheet, a fringe of grass, and a vine hanging from the top right corner. The
// shadow mask holds their dark silhouettes with a soft shadow cast behind;
// the light mask lays a sheen on one half of each leaf and lights its vein.
#include <cmath>
#include <vector>

#include "buildtools/masks/mask.h"

namespace masks {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kCastX = 5.0f;
constexpr float kCastY = 4.0f;

struct Point {
    float x;
    float y;
};

// A cubic curve sampled every few pixels.
std::vector<Point> Curve(Point a, Point b, Point c, Point d, int steps) {
    std::vector<Point> points;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        const float s = 1.0f - t;
        points.push_back({s * s * s * a.x + 3 * s * s * t * b.x + 3 * s * t * t * c.x + t * t * t * d.x,
                          s * s * s * a.y + 3 * s * s * t * b.y + 3 * s * t * t * c.y + t * t * t * d.y});
    }
    return points;
}

// Draws a stroke along the points, tapering from one half width to another,
// into the silhouette and, offset, into the cast shadow.
void Stem(Mask& silhouette, Mask& cast, const std::vector<Point>& points, float startWidth,
          float endWidth) {
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const Point a = points[i];
        const Point b = points[i + 1];
        const float t = static_cast<float>(i) / (points.size() - 1);
        const float halfWidth = startWidth + (endWidth - startWidth) * t;
        const float reach = halfWidth + 2.0f;
        auto stroke = [=](float x, float y) {
            return StrokeCover(SegmentDistance(x, y, a.x, a.y, b.x, b.y), halfWidth);
        };
        silhouette.Raise(std::min(a.x, b.x) - reach, std::min(a.y, b.y) - reach,
                         std::max(a.x, b.x) + reach, std::max(a.y, b.y) + reach, stroke);
        cast.Raise(std::min(a.x, b.x) - reach + kCastX, std::min(a.y, b.y) - reach + kCastY,
                   std::max(a.x, b.x) + reach + kCastX, std::max(a.y, b.y) + reach + kCastY,
                   [=](float x, float y) { return stroke(x - kCastX, y - kCastY); });
    }
}

// A leaf from its base along the given angle: a pointed oval whose half width
// is widest a third of the way out. Its sheen lies on the side the light
// comes from, its vein down the middle.
void Leaf(Mask& silhouette, Mask& cast, Mask& light, Point base, float angle, float length,
          float width) {
    const float ux = std::cos(angle);
    const float uy = std::sin(angle);
    // Local coordinates: u along the leaf, v across it.
    auto local = [=](float x, float y, float& u, float& v) {
        u = (x - base.x) * ux + (y - base.y) * uy;
        v = -(x - base.x) * uy + (y - base.y) * ux;
    };
    auto halfWidth = [=](float u) {
        if (u <= 0.0f || u >= length) return 0.0f;
        const float t = u / length;
        return width * std::pow(std::sin(kPi * std::pow(t, 0.75f)), 0.9f);
    };
    auto cover = [=](float x, float y) {
        float u = 0;
        float v = 0;
        local(x, y, u, v);
        const float w = halfWidth(u);
        return w > 0.0f ? 1.0f - SmoothStep(-0.7f, 0.7f, std::abs(v) - w) : 0.0f;
    };
    const float reach = length + 2.0f;
    silhouette.Raise(base.x - reach, base.y - reach, base.x + reach, base.y + reach, cover);
    cast.Raise(base.x - reach + kCastX, base.y - reach + kCastY, base.x + reach + kCastX,
               base.y + reach + kCastY, [=](float x, float y) { return cover(x - kCastX, y - kCastY); });
    // The light comes from the top left: the side of the leaf facing it shines.
    const float lit = (-uy - ux) > 0.0f ? 1.0f : -1.0f;
    light.Raise(base.x - reach, base.y - reach, base.x + reach, base.y + reach, [=](float x, float y) {
        float u = 0;
        float v = 0;
        local(x, y, u, v);
        const float w = halfWidth(u);
        if (w <= 0.5f) return 0.0f;
        const float inside = cover(x, y);
        const float vein = StrokeCover(std::abs(v), 0.7f) * SmoothStep(0.0f, 0.15f * length, u) *
                           (1.0f - SmoothStep(0.75f * length, 0.95f * length, u));
        const float across = (lit * v) / w;
        const float sheen = across > 0.0f ? SmoothStep(0.0f, 0.35f, across) * (1.0f - 0.5f * across) : 0.0f;
        return inside * std::max(95.0f * vein, 70.0f * sheen);
    });
}

// A stem rising from the bottom, with leaves on alternate sides.
void RisingPlant(Mask& silhouette, Mask& cast, Mask& light, Random& random, float rootX) {
    const float height = random.Uniform(150.0f, 320.0f);
    const float lean = random.Uniform(-70.0f, 70.0f);
    const Point root{rootX, kHeight + 4.0f};
    const Point tip{rootX + lean, kHeight - height};
    const std::vector<Point> stem =
        Curve(root, {rootX + random.Uniform(-30.0f, 30.0f), kHeight - height * 0.35f},
              {rootX + lean * 0.6f + random.Uniform(-40.0f, 40.0f), kHeight - height * 0.7f}, tip, 40);
    Stem(silhouette, cast, stem, 3.2f, 1.2f);
    float side = random.Uniform(0.0f, 1.0f) < 0.5f ? -1.0f : 1.0f;
    for (size_t i = 4; i + 1 < stem.size(); i += 3 + random.Next() % 2) {
        const float along = std::atan2(stem[i + 1].y - stem[i].y, stem[i + 1].x - stem[i].x);
        const float t = static_cast<float>(i) / stem.size();
        const float size = 1.0f - 0.55f * t;
        Leaf(silhouette, cast, light, stem[i], along + side * random.Uniform(0.7f, 1.1f),
             random.Uniform(30.0f, 44.0f) * size, random.Uniform(9.0f, 13.0f) * size);
        side = -side;
    }
    Leaf(silhouette, cast, light, stem.back(),
         std::atan2(stem.back().y - stem[stem.size() - 2].y, stem.back().x - stem[stem.size() - 2].x),
         22.0f, 7.0f);
}

// Blades of grass along the bottom edge.
void Grass(Mask& silhouette, Mask& cast, Random& random) {
    for (float x = -6.0f; x < kWidth + 6.0f; x += random.Uniform(3.0f, 7.0f)) {
        const float height = random.Uniform(16.0f, 58.0f);
        const float bend = random.Uniform(-22.0f, 22.0f);
        const Point root{x, kHeight + 2.0f};
        Stem(silhouette, cast,
             Curve(root, {x, kHeight - height * 0.4f}, {x + bend * 0.5f, kHeight - height * 0.8f},
                   {x + bend, kHeight - height}, 10),
             2.0f, 0.5f);
    }
}

// A vine that hangs from the top right corner and curls down the right side.
void Vine(Mask& silhouette, Mask& cast, Mask& light, Random& random) {
    const std::vector<Point> vine = Curve({kWidth + 6.0f, -6.0f}, {kWidth - 120.0f, 30.0f},
                                          {kWidth - 20.0f, 140.0f}, {kWidth - 70.0f, 230.0f}, 50);
    Stem(silhouette, cast, vine, 2.6f, 1.0f);
    float side = 1.0f;
    for (size_t i = 3; i + 1 < vine.size(); i += 4) {
        const float along = std::atan2(vine[i + 1].y - vine[i].y, vine[i + 1].x - vine[i].x);
        // Hanging leaves droop: their angle is pulled towards straight down.
        const float angle = 0.5f * (along + side * 1.0f) + 0.5f * (kPi / 2.0f);
        Leaf(silhouette, cast, light, vine[i], angle, random.Uniform(22.0f, 32.0f),
             random.Uniform(7.0f, 10.0f));
        side = -side;
    }
}

}  // namespace

void MakePlants(Mask& shadow, Mask& light) {
    Random random(0x91A47E05u);
    Mask silhouette;
    Mask cast;
    Grass(silhouette, cast, random);
    for (float rootX : {38.0f, 120.0f, 215.0f, 330.0f, 420.0f, 488.0f}) {
        RisingPlant(silhouette, cast, light, random, rootX + random.Uniform(-15.0f, 15.0f));
    }
    Vine(silhouette, cast, light, random);
    shadow.Fill([&](float x, float y) {
        const auto px = static_cast<int>(x);
        const auto py = static_cast<int>(y);
        return std::max(165.0f * silhouette.At(px, py), 55.0f * cast.At(px, py));
    });
}

}  // namespace masks
