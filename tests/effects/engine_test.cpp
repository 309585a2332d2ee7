#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/messages.h"
#include "shell/random.h"
#include "tests/effects/effect_fixture.h"
#include "tests/effects/test_image.h"

namespace {

using effect_testing::Bgr;
using effect_testing::EffectTest;
using effect_testing::TestImage;
using tool_testing::TakeSounds;

std::vector<uint8_t> Ramp(size_t size, int step) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * step);
    return bytes;
}

TEST_F(EffectTest, NumbersOutsideTheTableOnlyPlayTheNextSound) {
    while (NextEffectSound() != 0) RunEffect(-1);
    TakeSounds();
    const std::string sheet = Art(kSheetRect);
    const HBITMAP buffer = g_screenBuffer;
    const int messages = g_messagesShown;
    for (int number : {22, -1, 1000, -7, 22, 22, -1, 23, 22}) RunEffect(number);
    const std::vector<std::string> expected = {
        "harpe.wav 3", "zapslnk2.wav 3", "sircops.wav 3", "glingb.wav 3", "ziglo1.wav 3",
        "siraigu.wav 3", "zapslnk1.wav 3", "2gling.wav 3", "harpe.wav 3"};
    EXPECT_EQ(TakeSounds(), expected);
    EXPECT_EQ(Art(kSheetRect), sheet);
    EXPECT_EQ(g_screenBuffer, buffer);
    EXPECT_EQ(g_messagesShown, messages);
}

// Masks for an image of 8 x 4 pixels: 32 bytes.
TEST_F(EffectTest, MaskFilesOfAnyLengthAreReadSafely) {
    struct Case {
        const char* name;
        size_t size;  // bytes written; 0 with missing: no file
        bool missing;
        bool applied;
        int lastChangedPixel;  // -1: none
    };
    const Case cases[] = {
        {"exact", 32, false, true, 31},   {"short", 13, false, true, 12},
        {"long", 5000, false, true, 31},  {"empty", 0, false, true, -1},
        {"missing", 0, true, false, -1},
    };
    for (const Case& c : cases) {
        if (!c.missing) WriteMask(c.name, Ramp(c.size, 1));
        TestImage image(8, 4, {100, 150, 200});
        const int messages = g_messagesShown;
        const bool read = LayMaskFile(image.Image(), (std::string("Datas\\") + c.name + ".bin").c_str(), true);
        EXPECT_EQ(read, c.applied) << c.name;
        EXPECT_EQ(g_messagesShown, messages) << c.name;
        for (int i = 0; i < 32; ++i) {
            const int m = i <= c.lastChangedPixel ? i : 0;
            EXPECT_EQ(image.At(i % 8, i / 8), (Bgr{100 + m, 150 + m, std::min(200 + m, 255)}))
                << c.name << " " << i;
        }
    }
}

TEST_F(EffectTest, ShadowAndLightStopAtTheirEnds) {
    TestImage image(3, 1, {10, 128, 250});
    const uint8_t shadow[] = {0, 128, 255};
    SubtractShadow(image.Image(), shadow, 3);
    EXPECT_EQ(image.At(0, 0), (Bgr{10, 128, 250}));
    EXPECT_EQ(image.At(1, 0), (Bgr{0, 0, 122}));
    EXPECT_EQ(image.At(2, 0), (Bgr{0, 0, 0}));
    const uint8_t light[] = {6, 127, 255};
    image.Set(0, 0, {250, 249, 0});
    AddLight(image.Image(), light, 3);
    EXPECT_EQ(image.At(0, 0), (Bgr{255, 255, 6}));
    EXPECT_EQ(image.At(1, 0), (Bgr{127, 127, 249}));
}

TEST_F(EffectTest, BubblesWithoutTheirShadowFileStillCatchTheLight) {
    const std::vector<uint8_t> light = Ramp(16 * 8, 3);
    WriteMask("BulleH", light);
    TestImage image(16, 8);
    image.Scramble(5);
    TestImage expected(16, 8);
    expected.Bytes() = image.Bytes();
    AddLight(expected.Image(), light.data(), light.size());
    BlowBubbles(image.Image());
    EXPECT_EQ(image.Bytes(), expected.Bytes());
    // And the sun without its file leaves the picture as it was.
    ShineSun(image.Image());
    EXPECT_EQ(image.Bytes(), expected.Bytes());
}

TEST_F(EffectTest, ShiftedTilesDraw26By20TilesWithTwoNumbersEach) {
    SeedRandom(99);
    std::vector<int> numbers;
    for (int i = 0; i < 1041; ++i) numbers.push_back(Random());
    SeedRandom(99);
    Run(11);
    EXPECT_EQ(Random(), numbers[1040]);
    GetWindowSurface(screen->m_window);
    int lastTile = 0;
    for (int y = 0; y < 400; y += 20) {
        for (int x = 0; x < 512; x += 20, lastTile += 2) {
            // Each tile lands 1 - rand % 2 right and down of its place.
            const int dx = 1 - numbers[lastTile] % 2;
            const int dy = 1 - numbers[lastTile + 1] % 2;
            EXPECT_EQ(GetPixel(g_currentSurface, 84 + x + 1, 36 + y + 1), RGB(255, 255, 255));
            if (x + dx + 18 < 512 && y + dy + 18 < 400) {
                EXPECT_EQ(GetPixel(g_currentSurface, 84 + x + dx + 18, 36 + y + dy + 5), RGB(0, 0, 0))
                    << x << " " << y;
            }
        }
    }
    // The sheet clip keeps the last column inside the sheet.
    EXPECT_EQ(GetPixel(g_currentSurface, 596, 40), RGB(255, 255, 0));
    ReleaseWindowSurface();
}

TEST_F(EffectTest, PuzzlesDarkenTheDrawingWithTheirOutlines) {
    Paint(kSheetRect, 'r');
    Run(19);
    GetWindowSurface(screen->m_window);
    EXPECT_EQ(GetPixel(g_currentSurface, 84 + 64, 36 + 10), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(g_currentSurface, 84 + 65, 36 + 10), RGB(255, 0, 0));
    ReleaseWindowSurface();
}

}  // namespace
