// The help bubble: its wrapping width, its place by the anchor's quarter of
// the window, its hold inside the window, its drawing and the pixels it puts
// back.
#include "controls/help_bubble.h"

#include "graphics/text.h"
#include "tests/controls/screen_fixture.h"

namespace {

using namespace control_testing;

class HelpBubbleTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        screen = ShownScreen();
        GetWindowSurface(screen->m_window);
        HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
        const RECT all{0, 0, 640, 480};
        FillRect(g_currentSurface, &all, yellow);
        DeleteObject(yellow);
        ReleaseWindowSurface();
        font = CreateTextFont("Dom Very Casual", 28, 0, 0, 0, ANTIALIASED_QUALITY);
    }
    void TearDown() override {
        DeleteTextFont(font);
        delete screen;
        ControlTest::TearDown();
    }

    int WidthOf(const char* text) {
        GetWindowSurface(screen->m_window);
        HFONT old = SelectTextFont(font);
        const int width = TextWidth(text, -1);
        SelectTextFont(old);
        ReleaseWindowSurface();
        return width;
    }

    size_t CountNot(char colour) {
        size_t n = 0;
        HDC dc = GetDC(screen->m_window);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) n += canvas::CharOf(GetPixel(dc, x, y)) != colour;
        }
        ReleaseDC(screen->m_window, dc);
        return n;
    }

    RecordingScreen* screen = nullptr;
    HFONT font = nullptr;
};

TEST(HelpBubble, TextsWrapByTheirLength) {
    struct Case {
        int line;
        int wrap;
    };
    // A quarter of 640 keeps its width, up to a half wraps at two thirds,
    // longer at a third but never wider than 512.
    const Case cases[] = {{0, 0},     {100, 100},   {160, 160},   {161, 106},  {320, 212},
                          {321, 107}, {1536, 512}, {1539, 512}, {3000, 512}};
    for (const Case& c : cases) EXPECT_EQ(BubbleTextWidth(c.line, 640), c.wrap) << c.line;
}

TEST_F(HelpBubbleTest, BubblesLeanTowardsTheMiddleAndStayInTheWindow) {
    const char* shortText = "Choose a color.";
    const char* longText =
        "Select this tool to draw curved lines: click a first time to start the curved line, "
        "click again to end the curved line; move the mouse to bend the line, then click a "
        "last time.";
    struct Case {
        const char* name;
        RECT anchor;
        const char* text;
        int left;  // of the text box; -1: held against the right edge
        int top;   // of the text box; -1: its bottom 48 + 16 above the anchor
        int tailX;
        int tailY;  // a point inside the tail
    };
    const Case cases[] = {
        {"help button", {11, 4, 87, 28}, shortText, 49 + 16, 16 + 50 + 16, 49 + 39, 16 + 44},
        {"right swatch", {600, 95, 620, 114}, shortText, -1, 104 + 50 + 16, 610 - 39, 104 + 44},
        {"background", {0, 440, 80, 481}, shortText, 40 + 16, -1, 40 + 39, 460 - 44},
        {"held at 4", {320, 300, 340, 320}, longText, 4 + 16, -1, 330 - 39, 310 - 44},
        {"held at W - 4", {280, 100, 300, 120}, longText, -1, 110 + 50 + 16, 290 + 39, 110 + 44},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int wrap = BubbleTextWidth(WidthOf(c.text), 640);
        auto* bubble = new HelpBubble(c.anchor, c.text, font, nullptr);
        EXPECT_EQ(bubble->m_ownsSaveBitmap, 1);
        const RECT& text = bubble->m_textBox;
        EXPECT_EQ(text.right - text.left, wrap);
        const int anchorX = (c.anchor.left + c.anchor.right) / 2;
        const int anchorY = (c.anchor.top + c.anchor.bottom) / 2;
        EXPECT_EQ(bubble->m_anchorX, anchorX);
        EXPECT_EQ(text.left, c.left >= 0 ? c.left
                             : c.anchor.left >= 600 ? anchorX - 16 - wrap
                                                    : 640 - 4 - 16 - wrap);
        if (c.top >= 0) EXPECT_EQ(text.top, c.top);
        else EXPECT_EQ(text.bottom, anchorY - 48 - 16);
        EXPECT_GT(text.bottom - text.top, 0);
        // White inside with black writing, yellow around, the tail white.
        EXPECT_EQ(PixelAt(screen->m_window, text.left - 6, text.top - 6), '.');
        EXPECT_EQ(PixelAt(screen->m_window, c.tailX, c.tailY), '.');
        EXPECT_EQ(PixelAt(screen->m_window, text.left - 16, text.top - 16), 'y') << "round corner";
        EXPECT_EQ(PixelAt(screen->m_window, text.left - 16, text.top + 16), 'X') << "the frame";
        delete bubble;
        EXPECT_EQ(CountNot('y'), 0u) << "the pixels come back";
    }
}

TEST_F(HelpBubbleTest, ALentSaveBitmapIsUsedAndKept) {
    GetWindowSurface(screen->m_window);
    HBITMAP buffer = CreateSurfaceBitmap(RECT{0, 0, 640, 480}, 0);
    ReleaseWindowSurface();
    auto* bubble = new HelpBubble(RECT{100, 100, 120, 120}, "Hello", font, buffer);
    EXPECT_EQ(bubble->m_saveBitmap, buffer);
    EXPECT_EQ(bubble->m_ownsSaveBitmap, 0);
    EXPECT_EQ(PixelAt(screen->m_window, 114, 115), 'X') << "the tail near its tip";
    delete bubble;
    EXPECT_EQ(CountNot('y'), 0u);
    EXPECT_EQ(GetObjectType(buffer), static_cast<DWORD>(OBJ_BITMAP));
    DeleteObject(buffer);
}

}  // namespace
