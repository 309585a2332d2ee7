// Palettes: the static colours, realisation on an 8-bit display, and colour
// matching of palette-relative colours.
#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "platform/windows.h"
#include "tests/support/layer.h"

using namespace platform::gdi;

TEST(GdiPalette, SystemPaletteHoldsTheStaticColoursAtTheEnds) {
    testing_support::ResetLayer();
    HDC screen = GetDC(nullptr);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetSystemPaletteEntries(screen, 0, 256, entries), 256u);
    struct Expected {
        int index;
        BYTE r, g, b;
    } table[] = {{0, 0, 0, 0},       {1, 128, 0, 0},     {7, 192, 192, 192}, {8, 192, 220, 192},
                 {9, 166, 202, 240}, {246, 255, 251, 240}, {247, 160, 160, 164}, {249, 255, 0, 0},
                 {252, 0, 0, 255},   {255, 255, 255, 255}};
    for (const Expected& e : table) {
        EXPECT_EQ(entries[e.index].peRed, e.r) << e.index;
        EXPECT_EQ(entries[e.index].peGreen, e.g) << e.index;
        EXPECT_EQ(entries[e.index].peBlue, e.b) << e.index;
    }
    ReleaseDC(nullptr, screen);
}

TEST(GdiPalette, EightBitDisplayRealisesALaidOutPaletteAsIdentity) {
    testing_support::ResetLayer();
    InitDisplay(64, 32, 8);
    HDC screen = GetDC(nullptr);
    std::vector<uint8_t> storage(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    LOGPALETTE* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = 256;
    GetSystemPaletteEntries(screen, 0, 256, logical->palPalEntry);
    for (int i = 10; i < 246; ++i) logical->palPalEntry[i] = PALETTEENTRY{BYTE(i), 7, 3, 0};
    HPALETTE palette = CreatePalette(logical);
    SelectPalette(screen, palette, FALSE);
    RealizePalette(screen);
    PALETTEENTRY system[256];
    GetSystemPaletteEntries(screen, 0, 256, system);
    EXPECT_EQ(system[10].peRed, 10);
    EXPECT_EQ(system[245].peRed, 245);
    EXPECT_EQ(system[245].peGreen, 7);
    DeviceContext& dc = *LookupDC(screen);
    // Palette-relative colours take the palette; plain ones the static colours.
    EXPECT_EQ(ColourToPixel(dc, PALETTERGB(100, 7, 3)), 100u);
    EXPECT_EQ(ColourToPixel(dc, RGB(100, 7, 3)), 1u);
    EXPECT_EQ(ColourToPixel(dc, 0x01000000 | 77), 77u);
    // The display shows the indexes through the realised palette.
    SetPixel(screen, 0, 0, PALETTERGB(200, 7, 3));
    EXPECT_EQ(GetPixel(screen, 0, 0), RGB(200, 7, 3));
    EXPECT_EQ(ReadRgb(Display(), 0, 0), 0xC80703u);
    ReleaseDC(nullptr, screen);
    DeleteObject(palette);
    InitDisplay(640, 480, 32);
}
