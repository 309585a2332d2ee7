#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/gdi/spans.h"
#include "platform/windows.h"
#include "tests/platform/gdi/gdi_canvas.h"
#include "tests/support/layer.h"

namespace {

using gdi_canvas::Join;
using gdi_canvas::Selected;
using gdi_canvas::Sheet;

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

TEST(GdiLine, ThinLinesLeaveOutTheLastPixelAndRoundHalvesToTheSmallerSide) {
    testing_support::ResetLayer();
    struct Case {
        POINT from, to;
        std::vector<std::string> art;
    };
    const Case cases[] = {
        {{0, 0}, {4, 1}, {"XXX..", "...X.", "....."}},
        {{4, 1}, {0, 0}, {".XX..", "...XX", "....."}},  // the same pixels, the other end left out
        {{1, 0}, {0, 4}, {".X...", ".X...", "X....", "X....", "....."}},
        {{0, 2}, {4, 0}, {"...X.", ".XX..", "X...."}},
        {{0, 0}, {3, 3}, {"X....", ".X...", "..X..", "....."}},
        {{2, 1}, {2, 1}, {".....", ".....", "....."}},  // no length, no pixel
        {{3, 2}, {0, 2}, {".....", ".....", ".XXX."}},
    };
    for (const Case& c : cases) {
        Sheet sheet(5, static_cast<int>(c.art.size()));
        Line(sheet.Dc(), c.from.x, c.from.y, c.to.x, c.to.y);
        EXPECT_EQ(sheet.Art(), Join(c.art))
            << "from (" << c.from.x << ", " << c.from.y << ") to (" << c.to.x << ", " << c.to.y << ")";
        POINT position{};
        GetCurrentPositionEx(sheet.Dc(), &position);
        EXPECT_EQ(position.x, c.to.x);
        EXPECT_EQ(position.y, c.to.y);
    }
}

TEST(GdiLine, WidePensAreRoundAndCoverTheirWidth) {
    testing_support::ResetLayer();
    // A dot (a line of no length) is the pen's round tip: the ellipse a
    // one-pixel pen draws in a width x width box around the point.
    struct Dot {
        int width;
        POINT at;
        std::vector<std::string> art;
    };
    const Dot dots[] = {
        {2, {3, 2}, {"......", "..XX..", "..XX..", "......"}},
        {3, {2, 2}, {"......", "..X...", ".XXX..", "..X...", "......"}},
        {4, {3, 3}, {"......", "..XX..", ".XXXX.", ".XXXX.", "..XX..", "......"}},
        {6, {4, 4}, {"........", "...XX...", "..XXXX..", ".XXXXXX.", ".XXXXXX.", "..XXXX..",
                     "...XX...", "........"}},
    };
    for (const Dot& d : dots) {
        Sheet sheet(static_cast<int>(d.art[0].size()), static_cast<int>(d.art.size()));
        Selected pen(sheet.Dc(), CreatePen(PS_SOLID, d.width, RGB(0, 0, 0)));
        Line(sheet.Dc(), d.at.x, d.at.y, d.at.x, d.at.y);
        EXPECT_EQ(sheet.Art(), Join(d.art)) << "width " << d.width;
    }
    // A horizontal line from x0 to x1 at y covers width rows; even widths lie
    // half a pixel up and left of the path, both ends have round caps.
    for (int width : {1, 2, 3, 4, 6, 8, 10}) {
        Sheet sheet(40, 30);
        Selected pen(sheet.Dc(), CreatePen(PS_SOLID, width, RGB(0, 0, 0)));
        Line(sheet.Dc(), 10, 15, 30, 15);
        const RECT box = sheet.BoundsOfNot('.');
        const int end = width == 1 ? 30 : 31;  // a thin line leaves out its last pixel
        EXPECT_EQ(box.left, 10 - width / 2) << "width " << width;
        EXPECT_EQ(box.right, end + (width - 1) / 2) << "width " << width;
        EXPECT_EQ(box.top, 15 - width / 2) << "width " << width;
        EXPECT_EQ(box.bottom, 16 + (width - 1) / 2) << "width " << width;
        int column = 0;
        for (int y = 0; y < 30; ++y) column += sheet.CharAt(20, y) == 'X';
        EXPECT_EQ(column, width) << "width " << width;
    }
}

TEST(GdiLine, SlantedWidePensAreRaggedBandsWithRoundEnds) {
    testing_support::ResetLayer();
    // The band's sides are the path moved across by half the width, rounded
    // to whole pixels, the side towards +x by the larger half; so the bands
    // step unevenly. Each segment is also drawn the other way round.
    struct Case {
        int width;
        POINT from, to;
        std::vector<std::string> art;
    };
    const Case cases[] = {
        {3,
         {2, 2},
         {6, 6},
         {"..........", "..XXX.....", ".XXXXX....", ".XXXXXX...", "..XXXXXX..", "...XXXX...",
          "....XXXX..", "......X..."}},
        {4,
         {2, 6},
         {7, 2},
         {"......XX..", ".....XXXX.", "....XXXXX.", "...XXXXXX.", ".XXXXXXXX.", "XXXXXXXX..",
          "XXXXXXX...", ".XX.XX...."}},
        {2, {1, 1}, {8, 4}, {"XX........", "XXXXX.....", ".XXXXXX...", "....XXXXX.", "......XXX."}},
        {5,
         {4, 2},
         {6, 8},
         {"...XXX....", "..XXXXX...", "..XXXXXX..", "..XXXXXX..", "...XXXXX..", "...XXXXXX.",
          "...XXXXXX.", "....XXXXX.", "....XXXXX.", "....XXXXX.", ".....XXX.."}},
    };
    for (const Case& c : cases) {
        for (bool reversed : {false, true}) {
            const POINT from = reversed ? c.to : c.from;
            const POINT to = reversed ? c.from : c.to;
            Sheet sheet(10, static_cast<int>(c.art.size()));
            Selected pen(sheet.Dc(), CreatePen(PS_SOLID, c.width, RGB(0, 0, 0)));
            Line(sheet.Dc(), from.x, from.y, to.x, to.y);
            EXPECT_EQ(sheet.Art(), Join(c.art))
                << "width " << c.width << " from (" << from.x << ", " << from.y << ") to (" << to.x
                << ", " << to.y << ")";
        }
    }
}

TEST(GdiLine, PolylinesDrawEachPixelOnce) {
    testing_support::ResetLayer();
    // A wide path is one shape, even where it crosses itself; a thin one is a
    // chain of lines that each leave out their last pixel.
    const POINT crossing[] = {{5, 5}, {30, 8}, {8, 25}, {28, 28}, {5, 5}};
    const POINT triangle[] = {{5, 5}, {30, 8}, {8, 25}, {5, 5}};
    for (int width : {1, 2, 3, 4, 6, 8, 10}) {
        Sheet copied(36, 36);
        Sheet inverted(36, 36);
        Selected pen1(copied.Dc(), CreatePen(PS_SOLID, width, RGB(0, 0, 0)));
        Selected pen2(inverted.Dc(), CreatePen(PS_SOLID, width, RGB(0, 0, 0)));
        const POINT* path = width == 1 ? triangle : crossing;
        const int count = width == 1 ? 4 : 5;
        Polyline(copied.Dc(), path, count);
        SetROP2(inverted.Dc(), R2_NOT);
        Polyline(inverted.Dc(), path, count);
        EXPECT_EQ(inverted.Art(), copied.Art()) << "width " << width;
    }
}

TEST(GdiLine, NotDrawnTwiceRestoresThePicture) {
    testing_support::ResetLayer();
    Sheet sheet(40, 40);
    sheet.Paint({"rrrrrrrrrrrrrrrrrrrr", "gggggggggggggggggggggggg", "bbbbbbbbbbbbbbbbbbbbbbbbbb"}, 3, 10);
    const std::vector<uint32_t> before = sheet.Pixels();
    SetROP2(sheet.Dc(), R2_NOT);
    SelectObject(sheet.Dc(), GetStockObject(NULL_BRUSH));
    for (int width : {1, 2, 3, 4, 6, 8, 10}) {
        Selected pen(sheet.Dc(), CreatePen(PS_SOLID, width, RGB(0, 0, 0)));
        for (int pass = 0; pass < 2; ++pass) {
            Rectangle(sheet.Dc(), 4, 6, 30, 20);
            Ellipse(sheet.Dc(), 8, 4, 36, 33);
            Line(sheet.Dc(), 2, 37, 37, 3);
        }
        EXPECT_EQ(sheet.Pixels(), before) << "width " << width;
        Rectangle(sheet.Dc(), 4, 6, 30, 20);
        EXPECT_NE(sheet.Pixels(), before) << "width " << width;
        Rectangle(sheet.Dc(), 4, 6, 30, 20);
    }
}

TEST(GdiRectangle, ThinPenFramesTheBoxAndTheBrushFillsInside) {
    testing_support::ResetLayer();
    struct Case {
        RECT box;
        bool nullPen;
        std::vector<std::string> art;
    };
    const Case cases[] = {
        {{1, 1, 7, 5}, false, {"........", ".XXXXXX.", ".XrrrrX.", ".XrrrrX.", ".XXXXXX.", "........"}},
        {{7, 5, 1, 1}, false, {"........", ".XXXXXX.", ".XrrrrX.", ".XrrrrX.", ".XXXXXX.", "........"}},
        // Without a pen the filled box is one pixel smaller on the right and bottom.
        {{1, 1, 7, 5}, true, {"........", ".rrrrr..", ".rrrrr..", ".rrrrr..", "........", "........"}},
        {{1, 1, 3, 3}, false, {"........", ".XX.....", ".XX.....", "........", "........", "........"}},
        {{1, 1, 2, 5}, false, {"........", ".X......", ".X......", ".X......", ".X......", "........"}},
        {{1, 1, 1, 5}, false, {"........", "........", "........", "........", "........", "........"}},
    };
    for (const Case& c : cases) {
        Sheet sheet(8, 6);
        Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 0, 0)));
        if (c.nullPen) SelectObject(sheet.Dc(), GetStockObject(NULL_PEN));
        Rectangle(sheet.Dc(), c.box.left, c.box.top, c.box.right, c.box.bottom);
        EXPECT_EQ(sheet.Art(), Join(c.art)) << c.box.left << "," << c.box.top << "," << c.box.right
                                            << "," << c.box.bottom;
    }
}

TEST(GdiRectangle, WidePensAreCentredOnTheThinOutline) {
    testing_support::ResetLayer();
    struct Case {
        int width;
        std::vector<std::string> art;
    };
    const Case cases[] = {
        {2, {"...........",
             ".XXXXXXXX..",
             ".XXXXXXXX..",
             ".XXrrrrXX..",
             ".XXXXXXXX..",
             ".XXXXXXXX..",
             "...........",
             "..........."}},
        // The corners are the pen's dots, which at width 3 lack their corners.
        {3, {"...........",
             "..XXXXXXX..",
             ".XXXXXXXXX.",
             ".XXXXXXXXX.",
             ".XXXrrrXXX.",
             ".XXXXXXXXX.",
             ".XXXXXXXXX.",
             "..XXXXXXX..",
             "..........."}},
    };
    for (const Case& c : cases) {
        Sheet sheet(11, static_cast<int>(c.art.size()));
        Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 0, 0)));
        Selected pen(sheet.Dc(), CreatePen(PS_SOLID, c.width, RGB(0, 0, 0)));
        Rectangle(sheet.Dc(), 2, 2, 9, c.width == 2 ? 6 : 7);
        EXPECT_EQ(sheet.Art(), Join(c.art)) << "width " << c.width;
    }
    // Wider pens: round outer corners, the frame as thick as the pen on every
    // side, and the outer box grows by half the pen.
    for (int width : {4, 6, 8, 10}) {
        Sheet sheet(60, 60);
        Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 0, 0)));
        Selected pen(sheet.Dc(), CreatePen(PS_SOLID, width, RGB(0, 0, 0)));
        Rectangle(sheet.Dc(), 15, 15, 45, 40);
        const RECT box = sheet.BoundsOfNot('.');
        EXPECT_EQ(box.left, 15 - width / 2) << "width " << width;
        EXPECT_EQ(box.top, 15 - width / 2) << "width " << width;
        EXPECT_EQ(box.right, 45 + (width - 1) / 2) << "width " << width;
        EXPECT_EQ(box.bottom, 40 + (width - 1) / 2) << "width " << width;
        EXPECT_EQ(sheet.CharAt(box.left, box.top), '.') << "width " << width;
        int left = 0, top = 0;
        for (int i = 0; i < 60; ++i) {
            left += sheet.CharAt(i, 27) == 'X';
            top += sheet.CharAt(30, i) == 'X';
        }
        EXPECT_EQ(left, 2 * width) << "width " << width;
        EXPECT_EQ(top, 2 * width) << "width " << width;
        EXPECT_EQ(sheet.CharAt(30, 27), 'r');
    }
}

TEST(GdiEllipse, ThinPenOutlinesThePixelsInsideTheBox) {
    testing_support::ResetLayer();
    struct Case {
        RECT box;
        bool nullPen;
        std::vector<std::string> art;
    };
    const Case cases[] = {
        {{1, 1, 11, 9}, false, {"............",
                                "....XXXX....",
                                "..XXrrrrXX..",
                                ".XrrrrrrrrX.",
                                ".XrrrrrrrrX.",
                                ".XrrrrrrrrX.",
                                ".XrrrrrrrrX.",
                                "..XXrrrrXX..",
                                "....XXXX....",
                                "............"}},
        // Without a pen the shape loses its last column and row.
        {{1, 1, 11, 9}, true, {"............",
                               "...rrrrr....",
                               "..rrrrrrr...",
                               ".rrrrrrrrr..",
                               ".rrrrrrrrr..",
                               ".rrrrrrrrr..",
                               "..rrrrrrr...",
                               "...rrrrr....",
                               "............",
                               "............"}},
        {{1, 1, 5, 5}, false, {"............",
                               "..XX........",
                               ".XrrX.......",
                               ".XrrX.......",
                               "..XX........",
                               "............",
                               "............",
                               "............",
                               "............",
                               "............"}},
    };
    for (const Case& c : cases) {
        Sheet sheet(12, 10);
        Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 0, 0)));
        if (c.nullPen) SelectObject(sheet.Dc(), GetStockObject(NULL_PEN));
        Ellipse(sheet.Dc(), c.box.left, c.box.top, c.box.right, c.box.bottom);
        EXPECT_EQ(sheet.Art(), Join(c.art)) << c.box.left << "," << c.box.top << "," << c.box.right
                                            << "," << c.box.bottom;
    }
}

TEST(GdiEllipse, HugeBoxesDrawTheirVisiblePart) {
    testing_support::ResetLayer();
    // Boxes far larger than any surface, on either side of the size where the
    // incremental outline gives way to the exact centre test.
    for (int half : {30000, 70000, 1 << 29}) {
        Sheet sheet(20, 4);
        Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 0, 0)));
        Ellipse(sheet.Dc(), 10 - half, -2, 10 + half, 7);
        // Near the middle of so flat an ellipse the outline lies above row 0.
        EXPECT_EQ(sheet.Art(), Join({"rrrrrrrrrrrrrrrrrrrr", "rrrrrrrrrrrrrrrrrrrr",
                                     "rrrrrrrrrrrrrrrrrrrr", "rrrrrrrrrrrrrrrrrrrr"}))
            << half;
    }
}

TEST(GdiEllipse, WidePensAreCentredOnTheThinOutline) {
    testing_support::ResetLayer();
    for (int width : {1, 2, 3, 4, 6, 8, 10}) {
        Sheet sheet(70, 60);
        Selected brush(sheet.Dc(), CreateSolidBrush(RGB(255, 0, 0)));
        Selected pen(sheet.Dc(), CreatePen(PS_SOLID, width, RGB(0, 0, 0)));
        Ellipse(sheet.Dc(), 15, 12, 55, 47);  // 40 x 35, centre (34.5, 29)
        const RECT box = sheet.BoundsOfNot('.');
        // Like a wide line's, an even pen lies half a pixel up and left.
        EXPECT_EQ(box.left, 15 - width / 2) << "width " << width;
        EXPECT_EQ(box.right, 55 + (width - 1) / 2) << "width " << width;
        EXPECT_EQ(box.top, 12 - width / 2) << "width " << width;
        EXPECT_EQ(box.bottom, 47 + (width - 1) / 2) << "width " << width;
        // The ring is as thick as the pen at the ends of both axes, and mirrors.
        int across = 0, down = 0;
        for (int i = 0; i < 35; ++i) across += sheet.CharAt(i, 29) == 'X';
        for (int i = 0; i < 29; ++i) down += sheet.CharAt(34, i) == 'X';
        EXPECT_EQ(across, width) << "width " << width;
        EXPECT_EQ(down, width) << "width " << width;
        const int shift = width % 2 == 0 ? 1 : 0;
        for (int y = 0; y <= 57; ++y) {
            for (int x = 0; x < 69; ++x) {
                const bool ring = sheet.CharAt(x, y) == 'X';
                ASSERT_EQ(ring, sheet.CharAt(69 - shift - x, y) == 'X') << x << "," << y << " width " << width;
                ASSERT_EQ(ring, sheet.CharAt(x, 58 - shift - y) == 'X') << x << "," << y << " width " << width;
            }
        }
        EXPECT_EQ(sheet.CharAt(35, 29), 'r');
    }
}

TEST(GdiPen, DottedPenDrawsThreeOnThreeOffWithOpaqueGaps) {
    testing_support::ResetLayer();
    Sheet sheet(16, 3, 'g');
    Selected pen(sheet.Dc(), CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    SetBkColor(sheet.Dc(), RGB(255, 255, 0));
    Line(sheet.Dc(), 0, 0, 15, 0);
    SetBkMode(sheet.Dc(), TRANSPARENT);
    Line(sheet.Dc(), 15, 2, 0, 2);
    EXPECT_EQ(sheet.Art(), Join({"XXXyyyXXXyyyXXXg", "gggggggggggggggg", "gXXXgggXXXgggXXX"}));

    // The other one-pixel styles, counted on through a polyline's corners.
    struct Styled {
        int style;
        std::string row;
    };
    const Styled styles[] = {
        {PS_DASH, "XXXXXXXXXXXXXXXXXX......XXXX"},
        {PS_DASHDOT, "XXXXXXXXX......XXX......XXXX"},
        {PS_DASHDOTDOT, "XXXXXXXXX...XXX...XXX...XXXX"},
        {PS_SOLID, "XXXXXXXXXXXXXXXXXXXXXXXXXXXX"},
    };
    for (const Styled& st : styles) {
        Sheet styled(28, 1);
        Selected stylePen(styled.Dc(), CreatePen(st.style, 1, RGB(0, 0, 0)));
        SetBkMode(styled.Dc(), TRANSPARENT);
        const POINT path[] = {{0, 0}, {10, 0}, {28, 0}};
        Polyline(styled.Dc(), path, 3);
        EXPECT_EQ(styled.Art(), st.row + "\n") << "style " << st.style;
    }

    // The selection frame: inverted with an opaque background, then the dots
    // copied white with a transparent one, leaves white dots and inverted gaps
    // (red inverted is cyan, read as '?'). The dots run counter-clockwise from
    // the top-right corner.
    Sheet frame(8, 5, 'r');
    Selected whitePen(frame.Dc(), CreatePen(PS_DOT, 1, RGB(255, 255, 255)));
    SelectObject(frame.Dc(), GetStockObject(NULL_BRUSH));
    SetROP2(frame.Dc(), R2_NOT);
    Rectangle(frame.Dc(), 0, 0, 8, 5);
    SetROP2(frame.Dc(), R2_COPYPEN);
    SetBkMode(frame.Dc(), TRANSPARENT);
    Rectangle(frame.Dc(), 0, 0, 8, 5);
    EXPECT_EQ(frame.Art(), Join({"..???...", ".rrrrrr?", "?rrrrrr.", "?rrrrrr.", "?...???."}));
}

TEST(GdiPen, ShapesStayInsideTheClip) {
    testing_support::ResetLayer();
    Sheet sheet(10, 6);
    Selected pen(sheet.Dc(), CreatePen(PS_SOLID, 3, RGB(0, 0, 0)));
    IntersectClipRect(sheet.Dc(), 2, 1, 8, 5);
    Line(sheet.Dc(), 0, 3, 9, 3);
    EXPECT_EQ(sheet.Art(), Join({"..........", "..........", "..XXXXXX..", "..XXXXXX..", "..XXXXXX..",
                                 ".........."}));
    SelectClipRgn(sheet.Dc(), nullptr);
    EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
}

// Whether the pixel centre (x, y) is inside the polygon by the even-odd rule,
// counting the edges crossed strictly right of it on edges half-open in y.
bool EvenOddInside(const std::vector<POINT>& polygon, int x, int y) {
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const POINT& p = polygon[i];
        const POINT& q = polygon[j];
        if ((p.y > y) == (q.y > y)) continue;
        const int64_t lhs = static_cast<int64_t>(x - p.x) * (q.y - p.y);
        const int64_t rhs = static_cast<int64_t>(y - p.y) * (q.x - p.x);
        if (q.y > p.y ? lhs < rhs : lhs > rhs) inside = !inside;
    }
    return inside;
}

// The pixels of the 60 x 60 window at (-20, -20) the spans cover.
std::vector<std::string> Window(const std::vector<platform::gdi::Span>& spans) {
    std::vector<std::string> art(60, std::string(60, '.'));
    for (const platform::gdi::Span& span : spans) {
        if (span.y < -20 || span.y >= 40) continue;
        for (int x = std::max(span.left, -20); x < std::min(span.right, 40); ++x)
            art[span.y + 20][x + 20] = 'X';
    }
    return art;
}

// The pixels a pen of `width` on the segment covers in the window, pixel by
// pixel: the pen-wide rectangle of an axis-aligned segment, the band's
// polygon otherwise, and either end's dot.
std::vector<std::string> WideCoverage(POINT a, POINT b, int width) {
    const int half = width / 2;
    std::vector<platform::gdi::Span> dots;
    for (const POINT& end : {a, b}) {
        platform::gdi::AppendEllipseFill(
            dots, RECT{end.x - half, end.y - half, end.x - half + width, end.y - half + width},
            platform::gdi::kNoLimit);
    }
    std::vector<std::string> art = Window(dots);
    std::vector<POINT> band;
    if (a.x != b.x && a.y != b.y) {
        const std::array<POINT, 4> corners = platform::gdi::WideBandCorners(a, b, width);
        band.assign(corners.begin(), corners.end());
    }
    for (int y = -20; y < 40; ++y) {
        for (int x = -20; x < 40; ++x) {
            bool covered;
            if (a.y == b.y) {
                covered = y >= a.y - half && y < a.y - half + width && x >= std::min(a.x, b.x) &&
                          x < std::max(a.x, b.x);
            } else if (a.x == b.x) {
                covered = x >= a.x - half && x < a.x - half + width && y >= std::min(a.y, b.y) &&
                          y < std::max(a.y, b.y);
            } else {
                covered = EvenOddInside(band, x, y);
            }
            if (covered) art[y + 20][x + 20] = 'X';
        }
    }
    return art;
}

TEST(GdiSpans, WideSegmentsAndPolygonsMatchAPixelByPixelTest) {
    using platform::gdi::Span;
    uint32_t seed = 12345;
    const auto next = [&](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<uint32_t>(range));
    };
    const RECT all{-20, -20, 40, 40};
    for (int round = 0; round < 300; ++round) {
        // Short segments in every direction, some of no length or axis-aligned,
        // and long ones from far outside crossing the window.
        POINT a{next(20), next(20)};
        POINT b = round % 7 == 0 ? a : POINT{next(20), round % 11 == 0 ? a.y : next(20)};
        if (round % 5 == 1) {
            a = POINT{-5000 + next(200), -7000 + next(300)};
            b = POINT{5000 - next(200), 6000 - next(300)};
        }
        const int width = 2 + next(9);
        const POINT ends[] = {a, b};
        const POINT reversed[] = {b, a};
        const std::vector<Span> spans = platform::gdi::WidePathSpans(ends, 2, false, width, all);
        const std::vector<std::string> want = WideCoverage(a, b, width);
        const std::string where = "(" + std::to_string(a.x) + ", " + std::to_string(a.y) +
                                  ") to (" + std::to_string(b.x) + ", " + std::to_string(b.y) +
                                  ") width " + std::to_string(width);
        ASSERT_EQ(Join(Window(spans)), Join(want)) << where;
        // Either way round, the same pixels; a limit only drops whole rows.
        ASSERT_EQ(Join(Window(platform::gdi::WidePathSpans(reversed, 2, false, width, all))),
                  Join(want))
            << where;
        const RECT limit{-20, -20 + next(30), 40, 10 + next(30)};
        std::vector<Span> rows;
        for (const Span& span : spans) {
            if (span.y >= limit.top && span.y < limit.bottom) rows.push_back(span);
        }
        ASSERT_EQ(Join(Window(platform::gdi::WidePathSpans(ends, 2, false, width, limit))),
                  Join(Window(rows)))
            << where;
    }
    for (int round = 0; round < 100; ++round) {
        std::vector<POINT> polygon(3 + next(5));
        for (POINT& p : polygon) p = POINT{next(24), next(24)};
        const std::vector<Span> spans =
            platform::gdi::PolygonSpans(polygon.data(), polygon.size(), ALTERNATE, all);
        std::vector<std::string> got(24, std::string(24, '.'));
        std::vector<std::string> want(24, std::string(24, '.'));
        for (const Span& span : spans) {
            for (int x = span.left; x < span.right; ++x) got[span.y][x] = 'X';
        }
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                if (EvenOddInside(polygon, x, y)) want[y][x] = 'X';
            }
        }
        ASSERT_EQ(Join(got), Join(want)) << "round " << round;
    }
}

}  // namespace
