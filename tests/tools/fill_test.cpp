// The paint can: its sounds, and a pattern fill kept inside the sheet. The
// fills of enclosed areas are checked through the program in
// tests/e2e/tools_test.cpp.
#include "tools/fill.h"

#include "shell/random.h"
#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

constexpr int kChecks = 3;  // a checkerboard: ink where x + y is even

TEST_F(ToolTest, ThePaintCanTinksOnBlackAndOnItsColourAndSplashesElsewhere) {
    const char* splashes[4] = {"ploufcrt.wav 3", "eau.wav 3", "bubble.wav 3", "bubble2.wav 3"};
    Paint(RECT{100, 100, 110, 110}, 'X');
    Paint(RECT{120, 100, 130, 110}, 'r');
    g_workshop.colour = RGB(255, 0, 0);
    Use<FillTool>();
    for (POINT p : {POINT{105, 105}, POINT{125, 105}}) {
        control_testing::Click(p.x, p.y);
        EXPECT_EQ(TakeSounds(), std::vector<std::string>{"tink.wav 3"});
        EXPECT_EQ(g_workshop.actionInProgress, 0);
    }
    EXPECT_EQ(PixelsNot('.', kSheetRect).size(), 200u) << "nothing filled";
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        Paint(kSheetRect, '.');
        g_workshop.colour = seed % 2 ? RGB(0, 0, 255) : RGB(0, 255, 0);
        SeedRandom(seed);
        const int draw = Random() & 3;
        SeedRandom(seed);
        control_testing::Click(300, 300);
        EXPECT_EQ(TakeSounds(), std::vector<std::string>{splashes[draw]}) << seed;
        EXPECT_TRUE(PixelsNot(seed % 2 ? 'b' : 'g', kSheetRect).empty()) << "the whole sheet";
    }
}

TEST_F(ToolTest, APatternFillStopsAtTheSheetsEdges) {
    g_workshop.pattern = kChecks;
    Use<FillTool>();
    control_testing::Click(300, 300);
    const std::vector<POINT> yellow = PixelsNot('y', RECT{0, 0, 640, 480});
    EXPECT_EQ(yellow.size(), 512u * 400u) << "nothing outside the sheet changed";
    EXPECT_EQ(PixelsNot('.', kSheetRect).size(), 512u * 400u / 2);
}

}  // namespace
