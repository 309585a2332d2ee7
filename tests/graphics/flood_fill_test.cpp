#include "graphics/flood_fill.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/shapes.h"
#include "tests/graphics/canvas.h"

namespace {

using canvas::Canvas;
using canvas::Join;

const COLORREF kRed = RGB(255, 0, 0);

// The pattern flood fill done step by step with work bitmaps and the system's
// flood fills, the way the fast fill must behave.
int ReferencePatternFloodFill(int x, int y, const RECT& bounds, COLORREF colour) {
    const int w = bounds.right - bounds.left;
    const int h = bounds.bottom - bounds.top;
    if (w <= 0 || h <= 0 || x < bounds.left || x >= bounds.right || y < bounds.top ||
        y >= bounds.bottom) {
        return 0;
    }
    HDC surface = g_currentSurface;
    const int ax = bounds.left & 7;
    const int ay = bounds.top & 7;
    const int sx = ax - bounds.left + x;
    const int sy = ay - bounds.top + y;
    const COLORREF s = GetPixel(surface, x, y) | kPaletteRelative;
    HDC m = CreateCompatibleDC(surface);
    HDC a = CreateCompatibleDC(surface);
    HDC b = CreateCompatibleDC(surface);
    HBITMAP mBitmap = CreateBitmap(w + 8, h + 8, 1, 1, nullptr);
    HBITMAP aBitmap = CreateCompatibleBitmap(surface, w + 8, h + 8);
    HBITMAP bBitmap = CreateCompatibleBitmap(surface, w + 8, h + 8);
    HGDIOBJ oldM = SelectObject(m, mBitmap);
    HGDIOBJ oldA = SelectObject(a, aBitmap);
    HGDIOBJ oldB = SelectObject(b, bBitmap);
    HPALETTE oldPalette = SelectPalette(b, PaletteForSurfaces(), FALSE);
    HGDIOBJ pen = GetStockObject((s & 0xFFFFFF) != 0 ? BLACK_PEN : WHITE_PEN);
    for (HDC dc : {m, a, b}) {
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        Rectangle(dc, ax - 1, ay - 1, ax + w + 1, ay + h + 1);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
    const COLORREF background = SetBkColor(surface, s);
    BitBlt(m, ax, ay, w, h, surface, bounds.left, bounds.top, SRCCOPY);
    SetBkColor(surface, background);
    BitBlt(a, ax, ay, w, h, m, ax, ay, SRCCOPY);
    HGDIOBJ oldBrush = SelectObject(a, GetStockObject(BLACK_BRUSH));
    ExtFloodFill(a, sx, sy, RGB(255, 255, 255), FLOODFILLSURFACE);
    SelectObject(a, oldBrush);
    PatBlt(a, ax, ay, w, h, DSTINVERT);
    BitBlt(a, ax, ay, w, h, m, ax, ay, SRCAND);
    BitBlt(b, ax, ay, w, h, a, ax, ay, SRCCOPY);
    PatBlt(a, ax, ay, w, h, DSTINVERT);
    oldBrush = SelectObject(a, SelectedBrush());
    ExtFloodFill(a, sx, sy, RGB(0, 0, 0), FLOODFILLSURFACE);
    SelectObject(a, oldBrush);
    BitBlt(a, ax, ay, w, h, surface, bounds.left, bounds.top, SRCAND);
    SetBkColor(b, RGB(0, 0, 0));
    SetTextColor(b, colour);
    oldBrush = SelectObject(b, SelectedBrush());
    ExtFloodFill(b, sx, sy, RGB(255, 255, 255), FLOODFILLSURFACE);
    SelectObject(b, oldBrush);
    BitBlt(b, ax, ay, w, h, a, ax, ay, SRCPAINT);
    BitBlt(surface, bounds.left, bounds.top, w, h, b, ax, ay, SRCCOPY);
    SelectPalette(b, oldPalette, FALSE);
    SelectObject(b, oldB);
    SelectObject(a, oldA);
    SelectObject(m, oldM);
    for (HBITMAP bitmap : {mBitmap, aBitmap, bBitmap}) DeleteObject(bitmap);
    for (HDC dc : {m, a, b}) DeleteDC(dc);
    return 1;
}

using Filler = int (*)(int, int, const RECT&, COLORREF);

// Runs one pattern fill with the brush that FloodFill would select.
int PatternFill(Filler fill, int pattern, int x, int y, const RECT& bounds) {
    SetFillPattern(pattern);
    SetDrawingMode(kPatternMode);
    SelectBrush(kRed);
    const int result = fill(x, y, bounds, kRed | kPaletteRelative);
    ReleaseBrush();
    SetDrawingMode(R2_COPYPEN);
    SetFillPattern(0);
    return result;
}

class FloodFillTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { canvas::ResetToolkit(GetParam()); }
};

TEST_P(FloodFillTest, PatternFillStaysInsideTheLine) {
    Canvas sheet(12, 7);
    canvas::Paint({
        "XXXXXXX.....",
        "X.....X.....",
        "X..g..X.....",
        "X.....X.....",
        "XXXXXXX.....",
        "............",
        "............",
    });
    EXPECT_EQ(PatternFill(PatternFloodFill, 3, 2, 1, RECT{0, 0, 12, 7}), 1);
    // Only the white area around the seed takes the ink, on its ink pixels:
    // the green pixel is another colour and the outside is not connected.
    EXPECT_EQ(sheet.Art(), Join({
                               "XXXXXXX.....",
                               "Xr.r.rX.....",
                               "X.rgr.X.....",
                               "Xr.r.rX.....",
                               "XXXXXXX.....",
                               "............",
                               "............",
                           }));
}

TEST_P(FloodFillTest, NeighbouringAreasShareOnePhase) {
    Canvas sheet(10, 4);
    canvas::Paint({
        "gggggbbbbb",
        "gggggbbbbb",
        "ggbbbbbbbb",
        "ggbbbbbbbb",
    });
    PatternFill(PatternFloodFill, 3, 0, 0, RECT{0, 0, 10, 4});
    PatternFill(PatternFloodFill, 3, 9, 3, RECT{0, 0, 10, 4});
    EXPECT_EQ(sheet.Art(), Join({
                               "rgrgrbrbrb",
                               "grgrgrbrbr",
                               "rgrbrbrbrb",
                               "grbrbrbrbr",
                           }));
}

TEST_P(FloodFillTest, PatternFillStopsAtTheBounds) {
    Canvas sheet(10, 5);
    PatternFill(PatternFloodFill, 24, 4, 2, RECT{2, 1, 8, 4});
    // Pattern 24 inks the even rows.
    EXPECT_EQ(sheet.Art(), Join({
                               "..........",
                               "..........",
                               "..rrrrrr..",
                               "..........",
                               "..........",
                           }));
}

TEST_P(FloodFillTest, NothingOutsideTheBounds) {
    struct Case {
        int x, y;
        RECT bounds;
    };
    const Case cases[] = {
        {1, 1, {2, 1, 8, 4}},  {8, 1, {2, 1, 8, 4}}, {4, 4, {2, 1, 8, 4}},
        {4, 0, {2, 1, 8, 4}},  {4, 2, {2, 1, 2, 4}}, {4, 2, {2, 3, 8, 3}},
        {4, 2, {8, 1, 2, 4}},
    };
    for (const Case& c : cases) {
        Canvas sheet(10, 5);
        EXPECT_EQ(PatternFill(PatternFloodFill, 3, c.x, c.y, c.bounds), 0) << c.x << "," << c.y;
        EXPECT_EQ(sheet.Art(), Join(std::vector<std::string>(5, "..........")));
    }
}

// A deterministic picture of blobs in a few colours.
void PaintBlobs(uint32_t seed, int w, int h) {
    const char colours[] = {'.', '.', 'X', 'g', '.', 'X'};
    std::vector<std::string> art(h, std::string(w, '.'));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            seed = seed * 214013 + 2531011;
            const char c = colours[(seed >> 16) % 6];
            // Runs make areas large enough to have shapes.
            art[y][x] = (x > 0 && (seed >> 28) < 9) ? art[y][x - 1] : c;
            if (y > 0 && (seed >> 24 & 3) == 0) art[y][x] = art[y - 1][x];
        }
    }
    canvas::Paint(art);
}

TEST_P(FloodFillTest, FastFillMatchesTheSteps) {
    struct Case {
        RECT bounds;
        int pattern;
    };
    const Case cases[] = {
        {{0, 0, 40, 30}, 3},  {{3, 5, 37, 29}, 8},  {{8, 8, 33, 21}, 15},
        {{1, 0, 40, 30}, 34}, {{0, 2, 40, 30}, 36}, {{7, 7, 8, 8}, 1},
    };
    int seedIndex = 0;
    for (const Case& c : cases) {
        for (int trial = 0; trial < 12; ++trial, ++seedIndex) {
            const int x = c.bounds.left + (seedIndex * 7) % (c.bounds.right - c.bounds.left);
            const int y = c.bounds.top + (seedIndex * 5) % (c.bounds.bottom - c.bounds.top);
            std::string expected;
            {
                Canvas sheet(40, 30);
                PaintBlobs(seedIndex, 40, 30);
                EXPECT_EQ(PatternFill(ReferencePatternFloodFill, c.pattern, x, y, c.bounds), 1);
                expected = sheet.Art();
            }
            Canvas sheet(40, 30);
            PaintBlobs(seedIndex, 40, 30);
            EXPECT_EQ(PatternFill(PatternFloodFill, c.pattern, x, y, c.bounds), 1);
            ASSERT_EQ(sheet.Art(), expected)
                << "picture " << seedIndex << " seed " << x << "," << y << " bounds "
                << c.bounds.left << "," << c.bounds.top;
        }
    }
}

TEST_P(FloodFillTest, PlainFloodFillPaintsTheConnectedArea) {
    Canvas sheet(6, 4);
    canvas::Paint({
        "..X...",
        "..X.X.",
        "XXX.X.",
        "....X.",
    });
    FloodFill(0, 0, kRed, nullptr);
    FloodFill(5, 0, RGB(0, 255, 0), nullptr);
    EXPECT_EQ(sheet.Art(), Join({
                               "rrXggg",
                               "rrXgXg",
                               "XXXgXg",
                               "ggggXg",
                           }));
}

INSTANTIATE_TEST_SUITE_P(Depths, FloodFillTest, ::testing::Values(32, 8));

}  // namespace
