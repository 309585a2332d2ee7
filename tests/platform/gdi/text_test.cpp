#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/windows.h"
#include "tests/platform/gdi/gdi_canvas.h"
#include "tests/platform/gdi/raster_art.h"
#include "tests/support/layer.h"

namespace {

using gdi_canvas::Selected;
using gdi_canvas::Sheet;

struct Style {
    int height = -20;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    DWORD quality = DEFAULT_QUALITY;
    const char* face = "DejaVu Sans";
};

HFONT MakeFont(const Style& s) {
    return CreateFontA(s.height, 0, 0, 0, s.weight, s.italic, s.underline, s.strikeOut,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, s.quality, 0,
                       s.face);
}

int Width(HDC dc, const std::string& text) {
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size));
    return size.cx;
}

TEXTMETRICA Metrics(HDC dc) {
    TEXTMETRICA tm{};
    EXPECT_TRUE(GetTextMetricsA(dc, &tm));
    return tm;
}

bool HasInk(const Sheet& sheet) {
    return sheet.BoundsOfNot('.').right > 0;
}

class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ResetLayer();
        platform::gdi::ResetFonts();
    }
};

TEST_F(TextTest, DrawTextWrapsWordsAndMeasuresHeights) {
    Sheet sheet(8, 8);
    Selected font(sheet.Dc(), MakeFont({}));
    const HDC dc = sheet.Dc();
    const int lineHeight = Metrics(dc).tmHeight;
    const int two = Width(dc, "aaa aaa");
    const int three = Width(dc, "aaa aaa aaa");
    const int word = Width(dc, "aaa");
    const struct {
        std::string text;
        int width;
        UINT flags;
        int lines;
        int widest;
    } cases[] = {
        {"aaa aaa aaa", two, DT_WORDBREAK, 2, two},
        {"aaa aaa aaa", two - 1, DT_WORDBREAK, 3, word},
        {"aaa aaa aaa", three, DT_WORDBREAK, 1, three},
        {"aaa aaa aaa", 5, DT_WORDBREAK | DT_SINGLELINE, 1, three},
        {"aaa    aaa", Width(dc, "aaa "), DT_WORDBREAK, 2, word},
        {"  aaa aaa", Width(dc, "  aaa"), DT_WORDBREAK, 2, Width(dc, "  aaa")},
        {"aa\r\naaa\na", 500, DT_WORDBREAK, 3, word},
        {"aaa\n", 500, 0, 1, word},
        {"aaa\n\naa", 500, 0, 3, word},
        {"aaa\rmm", 500, 0, 2, Width(dc, "mm")},
        {"aaa aaa\naaa", 500, DT_SINGLELINE, 1, Width(dc, "aaa aaa\naaa")},
        {"mmmmmmmmmm", 10, DT_WORDBREAK, 1, Width(dc, "mmmmmmmmmm")},
        {"a mmmmmmmmmm b", 10, DT_WORDBREAK, 3, Width(dc, "mmmmmmmmmm")},
        {"mmmmmmmmmm", Width(dc, "mmmm"), DT_WORDBREAK | DT_EDITCONTROL, 3, Width(dc, "mmmm")},
        {"&File", 500, 0, 1, Width(dc, "File")},
        {"&File", 500, DT_NOPREFIX, 1, Width(dc, "&File")},
        {"a&&b", 500, 0, 1, Width(dc, "a&b")},
        {"x\ty", 500, 0, 1, Width(dc, "x\ty")},
        {"x\ty", 500, DT_EXPANDTABS, 1, Metrics(dc).tmAveCharWidth * 8 + Width(dc, "y")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.width));
        RECT rect{3, 4, 3 + c.width, 10};
        const int height = DrawTextA(dc, c.text.c_str(), -1, &rect, c.flags | DT_CALCRECT);
        EXPECT_EQ(height, c.lines * lineHeight);
        EXPECT_EQ(rect.bottom, 4 + height);
        EXPECT_EQ(rect.right - rect.left, c.widest);
        EXPECT_EQ(rect.left, 3);
    }
    // An empty text is one line high but measures nothing.
    RECT rect{0, 0, 50, 50};
    EXPECT_EQ(DrawTextA(dc, "", 0, &rect, DT_CALCRECT | DT_WORDBREAK), lineHeight);
    EXPECT_EQ(rect.right, 0);
    EXPECT_EQ(rect.bottom, 0);
    // The count limits the text.
    rect = RECT{0, 0, 500, 50};
    DrawTextA(dc, "aaa bbb", 3, &rect, DT_CALCRECT);
    EXPECT_EQ(rect.right, Width(dc, "aaa"));
}

// DrawTextA must put each line where TextOutA would draw it by hand.
TEST_F(TextTest, DrawTextPlacesLinesInTheRectangle) {
    const RECT box{10, 5, 110, 55};
    const struct {
        UINT flags;
        int column;  // 0 left, 1 centre, 2 right
        int row;     // 0 top, 1 centre, 2 bottom
    } cases[] = {
        {DT_LEFT, 0, 0},
        {DT_CENTER, 1, 0},
        {DT_RIGHT, 2, 0},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, 1, 1},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 2, 2},
        {DT_VCENTER | DT_BOTTOM, 0, 0},  // vertical placement needs a single line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        Sheet drawn(120, 60);
        Sheet expected(120, 60);
        Selected fontA(drawn.Dc(), MakeFont({}));
        Selected fontB(expected.Dc(), MakeFont({}));
        const int width = Width(drawn.Dc(), "Hg");
        const int height = Metrics(drawn.Dc()).tmHeight;
        RECT rect = box;
        const int result = DrawTextA(drawn.Dc(), "Hg", 2, &rect, c.flags);
        const int x = c.column == 0 ? 10 : c.column == 1 ? 10 + (100 - width) / 2 : 110 - width;
        const int y = c.row == 0 ? 5 : c.row == 1 ? 5 + (50 - height) / 2 : 55 - height;
        TextOutA(expected.Dc(), x, y, "Hg", 2);
        EXPECT_EQ(drawn.Art(), expected.Art());
        EXPECT_EQ(result, y - 5 + height);
        EXPECT_TRUE(HasInk(drawn));
    }
}

TEST_F(TextTest, DrawTextClipsToItsRectangleUnlessAskedNotTo) {
    for (UINT flags : {0u, static_cast<UINT>(DT_NOCLIP)}) {
        Sheet sheet(200, 40);
        Selected font(sheet.Dc(), MakeFont({}));
        RECT rect{5, 5, 30, 35};
        DrawTextA(sheet.Dc(), "Wide text here", -1, &rect, flags | DT_SINGLELINE);
        const RECT ink = sheet.BoundsOfNot('.');
        if (flags == 0) {
            EXPECT_LE(ink.right, 30);
        } else {
            EXPECT_GT(ink.right, 100);
        }
        EXPECT_GE(ink.left, 5);
    }
}

TEST_F(TextTest, EndEllipsisCutsWhatDoesNotFit) {
    const std::string text = "Hello wonderful world";
    for (const bool fits : {false, true}) {
        Sheet drawn(300, 30);
        Sheet expected(300, 30);
        Selected fontA(drawn.Dc(), MakeFont({}));
        Selected fontB(expected.Dc(), MakeFont({}));
        const int limit = fits ? Width(drawn.Dc(), text) : Width(drawn.Dc(), "Hello won");
        std::string shown = text;
        if (!fits) {
            while (Width(drawn.Dc(), shown + "...") > limit)
                shown.pop_back();
            shown += "...";
            EXPECT_EQ(shown.rfind("Hello w", 0), 0u);
        }
        RECT rect{0, 0, limit, 30};
        DrawTextA(drawn.Dc(), text.c_str(), -1, &rect, DT_SINGLELINE | DT_END_ELLIPSIS);
        TextOutA(expected.Dc(), 0, 0, shown.c_str(), static_cast<int>(shown.size()));
        EXPECT_EQ(drawn.Art(), expected.Art());
        EXPECT_LE(drawn.BoundsOfNot('.').right, limit);
    }
}

TEST_F(TextTest, PrefixesUnderlineTheMarkedLetter) {
    Sheet prefixed(100, 30);
    Sheet plain(100, 30);
    Selected fontA(prefixed.Dc(), MakeFont({}));
    Selected fontB(plain.Dc(), MakeFont({}));
    RECT rect{0, 0, 100, 30};
    DrawTextA(prefixed.Dc(), "&File", -1, &rect, DT_SINGLELINE);
    TextOutA(plain.Dc(), 0, 0, "File", 4);
    const int fWidth = Width(plain.Dc(), "F");
    const int ascent = Metrics(plain.Dc()).tmAscent;
    int underlined = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (prefixed.CharAt(x, y) == plain.CharAt(x, y))
                continue;
            EXPECT_LT(x, fWidth);
            EXPECT_GE(y, ascent);
            ++underlined;
        }
    }
    EXPECT_GE(underlined, fWidth);
    // Without prefixes the ampersand is drawn as it is.
    Sheet asIs(100, 30);
    Selected fontC(asIs.Dc(), MakeFont({}));
    plain.Fill('.');
    DrawTextA(asIs.Dc(), "a&&b", -1, &rect, DT_SINGLELINE | DT_NOPREFIX);
    TextOutA(plain.Dc(), 0, 0, "a&&b", 4);
    EXPECT_EQ(asIs.Art(), plain.Art());
}

TEST_F(TextTest, BoldAndItalicChangeTheExtents) {
    Sheet sheet(200, 60);
    const HDC dc = sheet.Dc();
    const std::string text = "Lilliput";
    auto inkWidth = [&](const Style& style) {
        Selected font(dc, MakeFont(style));
        sheet.Fill('.');
        TextOutA(dc, 20, 5, text.c_str(), static_cast<int>(text.size()));
        const RECT ink = sheet.BoundsOfNot('.');
        return std::pair<int, int>{Width(dc, text), ink.right - ink.left};
    };
    const auto [regularAdvance, regularInk] = inkWidth({.height = 32});
    const auto [boldAdvance, boldInk] = inkWidth({.height = 32, .weight = FW_BOLD});
    const auto [italicAdvance, italicInk] = inkWidth({.height = 32, .italic = true});
    EXPECT_GT(boldAdvance, regularAdvance);
    EXPECT_GT(boldInk, regularInk);
    // Italics keep the advances, as on Windows, but their ink leans further.
    EXPECT_GT(italicInk, regularInk);
    EXPECT_GE(italicAdvance, regularAdvance);
    Selected bold(dc, MakeFont({.height = 32, .weight = FW_BOLD}));
    RECT rect{0, 0, regularAdvance, 100};
    EXPECT_EQ(DrawTextA(dc, "Lilliput Lilliput", -1, &rect, DT_CALCRECT | DT_WORDBREAK),
              2 * Metrics(dc).tmHeight);
    EXPECT_EQ(rect.right, boldAdvance);
}

TEST_F(TextTest, MissingFacesAndNoFontStillDraw) {
    for (const char* face : std::vector<const char*>{"No Such Face Anywhere", "", nullptr}) {
        SCOPED_TRACE(face == nullptr ? "no font selected" : face);
        Sheet sheet(100, 40);
        HGDIOBJ old = nullptr;
        HFONT font = nullptr;
        if (face != nullptr) {
            font = MakeFont({.height = 24, .face = face});
            ASSERT_NE(font, nullptr);
            old = SelectObject(sheet.Dc(), font);
        }
        EXPECT_TRUE(TextOutA(sheet.Dc(), 2, 2, "Hello", 5));
        EXPECT_TRUE(HasInk(sheet));
        char name[LF_FACESIZE] = {};
        EXPECT_GT(GetTextFaceA(sheet.Dc(), sizeof name, name), 0);
        if (face != nullptr) {
            EXPECT_STREQ(name, "DejaVu Sans");
            SelectObject(sheet.Dc(), old);
            DeleteObject(font);
        }
    }
}

TEST_F(TextTest, BackgroundAlignmentAndLines) {
    Sheet sheet(160, 60);
    Sheet reference(160, 60);
    const HDC dc = sheet.Dc();
    Selected font(dc, MakeFont({.height = 24, .underline = true}));
    Selected fontB(reference.Dc(), MakeFont({.height = 24, .underline = true}));
    const TEXTMETRICA tm = Metrics(dc);
    const int space = Width(dc, "  ");
    // An opaque background fills the cell exactly, whatever the ROP2.
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 0, 0));
    SetROP2(dc, R2_NOT);
    TextOutA(dc, 10, 7, "  ", 2);
    const RECT cell = sheet.BoundsOfNot('.');
    EXPECT_EQ(cell.left, 10);
    EXPECT_EQ(cell.top, 7);
    EXPECT_EQ(cell.right, 10 + space);
    EXPECT_EQ(cell.bottom, 7 + tm.tmHeight);
    // The underline is one full row (or more) in the text colour.
    int underlineRows = 0;
    for (int y = cell.top; y < cell.bottom; ++y) {
        bool full = true;
        for (int x = cell.left; x < cell.right; ++x)
            full = full && sheet.CharAt(x, y) == 'X';
        underlineRows += full ? 1 : 0;
    }
    EXPECT_GE(underlineRows, 1);
    EXPECT_TRUE(sheet.CharAt(10, 7 + tm.tmAscent - 1) == 'r');
    SetROP2(dc, R2_COPYPEN);
    SetBkMode(dc, TRANSPARENT);

    // Alignments move the cell around the reference point.
    const int width = Width(dc, "Tag");
    TextOutA(reference.Dc(), 40, 20, "Tag", 3);
    const struct {
        UINT align;
        int x;
        int y;
    } cases[] = {{TA_BASELINE, 40, 20 + tm.tmAscent},
                 {TA_RIGHT | TA_BOTTOM, 40 + width, 20 + tm.tmHeight},
                 {TA_CENTER, 40 + width / 2, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.align);
        sheet.Fill('.');
        EXPECT_EQ(SetTextAlign(dc, c.align), GetTextAlign(dc));
        TextOutA(dc, c.x, c.y, "Tag", 3);
        if ((width & 1) == 0 || c.align != TA_CENTER) {
            EXPECT_EQ(sheet.Art(), reference.Art());
        }
    }
    // TA_UPDATECP draws from the current position and moves it along.
    sheet.Fill('.');
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 40, 20, nullptr);
    TextOutA(dc, 0, 0, "T", 1);
    TextOutA(dc, 0, 0, "ag", 2);
    POINT cp{};
    GetCurrentPositionEx(dc, &cp);
    EXPECT_EQ(cp.x, 40 + width);
    EXPECT_EQ(sheet.Art(), reference.Art());
}

TEST_F(TextTest, QualityChoosesGreyOrPlainPixels) {
    const struct {
        DWORD quality;
        int bits;
        bool grey;
    } cases[] = {{ANTIALIASED_QUALITY, 32, true},
                 {DEFAULT_QUALITY, 32, false},
                 {NONANTIALIASED_QUALITY, 32, false},
                 {ANTIALIASED_QUALITY, 8, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.quality) + " at " + std::to_string(c.bits));
        raster_art::Canvas canvas(std::vector<std::string>(40, std::string(80, '.')), c.bits);
        Selected font(canvas.Dc(), MakeFont({.height = 28, .quality = c.quality}));
        SetBkMode(canvas.Dc(), TRANSPARENT);
        TextOutA(canvas.Dc(), 2, 2, "Sag", 3);
        int black = 0;
        int grey = 0;
        for (const std::string& row : canvas.Art()) {
            for (char p : row) {
                black += p == 'X';
                grey += p == '?';
            }
        }
        EXPECT_GT(black, 20);
        EXPECT_EQ(grey > 0, c.grey);
    }
}

}  // namespace
