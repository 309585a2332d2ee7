// Blits between formats, stretching, and the pixel rules of memory contexts.
#include <gtest/gtest.h>

#include "tests/platform/gdi/raster_art.h"
#include "tests/support/layer.h"

using raster_art::Canvas;
using Art = std::vector<std::string>;

// On 1-bit surfaces every colour but white reads back black, and blits between
// two monochrome surfaces copy bits without any colour rule.
class GdiBlitFormat : public testing::TestWithParam<int> {
protected:
    void SetUp() override { testing_support::ResetLayer(); }
    Art OnFormat(Art art) const {
        if (GetParam() != 1) return art;
        for (std::string& row : art) {
            for (char& c : row) c = c == '.' ? '.' : 'X';
        }
        return art;
    }
};

TEST_P(GdiBlitFormat, MonochromeSourceTakesTextAndBkColours) {
    Canvas mono({"X.X.", "..XX"}, 1);
    Canvas dest(4, 2, GetParam());
    SetTextColor(dest.Dc(), RGB(255, 0, 0));
    SetBkColor(dest.Dc(), RGB(0, 255, 0));
    ASSERT_TRUE(BitBlt(dest.Dc(), 0, 0, 4, 2, mono.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(dest.Art(), GetParam() == 1 ? (Art{"X.X.", "..XX"}) : (Art{"rgrg", "ggrr"}));
}

TEST_P(GdiBlitFormat, ColourToMonochromeMakesTheSourceBkColourWhite) {
    Canvas source({"r.Xb", "rrg."}, GetParam());
    Canvas mono(4, 2, 1);
    SetBkColor(source.Dc(), RGB(255, 0, 0));
    ASSERT_TRUE(BitBlt(mono.Dc(), 0, 0, 4, 2, source.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(mono.Art(), GetParam() == 1 ? OnFormat({"r.Xb", "rrg."}) : (Art{".XXX", "..XX"}));
}

TEST_P(GdiBlitFormat, StretchEnlargesBy8AndShrinksBackToTheSamePixels) {
    const Art art{"Xr.", "gbX"};
    Canvas small(art, GetParam());
    Canvas large(24, 16, GetParam());
    Canvas back(3, 2, GetParam());
    ASSERT_TRUE(StretchBlt(large.Dc(), 0, 0, 24, 16, small.Dc(), 0, 0, 3, 2, SRCCOPY));
    const Art enlarged = large.Art();
    if (GetParam() != 1) {
        EXPECT_EQ(enlarged[0], "XXXXXXXXrrrrrrrr........");
        EXPECT_EQ(enlarged[15], "ggggggggbbbbbbbbXXXXXXXX");
    }
    ASSERT_TRUE(StretchBlt(back.Dc(), 0, 0, 3, 2, large.Dc(), 0, 0, 24, 16, SRCCOPY));
    EXPECT_EQ(back.Art(), small.Art());
}

TEST_P(GdiBlitFormat, NegativeExtentsMirror) {
    Canvas source({"Xr.g", "bX.r"}, GetParam());
    Canvas dest(4, 2, GetParam());
    // A negative width covers x + width + 1 .. x.
    ASSERT_TRUE(StretchBlt(dest.Dc(), 3, 0, -4, 2, source.Dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(dest.Art(), OnFormat({"g.rX", "r.Xb"}));
    ASSERT_TRUE(StretchBlt(dest.Dc(), 0, 1, 4, -2, source.Dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(dest.Art(), OnFormat({"bX.r", "Xr.g"}));
}

TEST_P(GdiBlitFormat, MaskedDrawShowsImageUnderBlackMaskOnly) {
    Canvas background({"gggg", "gggg"}, GetParam());
    Canvas image({"rr..", "b..."}, GetParam());
    Canvas mask({"XX..", "X..X"}, 1);
    // MERGEPAINT whitens where the mask is black, SRCAND lays the image there.
    ASSERT_TRUE(BitBlt(background.Dc(), 0, 0, 4, 2, mask.Dc(), 0, 0, MERGEPAINT));
    ASSERT_TRUE(BitBlt(background.Dc(), 0, 0, 4, 2, image.Dc(), 0, 0, SRCAND));
    EXPECT_EQ(background.Art(), OnFormat({"rrgg", "bgg."}));
}

INSTANTIATE_TEST_SUITE_P(Formats, GdiBlitFormat, testing::Values(1, 8, 32),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Bits" + std::to_string(info.param);
                         });

TEST(GdiBlit, ClipsToBothSurfacesAndOverlapsWithinOne) {
    testing_support::ResetLayer();
    const Art picture{"Xr.g", "bX.r", "...."};
    struct Case {
        bool sameSurface;
        int x, y, width, sx, sy;
        Art expected;
    } cases[] = {
        {false, -1, 0, 4, 0, 0, {"r.g.", "X.r.", "...."}},
        {false, 2, 1, 4, 0, 0, {"....", "..Xr", "..bX"}},
        {false, 0, 0, 4, 2, 1, {".r..", "....", "...."}},
        {true, 1, 0, 3, 0, 0, {"XXr.", "bbX.", "...."}},
        {true, 0, 1, 4, 0, 0, {"Xr.g", "Xr.g", "bX.r"}},
        {true, 0, 0, 4, 0, 1, {"bX.r", "....", "...."}},
    };
    for (const Case& c : cases) {
        Canvas source(picture, 32);
        Canvas dest(4, 3, 32);
        PatBlt(dest.Dc(), 0, 0, 4, 3, WHITENESS);
        HDC target = c.sameSurface ? source.Dc() : dest.Dc();
        ASSERT_TRUE(BitBlt(target, c.x, c.y, c.width, 2, source.Dc(), c.sx, c.sy, SRCCOPY));
        EXPECT_EQ(c.sameSurface ? source.Art() : dest.Art(), c.expected)
            << "to " << c.x << "," << c.y << " from " << c.sx << "," << c.sy;
    }
}

TEST(GdiBlit, MemoryContextsStartMonochromeAndMakeLikeBitmaps) {
    testing_support::ResetLayer();
    HDC memory = CreateCompatibleDC(nullptr);
    BITMAP info{};
    HBITMAP first = static_cast<HBITMAP>(GetCurrentObject(memory, OBJ_BITMAP));
    ASSERT_EQ(GetObjectA(first, sizeof(info), &info), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    HBITMAP mono = CreateCompatibleBitmap(memory, 10, 3);
    ASSERT_EQ(GetObjectA(mono, sizeof(info), &info), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 10, 3);
    GetObjectA(colour, sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 32);
    // A selected bitmap cannot be deleted nor selected elsewhere.
    SelectObject(memory, mono);
    HDC second = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(second, mono), nullptr);
    EXPECT_FALSE(DeleteObject(mono));
    SelectObject(memory, first);
    EXPECT_TRUE(DeleteObject(mono));
    DeleteDC(second);
    DeleteObject(colour);
    ReleaseDC(nullptr, screen);
    DeleteDC(memory);
}

TEST(GdiBlit, CreateBitmapReadsWordAlignedMonochromeRows) {
    testing_support::ResetLayer();
    const BYTE rows[] = {0xA0, 0x00, 0x50, 0x00};  // 3 wide: rows padded to a word.
    HBITMAP bitmap = CreateBitmap(3, 2, 1, 1, rows);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    std::string seen;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) seen += raster_art::Char(GetPixel(dc, x, y));
    }
    EXPECT_EQ(seen, ".X.X.X");
    DeleteDC(dc);
    DeleteObject(bitmap);
}
