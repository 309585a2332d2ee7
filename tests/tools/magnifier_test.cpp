// The magnifier on a sheet whose every pixel has its own colour, so that each
// enlarged cell tells which pixel it shows: the frame and the zoom steps,
// zooming in on the program's clock and leaving. Painting, putting back,
// saving and the commands that put the magnifier away are checked through
// the program in tests/e2e/magnifier_test.cpp.
#include "tools/magnifier.h"

#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

// The colour of sheet pixel (x, y); no two pixels share one.
COLORREF Code(int x, int y) { return RGB(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8)); }

class MagnifierTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        g_magnifierZoom = 8;
        GetWindowSurface(screen->m_window);
        for (int y = 0; y < 400; ++y) {
            for (int x = 0; x < 512; ++x) SetPixelV(g_currentSurface, 84 + x, 36 + y, Code(x, y));
        }
        ReleaseWindowSurface();
    }
    void TearDown() override {
        g_magnifierZoom = 8;
        ToolTest::TearDown();
    }

    // The sheet pixels that differ from what the function expects there.
    template <typename Expected>
    int Mismatches(Expected expected) {
        int count = 0;
        GetWindowSurface(screen->m_window);
        for (int y = kSheetRect.top; y < kSheetRect.bottom; ++y) {
            for (int x = kSheetRect.left; x < kSheetRect.right; ++x) {
                count += GetPixel(g_currentSurface, x, y) != expected(x, y);
            }
        }
        ReleaseWindowSurface();
        return count;
    }
    int MismatchesWithDrawing() {
        return Mismatches([](int x, int y) { return Code(x - 84, y - 36); });
    }
    // The enlarged view of the source whose corner is sheet pixel (left, top).
    int MismatchesWithEnlarged(int left, int top, int zoom) {
        return Mismatches([=](int x, int y) {
            return Code(left + (x - 84) / zoom, top + (y - 36) / zoom);
        });
    }

    void Move(int x, int y) {
        testing_support::MouseMove(x, y);
        testing_support::RunUntilIdle();
    }
    void Button(bool down, bool left, int x, int y) {
        testing_support::MouseButton(down, left, x, y);
        testing_support::RunUntilIdle();
    }
};

TEST_F(MagnifierTest, ZoomingInRunsOnTheProgramClockAndLeavingPutsTheDrawingBack) {
    g_magnifierZoom = 16;
    MagnifierTool* tool = Use<MagnifierTool>();
    Move(595, 435);
    EXPECT_EQ(screen->m_controlEnable, 0) << "the palette is deaf over the sheet";
    const DWORD before = timeGetTime();
    Button(true, true, 595, 435);
    // Two rounds of ten rings, 10 ms apart, waited for on the program's clock.
    EXPECT_GE(timeGetTime() - before, 200u);
    EXPECT_LT(timeGetTime() - before, 260u);
    Button(false, true, 595, 435);
    EXPECT_EQ(screen->m_controlEnable, 1);
    EXPECT_EQ(g_workshop.magnifierActive, 1);
    // The frame reached past the corner: the last 32 x 25 pixels are shown,
    // and neither the frame nor the rings left a trace.
    EXPECT_EQ(tool->m_source.left, 480);
    EXPECT_EQ(tool->m_source.top, 375);
    EXPECT_EQ(MismatchesWithEnlarged(480, 375, 16), 0);
    const std::vector<std::string> sounds = TakeSounds();
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds.front().substr(0, 10), "loupe0.wav");

    delete g_workshop.tool;
    g_workshop.tool = nullptr;
    EXPECT_EQ(MismatchesWithDrawing(), 0);
    EXPECT_EQ(g_workshop.magnifierActive, 0);
    EXPECT_EQ(TakeSounds().front().substr(0, 10), "loupe2.wav");
}

TEST_F(MagnifierTest, TheFrameFollowsThePointerAndTheRightButtonStepsTheZoom) {
    Use<MagnifierTool>();
    // The frame inverts the sheet under its pen of two pixels.
    const auto frameBox = [&] {
        RECT box{640, 480, 0, 0};
        GetWindowSurface(screen->m_window);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const bool sheet = x >= 84 && x < 596 && y >= 36 && y < 436;
                const COLORREF expected = sheet ? Code(x - 84, y - 36) : RGB(255, 255, 0);
                const COLORREF pixel = GetPixel(g_currentSurface, x, y);
                if (pixel == expected) continue;
                EXPECT_TRUE(sheet && pixel == (~expected & 0xFFFFFF)) << x << "," << y;
                box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                           std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            }
        }
        ReleaseWindowSurface();
        return box;
    };
    struct Step {
        bool rightClick;
        int x, y;
        RECT box;  // the inverted pixels' bounds; empty when none
        int controlEnable;
    };
    const Step steps[] = {
        {false, 300, 200, {267, 174, 332, 225}, 0},
        {false, 310, 210, {277, 184, 342, 235}, 0},
        {true, 310, 210, {245, 159, 374, 260}, 0},   // 4: 128 x 100
        {true, 310, 210, {293, 197, 326, 223}, 0},   // 16: 32 x 25
        {true, 310, 210, {277, 184, 342, 235}, 0},   // 8 again
        {false, 590, 430, {557, 404, 596, 436}, 0},  // clipped to the sheet
        {false, 40, 200, {640, 480, 0, 0}, 1},       // off the sheet: gone
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.x);
        if (s.rightClick) {
            Button(true, false, s.x, s.y);
            Button(false, false, s.x, s.y);
        } else {
            Move(s.x, s.y);
        }
        const RECT box = frameBox();
        EXPECT_EQ(box.left, s.box.left);
        EXPECT_EQ(box.top, s.box.top);
        EXPECT_EQ(box.right, s.box.right);
        EXPECT_EQ(box.bottom, s.box.bottom);
        EXPECT_EQ(screen->m_controlEnable, s.controlEnable);
    }
    // A right press whose last pointer position is off the sheet steps the
    // zoom and draws no frame. The zoom factor stays for the next magnifier,
    // and leaving with the frame shown erases it and gives the palette back.
    Button(true, false, 300, 200);
    Button(false, false, 300, 200);
    EXPECT_EQ(g_magnifierZoom, 4);
    EXPECT_EQ(frameBox().right, 0);
    Use<MagnifierTool>();
    EXPECT_EQ(frameBox().right, 0);
    Move(300, 200);
    EXPECT_EQ(frameBox().right - frameBox().left, 129);
    delete g_workshop.tool;
    g_workshop.tool = nullptr;
    EXPECT_EQ(frameBox().right, 0);
    EXPECT_EQ(screen->m_controlEnable, 1);
}

}  // namespace
