// The brush's click: a dot of the pen width in line mode, one dab in the
// pattern otherwise, the loop sound and the drawing state put back. Strokes
// at every size are checked through the program in tests/e2e/tools_test.cpp.
#include "tools/brush.h"

#include "graphics/drawing_state.h"
#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

constexpr int kChecks = 3;  // a checkerboard: ink where x + y is even

// Art rows padded with white to seven pixels.
std::string Padded(const std::vector<std::string>& art) {
    std::string text;
    for (std::string row : art) text += row.append(7 - row.size(), '.') + "\n";
    return text;
}

size_t Count(const std::vector<std::string>& art, char c) {
    size_t n = 0;
    for (const std::string& row : art) n += static_cast<size_t>(std::count(row.begin(), row.end(), c));
    return n;
}

TEST_F(ToolTest, AClickOfTheBrushLeavesADotOfItsWidth) {
    struct Case {
        int size;
        int pattern;
        std::vector<std::string> art;  // (196, 196) to (206, 206)
    };
    // Wide pens end in the pen's round dot: a click is a line of one pixel
    // downwards.
    const Case cases[] = {
        {0, 0, {"....", "....", "....", "....", "....r", ".....", "....."}},
        {1, 0, {"....", "....", "....", "...rr", "...rr", "...rr", "....."}},
        {2, 0, {"....", "....", "...rr", "..rrrr", "..rrrr", "..rrrr", "...rr", "....."}},
        {3, 0, {"....", "...rr", "..rrrr", ".rrrrrr", ".rrrrrr", ".rrrrrr", "..rrrr", "...rr",
                "......."}},
        // A dab: the 2 x 2 square laid in the pattern's ink.
        {1, kChecks, {"....", "....", "....", "....", "....r.", ".....r", "......"}},
        // Width 3: the pen's dot is a plus.
        {4, 0, {"....", "....", "....", "....", ".....r", "....rrr", ".....r", "......."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        Paint(kSheetRect, '.');
        SetBrushSize(c.size);
        g_workshop.pattern = c.pattern;
        Use<BrushTool>();
        control_testing::Click(200, 200);
        EXPECT_EQ(Art(RECT{196, 196, 203, 196 + static_cast<int>(c.art.size())}), Padded(c.art));
        EXPECT_EQ(PixelsNot('.', kSheetRect).size(), Count(c.art, 'r'));
        EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"<memory> f", "- 40"}));
        EXPECT_EQ(g_workshop.actionInProgress, 0);
        EXPECT_EQ(g_drawingState.penWidth, 1);
        EXPECT_EQ(g_drawingState.mode, R2_COPYPEN);
        EXPECT_EQ(g_drawingState.pattern, 0);
    }
}

}  // namespace
