// The text tool through the workshop: taking letters back from the clean
// sheet, line breaks, the limits, the per-key sounds, the caret and the
// pointer, and the balloons handed over as floating pictures; the quote rule
// and the balloon's shape on their own.
#include "tools/text.h"

#include <cstring>

#include "dialogs/dialogs.h"
#include "graphics/blit.h"
#include "graphics/text.h"
#include "tests/tools/tool_fixture.h"
#include "tools/floating_text.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

TEST(TextQuoteRule, OpensAfterSeparatorsAndClosesAfterLetters) {
    const struct {
        const char* text;
        int code;
        int expected;
    } cases[] = {
        {"", '"', 0x93},
        {"", '\'', 0x91},
        {" ", '"', 0x93},
        {" \x93hi", '"', 0x94},
        {"l", '\'', 0x92},
        {"a", 'b', 'b'},
        // After a separator, an opening quote earlier on the line is closed.
        {" \x93hi !", '"', 0x94},
        {" \x93hi \x94 ", '"', 0x94},
        // One at the very start, or after a no-break space, is passed over.
        {"\x93hi !", '"', 0x93},
        {"x\xA0\x93hi !", '"', 0x93},
        // The search stops at a line break.
        {" \x93hi\r", '"', 0x93},
        {" \x91hi !", '"', 0x93},
        {"(", '\'', 0x91},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ApplyQuoteRule(c.text, static_cast<int>(strlen(c.text)), c.code), c.expected)
            << "after \"" << c.text << "\"";
    }
}

TEST(TextBalloonGeometry, EllipseTailAndPicture) {
    const struct {
        int width, lines, lineHeight, style;
        RECT ellipse;
        POINT tip, first, second, origin;
        RECT picture;
    } cases[] = {
        {60, 1, 40, kBalloonLeft, {0, 0, 120, 120}, {0, 150}, {120, 60}, {80, 60}, {30, 40}, {0, 0, 122, 150}},
        {60, 1, 40, kBalloonRight, {0, 0, 120, 120}, {120, 150}, {0, 60}, {40, 60}, {30, 40}, {0, 0, 122, 150}},
        {90, 3, 20, kBalloonRight, {0, 0, 180, 104}, {180, 149}, {0, 14}, {60, 14}, {45, 22}, {0, 0, 182, 149}},
        {90, 2, 20, kBalloonLeft, {0, 0, 180, 100}, {0, 145}, {180, 10}, {120, 10}, {45, 30}, {0, 0, 182, 145}},
    };
    for (const auto& c : cases) {
        const BalloonShape shape = BalloonGeometry(c.width, c.lines, c.lineHeight, c.style);
        SCOPED_TRACE(testing::Message() << c.width << " wide, " << c.lines << " lines, style " << c.style);
        EXPECT_TRUE(EqualRect(&shape.ellipse, &c.ellipse));
        EXPECT_TRUE(EqualRect(&shape.picture, &c.picture));
        EXPECT_EQ(shape.tail[0].x, c.tip.x);
        EXPECT_EQ(shape.tail[0].y, c.tip.y);
        EXPECT_EQ(shape.tail[3].x, c.tip.x);
        EXPECT_EQ(shape.tail[1].x, c.first.x);
        EXPECT_EQ(shape.tail[1].y, c.first.y);
        EXPECT_EQ(shape.tail[2].x, c.second.x);
        EXPECT_EQ(shape.tail[2].y, c.second.y);
        EXPECT_EQ(shape.textOrigin.x, c.origin.x);
        EXPECT_EQ(shape.textOrigin.y, c.origin.y);
    }
}

class TextToolTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        g_textSettings = TextSettings{};
        g_textSettings.height = 20;
    }
    void TearDown() override {
        delete g_workshop.pendingTool;
        g_workshop.pendingTool = nullptr;
        g_textSettings = TextSettings{};
        ToolTest::TearDown();
    }

    TextTool* Start(int x, int y) {
        auto* tool = dynamic_cast<TextTool*>(g_workshop.tool);
        if (tool == nullptr) tool = Use<TextTool>();
        screen->OnLButtonDown(x, y);
        screen->OnLButtonUp(x, y);
        return tool;
    }
    void Type(const std::string& keys, int repeat = 0) {
        for (char c : keys) screen->OnChar(static_cast<unsigned char>(c), repeat);
    }
    std::vector<COLORREF> Pixels(const RECT& rect) {
        std::vector<COLORREF> pixels;
        GetWindowSurface(screen->m_window);
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) pixels.push_back(GetPixel(g_currentSurface, x, y));
        }
        ReleaseWindowSurface();
        return pixels;
    }
};

TEST_F(TextToolTest, BackspaceRestoresTheCleanSheetAndEachKeyHasItsSound) {
    g_textSettings.styleBits = kItalic;
    Paint(RECT{150, 100, 400, 110}, 'g');
    Start(160, 90);
    Type("abd\x1b");
    const std::vector<COLORREF> typed = Pixels(kSheetRect);
    screen->Undo();
    TakeSounds();
    TextTool* tool = Start(160, 90);
    EXPECT_EQ(tool->m_entryOpen, 1);
    Type("abc\b");
    EXPECT_EQ(tool->m_length, 2);
    Type("d\x1b");
    EXPECT_EQ(tool->m_entryOpen, 0);
    EXPECT_EQ(g_workshop.actionInProgress, 0);
    EXPECT_TRUE(Pixels(kSheetRect) == typed);
    const std::vector<std::string> expected = {"cr2.wav 3", "keya.wav 3", "keyb.wav 3", "keya.wav 3",
                                               "keyc.wav 3", "keyb.wav 3", "cr3.wav 3"};
    std::vector<std::string> sounds = TakeSounds();
    EXPECT_EQ(sounds, expected);
    // One undo takes the whole text back.
    screen->Undo();
    EXPECT_EQ(PixelsNot('.', RECT{84, 36, 596, 100}).size(), 0u);
}

TEST_F(TextToolTest, QuotesTurnTypographicAndTheProgramsKeyCodesTakeBackOnce) {
    TextTool* tool = Start(100, 50);
    Type(" \"hi\" l'a");
    EXPECT_STREQ(tool->m_text, " \x93hi\x94 l\x92" "a");
    // Backspace reaches the screen as its program code and as character 8;
    // Delete only as its code.
    screen->OnChar(static_cast<int16_t>(0x8013), 0);
    Type("\b");
    screen->OnChar(static_cast<int16_t>(0x8014), 0);
    EXPECT_STREQ(tool->m_text, " \x93hi\x94 l");
    Type("\x1b");
}

// An emoji or a Greek letter has no place in the text: "Tink", and the text
// and the sheet stay as they were.
TEST_F(TextToolTest, CharactersTheCodePageLacksAreRefusedWithTink) {
    TextTool* tool = Start(100, 50);
    Type("ab");
    const std::vector<COLORREF> typed = Pixels(kSheetRect);
    TakeSounds();
    EXPECT_EQ(SendMessageA(screen->m_window, WM_UNICHAR, UNICODE_NOCHAR, 0), TRUE);
    for (WPARAM foreign : {0x3B1, 0x1F600}) SendMessageA(screen->m_window, WM_UNICHAR, foreign, 0);
    EXPECT_STREQ(tool->m_text, "ab");
    EXPECT_TRUE(Pixels(kSheetRect) == typed);
    EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"tink.wav 3", "tink.wav 3"}));
    Type("c\x1b");
    EXPECT_STREQ(tool->m_text, "abc");
}

TEST_F(TextToolTest, LineBreaksAndLimits) {
    TextTool* tool = Start(100, 50);
    Type("ab");
    const int endX = tool->m_caretX;
    Type("\r");
    EXPECT_EQ(tool->m_caretX, 100);
    EXPECT_EQ(tool->m_caretY, 50 + tool->m_lineHeight);
    Type("\b");
    EXPECT_EQ(tool->m_caretX, endX);
    EXPECT_EQ(tool->m_caretY, 50);
    Type("\x1b");
    screen->Undo();

    // Enter on the last line that fits.
    const int lineHeight = tool->m_lineHeight;
    Start(100, 436 - lineHeight);
    TakeSounds();
    Type("\r");
    EXPECT_EQ(tool->m_length, 0);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"tink.wav 3"});
    // Nothing past the sheet's right edge.
    while (tool->m_caretX < kSheetRect.right) Type("W");
    const int length = tool->m_length;
    TakeSounds();
    Type("W");
    EXPECT_EQ(tool->m_length, length);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"tink.wav 3"});
    Type("\x1b");
    screen->Undo();

    // 255 bytes at most, line breaks counted.
    g_textSettings.height = 8;
    Start(90, 40);
    for (int line = 0; line < 5; ++line) Type(std::string(50, 'i') + (line < 4 ? "\r" : ""));
    Type("ii");
    EXPECT_EQ(tool->m_length, 255);
    TakeSounds();
    Type("i\r");
    EXPECT_EQ(tool->m_length, 255);
    EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"tink.wav 3", "tink.wav 3"}));
    // Auto-repeated keys tick from memory; Tab types nothing.
    Type("\b\b", 1);
    Type("\t");
    EXPECT_EQ(tool->m_length, 253);
    for (const std::string& sound : TakeSounds()) EXPECT_EQ(sound.rfind("<memory>", 0), 0u) << sound;
    Type("\x1b");
}

// The display counter of ShowCursor: below 0 the cursor is hidden.
int CursorCount() {
    const int count = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return count - 1;
}

TEST_F(TextToolTest, CaretBlinksAndThePointerComesBackOnTheFourthMove) {
    const int shown = CursorCount();
    TextTool* tool = Start(200, 200);
    EXPECT_EQ(tool->m_caretShown, 1);
    EXPECT_EQ(PixelsNot('X', RECT{200, 200, 202, 200 + tool->m_lineHeight}).size(), 0u);
    screen->OnTimer(kCaretTimer);
    EXPECT_EQ(tool->m_caretShown, 0);
    EXPECT_EQ(PixelsNot('.', RECT{200, 200, 202, 200 + tool->m_lineHeight}).size(), 0u);
    EXPECT_LT(CursorCount(), shown);
    for (int move = 1; move <= 4; ++move) {
        screen->OnMouseMove(210 + move, 210);
        EXPECT_EQ(CursorCount() == shown, move == 4) << "move " << move;
    }
    Type("a");
    screen->OnLButtonDown(300, 300);
    EXPECT_EQ(tool->m_entryOpen, 0);
    EXPECT_EQ(CursorCount(), shown);
}

TEST_F(TextToolTest, BalloonFloatsThenTheTextToolComesBackAndUndoTakesItAll) {
    const struct {
        int style;
        COLORREF colour;
        COLORREF inside;
    } cases[] = {
        {kBalloonLeft, RGB(255, 0, 0), RGB(255, 255, 255)},
        {kBalloonRight, RGB(255, 255, 160), RGB(0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        g_textSettings.style = c.style;
        g_workshop.colour = c.colour;
        const std::vector<COLORREF> before = Pixels(kSheetRect);
        TextTool* tool = Start(150, 100);
        Type("hi\rthere\r\r\x1b");
        auto* balloon = dynamic_cast<FloatingText*>(g_workshop.tool);
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(g_workshop.pendingTool, tool);
        EXPECT_EQ(g_workshop.heldStamp, 1);
        // The typed preview has left the sheet.
        screen->OnMouseMove(20, 20);
        EXPECT_TRUE(Pixels(kSheetRect) == before);
        // Two lines, the trailing breaks dropped.
        const int lineHeight = tool->m_lineHeight;
        const int ellipseBottom = balloon->m_pictureRect.bottom - balloon->m_pictureRect.right / 2 + 1;
        EXPECT_EQ(tool->m_length, 8);
        EXPECT_GE(ellipseBottom, 2 * lineHeight);
        GetWindowSurface(screen->m_window);
        SelectBitmapSurface(balloon->m_picture);
        EXPECT_EQ(GetPixel(g_currentSurface, 4, ellipseBottom / 2 - 2), c.inside);
        RestoreSurface();
        ReleaseWindowSurface();
        screen->OnMouseMove(300, 250);
        screen->OnLButtonDown(300, 250);
        screen->OnLButtonUp(300, 250);
        EXPECT_EQ(g_workshop.tool, tool);
        EXPECT_EQ(g_workshop.pendingTool, nullptr);
        EXPECT_EQ(g_workshop.heldStamp, 0);
        EXPECT_FALSE(Pixels(kSheetRect) == before);
        screen->Undo();
        EXPECT_TRUE(Pixels(kSheetRect) == before);
    }
}

TEST_F(TextToolTest, AnEmptyBalloonTextHandsNothingOver) {
    g_textSettings.style = kBalloonLeft;
    TextTool* tool = Start(150, 100);
    Type("\r\x1b");
    EXPECT_EQ(g_workshop.tool, tool);
    EXPECT_EQ(g_workshop.heldStamp, 0);
    EXPECT_EQ(g_workshop.textTool, 1);
}

}  // namespace
