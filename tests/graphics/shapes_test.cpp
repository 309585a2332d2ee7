#include "graphics/shapes.h"

#include <gtest/gtest.h>

#include "tests/graphics/canvas.h"

namespace {

using canvas::Canvas;
using canvas::Join;

const COLORREF kRed = RGB(255, 0, 0);

int CountPixels(const std::string& art, char c) {
    int count = 0;
    for (char p : art) count += p == c;
    return count;
}

class ShapesTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { canvas::ResetToolkit(GetParam()); }
};

TEST_P(ShapesTest, FillRectangleCoversExactlyItsPixels) {
    struct Case {
        RECT rect;
        int pixels;
    };
    const Case cases[] = {
        {{10, 10, 20, 20}, 100}, {{0, 0, 1, 1}, 1}, {{3, 4, 5, 7}, 6}, {{5, 5, 5, 9}, 0},
        {{22, 22, 30, 30}, 4},  // clipped at the right and bottom edges
    };
    for (const Case& c : cases) {
        Canvas sheet(24, 24);
        FillRectangle(c.rect, RGB(0, 0, 0));
        const std::string art = sheet.Art();
        EXPECT_EQ(CountPixels(art, 'X'), c.pixels) << c.rect.left << "," << c.rect.top;
        if (c.pixels > 0 && c.rect.right < 24) {
            EXPECT_EQ(GetPixel(g_currentSurface, c.rect.right, c.rect.top), RGB(255, 255, 255));
            EXPECT_EQ(GetPixel(g_currentSurface, c.rect.right - 1, c.rect.bottom - 1), 0u);
        }
    }
}

TEST_P(ShapesTest, PatternFillKeepsTheSurfacePhase) {
    Canvas sheet(8, 4);
    SetFillPattern(6);  // a diagonal: rows 11 22 44 88
    SetDrawingMode(kPatternMode);
    // Left -3 and top -2 put the work rectangle at (5, 6) of the work bitmaps.
    FillRectangle(RECT{-3, -2, 6, 3}, kRed);
    EXPECT_EQ(sheet.Art(), Join({
                               "rrr.rr..",
                               "rr.rrr..",
                               "r.rrr...",
                               "........",
                           }));
}

TEST_P(ShapesTest, AdjacentPatternFillsJoinWithoutASeam) {
    SetFillPattern(8);
    SetDrawingMode(kPatternMode);
    std::string joined;
    {
        Canvas sheet(13, 11, 'g');
        FillRectangle(RECT{1, 1, 12, 10}, kRed);
        joined = sheet.Art();
    }
    Canvas sheet(13, 11, 'g');
    FillRectangle(RECT{1, 1, 6, 10}, kRed);
    FillRectangle(RECT{6, 1, 12, 4}, kRed);
    FillRectangle(RECT{6, 4, 12, 10}, kRed);
    EXPECT_EQ(sheet.Art(), joined);
    // The pattern's paper lets the green picture through.
    EXPECT_GT(CountPixels(joined, 'g'), 13 * 11 - 11 * 9);
}

TEST_P(ShapesTest, AllPaperAndAllInkPatterns) {
    struct Case {
        int pattern;
        int brushKind;
        bool ellipse;
        const char* what;
    };
    const Case cases[] = {
        {19, kPatternBrush, false, "all paper changes nothing"},
        {19, kPatternBrush, true, "all paper changes nothing"},
        {0, kPatternBrush, false, "all ink paints the whole shape"},
        {0, kPatternBrush, true, "all ink paints the whole shape"},
    };
    for (const Case& c : cases) {
        std::string solid;
        {
            // The same shape filled plainly, for comparison.
            Canvas sheet(12, 9, 'g');
            SetFillPattern(0);
            SetDrawingMode(R2_COPYPEN);
            const RECT shape{1, 2, 11, 8};
            if (c.ellipse) {
                SelectBrush(kRed);
                Ellipse(g_currentSurface, shape.left, shape.top, shape.right + 1, shape.bottom + 1);
                ReleaseBrush();
            } else {
                FillRectangle(shape, kRed);
            }
            solid = sheet.Art();
        }
        Canvas sheet(12, 9, 'g');
        SetFillPattern(c.pattern);
        g_drawingState.brushKind = c.brushKind;
        SetDrawingMode(kPatternMode);
        if (c.ellipse) {
            FillEllipse(RECT{1, 2, 11, 8}, kRed);
        } else {
            FillRectangle(RECT{1, 2, 11, 8}, kRed);
        }
        if (c.pattern == 19) {
            EXPECT_EQ(CountPixels(sheet.Art(), 'g'), 12 * 9) << c.what;
        } else {
            EXPECT_EQ(sheet.Art(), solid) << c.what;
        }
    }
}

TEST_P(ShapesTest, SolidEllipseHasAOnePixelOutlineWhateverThePenWidth) {
    std::string thin;
    {
        Canvas sheet(16, 14);
        FillEllipse(RECT{2, 2, 14, 12}, kRed);
        thin = sheet.Art();
    }
    Canvas sheet(16, 14);
    SetPenWidth(7);
    FillEllipse(RECT{2, 2, 14, 12}, kRed);
    EXPECT_EQ(g_drawingState.penWidth, 7);
    EXPECT_EQ(sheet.Art(), thin);
    // Nothing reaches outside the rectangle, and its middle row spans it.
    const std::string art = sheet.Art();
    EXPECT_EQ(art.substr(7 * 17, 17), "..rrrrrrrrrrrr..\n");
    EXPECT_EQ(art.substr(0, 2 * 17), std::string("................\n") + "................\n");
}

INSTANTIATE_TEST_SUITE_P(Depths, ShapesTest, ::testing::Values(32, 8));

TEST(Shapes, CurvePoints) {
    struct Case {
        POINT control[4];
        int index;
        POINT expected;
    };
    const Case cases[] = {
        // With P1 = P2 = P3 the curve runs straight from P0 and ends on P3.
        {{{0, 5}, {40, 5}, {40, 5}, {40, 5}}, 32, {40, 5}},
        {{{-7, 3}, {100, -20}, {100, -20}, {100, -20}}, 32, {100, -20}},
        {{{0, 0}, {0, 32}, {32, 32}, {32, 0}}, 16, {16, 24}},
        {{{0, 0}, {0, 32}, {32, 32}, {32, 0}}, 0, {0, 0}},
        {{{0, 0}, {0, 32}, {32, 32}, {32, 0}}, 32, {32, 0}},
        // t = 1/32 of a straight 0..32 span: 3 * 32 / 32 = 2.9 rounds to 3.
        {{{0, 0}, {32, 0}, {32, 0}, {32, 0}}, 1, {3, 0}},
    };
    for (const Case& c : cases) {
        POINT points[kCurvePoints];
        CurvePoints(c.control, points);
        EXPECT_EQ(points[c.index].x, c.expected.x) << c.index;
        EXPECT_EQ(points[c.index].y, c.expected.y) << c.index;
    }
    POINT line[kCurvePoints];
    const POINT straight[4] = {{0, 5}, {40, 5}, {40, 5}, {40, 5}};
    CurvePoints(straight, line);
    for (int m = 1; m < kCurvePoints; ++m) {
        EXPECT_EQ(line[m].y, 5);
        EXPECT_GE(line[m].x, line[m - 1].x);
    }
}

}  // namespace
