// The passes that work on many pixels or rows at once: each pixel must get
// what the pixel-by-pixel code gives it, on rows of every width around the
// sixteen pixels they take at a time, with the processor's wide code on and
// off; smoothing against the plain chain of divisions on every strip height;
// and the mask files kept between runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "effects/passes.h"
#include "effects/pixel_planes.h"
#include "tests/effects/effect_fixture.h"
#include "tests/effects/test_image.h"

namespace {

using effect_testing::Bgr;
using effect_testing::EffectTest;
using effect_testing::TestImage;

// Colours whose channels sit around the dead zone of two of each other, and
// at the ends of the range.
TestImage NearColours(int width, int height, uint32_t seed) {
    TestImage image(width, height);
    const int steps[] = {-3, -2, 0, 2, 3};
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int base = static_cast<int>(seed >> 24);
            const int at = static_cast<int>((seed >> 8) % 125);
            const auto near = [&](int step) { return std::clamp(base + step, 0, 255); };
            image.Set(x, row, {near(steps[at % 5]), near(steps[at / 5 % 5]), near(steps[at / 25])});
        }
    }
    const Bgr extremes[] = {{255, 255, 255}, {0, 0, 0}, {255, 0, 0}, {0, 255, 253}, {3, 0, 255}};
    for (int i = 0; i < 5 && i < width; ++i) image.Set((i * 7) % width, i % height, extremes[i]);
    return image;
}

Bgr Alone(EffectPass pass, Bgr colour) {
    TestImage alone(1, 1, colour);
    pass(alone.Image());
    return alone.At(0, 0);
}

// Runs the pass with the processor's wide code held to a level: 0 none, 1
// sixteen pixels, 2 all.
std::vector<uint8_t> Through(EffectPass pass, const TestImage& image, int level) {
    TestImage copy(image.Image().width, image.Image().height);
    copy.Bytes() = const_cast<TestImage&>(image).Bytes();
#if defined(TAVELIN_PIXEL_PLANES)
    pixel_planes::LimitForTesting(level);
#else
    (void)level;
#endif
    pass(copy.Image());
#if defined(TAVELIN_PIXEL_PLANES)
    pixel_planes::LimitForTesting(2);
#endif
    return copy.Bytes();
}

TEST(SixteenPixels, ColourPassesGiveEachPixelItsOwnResult) {
    const EffectPass passes[] = {Brighten, DeepenColours, GlowBlue, GlowWarm, MakeGreyscale};
    for (int p = 0; p < 5; ++p) {
        for (int width : {1, 15, 16, 17, 31, 32, 33, 47, 48, 49, 64, 65}) {
            const TestImage before = NearColours(width, 3, 11u * width + p);
            TestImage after(width, 3);
            after.Bytes() = Through(passes[p], before, 2);
            for (int row = 0; row < 3; ++row) {
                for (int x = 0; x < width; ++x) {
                    ASSERT_EQ(after.At(x, row), Alone(passes[p], before.At(x, row)))
                        << "pass " << p << " width " << width << " pixel " << x << " row " << row;
                }
            }
            for (int level : {0, 1}) {
                EXPECT_EQ(after.Bytes(), Through(passes[p], before, level)) << "pass " << p << " width " << width;
            }
        }
    }
}

TEST(SixteenPixels, ReliefCarriesTheLeftGreyAcrossRuns) {
    for (int width : {1, 2, 15, 16, 17, 20, 31, 32, 33, 47, 48, 49}) {
        const TestImage before = NearColours(width, 2, 7u * width);
        TestImage after(width, 2);
        after.Bytes() = Through(RaiseRelief, before, 2);
        for (int row = 0; row < 2; ++row) {
            for (int x = 0; x < width; ++x) {
                const int grey = Alone(MakeGreyscale, before.At(x, row)).b;
                const int left = Alone(MakeGreyscale, before.At(std::max(x - 1, 0), row)).b;
                const int level = std::clamp(grey - left, -127, 127) + 128;
                ASSERT_EQ(after.At(x, row), (Bgr{level, level, level})) << "width " << width << " pixel " << x;
            }
        }
        EXPECT_EQ(after.Bytes(), Through(RaiseRelief, before, 0)) << "width " << width;
    }
}

// The chain of divisions, one byte at a time.
void SmoothPlainly(TestImage& image) {
    const EffectImage& e = image.Image();
    for (int row = 0; row < e.height; ++row) {
        uint8_t* line = e.pixels + static_cast<ptrdiff_t>(row) * e.stride;
        for (int x = 1; x + 1 < e.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int right = line[3 * (x + 1) + c];
                line[3 * x + c] = static_cast<uint8_t>((line[3 * (x - 1) + c] + line[3 * x + c] + right) / 3);
            }
        }
    }
}

TEST(SixteenPixels, SmoothingMatchesThePlainChainOnEveryShape) {
    for (int height : {1, 2, 15, 16, 17, 33, 48, 49}) {
        for (int width = 1; width <= 40; width += (width < 8 ? 1 : 5)) {
            TestImage image = NearColours(width, height, 3u * width + height);
            TestImage expected(width, height);
            expected.Bytes() = image.Bytes();
            Smooth(image.Image());
            SmoothPlainly(expected);
            ASSERT_EQ(image.Bytes(), expected.Bytes()) << "width " << width << " height " << height;
        }
    }
}

TEST_F(EffectTest, KeptMasksFollowTheFileTheImageAndTheDataRoot) {
    TestImage image(8, 4, {100, 100, 100});
    // A file missing on the first run is looked for again on the next.
    EXPECT_FALSE(LayMaskFile(image.Image(), "Datas\\Later.bin", true));
    WriteMask("Later", std::vector<uint8_t>(40, 5));
    EXPECT_TRUE(LayMaskFile(image.Image(), "Datas\\Later.bin", true));
    EXPECT_TRUE(LayMaskFile(image.Image(), "Datas\\Later.bin", true));
    EXPECT_EQ(image.At(7, 3), (Bgr{110, 110, 110}));
    // A larger image reads the file again: its 40 bytes, then zeros.
    TestImage large(10, 5, {100, 100, 100});
    EXPECT_TRUE(LayMaskFile(large.Image(), "Datas\\Later.bin", false));
    EXPECT_EQ(large.At(9, 3), (Bgr{95, 95, 95}));
    EXPECT_EQ(large.At(0, 4), (Bgr{100, 100, 100}));
    // The same name under another data root is another file.
    const std::string savedRoot = g_dataRoot;
    const auto otherRoot = m_root / "other";
    std::filesystem::create_directories(otherRoot / "Datas");
    {
        std::vector<uint8_t> bytes(32, 50);
        std::ofstream(otherRoot / "Datas" / "Later.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    snprintf(g_dataRoot, sizeof g_dataRoot, "Z:%s", otherRoot.c_str());
    TestImage other(8, 4, {100, 100, 100});
    EXPECT_TRUE(LayMaskFile(other.Image(), "Datas\\Later.bin", true));
    EXPECT_EQ(other.At(0, 0), (Bgr{150, 150, 150}));
    snprintf(g_dataRoot, sizeof g_dataRoot, "%s", savedRoot.c_str());
}

}  // namespace
