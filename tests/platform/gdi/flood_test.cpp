#include <gtest/gtest.h>

#include "platform/windows.h"
#include "tests/platform/gdi/gdi_canvas.h"
#include "tests/support/layer.h"

namespace {

using gdi_canvas::Join;
using gdi_canvas::Selected;
using gdi_canvas::Sheet;

TEST(GdiFlood, FillsTheFourConnectedArea) {
    testing_support::ResetLayer();
    const std::vector<std::string> picture = {
        "XXXXXXXX",
        "X..X...g",
        "X..X.XXX",
        "XXX..X..",
        "...XXX.b",
    };
    struct Case {
        POINT seed;
        COLORREF colour;
        UINT type;
        BOOL result;
        std::vector<std::string> art;
    };
    const Case cases[] = {
        // The left room touches the right one only at a corner.
        {{1, 1}, RGB(255, 255, 255), FLOODFILLSURFACE, TRUE,
         {"XXXXXXXX", "XrrX...g", "XrrX.XXX", "XXX..X..", "...XXX.b"}},
        {{4, 3}, RGB(255, 255, 255), FLOODFILLSURFACE, TRUE,
         {"XXXXXXXX", "X..Xrrrg", "X..XrXXX", "XXXrrX..", "...XXX.b"}},
        // Up to a black border, over every other colour.
        {{4, 3}, RGB(0, 0, 0), FLOODFILLBORDER, TRUE,
         {"XXXXXXXX", "X..Xrrrr", "X..XrXXX", "XXXrrX..", "...XXX.b"}},
        {{7, 3}, RGB(0, 0, 0), FLOODFILLBORDER, TRUE,
         {"XXXXXXXX", "X..X...g", "X..X.XXX", "XXX..Xrr", "...XXXrr"}},
        // The seed must be of the surface colour, and not of the border one.
        {{0, 0}, RGB(255, 255, 255), FLOODFILLSURFACE, FALSE, picture},
        {{0, 0}, RGB(0, 0, 0), FLOODFILLBORDER, FALSE, picture},
        {{8, 0}, RGB(0, 0, 0), FLOODFILLBORDER, FALSE, picture},
        {{0, -1}, RGB(255, 255, 255), FLOODFILLSURFACE, FALSE, picture},
    };
    for (const Case& c : cases) {
        Sheet sheet(8, 5);
        sheet.Paint(picture);
        Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 0, 0)));
        EXPECT_EQ(ExtFloodFill(sheet.Dc(), c.seed.x, c.seed.y, c.colour, c.type), c.result)
            << c.seed.x << "," << c.seed.y;
        EXPECT_EQ(sheet.Art(), Join(c.art)) << c.seed.x << "," << c.seed.y;
    }
}

TEST(GdiFlood, StaysInsideTheClipAndMayRepaintItsOwnColour) {
    testing_support::ResetLayer();
    Sheet sheet(6, 4);
    Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 255, 255)));
    // Filling white with white ends, and changes nothing.
    EXPECT_TRUE(ExtFloodFill(sheet.Dc(), 2, 2, RGB(255, 255, 255), FLOODFILLSURFACE));
    EXPECT_EQ(sheet.Art(), Join(std::vector<std::string>(4, "......")));
    SelectObject(sheet.Dc(), GetStockObject(BLACK_BRUSH));
    IntersectClipRect(sheet.Dc(), 1, 1, 4, 3);
    EXPECT_FALSE(ExtFloodFill(sheet.Dc(), 0, 0, RGB(255, 255, 255), FLOODFILLSURFACE));
    EXPECT_TRUE(ExtFloodFill(sheet.Dc(), 2, 2, RGB(255, 255, 255), FLOODFILLSURFACE));
    EXPECT_EQ(sheet.Art(), Join({"......", ".XXX..", ".XXX..", "......"}));
}

TEST(GdiFlood, WorksOnMonochromeBitmaps) {
    testing_support::ResetLayer();
    // Rows of a 1-bit bitmap, 16 bits each: 1 is white. Black walls at x = 3
    // and along row 2 close the top-left room.
    const uint8_t bits[] = {0xEF, 0xFF, 0xEF, 0xFF, 0x0F, 0xFF, 0xEF, 0xFF};
    HBITMAP bitmap = CreateBitmap(8, 4, 1, 1, bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HGDIOBJ brush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(ExtFloodFill(dc, 0, 0, RGB(255, 255, 255), FLOODFILLSURFACE));
    std::string art;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) art += GetPixel(dc, x, y) == RGB(0, 0, 0) ? 'X' : '.';
        art += "\n";
    }
    EXPECT_EQ(art, Join({"XXXX....", "XXXX....", "XXXX....", "...X...."}));
    SelectObject(dc, brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST(GdiFlood, FillsOneCellOfAGridAndAWholeSheet) {
    testing_support::ResetLayer();
    Sheet sheet(512, 400);
    Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 0, 0)));
    EXPECT_TRUE(ExtFloodFill(sheet.Dc(), 300, 200, RGB(255, 255, 255), FLOODFILLSURFACE));
    EXPECT_EQ(sheet.BoundsOfNot('r').right, 0);  // nothing is left unfilled

    // A grid of 20 x 10 closed cells; a fill stays in its cell.
    sheet.Fill('.');
    SelectObject(sheet.Dc(), GetStockObject(BLACK_PEN));
    for (int x = 0; x <= 20; ++x) {
        MoveToEx(sheet.Dc(), x * 25, 0, nullptr);
        LineTo(sheet.Dc(), x * 25, 400);
    }
    for (int y = 0; y <= 10; ++y) {
        MoveToEx(sheet.Dc(), 0, y * 39, nullptr);
        LineTo(sheet.Dc(), 512, y * 39);
    }
    EXPECT_TRUE(ExtFloodFill(sheet.Dc(), 60, 50, RGB(255, 255, 255), FLOODFILLSURFACE));
    const RECT filled{51, 40, 75, 78};
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool inside = x >= filled.left && x < filled.right && y >= filled.top && y < filled.bottom;
            ASSERT_EQ(sheet.CharAt(x, y) == 'r', inside) << x << "," << y;
        }
    }
}

}  // namespace
