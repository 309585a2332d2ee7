// The eraser: the background picture comes back under a square of the
// size's side. The sheet's edges and a loaded drawing are checked through
// the program in tests/e2e/tools_test.cpp.
#include "tools/eraser.h"

#include "graphics/blit.h"
#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

// A background picture of green with one blue pixel at sheet (x, y).
void UseBackground(int x, int y) {
    GetWindowSurface(nullptr);
    SelectBitmapSurface(g_backgroundPicture);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(g_currentSurface, &kSheetArea, green);
    DeleteObject(green);
    SetPixelV(g_currentSurface, x, y, RGB(0, 0, 255));
    RestoreSurface();
    ReleaseWindowSurface();
}

TEST_F(ToolTest, TheEraserBringsBackTheBackgroundUnderItsSquare) {
    struct Case {
        int size;
        int side;
    };
    const Case cases[] = {{0, 4}, {1, 8}, {2, 12}, {3, 20}, {4, 4}, {5, 8}, {6, 12}, {7, 20}};
    UseBackground(216, 164);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        Paint(kSheetRect, 'r');
        SetBrushSize(c.size);
        EraserTool* tool = Use<EraserTool>();
        EXPECT_EQ(tool->m_width, c.side);
        EXPECT_EQ(tool->m_height, c.side);
        control_testing::Click(300, 200);
        EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"<memory> f", "- 40"}));
        std::string expected;
        for (int y = 0; y < c.side; ++y) {
            expected += std::string(c.side, 'g') + "\n";
            if (y == 0) expected[0] = 'b';
        }
        EXPECT_EQ(Art(RECT{300, 200, 300 + c.side, 200 + c.side}), expected);
        EXPECT_EQ(PixelsNot('r', kSheetRect).size(), static_cast<size_t>(c.side * c.side));
    }
}

}  // namespace
