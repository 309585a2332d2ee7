#include "graphics/palette.h"

#include <gtest/gtest.h>

#include "tests/graphics/canvas.h"

namespace {

TEST(Palette, MakePaletteKeepsTheStaticColours) {
    canvas::ResetToolkit(8);
    HDC screen = GetDC(nullptr);
    PALETTEENTRY system[kPaletteSize];
    ASSERT_EQ(GetSystemPaletteEntries(screen, 0, kPaletteSize, system), 256u);
    ReleaseDC(nullptr, screen);

    COLORREF table[kPaletteSize];
    for (int i = 0; i < kPaletteSize; ++i) table[i] = RGB(i, 255 - i, 7);
    HPALETTE palette = MakePalette(table);
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY made[kPaletteSize];
    ASSERT_EQ(GetPaletteEntries(palette, 0, kPaletteSize, made), 256u);
    for (int i = 0; i < kPaletteSize; ++i) {
        const bool isStatic = i < 10 || i >= 246;
        const COLORREF expected =
            isStatic ? RGB(system[i].peRed, system[i].peGreen, system[i].peBlue) : RGB(i, 255 - i, 7);
        EXPECT_EQ(RGB(made[i].peRed, made[i].peGreen, made[i].peBlue), expected) << i;
        EXPECT_EQ(made[i].peFlags, 0) << i;
        EXPECT_EQ(table[i], expected) << i;
    }
    EXPECT_EQ(table[0], RGB(0, 0, 0));
    EXPECT_EQ(table[255], RGB(255, 255, 255));
    DeleteObject(palette);

    COLORREF current[kPaletteSize];
    ReadSystemColours(current);
    HPALETTE copy = MakeSystemPalette();
    ASSERT_EQ(GetPaletteEntries(copy, 0, kPaletteSize, made), 256u);
    for (int i = 0; i < kPaletteSize; ++i) {
        EXPECT_EQ(RGB(made[i].peRed, made[i].peGreen, made[i].peBlue), current[i]) << i;
    }
    DeleteObject(copy);
}

TEST(Palette, ColourMeasures) {
    struct Case {
        COLORREF colour;
        int lightness;
        int luminance;
    };
    const Case cases[] = {
        {RGB(0, 0, 0), 0, 0},        {RGB(255, 255, 255), 99, 100}, {RGB(255, 0, 0), 33, 30},
        {RGB(0, 255, 0), 33, 59},    {RGB(0, 0, 255), 33, 11},      {RGB(128, 128, 128), 50, 49},
        {RGB(10, 200, 90), 39, 50},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Lightness(c.colour), c.lightness) << std::hex << c.colour;
        EXPECT_EQ(Luminance(c.colour), c.luminance) << std::hex << c.colour;
    }
}

}  // namespace
