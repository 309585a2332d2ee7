// The passes that work on several pixels of a row at once give each pixel
// what the pass gives that pixel alone, on scrambled rows of every length
// around the width they work in.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/passes.h"
#include "tests/effects/test_image.h"

namespace {

using effect_testing::Bgr;
using effect_testing::TestImage;

Bgr AloneThrough(EffectPass pass, Bgr colour) {
    TestImage alone(1, 1, colour);
    pass(alone.Image());
    return alone.At(0, 0);
}

// Scrambled rows with white, black and near-black pixels among them.
TestImage Scrambled(int width, uint32_t seed) {
    TestImage image(width, 4);
    image.Scramble(seed);
    const Bgr extremes[] = {{255, 255, 255}, {0, 0, 0}, {1, 0, 0}, {254, 255, 255}, {8, 8, 8}};
    for (int i = 0; i < 5 && i < width; ++i) image.Set((i * 7) % width, i % 4, extremes[i]);
    return image;
}

TEST(RowPasses, EachPixelAsIfAlone) {
    for (EffectPass pass : {MakeNegative, MakeGreyscale}) {
        for (int width = 1; width <= 21; ++width) {
            TestImage before = Scrambled(width, 77u + width);
            TestImage after = Scrambled(width, 77u + width);
            pass(after.Image());
            for (int row = 0; row < 4; ++row) {
                for (int x = 0; x < width; ++x) {
                    ASSERT_EQ(after.At(x, row), AloneThrough(pass, before.At(x, row)))
                        << "width " << width << " pixel " << x << " row " << row;
                }
            }
        }
    }
}

TEST(RowPasses, ReliefIsTheRiseOfTheGreyFromTheLeft) {
    for (int width = 1; width <= 21; ++width) {
        TestImage before = Scrambled(width, 5u * width);
        TestImage after = Scrambled(width, 5u * width);
        RaiseRelief(after.Image());
        for (int row = 0; row < 4; ++row) {
            for (int x = 0; x < width; ++x) {
                const int grey = AloneThrough(MakeGreyscale, before.At(x, row)).b;
                const int left = AloneThrough(MakeGreyscale, before.At(std::max(x - 1, 0), row)).b;
                const int level = std::clamp(grey - left, -127, 127) + 128;
                ASSERT_EQ(after.At(x, row), (Bgr{level, level, level})) << "width " << width << " pixel " << x;
            }
        }
    }
}

TEST(RowPasses, SmoothingSmoothsEachRowAsIfAlone) {
    for (int height = 1; height <= 9; ++height) {
        TestImage all(19, height);
        all.Scramble(31u * height);
        TestImage before(19, height);
        before.Scramble(31u * height);
        Smooth(all.Image());
        for (int row = 0; row < height; ++row) {
            TestImage alone(19, 1);
            for (int x = 0; x < 19; ++x) alone.Set(x, 0, before.At(x, row));
            Smooth(alone.Image());
            for (int x = 0; x < 19; ++x) ASSERT_EQ(all.At(x, row), alone.At(x, 0)) << "height " << height;
        }
    }
}

TEST(RowPasses, MasksAddAndTakeEachPixelsOwnAmount) {
    for (int width = 1; width <= 40; width += 3) {
        std::vector<uint8_t> mask(static_cast<size_t>(width) * 4);
        uint32_t seed = 9u + width;
        for (uint8_t& amount : mask) amount = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
        for (bool light : {true, false}) {
            TestImage before = Scrambled(width, 3u * width);
            TestImage after = Scrambled(width, 3u * width);
            if (light) AddLight(after.Image(), mask.data(), mask.size());
            else SubtractShadow(after.Image(), mask.data(), mask.size());
            for (int row = 0; row < 4; ++row) {
                for (int x = 0; x < width; ++x) {
                    const int amount = mask[static_cast<size_t>(row) * width + x];
                    const auto lay = [&](int c) { return std::clamp(light ? c + amount : c - amount, 0, 255); };
                    const Bgr in = before.At(x, row);
                    ASSERT_EQ(after.At(x, row), (Bgr{lay(in.b), lay(in.g), lay(in.r)}))
                        << "width " << width << " pixel " << x << " light " << light;
                }
            }
        }
    }
}

}  // namespace
