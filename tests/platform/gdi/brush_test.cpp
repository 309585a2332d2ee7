// The brush path: spans clipped and combined by the ROP2, pattern phase from the
// brush origin, FillRect, PatBlt and coverage blending.
#include <gtest/gtest.h>

#include "tests/platform/gdi/raster_art.h"
#include "tests/support/layer.h"

using namespace platform::gdi;
using raster_art::Canvas;
using Art = std::vector<std::string>;

namespace {

// An 8x8 monochrome pattern whose one 0 bit (drawn in the text colour) is at
// the top left.
HBRUSH CornerBrush() {
    WORD rows[8];
    for (WORD& r : rows) r = 0xFF;
    rows[0] = 0x7F;
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);
    return brush;
}

}  // namespace

class GdiBrushFormat : public testing::TestWithParam<int> {
protected:
    void SetUp() override { testing_support::ResetLayer(); }
};

TEST_P(GdiBrushFormat, PatternPhaseFollowsTheBrushOriginAcrossFills) {
    Canvas canvas(10, 3, GetParam());
    PatBlt(canvas.Dc(), 0, 0, 10, 3, WHITENESS);
    HBRUSH brush = CornerBrush();
    SetTextColor(canvas.Dc(), RGB(255, 0, 0));
    SetBkColor(canvas.Dc(), RGB(255, 255, 255));
    SetBrushOrgEx(canvas.Dc(), -3, 1, nullptr);
    // Two adjacent fills continue one tiling: the corner lands at x = 5, y = 1.
    RECT left{0, 0, 4, 3}, right{4, 0, 10, 3};
    FillRect(canvas.Dc(), &left, brush);
    FillRect(canvas.Dc(), &right, brush);
    if (GetParam() == 1) {
        EXPECT_EQ(canvas.Art(), (Art{"..........", ".....X....", ".........."}));
    } else {
        EXPECT_EQ(canvas.Art(), (Art{"..........", ".....r....", ".........."}));
    }
    DeleteObject(brush);
}

TEST_P(GdiBrushFormat, SpansClipAndXorTwiceRestores) {
    Canvas canvas({"Xr.g..", "bX.r..", "......"}, GetParam());
    const Art before = canvas.Art();
    DeviceContext& dc = *LookupDC(canvas.Dc());
    dc.clip = {RECT{1, 0, 5, 2}};
    SetROP2(canvas.Dc(), R2_NOT);
    const Span spans[] = {{0, -2, 9}, {1, 0, 3}, {2, 0, 6}, {1, 4, 4}};
    FillSpansWithColour(dc, spans, 4, RGB(0, 0, 0));
    const Art once = canvas.Art();
    EXPECT_EQ(once[0].substr(0, 1), "X");
    EXPECT_EQ(once[0].substr(5), ".");
    EXPECT_EQ(once[1].substr(1, 2), ".X") << "black becomes white, white black";
    EXPECT_EQ(once[2], "......");
    FillSpansWithColour(dc, spans, 4, RGB(0, 0, 0));
    EXPECT_EQ(canvas.Art(), before);
}

TEST_P(GdiBrushFormat, PatBltAndFillRectIgnoreOrUseTheRop2AsWindowsDoes) {
    Canvas canvas(4, 1, GetParam());
    PatBlt(canvas.Dc(), 0, 0, 4, 1, BLACKNESS);
    SetROP2(canvas.Dc(), R2_NOP);
    RECT rect{1, 0, 3, 1};
    FillRect(canvas.Dc(), &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(canvas.Art(), (Art{"X..X"}));
    PatBlt(canvas.Dc(), 0, 0, 2, 1, DSTINVERT);
    EXPECT_EQ(canvas.Art(), (Art{".X.X"}));
}

INSTANTIATE_TEST_SUITE_P(Formats, GdiBrushFormat, testing::Values(1, 8, 32),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Bits" + std::to_string(info.param);
                         });

TEST(GdiBrush, CoverageBlendsOnTrueColourAndThresholdsElsewhere) {
    testing_support::ResetLayer();
    const uint8_t coverage[] = {0, 127, 128, 255};
    for (int bits : {8, 32}) {
        Canvas canvas(4, 1, bits);
        PatBlt(canvas.Dc(), 0, 0, 4, 1, WHITENESS);
        BlendCoverage(*LookupDC(canvas.Dc()), 0, 0, 4, 1, coverage, 4, RGB(0, 0, 0), true);
        const Surface& s = canvas.Surface();
        if (bits == 32) {
            EXPECT_EQ(ReadRgb(s, 0, 0), 0xFFFFFFu);
            EXPECT_EQ(ReadRgb(s, 1, 0), 0x808080u);
            EXPECT_EQ(ReadRgb(s, 3, 0), 0x000000u);
        } else {
            EXPECT_EQ(canvas.Art(), (Art{"..XX"}));
        }
    }
}

TEST(GdiBrush, MonochromeColourRuleFollowsTheBkColour) {
    testing_support::ResetLayer();
    Canvas canvas(3, 1, 1);
    DeviceContext& dc = *LookupDC(canvas.Dc());
    EXPECT_EQ(ColourToPixel(dc, RGB(255, 255, 255)), 1u);
    EXPECT_EQ(ColourToPixel(dc, RGB(250, 250, 250)), 0u);
    SetBkColor(canvas.Dc(), RGB(0, 0, 0));
    EXPECT_EQ(ColourToPixel(dc, RGB(0, 0, 0)), 0u);
    EXPECT_EQ(ColourToPixel(dc, RGB(255, 0, 0)), 1u);
}

TEST(GdiBrush, ColouredBrushesDitherTheirBrightnessOnMonochromeBitmaps) {
    testing_support::ResetLayer();
    // White cells in each 8 x 8 block: the colour's brightness in 64ths, red,
    // green and blue weighing 30, 59 and 11; the blocks repeat and sit on the
    // bitmap's own pixels wherever a fill starts.
    struct Case {
        COLORREF colour;
        int whiteCells;
    };
    const Case cases[] = {{RGB(255, 0, 0), 19},     {RGB(0, 255, 0), 38},  {RGB(0, 0, 255), 7},
                          {RGB(200, 100, 50), 31},  {RGB(1, 1, 1), 0},     {RGB(254, 254, 254), 64},
                          {RGB(128, 128, 128), 32}, {RGB(255, 255, 0), 57}};
    for (const Case& c : cases) {
        HDC whole = CreateCompatibleDC(nullptr);
        HDC parts = CreateCompatibleDC(nullptr);
        HBITMAP wholeBitmap = CreateBitmap(24, 24, 1, 1, nullptr);
        HBITMAP partsBitmap = CreateBitmap(24, 24, 1, 1, nullptr);
        HGDIOBJ oldWhole = SelectObject(whole, wholeBitmap);
        HGDIOBJ oldParts = SelectObject(parts, partsBitmap);
        HBRUSH brush = CreateSolidBrush(c.colour);
        const RECT all{0, 0, 24, 24};
        FillRect(whole, &all, brush);
        for (const RECT& part :
             {RECT{0, 0, 3, 24}, RECT{3, 0, 24, 5}, RECT{3, 5, 13, 24}, RECT{13, 5, 24, 24}}) {
            FillRect(parts, &part, brush);
        }
        int white = 0;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                const COLORREF pixel = GetPixel(whole, x, y);
                ASSERT_EQ(pixel, GetPixel(parts, x, y))
                    << std::hex << c.colour << " at " << std::dec << x << ", " << y;
                ASSERT_EQ(pixel, GetPixel(whole, x % 8, y % 8))
                    << std::hex << c.colour << " at " << std::dec << x << ", " << y;
                white += x < 8 && y < 8 && pixel == RGB(255, 255, 255);
            }
        }
        EXPECT_EQ(white, c.whiteCells) << std::hex << c.colour;
        DeleteObject(brush);
        SelectObject(whole, oldWhole);
        SelectObject(parts, oldParts);
        DeleteObject(wholeBitmap);
        DeleteObject(partsBitmap);
        DeleteDC(whole);
        DeleteDC(parts);
    }
}
