#include <gtest/gtest.h>

#include "platform/gdi/region.h"
#include "platform/windows.h"
#include "tests/platform/gdi/gdi_canvas.h"
#include "tests/support/layer.h"

namespace {

using gdi_canvas::Join;
using gdi_canvas::Sheet;

// The region's pixels as art over a w x h sheet.
std::string ArtOf(HRGN region, int w, int h) {
    Sheet sheet(w, h);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    FillRgn(sheet.Dc(), region, black);
    return sheet.Art();
}

// Deletes the regions a test makes when it ends.
struct Regions {
    std::vector<HRGN> made;
    HRGN operator()(HRGN region) {
        made.push_back(region);
        return region;
    }
    ~Regions() {
        for (HRGN region : made) DeleteObject(region);
    }
};

TEST(GdiRegion, ShapesCoverThePixelsInsideTheirOutline) {
    testing_support::ResetLayer();
    Regions keep;
    // Corners from an 8 x 8 ellipse. Elliptic and round regions leave out the
    // box's last column and row, as on Windows.
    EXPECT_EQ(ArtOf(keep(CreateRoundRectRgn(0, 0, 12, 10, 8, 8)), 12, 10),
              Join({"..XXXXXXX...", ".XXXXXXXXX..", "XXXXXXXXXXX.", "XXXXXXXXXXX.",
                    "XXXXXXXXXXX.", "XXXXXXXXXXX.", "XXXXXXXXXXX.", ".XXXXXXXXX..",
                    "..XXXXXXX...", "............"}));
    const RECT box{0, 0, 10, 8};
    EXPECT_EQ(ArtOf(keep(CreateEllipticRgnIndirect(&box)), 10, 8),
              Join({"..XXXXX...", ".XXXXXXX..", "XXXXXXXXX.", "XXXXXXXXX.", "XXXXXXXXX.",
                    ".XXXXXXX..", "..XXXXX...", ".........."}));
    // Pixel centres on the polygon's left and top edges are in, on its right
    // and bottom edges out.
    const POINT triangle[] = {{0, 0}, {8, 0}, {0, 8}};
    EXPECT_EQ(ArtOf(keep(CreatePolygonRgn(triangle, 3, ALTERNATE)), 8, 8),
              Join({"XXXXXXXX", "XXXXXXX.", "XXXXXX..", "XXXXX...", "XXXX....", "XXX.....",
                    "XX......", "X......."}));
    // A square traced twice, the inner one through a seam: ALTERNATE leaves a
    // hole where WINDING counts two turns.
    const POINT twice[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}, {0, 0},
                           {2, 2}, {6, 2}, {6, 6}, {2, 6}, {2, 2}};
    EXPECT_EQ(ArtOf(keep(CreatePolygonRgn(twice, 10, ALTERNATE)), 8, 8),
              Join({"XXXXXXXX", "XXXXXXXX", "XX....XX", "XX....XX", "XX....XX", "XX....XX",
                    "XXXXXXXX", "XXXXXXXX"}));
    EXPECT_EQ(ArtOf(keep(CreatePolygonRgn(twice, 10, WINDING)), 8, 8),
              ArtOf(keep(CreateRectRgn(0, 0, 8, 8)), 8, 8));
    // Empty and reversed rectangles.
    EXPECT_EQ(ArtOf(keep(CreateRectRgn(5, 5, 5, 9)), 4, 2), Join({"....", "...."}));
    EXPECT_EQ(ArtOf(keep(CreateRectRgn(3, 2, 1, 0)), 4, 2), Join({".XX.", ".XX."}));
    EXPECT_EQ(CreatePolygonRgn(triangle, 1, ALTERNATE), nullptr);
}

TEST(GdiRegion, RoundRectWith32PixelCornersIsSymmetric) {
    testing_support::ResetLayer();
    Regions keep;
    HRGN region = keep(CreateRoundRectRgn(0, 0, 64, 48, 32, 32));
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 63);
    EXPECT_EQ(box.bottom, 47);
    // The first rows of a corner, and the straight sides below it.
    const int insets[] = {12, 9, 8, 6};
    for (int row = 0; row < 4; ++row) {
        EXPECT_FALSE(PtInRegion(region, insets[row] - 1, row)) << "row " << row;
        EXPECT_TRUE(PtInRegion(region, insets[row], row)) << "row " << row;
    }
    EXPECT_TRUE(PtInRegion(region, 0, 16));
    EXPECT_TRUE(PtInRegion(region, 0, 30));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    for (int y = 0; y < 47; ++y) {
        for (int x = 0; x < 63; ++x) {
            ASSERT_EQ(PtInRegion(region, x, y), PtInRegion(region, 62 - x, y)) << x << "," << y;
            ASSERT_EQ(PtInRegion(region, x, y), PtInRegion(region, x, 46 - y)) << x << "," << y;
        }
    }
    // An empty rectangle gives an empty region, not a failure.
    HRGN empty = keep(CreateRoundRectRgn(10, 10, 10, 20, 32, 32));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
}

TEST(GdiRegion, PointsOnTheRightAndBottomEdgesAreOutside) {
    testing_support::ResetLayer();
    Regions keep;
    HRGN rect = keep(CreateRectRgn(2, 2, 6, 5));
    HRGN ellipse = keep(CreateEllipticRgn(0, 0, 10, 8));
    struct Case {
        HRGN region;
        int x, y;
        bool inside;
    };
    const Case cases[] = {
        {rect, 2, 2, true},      {rect, 5, 4, true},      {rect, 6, 4, false},
        {rect, 5, 5, false},     {rect, 1, 2, false},     {rect, 2, 1, false},
        {ellipse, 0, 0, false},  {ellipse, 1, 0, false},  {ellipse, 2, 0, true},
        {ellipse, 0, 2, true},   {ellipse, 8, 4, true},   {ellipse, 9, 4, false},
        {ellipse, 6, 6, true},   {ellipse, 7, 6, false},  {ellipse, 5, 7, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PtInRegion(c.region, c.x, c.y), c.inside ? TRUE : FALSE) << c.x << "," << c.y;
    }
    const RECT touching{6, 0, 9, 9};
    const RECT overlapping{5, 4, 9, 9};
    EXPECT_FALSE(RectInRegion(rect, &touching));
    EXPECT_TRUE(RectInRegion(rect, &overlapping));
}

TEST(GdiRegion, CombinationsAndTheirResults) {
    testing_support::ResetLayer();
    Regions keep;
    HRGN a = keep(CreateRectRgn(0, 0, 6, 4));
    HRGN b = keep(CreateRectRgn(3, 2, 8, 6));
    HRGN result = keep(CreateRectRgn(0, 0, 0, 0));
    struct Case {
        int mode;
        int complexity;
        std::vector<std::string> art;
    };
    const Case cases[] = {
        {RGN_AND, SIMPLEREGION, {"........", "........", "...XXX..", "...XXX..", "........", "........"}},
        {RGN_OR, COMPLEXREGION, {"XXXXXX..", "XXXXXX..", "XXXXXXXX", "XXXXXXXX", "...XXXXX", "...XXXXX"}},
        {RGN_XOR, COMPLEXREGION, {"XXXXXX..", "XXXXXX..", "XXX...XX", "XXX...XX", "...XXXXX", "...XXXXX"}},
        {RGN_DIFF, COMPLEXREGION, {"XXXXXX..", "XXXXXX..", "XXX.....", "XXX.....", "........", "........"}},
        {RGN_COPY, SIMPLEREGION, {"XXXXXX..", "XXXXXX..", "XXXXXX..", "XXXXXX..", "........", "........"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CombineRgn(result, a, b, c.mode), c.complexity) << "mode " << c.mode;
        EXPECT_EQ(ArtOf(result, 8, 6), Join(c.art)) << "mode " << c.mode;
    }
    // The destination may be a source; b minus a bigger a is empty.
    HRGN big = keep(CreateRectRgn(0, 0, 10, 10));
    EXPECT_EQ(CombineRgn(b, b, big, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(result, a, nullptr, RGN_OR), ERROR);

    // The same set built two ways is equal; two rows that meet become one band.
    HRGN top = keep(CreateRectRgn(0, 0, 6, 2));
    HRGN bottom = keep(CreateRectRgn(0, 2, 6, 4));
    HRGN joined = keep(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(joined, top, bottom, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(joined, a));
    EXPECT_FALSE(EqualRgn(joined, big));

    EXPECT_EQ(OffsetRgn(joined, 3, -1), SIMPLEREGION);
    RECT box;
    GetRgnBox(joined, &box);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.top, -1);
    EXPECT_EQ(box.right, 9);
    EXPECT_EQ(box.bottom, 3);
    EXPECT_TRUE(SetRectRgn(joined, 1, 1, 3, 3));
    EXPECT_EQ(ArtOf(joined, 4, 4), Join({"....", ".XX.", ".XX.", "...."}));
}

TEST(GdiRegion, UnionOfRoundRectEllipseAndPolygonCoversEachPart) {
    testing_support::ResetLayer();
    Regions keep;
    HRGN round = keep(CreateRoundRectRgn(2, 2, 34, 26, 32, 32));
    HRGN ellipse = keep(CreateEllipticRgn(20, 10, 46, 38));
    const POINT star[] = {{24, 0}, {30, 38}, {2, 14}, {46, 14}, {16, 38}};
    HRGN polygon = keep(CreatePolygonRgn(star, 5, ALTERNATE));
    HRGN all = keep(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(all, round, ellipse, RGN_OR);
    CombineRgn(all, all, polygon, RGN_OR);

    Sheet painted(48, 40);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (HRGN part : {round, ellipse, polygon}) FillRgn(painted.Dc(), part, black);
    EXPECT_EQ(ArtOf(all, 48, 40), painted.Art());
    // The star's centre is a hole with ALTERNATE, and stays one unless the
    // other shapes cover it.
    EXPECT_FALSE(PtInRegion(polygon, 24, 20));
    EXPECT_TRUE(PtInRegion(polygon, 24, 5));

    HRGN reversed = keep(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(reversed, polygon, ellipse, RGN_OR);
    CombineRgn(reversed, round, reversed, RGN_OR);
    EXPECT_TRUE(EqualRgn(all, reversed));
}

TEST(GdiRegion, FrameRgnPaintsTheInsideBorder) {
    testing_support::ResetLayer();
    Regions keep;
    Sheet sheet(12, 10);
    HRGN region = keep(CreateRoundRectRgn(0, 0, 12, 10, 8, 8));
    EXPECT_TRUE(FrameRgn(sheet.Dc(), region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 2, 2));
    EXPECT_EQ(sheet.Art(), Join({"..XXXXXXX...", ".XXXXXXXXX..", "XX.......XX.", "XX.......XX.",
                                 "XX.......XX.", "XX.......XX.", "XX.......XX.", ".XXXXXXXXX..",
                                 "..XXXXXXX...", "............"}));
}

TEST(GdiRegion, PaintAndInvertUseTheContext) {
    testing_support::ResetLayer();
    Regions keep;
    Sheet sheet(6, 3);
    HRGN region = keep(CreateRectRgn(1, 0, 4, 2));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(sheet.Dc(), red);
    EXPECT_TRUE(PaintRgn(sheet.Dc(), region));
    EXPECT_EQ(sheet.Art(), Join({".rrr..", ".rrr..", "......"}));
    SelectObject(sheet.Dc(), old);
    DeleteObject(red);
    HRGN other = keep(CreateRectRgn(2, 1, 6, 3));
    EXPECT_TRUE(InvertRgn(sheet.Dc(), other));
    EXPECT_EQ(sheet.Art(), Join({".rrr..", ".r??XX", "..XXXX"}));
    InvertRgn(sheet.Dc(), other);
    EXPECT_EQ(sheet.Art(), Join({".rrr..", ".rrr..", "......"}));
    EXPECT_EQ(GetROP2(sheet.Dc()), R2_COPYPEN);
}

TEST(GdiRegion, ClipRegionsLimitDrawing) {
    testing_support::ResetLayer();
    Regions keep;
    Sheet sheet(10, 8);
    HRGN all = keep(CreateRectRgn(0, 0, 10, 8));
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HRGN ellipse = keep(CreateEllipticRgn(0, 0, 10, 8));
    EXPECT_EQ(SelectClipRgn(sheet.Dc(), ellipse), COMPLEXREGION);
    // The context keeps its own copy: changing the region changes no clip.
    OffsetRgn(ellipse, 5, 0);
    FillRgn(sheet.Dc(), all, black);
    EXPECT_EQ(sheet.Art(), ArtOf(keep(CreateEllipticRgn(0, 0, 10, 8)), 10, 8));

    sheet.Fill('.');
    EXPECT_EQ(ExcludeClipRect(sheet.Dc(), 0, 0, 10, 4), COMPLEXREGION);
    RECT box;
    EXPECT_EQ(GetClipBox(sheet.Dc(), &box), COMPLEXREGION);
    EXPECT_EQ(box.top, 4);
    EXPECT_EQ(box.bottom, 7);
    FillRgn(sheet.Dc(), all, black);
    EXPECT_EQ(sheet.Art(), Join({"..........", "..........", "..........", "..........",
                                 "XXXXXXXXX.", ".XXXXXXX..", "..XXXXX...", ".........."}));

    EXPECT_EQ(IntersectClipRect(sheet.Dc(), 4, 0, 6, 8), SIMPLEREGION);
    sheet.Fill('.');
    FillRgn(sheet.Dc(), all, black);
    EXPECT_EQ(sheet.Art(), Join({"..........", "..........", "..........", "..........",
                                 "....XX....", "....XX....", "....XX....", ".........."}));

    // SelectObject with a region selects it as the clip; no region clips nothing.
    HRGN corner = keep(CreateRectRgn(0, 0, 2, 2));
    SelectObject(sheet.Dc(), corner);
    sheet.Fill('.');
    FillRgn(sheet.Dc(), all, black);
    EXPECT_EQ(sheet.Art(), Join({"XX........", "XX........", "..........", "..........",
                                 "..........", "..........", "..........", ".........."}));
    EXPECT_EQ(SelectClipRgn(sheet.Dc(), nullptr), SIMPLEREGION);
    FillRgn(sheet.Dc(), all, black);
    EXPECT_EQ(sheet.Art(), Join(std::vector<std::string>(8, "XXXXXXXXXX")));
    // A clip region far outside leaves nothing to draw on.
    HRGN away = keep(CreateRectRgn(100, 100, 120, 120));
    EXPECT_EQ(SelectClipRgn(sheet.Dc(), away), NULLREGION);
}

}  // namespace
