// DIBs: layouts and row order in, GetDIBits out, DIB sections shared with the
// caller, StretchDIBits, and the checks that refuse bad headers.
#include "platform/gdi/dib.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/gdi/raster_art.h"
#include "tests/support/layer.h"

using namespace platform::gdi;
using raster_art::Canvas;
using Art = std::vector<std::string>;

namespace {

struct Info {
    BITMAPINFOHEADER header{};
    RGBQUAD colours[256]{};
};

Info MakeInfo(int width, int height, int bits) {
    Info info;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.colours[0] = RGBQUAD{0, 0, 0, 0};        // black
    info.colours[1] = RGBQUAD{255, 255, 255, 0};  // white
    info.colours[2] = RGBQUAD{0, 0, 255, 0};      // red
    info.colours[3] = RGBQUAD{255, 0, 0, 0};      // blue
    return info;
}

const BITMAPINFO* AsInfo(const Info& info) { return reinterpret_cast<const BITMAPINFO*>(&info); }

}  // namespace

TEST(GdiDib, CreateDIBitmapReadsEachDepthAndRowOrder) {
    testing_support::ResetLayer();
    HDC screen = GetDC(nullptr);
    // Each case: bits, height sign, the stored rows (first stored row first).
    struct Case {
        int bits;
        int height;
        std::vector<uint8_t> data;
        Art expected;
    } cases[] = {
        {1, 2, {0x40, 0, 0, 0, 0xA0, 0, 0, 0}, {".X.", "X.X"}},
        {1, 2, {0x40, 0, 0, 0, 0x80, 0, 0, 0}, {".XX", "X.X"}},
        {4, -2, {0x21, 0x30, 0, 0, 0x01, 0x20, 0, 0}, {"r.b", "X.r"}},
        {8, 2, {1, 0, 2, 0, 3, 3, 1, 0}, {"bb.", ".Xr"}},
        {24, -1, {0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0}, {"r.b"}},
    };
    for (const Case& c : cases) {
        Info info = MakeInfo(3, c.height, c.bits);
        HBITMAP bitmap = CreateDIBitmap(screen, &info.header, CBM_INIT, c.data.data(),
                                        AsInfo(info), DIB_RGB_COLORS);
        ASSERT_NE(bitmap, nullptr) << c.bits;
        HDC dc = CreateCompatibleDC(screen);
        SelectObject(dc, bitmap);
        Art seen;
        for (int y = 0; y < std::abs(c.height); ++y) {
            std::string row;
            for (int x = 0; x < 3; ++x) row += raster_art::Char(GetPixel(dc, x, y));
            seen.push_back(row);
        }
        EXPECT_EQ(seen, c.expected) << c.bits << " bits";
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
}

TEST(GdiDib, GetDIBitsCompletesHeadersAndWritesColourTables) {
    testing_support::ResetLayer();
    Canvas canvas({"Xr.", "b.X"}, 32);
    SelectObject(canvas.Dc(), GetStockObject(WHITE_BRUSH));
    HBITMAP bitmap = canvas.Bitmap();
    HDC memory = canvas.Dc();
    SelectObject(memory, CreateCompatibleBitmap(memory, 1, 1));  // Deselect the picture.
    Info info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_NE(GetDIBits(memory, bitmap, 0, 2, nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                        DIB_RGB_COLORS), 0);
    EXPECT_EQ(info.header.biWidth, 3);
    EXPECT_EQ(info.header.biHeight, 2);
    EXPECT_EQ(info.header.biBitCount, 32);
    EXPECT_EQ(info.header.biSizeImage, 24u);
    info.header.biBitCount = 24;
    std::vector<uint8_t> rows(2 * 12, 0xEE);
    EXPECT_EQ(GetDIBits(memory, bitmap, 0, 2, rows.data(), reinterpret_cast<BITMAPINFO*>(&info),
                        DIB_RGB_COLORS), 2);
    EXPECT_EQ(info.header.biSizeImage, 24u);
    // Bottom-up: the first stored row is the bottom one ("b.X"), padded to 12.
    const std::vector<uint8_t> expected{255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0,
                                        0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0};
    EXPECT_EQ(rows, expected);
    info.header.biBitCount = 8;
    std::vector<uint8_t> indexes(2 * 4);
    EXPECT_EQ(GetDIBits(memory, bitmap, 0, 2, indexes.data(), reinterpret_cast<BITMAPINFO*>(&info),
                        DIB_RGB_COLORS), 2);
    for (int i : {0, 1, 2, 4, 5, 6}) {
        const RGBQUAD& q = info.colours[indexes[i]];
        const COLORREF colour = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        EXPECT_EQ(raster_art::Char(colour), std::string("b.XXr.")[i < 4 ? i : i - 1]) << i;
    }
    DeleteObject(SelectObject(memory, bitmap));
}

TEST(GdiDib, DibSectionSharesItsBitsWithTheCaller) {
    testing_support::ResetLayer();
    for (int height : {2, -2}) {
        Info info = MakeInfo(3, height, 8);
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(nullptr, AsInfo(info), DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(section, nullptr);
        uint8_t* memory = static_cast<uint8_t*>(bits);
        memory[0] = 2;  // The first stored row: the bottom one when bottom-up.
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, section);
        const int firstRow = height > 0 ? 1 : 0;
        EXPECT_EQ(GetPixel(dc, 0, firstRow), RGB(255, 0, 0));
        SetPixel(dc, 2, firstRow, RGB(0, 0, 255));
        EXPECT_EQ(memory[2], 3);
        DIBSECTION described{};
        ASSERT_EQ(GetObjectA(section, sizeof(described), &described), static_cast<int>(sizeof(DIBSECTION)));
        EXPECT_EQ(described.dsBm.bmBits, bits);
        EXPECT_EQ(described.dsBmih.biHeight, height);
        DeleteDC(dc);
        DeleteObject(section);
    }
}

TEST(GdiDib, StretchDIBitsCountsSourceRowsFromTheBottom) {
    testing_support::ResetLayer();
    Canvas canvas(2, 2, 32);
    Info info = MakeInfo(2, 3, 8);
    const uint8_t data[] = {2, 2, 0, 0, 1, 0, 0, 0, 3, 3, 0, 0};  // bottom: rr, .X, bb: top
    // Source (0, 1) 2x2 from the bottom: rows ".X" (middle) and "bb" (top).
    EXPECT_EQ(StretchDIBits(canvas.Dc(), 0, 0, 2, 2, 0, 1, 2, 2, data, AsInfo(info), DIB_RGB_COLORS,
                            SRCCOPY), 2);
    EXPECT_EQ(canvas.Art(), (Art{"bb", ".X"}));
}

TEST(GdiDib, RefusesInconsistentHeaders) {
    struct Case {
        const char* what;
        void (*spoil)(Info&);
        size_t available;
    } cases[] = {
        {"planes", [](Info& i) { i.header.biPlanes = 2; }, sizeof(Info)},
        {"bit count", [](Info& i) { i.header.biBitCount = 7; }, sizeof(Info)},
        {"zero height", [](Info& i) { i.header.biHeight = 0; }, sizeof(Info)},
        {"huge width", [](Info& i) { i.header.biWidth = 1 << 20; }, sizeof(Info)},
        {"too many colours", [](Info& i) { i.header.biClrUsed = 257; }, sizeof(Info)},
        {"RLE", [](Info& i) { i.header.biCompression = BI_RLE8; }, sizeof(Info)},
        {"short header", [](Info& i) { i.header.biSize = 20; }, sizeof(Info)},
        {"table past the end", [](Info&) {}, sizeof(BITMAPINFOHEADER) + 100},
        {"fields on 24 bits", [](Info& i) { i.header.biBitCount = 24; i.header.biCompression = BI_BITFIELDS; }, sizeof(Info)},
    };
    for (const Case& c : cases) {
        Info info = MakeInfo(4, 4, 8);
        c.spoil(info);
        DibFormat format;
        EXPECT_FALSE(ParseDibInfo(&info, c.available, DIB_RGB_COLORS, nullptr, format)) << c.what;
    }
    Info good = MakeInfo(4, 4, 8);
    good.header.biClrUsed = 4;
    DibFormat format;
    ASSERT_TRUE(ParseDibInfo(&good, sizeof(BITMAPINFOHEADER) + 16, DIB_RGB_COLORS, nullptr, format));
    EXPECT_EQ(format.headerBytes, sizeof(BITMAPINFOHEADER) + 16);
    EXPECT_EQ(format.imageBytes, 16u);
}
