#include "graphics/regions.h"

#include <gtest/gtest.h>

#include "tests/graphics/canvas.h"

namespace {

using canvas::Canvas;
using canvas::Join;

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Regions, RectangleHelpers) {
    struct FromPoints {
        int x0, y0, x1, y1;
        RECT expected;
    };
    for (const FromPoints& c : {FromPoints{3, 4, 3, 4, {3, 4, 4, 5}},
                                FromPoints{10, 2, 5, 8, {5, 2, 11, 9}},
                                FromPoints{-2, -1, -5, 3, {-5, -1, -1, 4}}}) {
        RECT rect;
        RectFromPoints(rect, c.x0, c.y0, c.x1, c.y1);
        EXPECT_TRUE(SameRect(rect, c.expected)) << c.x0 << "," << c.y0;
    }
    struct Centre {
        RECT rect, outer, expected;
    };
    for (const Centre& c : {Centre{{0, 0, 10, 4}, {0, 0, 15, 4}, {2, 0, 12, 4}},
                            Centre{{7, 7, 10, 12}, {100, 50, 110, 60}, {103, 52, 106, 57}},
                            // Wider than the outer one: the division rounds toward zero.
                            Centre{{0, 0, 13, 2}, {0, 0, 10, 2}, {-1, 0, 12, 2}}}) {
        RECT rect = c.rect;
        CentreRect(rect, c.outer);
        EXPECT_TRUE(SameRect(rect, c.expected)) << rect.left << "," << rect.top;
    }
    struct Overlap {
        RECT a, b;
        bool expected;
    };
    for (const Overlap& c : {Overlap{{0, 0, 10, 10}, {10, 0, 20, 10}, false},
                             Overlap{{0, 0, 10, 10}, {0, 10, 10, 20}, false},
                             Overlap{{0, 0, 10, 10}, {9, 9, 20, 20}, true},
                             Overlap{{0, 0, 10, 10}, {2, 2, 3, 3}, true},
                             Overlap{{0, 0, 0, 10}, {0, 0, 10, 10}, false}}) {
        EXPECT_EQ(RectsOverlap(c.a, c.b), c.expected) << c.b.left << "," << c.b.top;
        EXPECT_EQ(RectsOverlap(c.b, c.a), c.expected);
    }
}

TEST(Regions, MakeMoveAndSet) {
    canvas::ResetToolkit();
    HRGN empty = MakeRoundRectRegion(RECT{5, 5, 5, 20}, 4, 4);
    ASSERT_NE(empty, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    HRGN round = MakeRoundRectRegion(RECT{10, 20, 42, 52}, 32, 32);
    MoveRegionTo(round, -3, 4);
    GetRgnBox(round, &box);
    // Rounded regions leave out the last column and row of their box.
    EXPECT_TRUE(SameRect(box, RECT{-3, 4, 28, 35}));
    EXPECT_FALSE(PtInRegion(round, -3, 4));  // a rounded corner
    EXPECT_TRUE(PtInRegion(round, 13, 20));
    SetRegionToRect(round, RECT{1, 2, 3, 4});
    GetRgnBox(round, &box);
    EXPECT_TRUE(SameRect(box, RECT{1, 2, 3, 4}));
    UniteRegions(round, empty, empty);
    EXPECT_EQ(GetRgnBox(empty, &box), SIMPLEREGION);
    DeleteObject(round);
    DeleteObject(empty);
}

TEST(Regions, FillRegionInPatternModeKeepsTheSurfacePhase) {
    canvas::ResetToolkit();
    Canvas sheet(9, 4, 'g');
    HRGN region = CreateRectRgn(1, 0, 8, 3);
    HRGN notch = CreateRectRgn(4, 0, 6, 1);
    CombineRgn(region, region, notch, RGN_DIFF);
    SetFillPattern(3);
    SetDrawingMode(kPatternMode);
    FillRegion(region, RGB(255, 0, 0));
    EXPECT_EQ(sheet.Art(), Join({
                               "ggrgggrgg",
                               "grgrgrgrg",
                               "ggrgrgrgg",
                               "ggggggggg",
                           }));
    DeleteObject(notch);
    DeleteObject(region);
}

}  // namespace
