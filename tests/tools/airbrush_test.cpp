// The airbrush: dots within their radius, sprays paced by the clock while the
// button is held still, the hidden pointer and the loop sound.
#include "graphics/shapes.h"
#include "shell/random.h"
#include "tests/tools/tool_fixture.h"
#include "tools/brush.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

TEST(Airbrush, DotsLieStrictlyInsideTheirRadius) {
    for (int size = 0; size < 8; ++size) {
        const int radius = SprayFor(size).diameter / 2;
        int beyondRadius = 0;
        for (uint32_t seed = 1; seed <= 300; ++seed) {
            SeedRandom(seed);
            for (int i = 0; i < 6; ++i) {
                const POINT dot = SprayDot(100, 50, SprayFor(size).diameter, i);
                const int dx = dot.x - 100;
                const int dy = dot.y - 50;
                const int squared = dx * dx + dy * dy;
                // r < R for even dots and r < 1.5 R for odd ones.
                if (i % 2 == 0) {
                    EXPECT_LT(squared, radius * radius) << size << " " << seed;
                } else {
                    EXPECT_LT(4 * squared, 9 * radius * radius) << size << " " << seed;
                    beyondRadius += squared >= radius * radius;
                }
            }
        }
        EXPECT_GT(beyondRadius, 0) << "odd dots spread wider, size " << size;
    }
}

// The dots a spray makes at (x, y) from the seed, as the sheet's pixels.
std::vector<POINT> ExpectedDots(uint32_t seed, int sprays, int size, int x, int y) {
    const SpraySettings spray = SprayFor(size);
    SeedRandom(seed);
    std::vector<POINT> dots;
    for (int s = 0; s < sprays; ++s) {
        for (int i = 0; i < spray.dots; ++i) dots.push_back(SprayDot(x, y, spray.diameter, i));
    }
    return dots;
}

TEST_F(ToolTest, TheAirbrushSpraysOnTheClockWhileHeldStill) {
    struct Case {
        int size;
        int heldMs;
        int sprays;
        int dotsPerSpray;
    };
    // Sprays at 0, 5, 10, 15 and 20 ms at size 0; at 0, 20 and 40 ms at size 7.
    const Case cases[] = {{0, 20, 5, 2}, {7, 40, 3, 1}, {3, 12, 3, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        Paint(kSheetRect, '.');
        SetBrushSize(c.size);
        AirbrushTool* tool = Use<AirbrushTool>();
        const uint32_t seed = 77 + c.size;
        testing_support::MouseMove(300, 200);
        SeedRandom(seed);
        testing_support::MouseButton(true, true, 300, 200);
        EXPECT_EQ(ShowCursor(TRUE), 0) << "the pointer is hidden while spraying";
        ShowCursor(FALSE);
        for (int ms = 0; ms < c.heldMs; ++ms) {
            testing_support::AdvanceClock(1);
            screen->OnIdle();
        }
        testing_support::MouseButton(false, true, 300, 200);
        EXPECT_EQ(ShowCursor(TRUE), 1);
        ShowCursor(FALSE);
        EXPECT_EQ(g_workshop.actionInProgress, 0);
        EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"<memory> f", "- 40"}));
        EXPECT_EQ(tool->m_dots, c.dotsPerSpray);

        // Exactly the pixels of the dots that the seed gives are red.
        const RECT around{270, 170, 330, 230};
        const std::string sprayed = Art(around);
        const std::vector<POINT> dots = ExpectedDots(seed, c.sprays, c.size, 300, 200);
        const int d = c.size >= 4 ? kBrushWidths[c.size] : 1;
        Paint(kSheetRect, '.');
        GetWindowSurface(screen->m_window);
        for (const POINT& dot : dots) {
            const RECT rect{dot.x, dot.y, dot.x + d, dot.y + d};
            if (d == 1) FillRectangle(rect, RGB(255, 0, 0));
            else FillEllipse(rect, RGB(255, 0, 0));
        }
        ReleaseWindowSurface();
        EXPECT_EQ(sprayed, Art(around));
        EXPECT_TRUE(PixelsNot('.', RECT{kSheetRect.left, kSheetRect.top, 270, 170}).empty());
    }
}

TEST_F(ToolTest, TheAirbrushDoesNothingWhenIdleOutsideAnAction) {
    Use<AirbrushTool>();
    for (int ms = 0; ms < 20; ++ms) {
        testing_support::AdvanceClock(1);
        screen->OnIdle();
    }
    EXPECT_TRUE(PixelsNot('.', kSheetRect).empty());
}

}  // namespace
