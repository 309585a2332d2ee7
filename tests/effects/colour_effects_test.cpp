#include <gtest/gtest.h>

#include <set>

#include "effects/passes.h"
#include "shell/random.h"
#include "tests/effects/test_image.h"

namespace {

using effect_testing::Bgr;
using effect_testing::TestImage;

TEST(ColourEffects, OnePixelResults) {
    struct Case {
        const char* name;
        EffectPass pass;
        Bgr in;
        Bgr out;
    };
    const Bgr white{255, 255, 255};
    const Bgr black{0, 0, 0};
    const Case cases[] = {
        {"negative white", MakeNegative, white, {8, 8, 8}},
        {"negative black", MakeNegative, black, white},
        {"negative 8", MakeNegative, {8, 8, 8}, {247, 247, 247}},
        {"greyscale red", MakeGreyscale, {0, 0, 255}, {76, 76, 76}},
        {"greyscale green", MakeGreyscale, {0, 255, 0}, {150, 150, 150}},
        {"greyscale blue", MakeGreyscale, {255, 0, 0}, {28, 28, 28}},
        {"warm white", GlowWarm, white, {0, 200, 255}},
        {"warm black", GlowWarm, black, black},
        {"blue white", GlowBlue, white, {255, 200, 198}},
        {"blue black", GlowBlue, black, black},
        {"brighten red", Brighten, {0, 0, 255}, {0, 0, 255}},
        {"brighten grey", Brighten, {100, 100, 100}, {114, 114, 114}},
        {"brighten green", Brighten, {60, 100, 30}, {68, 133, 34}},
        // Within the dead zone no channel leads: all grow by a seventh.
        {"brighten near grey", Brighten, {100, 102, 98}, {114, 116, 112}},
        {"deepen grey", DeepenColours, {100, 100, 100}, {75, 75, 75}},
        {"deepen green", DeepenColours, {60, 100, 30}, {33, 75, 16}},
        // A channel tied with the leader keeps its value.
        {"deepen tie", DeepenColours, {200, 40, 200}, {150, 22, 150}},
    };
    for (const Case& c : cases) {
        TestImage image(1, 1, c.in);
        c.pass(image.Image());
        EXPECT_EQ(image.At(0, 0), c.out) << c.name;
    }
}

TEST(ColourEffects, ChannelDifferenceHasADeadZoneOfTwo) {
    const int cases[][3] = {{10, 12, 0}, {10, 13, -3}, {13, 10, 3}, {12, 10, 0}, {0, 255, -255}};
    for (const auto& c : cases) EXPECT_EQ(ChannelDifference(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST(ColourEffects, ReliefOfOneColourIsGreyAndShowsSteps) {
    TestImage image(6, 2, {30, 200, 90});
    image.Set(3, 1, {255, 255, 255});
    RaiseRelief(image.Image());
    for (int x = 0; x < 6; ++x) EXPECT_EQ(image.At(x, 0), (Bgr{128, 128, 128})) << x;
    // Luminance 148, then 255, then 148 again: +107, then -107.
    EXPECT_EQ(image.At(3, 1), (Bgr{235, 235, 235}));
    EXPECT_EQ(image.At(4, 1), (Bgr{21, 21, 21}));
}

TEST(ColourEffects, SmoothingUsesTheSmoothedLeftNeighbour) {
    TestImage image(4, 1);
    for (int x = 0; x < 4; ++x) image.Set(x, 0, {30 * x, 0, 90});
    Smooth(image.Image());
    EXPECT_EQ(image.At(1, 0).b, 30);
    EXPECT_EQ(image.At(2, 0).b, 60);
    EXPECT_EQ(image.At(3, 0).b, 90);
    EXPECT_EQ(image.At(0, 0).b, 0);
}

TEST(ColourEffects, ChannelRotationDrawsOneNumberAndTurnsEveryPixel) {
    std::set<int> turns;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SeedRandom(seed);
        const int turn = Random() % 6;
        const int second = Random();
        turns.insert(turn);
        TestImage image(3, 2, {10, 20, 30});
        SeedRandom(seed);
        RotateChannels(image.Image());
        EXPECT_EQ(Random(), second) << seed;
        const Bgr expected = turn == 0 || turn == 3 || turn == 4 ? Bgr{20, 30, 10} : Bgr{30, 10, 20};
        EXPECT_EQ(image.At(2, 1), expected) << seed;
    }
    EXPECT_GT(turns.size(), 3u);
}

// Rows of black and white pixels: every pixel is a jump of 765, so streaks
// start wherever the random numbers let them.
TEST(ColourEffects, LightStreaksNeverStartInARowsLast52Pixels) {
    constexpr int kWidth = 130;
    int streaks = 0;
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        TestImage image(kWidth, 40);
        for (int row = 0; row < 40; ++row) {
            for (int x = 0; x < kWidth; x += 2) image.Set(x, row, {255, 255, 255});
        }
        SeedRandom(seed);
        PaintLightStreaks(image.Image());
        for (int row = 0; row < 40; ++row) {
            for (int x = 0; x < kWidth; ++x) {
                // The second pixel of a streak is the only 254.
                if (image.At(x, row) != Bgr{254, 254, 254}) continue;
                ++streaks;
                const int start = x - 2;
                EXPECT_LT(start, kWidth - 52) << seed << " " << row;
                EXPECT_EQ(image.At(start + 49, row), (Bgr{207, 207, 207}));
            }
        }
    }
    EXPECT_GT(streaks, 50);
}

}  // namespace
