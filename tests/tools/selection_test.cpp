// Cut and move: the frame of the selection cut to the sheet and its dotted
// look, the hand-over to the cut-out, and the cut-out's opaque and
// transparent drops, second size and flips.
#include "tools/selection.h"

#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::ToolTest;

class SelectionTest : public ToolTest {
protected:
    // A green sheet with a white 90 x 60 area at (100, 100) that holds a blue
    // 10 x 10 square at its top left corner.
    void PaintSheet() {
        Paint(kSheetRect, 'g');
        Paint(RECT{100, 100, 190, 160}, '.');
        Paint(RECT{100, 100, 110, 110}, 'b');
    }
    FloatingSelection* CutOut(const RECT& rect) {
        delete g_workshop.tool;
        g_workshop.tool = nullptr;
        auto* tool = new FloatingSelection(screen, rect);
        g_workshop.tool = tool;
        return tool;
    }
    static std::string Row(char a, int n, char b, int m) { return std::string(n, a) + std::string(m, b); }
};

TEST_F(SelectionTest, TheFrameIsCutToTheSheetAndHandsOverItsCutOut) {
    const struct {
        int x0, y0, x1, y1;
        RECT expected;
    } cases[] = {
        {100, 100, 189, 159, {100, 100, 190, 160}},
        {189, 159, 100, 100, {100, 100, 190, 160}},
        {50, 20, 120, 80, {84, 36, 121, 81}},
        {500, 400, 700, 470, {500, 400, 596, 436}},
        {300, 200, 300, 200, {300, 200, 301, 201}},
    };
    for (const auto& c : cases) {
        auto* tool = Use<SelectionTool>();
        tool->m_x0 = c.x0;
        tool->m_y0 = c.y0;
        tool->m_x1 = c.x1;
        tool->m_y1 = c.y1;
        const RECT rect = tool->SelectedRect();
        EXPECT_TRUE(EqualRect(&rect, &c.expected)) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
        HandOverRecord record;
        EXPECT_EQ(tool->OnCommand(kToolHandOver, reinterpret_cast<LPARAM>(&record)), 1);
        auto* cutOut = dynamic_cast<FloatingSelection*>(record.successor);
        ASSERT_NE(cutOut, nullptr);
        EXPECT_EQ(record.keep, 0);
        EXPECT_EQ(cutOut->m_pictureRect.right, c.expected.right - c.expected.left);
        EXPECT_EQ(cutOut->m_pictureRect.bottom, c.expected.bottom - c.expected.top);
        EXPECT_EQ(cutOut->m_masked, 0);
        EXPECT_EQ(g_workshop.heldStamp, 1);
        delete cutOut;
    }
}

TEST_F(SelectionTest, TheDottedFrameIsWhiteDotsOverInvertedGaps) {
    Paint(kSheetRect, 'X');
    Paint(RECT{100, 100, 300, 101}, 'b');
    auto* tool = Use<SelectionTool>();
    tool->m_x0 = 100;
    tool->m_y0 = 100;
    tool->m_x1 = 140;
    tool->m_y1 = 130;
    GetWindowSurface(screen->m_window);
    tool->DrawShape();
    ReleaseWindowSurface();
    // On black every pixel of the frame turns white; on blue the gaps invert
    // to yellow between white dots.
    EXPECT_EQ(PixelsNot('.', RECT{100, 101, 101, 130}).size(), 0u);
    const std::string top = Art(RECT{100, 100, 141, 101});
    EXPECT_EQ(top.find_first_not_of(".y\n"), std::string::npos) << top;
    EXPECT_NE(top.find('y'), std::string::npos) << top;
    EXPECT_NE(top.find('.'), std::string::npos) << top;
    EXPECT_EQ(PixelsNot('X', RECT{101, 101, 140, 130}).size(), 0u) << "the inside stays";
}

TEST_F(SelectionTest, TheCutOutDropsOpaqueThenTransparentWhereWhite) {
    PaintSheet();
    FloatingSelection* tool = CutOut(RECT{100, 100, 190, 160});
    EXPECT_EQ(tool->m_hotSpot.x, 45);
    EXPECT_EQ(tool->m_hotSpot.y, 30);
    const std::string opaque = Row('b', 10, '.', 80) + "\n";
    const std::string see = Row('b', 10, 'g', 80) + "\n";
    // Opaque: the white of the cut-out covers the green.
    control_testing::Click(345, 230);
    EXPECT_EQ(Art(RECT{300, 200, 390, 201}), opaque);
    EXPECT_EQ(Art(RECT{300, 259, 390, 260}), Row('.', 90, 'g', 0) + "\n");
    // One right click: the sheet shows through the white.
    tool->OnRightPress(345, 330);
    control_testing::Click(345, 330);
    EXPECT_EQ(Art(RECT{300, 300, 390, 301}), see);
    EXPECT_EQ(Art(RECT{300, 359, 390, 360}), Row('g', 90, 'g', 0) + "\n");
    // A second one: opaque again.
    tool->OnRightPress(500, 330);
    control_testing::Click(500, 330);
    EXPECT_EQ(Art(RECT{455, 300, 545, 301}), opaque);
}

TEST_F(SelectionTest, TheSecondSizeIsHalfAsLargeAgainOrTwoThirds) {
    const struct {
        int magnify;
        int width, height;
    } cases[] = {{1, 135, 90}, {0, 60, 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.magnify);
        PaintSheet();
        FloatingSelection* tool = CutOut(RECT{100, 100, 190, 160});
        testing_support::MouseMove(300, 250);
        g_workshop.magnify = c.magnify;
        EXPECT_EQ(tool->OnCommand(kToolMagnify, 0), 0);
        EXPECT_EQ(tool->m_pictureRect.right, c.width);
        EXPECT_EQ(tool->m_pictureRect.bottom, c.height);
        EXPECT_EQ(tool->m_hotSpot.x, 45) << "the hot spot stays";
        // Shown at once under the pointer, the blue square grown or shrunk.
        EXPECT_EQ(PixelsNot('g', kSheetRect).size(), static_cast<size_t>(c.width * c.height + 90 * 60));
        const std::string row = Art(RECT{255, 222, 255 + c.width, 223});
        EXPECT_NEAR(std::count(row.begin(), row.end(), 'b'), 10 * c.width / 90, 1) << row;
        EXPECT_EQ(row[0], 'b');
        g_workshop.magnify ^= 1;
        tool->OnCommand(kToolMagnify, 0);
        EXPECT_EQ(tool->m_pictureRect.right, 90);
        EXPECT_EQ(tool->m_pictureRect.bottom, 60);
        // The flips turn both sizes alike.
        tool->OnCommand(kToolMirror, 0);
        tool->OnCommand(kToolMagnify, 0);
        testing_support::MouseMove(301, 250);
        const std::string mirrored = Art(RECT{256, 222, 256 + c.width, 223});
        EXPECT_EQ(mirrored[0], '.') << mirrored;
        EXPECT_EQ(mirrored[c.width - 1], 'b') << mirrored;
    }
}

}  // namespace
