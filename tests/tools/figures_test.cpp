// The figure tools in the workshop: the figure follows the pointer from the
// press until the next click and leaves nothing where it went before, nor
// beyond the sheet; the curve's pull; the drawing state and cursor put back.
// The figures' shapes, the curve's clicks and the drag sound's pace are
// checked through the program in tests/e2e/figures_test.cpp.
#include "tools/figures.h"

#include "graphics/drawing_state.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "tests/tools/tool_fixture.h"

namespace {

using testing_support::MouseButton;
using testing_support::MouseMove;
using tool_testing::TakeSounds;
using tool_testing::ToolTest;

constexpr int kChecks = 3;  // a checkerboard: ink where x + y is even

class FigureTest : public ToolTest {
public:
    template <typename T>
    ShapeTool* Make() {
        return Use<T>();
    }
};

using Maker = ShapeTool* (FigureTest::*)();

TEST_F(FigureTest, TheClickFixesTheFigureWhereThePointerLeftItAndNowhereElse) {
    struct Case {
        const char* name;
        Maker make;
        int size;
        int pattern;
    };
    const Case cases[] = {
        {"line", &FigureTest::Make<LineTool>, 3, 0},
        {"ellipse", &FigureTest::Make<EllipseTool>, 2, 0},
        {"filled ellipse", &FigureTest::Make<FilledEllipseTool>, 0, kChecks},
        {"rectangle", &FigureTest::Make<RectangleTool>, 7, 0},
        {"filled rectangle", &FigureTest::Make<FilledRectangleTool>, 0, 0},
        {"filled rectangle in a pattern", &FigureTest::Make<FilledRectangleTool>, 0, kChecks},
    };
    const RECT around{100, 60, 420, 360};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Paint(kSheetRect, '.');
        SetBrushSize(c.size);
        g_workshop.pattern = c.pattern;
        ShapeTool* tool = (this->*c.make)();
        const HCURSOR toolCursor = g_currentCursor;
        TakeSounds();
        testing_support::AdvanceClock(1000);
        MouseMove(200, 150);
        MouseButton(true, true, 200, 150);
        EXPECT_EQ(g_currentCursor, LoadedCursor(32001)) << "the drawing cursor while drawing";
        // Far out first, so that any trace of the rubber band would show.
        MouseMove(400, 340);
        MouseButton(false, true, 400, 340);
        EXPECT_EQ(g_workshop.actionInProgress, 1) << "the figure still follows the pointer";
        MouseMove(260, 190);
        control_testing::Click(260, 190);
        EXPECT_EQ(g_currentCursor, toolCursor);
        EXPECT_EQ(g_workshop.actionInProgress, 0);
        EXPECT_EQ(g_drawingState.penWidth, 1);
        EXPECT_EQ(g_drawingState.mode, R2_COPYPEN);
        EXPECT_EQ(g_drawingState.pattern, 0);
        const std::vector<std::string> sounds = TakeSounds();
        ASSERT_FALSE(sounds.empty());
        EXPECT_EQ(sounds.front(), "<memory> 7") << "one drag sound for the moves of one instant";
        EXPECT_EQ(sounds.back(), "pook.wav 3");
        EXPECT_EQ(sounds.size(), 2u);
        const std::string committed = Art(around);

        // The same figure drawn once on a clean sheet.
        Paint(kSheetRect, '.');
        GetWindowSurface(screen->m_window);
        tool->m_x0 = 200;
        tool->m_y0 = 150;
        tool->m_x1 = 260;
        tool->m_y1 = 190;
        tool->DrawShape();
        ReleaseWindowSurface();
        EXPECT_EQ(committed, Art(around));
        EXPECT_GT(PixelsNot('.', around).size(), 100u);
    }
}

TEST_F(FigureTest, AFigureOverTheSheetsEdgeStaysOnTheSheet) {
    SetBrushSize(7);
    g_workshop.pattern = kChecks;
    for (Maker make : {&FigureTest::Make<FilledEllipseTool>, &FigureTest::Make<RectangleTool>}) {
        Paint(kSheetRect, '.');
        (this->*make)();
        MouseMove(560, 400);
        MouseButton(true, true, 560, 400);
        MouseMove(639, 479);
        MouseButton(false, true, 639, 479);
        control_testing::Click(620, 470);
        EXPECT_TRUE(PixelsNot('y', RECT{596, 0, 640, 480}).empty());
        EXPECT_TRUE(PixelsNot('y', RECT{0, 436, 640, 480}).empty());
        EXPECT_FALSE(PixelsNot('.', RECT{560, 400, 596, 436}).empty());
    }
}

TEST_F(FigureTest, TheCurvesControlPointIsPulledAwayFromTheSegmentsMiddle) {
    CurveTool* tool = Use<CurveTool>();
    struct Case {
        POINT p0;
        POINT p3;
        POINT pointer;
        POINT pulled;
    };
    // The middle is (P0 + P3) / 2 and the pull 24/17 of the distance to it,
    // both rounding toward zero on either side.
    const Case cases[] = {
        {{100, 100}, {201, 100}, {150, 50}, {150, -20}},
        {{100, 100}, {201, 100}, {150, 150}, {150, 220}},
        {{100, 100}, {200, 300}, {160, 200}, {174, 200}},
        {{100, 100}, {200, 300}, {140, 200}, {126, 200}},
        {{300, 200}, {300, 200}, {300, 200}, {300, 200}},
    };
    for (const Case& c : cases) {
        tool->m_points[0] = c.p0;
        tool->m_points[2] = tool->m_points[3] = c.p3;
        const POINT pulled = tool->PulledPoint(c.pointer.x, c.pointer.y);
        EXPECT_EQ(pulled.x, c.pulled.x) << c.pointer.x;
        EXPECT_EQ(pulled.y, c.pulled.y) << c.pointer.y;
    }
}

}  // namespace
