// The magnifier on a sheet whose every pixel has its own colour, so that each
// enlarged cell tells which pixel it shows: the frame, zooming in at each
// factor and at the sheet's corners, painting and putting back cells, and the
// drawing after leaving. Commands that put it away are checked through the
// program in tests/e2e/magnifier_test.cpp.
#include "tools/magnifier.h"

#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

constexpr COLORREF kInk = RGB(10, 20, 200);

// The colour of sheet pixel (x, y); no two pixels share one, and none is kInk.
COLORREF Code(int x, int y) { return RGB(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8)); }

class MagnifierTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        g_magnifierZoom = 8;
        g_workshop.colour = kInk;
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

TEST_F(MagnifierTest, APressEnlargesTheFramedAreaKeptInsideTheSheet) {
    struct Case {
        int zoom;
        int x, y;        // the pointer
        int left, top;   // the source's corner in sheet coordinates
    };
    const Case cases[] = {
        {8, 340, 236, 224, 175},  // 64 x 50 around the pointer
        {4, 340, 236, 192, 150},  // 128 x 100
        {16, 340, 236, 240, 188}, // 32 x 25
        {8, 590, 430, 448, 350},  // clamped at the bottom-right corner
        {16, 595, 435, 480, 375},
        {4, 86, 38, 0, 0},        // and at the top-left one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom * 1000 + c.x);
        g_magnifierZoom = c.zoom;
        MagnifierTool* tool = Use<MagnifierTool>();
        Move(c.x, c.y);
        EXPECT_EQ(screen->m_controlEnable, 0) << "the palette is deaf over the sheet";
        const DWORD before = timeGetTime();
        Button(true, true, c.x, c.y);
        // Two rounds of ten rings, 10 ms apart, on the program's clock.
        EXPECT_GE(timeGetTime() - before, 200u);
        EXPECT_LT(timeGetTime() - before, 260u);
        Button(false, true, c.x, c.y);
        EXPECT_EQ(screen->m_controlEnable, 1);
        EXPECT_EQ(g_workshop.magnifierActive, 1);
        EXPECT_EQ(tool->m_source.left, c.left);
        EXPECT_EQ(tool->m_source.top, c.top);
        EXPECT_EQ(tool->m_source.right - tool->m_source.left, 512 / c.zoom);
        EXPECT_EQ(tool->m_source.bottom - tool->m_source.top, 400 / c.zoom);
        // The frame and the rings left no trace in the enlarged view.
        EXPECT_EQ(MismatchesWithEnlarged(c.left, c.top, c.zoom), 0);
        const std::vector<std::string> sounds = TakeSounds();
        ASSERT_FALSE(sounds.empty());
        EXPECT_EQ(sounds.front().substr(0, 10), "loupe0.wav");

        // Leaving puts the drawing back as it was.
        delete g_workshop.tool;
        g_workshop.tool = nullptr;
        EXPECT_EQ(MismatchesWithDrawing(), 0);
        EXPECT_EQ(g_workshop.magnifierActive, 0);
        EXPECT_EQ(TakeSounds().front().substr(0, 10), "loupe2.wav");
    }
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

TEST_F(MagnifierTest, CellsArePaintedAndPutBackAndTheDrawingKeepsThemAfterLeaving) {
    Use<MagnifierTool>();
    Move(340, 236);
    // Dragging during the press that zooms in paints nothing.
    Button(true, true, 340, 236);
    Move(200, 100);
    Move(120, 60);
    Button(false, true, 120, 60);
    EXPECT_EQ(MismatchesWithEnlarged(224, 175, 8), 0);
    const std::vector<std::string> zoomSounds = TakeSounds();
    ASSERT_EQ(zoomSounds.size(), 2u) << "only the zoom's sound, and the stop of the release";
    EXPECT_EQ(zoomSounds[1], "- 40");

    // Then whole cells of the grid from the sheet's corner, where the
    // pointer goes; a pointer just outside the sheet paints nothing.
    Button(true, true, 101, 50);
    Move(180, 50);
    Move(80, 50);
    Move(180, 90);
    Button(false, true, 180, 90);
    EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"<memory> f", "- 40"}));
    const auto inCell = [](int x, int y, int left, int top) {
        return x >= left && x < left + 8 && y >= top && y < top + 8;
    };
    const auto painted = [&](int x, int y) {
        return inCell(x, y, 100, 44) || inCell(x, y, 180, 44) || inCell(x, y, 180, 84);
    };
    EXPECT_EQ(Mismatches([&](int x, int y) {
                  return painted(x, y) ? kInk : Code(224 + (x - 84) / 8, 175 + (y - 36) / 8);
              }),
              0);

    // The right button puts back every cell it crosses.
    Button(true, false, 182, 46);
    for (int y = 50; y <= 94; y += 4) Move(182, y);
    Button(false, false, 182, 94);
    const auto edited = [&](int x, int y) {
        return inCell(x, y, 100, 44) ? kInk : Code(224 + (x - 84) / 8, 175 + (y - 36) / 8);
    };
    EXPECT_EQ(Mismatches(edited), 0);

    // Leaving shrinks the edits back into the drawing; undo gives the sheet
    // as it was before zooming, and undo again the edited drawing.
    delete g_workshop.tool;
    g_workshop.tool = nullptr;
    const auto withEdit = [](int x, int y) { return x == 84 + 226 && y == 36 + 176 ? kInk : Code(x - 84, y - 36); };
    EXPECT_EQ(Mismatches(withEdit), 0);
    screen->Undo();
    EXPECT_EQ(MismatchesWithDrawing(), 0);
    screen->Undo();
    EXPECT_EQ(Mismatches(withEdit), 0);
}

}  // namespace
