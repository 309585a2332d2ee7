// The figure tools in the workshop: the figure follows the pointer from the
// press until the next click and leaves nothing where it went before, the
// drag sound keeps its pace, the curve's pull, and the drawing state and
// cursor put back. Whole figures at every tool are checked through the
// program in tests/e2e/figures_test.cpp.
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
protected:
    template <typename T>
    ShapeTool* Make() {
        return Use<T>();
    }

    // Press at a, drag through b, release there, follow to c and click.
    void Draw(POINT a, POINT b, POINT c) {
        MouseMove(a.x, a.y);
        MouseButton(true, true, a.x, a.y);
        MouseMove(b.x, b.y);
        MouseButton(false, true, b.x, b.y);
        EXPECT_EQ(g_workshop.actionInProgress, 1) << "the figure still follows the pointer";
        MouseMove(c.x, c.y);
        control_testing::Click(c.x, c.y);
    }
};

using Maker = ShapeTool* (FigureTest::*)();

TEST_F(FigureTest, TheClickFixesTheFigureWhereThePointerLeftItAndNowhereElse) {
    struct Case {
        const char* name;
        Maker make;
        int size;
        int pattern;
        const char* dragSound;
    };
    const Case cases[] = {
        {"line", &FigureTest::Make<LineTool>, 3, 0, "tichaut.wav"},
        {"ellipse", &FigureTest::Make<EllipseTool>, 2, 0, "ticbhaut.wav"},
        {"filled ellipse", &FigureTest::Make<FilledEllipseTool>, 0, kChecks, "ticbbas.wav"},
        {"rectangle", &FigureTest::Make<RectangleTool>, 7, 0, "klinkup.wav"},
        {"filled rectangle", &FigureTest::Make<FilledRectangleTool>, 0, 0, "klinkba.wav"},
        {"filled rectangle in a pattern", &FigureTest::Make<FilledRectangleTool>, 0, kChecks,
         "klinkba.wav"},
    };
    const RECT around{100, 60, 420, 360};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Paint(kSheetRect, '.');
        SetBrushSize(c.size);
        g_workshop.pattern = c.pattern;
        ShapeTool* tool = (this->*c.make)();
        TakeSounds();
        testing_support::AdvanceClock(1000);
        // Far out first, so that any trace of the rubber band would show.
        Draw({200, 150}, {400, 340}, {260, 190});
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

TEST_F(FigureTest, APressAndReleaseOnOnePointFramesOnePixelThatFollowsThePointer) {
    Use<RectangleTool>();
    const HCURSOR toolCursor = g_currentCursor;
    MouseMove(300, 200);
    control_testing::Click(300, 200);
    EXPECT_EQ(g_currentCursor, LoadedCursor(32001)) << "the drawing cursor while the figure follows";
    EXPECT_EQ(Art(RECT{299, 199, 302, 202}), "...\n.r.\n...\n");
    EXPECT_EQ(PixelsNot('.', kSheetRect).size(), 1u);
    MouseMove(303, 202);
    EXPECT_EQ(Art(RECT{299, 199, 305, 204}),
              "......\n"
              ".rrrr.\n"
              ".r..r.\n"
              ".rrrr.\n"
              "......\n");
    control_testing::Click(302, 201);
    EXPECT_EQ(g_workshop.actionInProgress, 0);
    EXPECT_EQ(g_currentCursor, toolCursor);
    EXPECT_EQ(Art(RECT{299, 199, 305, 204}),
              "......\n"
              ".rrr..\n"
              ".rrr..\n"
              "......\n"
              "......\n");
}

TEST_F(FigureTest, AFigureOverTheSheetsEdgeStaysOnTheSheet) {
    SetBrushSize(7);
    g_workshop.pattern = kChecks;
    for (Maker make : {&FigureTest::Make<FilledEllipseTool>, &FigureTest::Make<RectangleTool>}) {
        Paint(kSheetRect, '.');
        (this->*make)();
        Draw({560, 400}, {639, 479}, {620, 470});
        EXPECT_TRUE(PixelsNot('y', RECT{596, 0, 640, 480}).empty());
        EXPECT_TRUE(PixelsNot('y', RECT{0, 436, 640, 480}).empty());
        EXPECT_FALSE(PixelsNot('.', RECT{560, 400, 596, 436}).empty());
    }
}

TEST_F(FigureTest, TheDragSoundPlaysAtMostOncePer100Ms) {
    Use<LineTool>();
    testing_support::AdvanceClock(5000);
    MouseMove(200, 200);
    MouseButton(true, true, 200, 200);
    TakeSounds();
    // Ten moves every 30 ms: sounds at 0, 120, 240 ms, and none for the
    // moves that come in the same millisecond.
    int drags = 0;
    for (int step = 0; step < 10; ++step) {
        for (int i = 0; i < 5; ++i) MouseMove(210 + 5 * step + i, 220);
        drags += static_cast<int>(TakeSounds().size());
        testing_support::AdvanceClock(30);
    }
    EXPECT_EQ(drags, 3);
    MouseButton(false, true, 260, 220);
    control_testing::Click(260, 220);
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

TEST_F(FigureTest, TheCurveTakesThreeClicksAndBendsAwayFromItsSegment) {
    Use<CurveTool>();
    testing_support::AdvanceClock(1000);
    Draw({150, 200}, {300, 200}, {350, 200});
    EXPECT_EQ(g_workshop.actionInProgress, 1) << "the second click only fixes the segment";
    EXPECT_EQ(TakeSounds().back(), "<memory> 7");
    const std::vector<POINT> segment = PixelsNot('.', kSheetRect);
    // Lines leave out their last point, as on Windows.
    ASSERT_EQ(segment.size(), 200u);
    MouseMove(250, 150);
    control_testing::Click(250, 150);
    EXPECT_EQ(g_workshop.actionInProgress, 0);
    EXPECT_EQ(TakeSounds().back(), "pook.wav 3");
    // From (150, 200) to (350, 200), pulled up by the control point (250, 80).
    const std::vector<POINT> curve = PixelsNot('.', kSheetRect);
    ASSERT_FALSE(curve.empty());
    int top = 480;
    for (const POINT& p : curve) top = std::min(top, static_cast<int>(p.y));
    EXPECT_LE(top, 160);
    EXPECT_GE(top, 145);
    EXPECT_EQ(PixelsNot('.', RECT{140, 201, 360, 436}).size(), 0u) << "nothing left of the segment";
    EXPECT_EQ(Art(RECT{150, 200, 151, 201}), "r\n");
}

}  // namespace
