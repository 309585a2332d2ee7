#include <gtest/gtest.h>

#include "effects/passes.h"
#include "tests/effects/test_image.h"

namespace {

using effect_testing::Bgr;
using effect_testing::TestImage;

Bgr Halved(Bgr c) { return {c.b / 2, c.g / 2, c.r / 2}; }

// Two tiles across and two up, and a partial column that no tile reaches.
TEST(TileEffects, MosaicTwiceIsMosaicOnce) {
    TestImage image(21, 16);
    image.Scramble(7);
    const Bgr corner = image.At(8, 8);
    const Bgr outside = image.At(18, 3);
    MakeMosaic(image.Image());
    const std::vector<uint8_t> once = image.Bytes();
    MakeMosaic(image.Image());
    EXPECT_EQ(image.Bytes(), once);
    EXPECT_EQ(image.At(15, 15), corner);
    EXPECT_EQ(image.At(18, 3), outside);
}

TEST(TileEffects, TrianglesHalveAboveTheDiagonalOnly) {
    TestImage image(16, 8);
    image.Scramble(3);
    TestImage before(16, 8);
    before.Bytes() = image.Bytes();
    ShadeTriangles(image.Image());
    for (int i = 0; i < 8; ++i) {
        for (int x = 0; x < 16; ++x) {
            const int j = x % 8;
            const Bgr was = before.At(x, i);
            EXPECT_EQ(image.At(x, i), j > i ? Halved(was) : was) << i << " " << x;
        }
    }
}

TEST(TileEffects, DotsPaintTheFirstColourAndDarkenTheTopRowAndRightColumn) {
    TestImage image(8, 8, {200, 100, 50});
    image.Set(0, 0, {10, 20, 30});
    PaintDots(image.Image());
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(image.At(k, 7), (Bgr{100, 50, 25})) << k;
        EXPECT_EQ(image.At(7, k), (Bgr{100, 50, 25})) << k;
    }
    EXPECT_EQ(image.At(3, 3), (Bgr{10, 20, 30}));
    EXPECT_EQ(image.At(0, 0), (Bgr{5, 10, 15}));  // outside the dot
    EXPECT_EQ(image.At(2, 0), (Bgr{10, 20, 30}));
}

TEST(TileEffects, BevelsKeepTheLeftSideAndShadeTheRest) {
    TestImage image(32, 16, {90, 180, 240});
    BevelTiles(image.Image());
    const struct {
        int j, i;
        Bgr out;
    } cases[] = {
        {0, 8, {90, 180, 240}},  {16, 8, {90, 180, 240}}, {0, 0, {45, 90, 120}},
        {15, 0, {45, 90, 120}},  {15, 1, {60, 120, 160}}, {1, 15, {135, 255, 255}},
        {8, 8, {60, 120, 160}},  {7, 9, {135, 255, 255}},
    };
    for (const auto& c : cases) EXPECT_EQ(image.At(c.j, c.i), c.out) << c.i << " " << c.j;
}

TEST(TileEffects, AShortPictureEndsAtItsLastWholeTileRow) {
    TestImage image(8, 12);
    image.Scramble(11);
    const Bgr top = image.At(4, 10);
    MakeMosaic(image.Image());
    EXPECT_EQ(image.At(4, 10), top);
    EXPECT_EQ(image.At(4, 7), image.At(0, 0));
}

}  // namespace
