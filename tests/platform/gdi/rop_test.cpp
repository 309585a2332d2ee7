// Every ternary raster operation, through the row kernels and through BitBlt on
// each surface format, against the per-bit reference evaluator.
#include "platform/gdi/rop.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/platform/gdi/raster_art.h"
#include "tests/support/layer.h"

using namespace platform::gdi;

TEST(GdiRop, KernelsMatchReferenceForAll256Codes) {
    std::mt19937 random(7);
    constexpr int kCount = 37;
    uint32_t pattern[kCount], source[kCount], dest[kCount];
    for (int i = 0; i < kCount; ++i) {
        pattern[i] = random();
        source[i] = random();
        dest[i] = random();
    }
    for (uint32_t mask : {0x1u, 0xFFu, 0xFFFFFFu}) {
        for (int rop = 0; rop < 256; ++rop) {
            uint32_t out[kCount];
            std::copy(dest, dest + kCount, out);
            ApplyRop3Row(static_cast<uint8_t>(rop), out, source, pattern, kCount, mask);
            for (int i = 0; i < kCount; ++i) {
                ASSERT_EQ(out[i], Rop3Reference(static_cast<uint8_t>(rop), pattern[i], source[i],
                                                dest[i], mask))
                    << "rop " << rop << " mask " << mask << " pixel " << i;
            }
        }
    }
}

TEST(GdiRop, BinaryModesMatchTheirTernaryForm) {
    for (int rop2 = R2_BLACK; rop2 <= R2_WHITE; ++rop2) {
        for (uint32_t pen : {0x000000u, 0xFFFFFFu, 0x12A5C3u}) {
            uint32_t andMask = 0, xorMask = 0;
            Rop2Masks(rop2, pen, 0xFFFFFF, andMask, xorMask);
            for (uint32_t d : {0x000000u, 0xFFFFFFu, 0x5A0F33u}) {
                EXPECT_EQ(((d & andMask) ^ xorMask) & 0xFFFFFF,
                          Rop3Reference(Rop3FromRop2(rop2), pen, 0, d, 0xFFFFFF))
                    << "R2 " << rop2;
            }
        }
    }
    EXPECT_EQ(Rop3FromRop2(R2_COPYPEN), 0xF0);
    EXPECT_EQ(Rop3FromRop2(R2_XORPEN), 0x5A);
    EXPECT_EQ(Rop3FromRop2(R2_NOT), 0x55);
}

class GdiRopFormat : public testing::TestWithParam<int> {};

// BitBlt with a monochrome pattern brush: P takes the text and bk colours'
// pixels, S and D are arbitrary pixel values of the format.
TEST_P(GdiRopFormat, BitBltEvaluatesEveryCodeOnTheFormat) {
    testing_support::ResetLayer();
    const int bits = GetParam();
    constexpr int kWidth = 19, kHeight = 2;
    raster_art::Canvas dest(kWidth, kHeight, bits), source(kWidth, kHeight, bits);
    const WORD patternRows[8] = {0x55, 0x33, 0x0F, 0xF0, 0xCC, 0xAA, 0x81, 0x7E};
    HBITMAP patternBitmap = CreateBitmap(8, 8, 1, 1, patternRows);
    HBRUSH brush = CreatePatternBrush(patternBitmap);
    SelectObject(dest.Dc(), brush);
    SetTextColor(dest.Dc(), RGB(255, 0, 0));
    SetBkColor(dest.Dc(), RGB(0, 0, 255));
    Surface& d = dest.Surface();
    Surface& s = source.Surface();
    const uint32_t mask = d.ops->valueMask;
    std::mt19937 random(bits);
    std::vector<uint32_t> before(kWidth * kHeight);
    for (int rop = 0; rop < 256; ++rop) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                before[y * kWidth + x] = random() & mask;
                d.ops->setPixel(d, x, y, before[y * kWidth + x]);
                s.ops->setPixel(s, x, y, random() & mask);
            }
        }
        ASSERT_TRUE(BitBlt(dest.Dc(), 0, 0, kWidth, kHeight, source.Dc(), 0, 0,
                           static_cast<DWORD>(rop) << 16));
        const uint32_t p0 = ColourToPixel(*LookupDC(dest.Dc()), RGB(255, 0, 0));
        const uint32_t p1 = ColourToPixel(*LookupDC(dest.Dc()), RGB(0, 0, 255));
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t p = (patternRows[y] >> (7 - (x & 7))) & 1 ? p1 : p0;
                ASSERT_EQ(d.ops->getPixel(d, x, y),
                          Rop3Reference(static_cast<uint8_t>(rop), p, s.ops->getPixel(s, x, y),
                                        before[y * kWidth + x], mask))
                    << "rop " << rop << " at " << x << "," << y;
            }
        }
    }
    SelectObject(dest.Dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
    DeleteObject(patternBitmap);
}

INSTANTIATE_TEST_SUITE_P(Formats, GdiRopFormat, testing::Values(1, 8, 32));
