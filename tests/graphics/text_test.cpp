#include "graphics/text.h"

#include <gtest/gtest.h>

#include "tests/graphics/canvas.h"

namespace {

using canvas::Canvas;

TEST(Text, DrawingLeavesTheBackgroundModeAndUsesTheFillColour) {
    canvas::ResetToolkit();
    Canvas sheet(80, 30);
    HFONT font = CreateTextFont("Arial", 20, kBold, FW_NORMAL, 0, DEFAULT_QUALITY);
    ASSERT_NE(font, nullptr);
    HFONT old = SelectTextFont(font);
    g_drawingState.fillColour = RGB(255, 0, 0);
    SetBkMode(g_currentSurface, OPAQUE);
    EXPECT_EQ(SetTextMode(kTransparentText), kTransparentText);
    DrawTextAt(2, 2, "Hi", -1);
    EXPECT_EQ(GetBkMode(g_currentSurface), OPAQUE);
    const std::string art = sheet.Art();
    EXPECT_NE(art.find('r'), std::string::npos);
    EXPECT_EQ(art.find('X'), std::string::npos);

    EXPECT_EQ(SetTextMode(1), kTransparentText);
    SetBkMode(g_currentSurface, TRANSPARENT);
    DrawCharAt(40, 2, 'W');
    EXPECT_EQ(GetBkMode(g_currentSurface), TRANSPARENT);
    EXPECT_EQ(SetTextMode(kTransparentText), 1);

    EXPECT_EQ(TextWidth("Hello", -1), TextWidth("Hello world", 5));
    EXPECT_GT(TextHeight(), 0);
    EXPECT_GT(CharWidth('W'), CharWidth('i'));
    RECT narrow{10, 20, 60, 0};
    const int height = MeasureText("one two three four five", -1, narrow);
    EXPECT_EQ(narrow.bottom, 20 + height);
    EXPECT_GT(height, TextHeight());
    EXPECT_EQ(narrow.right, 60);
    EXPECT_EQ(DrawTextInRect("one two three four five", -1, RECT{10, 20, 60, 200}, 0), height);
    SelectTextFont(old);
    DeleteTextFont(font);
}

}  // namespace
