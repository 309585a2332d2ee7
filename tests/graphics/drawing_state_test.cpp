#include "graphics/drawing_state.h"

#include <gtest/gtest.h>

#include "tests/graphics/canvas.h"

namespace {

using canvas::Canvas;

TEST(DrawingState, SettersReturnThePreviousValue) {
    canvas::ResetToolkit();
    Canvas sheet(2, 2);
    EXPECT_EQ(SetDrawingMode(kPatternMode), R2_COPYPEN);
    EXPECT_EQ(GetBkMode(g_currentSurface), TRANSPARENT);
    EXPECT_EQ(GetROP2(g_currentSurface), R2_COPYPEN);
    EXPECT_EQ(SetDrawingMode(R2_NOT), kPatternMode);
    EXPECT_EQ(GetBkMode(g_currentSurface), OPAQUE);
    EXPECT_EQ(GetROP2(g_currentSurface), R2_NOT);
    EXPECT_EQ(SetPenWidth(8), 1);
    EXPECT_EQ(SetPenStyle(PS_DOT), PS_SOLID);
    EXPECT_EQ(SetFillPattern(12), 0);
    EXPECT_EQ(g_drawingState.brushKind, kPatternBrush);
    EXPECT_EQ(g_drawingState.patternBitmap, FillPatternBitmap(12));
    EXPECT_EQ(SetFillPattern(0), 12);
    EXPECT_EQ(g_drawingState.brushKind, kSolidBrush);
    EXPECT_EQ(SetTextBackground(RGB(1, 2, 3)), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(g_currentSurface) & 0xFFFFFF, RGB(1, 2, 3));
}

TEST(DrawingState, SaveRestoreAndReset) {
    canvas::ResetToolkit();
    Canvas sheet(2, 2);
    SetDrawingMode(R2_XORPEN);
    SetPenWidth(5);
    SetFillPattern(30);
    g_drawingState.fillColour = RGB(9, 8, 7);
    SetTextBackground(RGB(4, 5, 6));
    SaveDrawingState(nullptr);
    SavedDrawingState own;
    SaveDrawingState(&own);

    ResetDrawingState();
    EXPECT_EQ(g_drawingState.mode, R2_COPYPEN);
    EXPECT_EQ(g_drawingState.penWidth, 1);
    EXPECT_EQ(g_drawingState.pattern, 0);
    EXPECT_EQ(g_drawingState.brushKind, kSolidBrush);
    EXPECT_EQ(g_drawingState.fillColour, 0u);
    EXPECT_EQ(g_drawingState.textBackground, RGB(255, 255, 255));

    const SavedDrawingState* records[] = {nullptr, &own};
    for (const SavedDrawingState* record : records) {
        ResetDrawingState();
        RestoreDrawingState(record);
        EXPECT_EQ(g_drawingState.mode, R2_XORPEN);
        EXPECT_EQ(GetROP2(g_currentSurface), R2_XORPEN);
        EXPECT_EQ(g_drawingState.penWidth, 5);
        EXPECT_EQ(g_drawingState.pattern, 30);
        EXPECT_EQ(g_drawingState.patternBitmap, FillPatternBitmap(30));
        EXPECT_EQ(g_drawingState.brushKind, kPatternBrush);
        EXPECT_EQ(g_drawingState.fillColour, RGB(9, 8, 7));
        EXPECT_EQ(GetBkColor(g_currentSurface) & 0xFFFFFF, RGB(4, 5, 6));
    }
}

TEST(DrawingState, PatternBitmapsHoldTheTable) {
    canvas::ResetToolkit();
    Canvas sheet(1, 1);
    for (int number : {1, 8, 19, 34, 44}) {
        std::string expected;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) expected += IsPatternInk(number, x, y) ? 'X' : '.';
            expected += '\n';
        }
        EXPECT_EQ(canvas::ReadBitmap(FillPatternBitmap(number)), expected) << number;
    }
    // Row 0 of pattern 34 is 7F: ink only in the leftmost pixel.
    EXPECT_TRUE(IsPatternInk(34, 0, 0));
    EXPECT_FALSE(IsPatternInk(34, 1, 0));
    EXPECT_TRUE(IsPatternInk(34, -8, 8));
}

}  // namespace
