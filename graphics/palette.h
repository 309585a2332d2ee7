// The program's 256-entry logical palettes, which keep the system's twenty
// static colours in their places, and two measures of a colour.
#pragma once

#include "platform/windows.h"

constexpr int kPaletteSize = 256;

// The current system palette as COLORREFs.
void ReadSystemColours(COLORREF table[kPaletteSize]);
// A palette of the table's colours in entries 10..245 and the system's static
// colours in 0..9 and 246..255, which are also written back into the table.
// A palette that cannot be made is a fatal error.
HPALETTE MakePalette(COLORREF table[kPaletteSize]);
// A palette equal to the current system palette.
HPALETTE MakeSystemPalette();

// (red + green + blue) * 100 / 768: 0 for black, 99 for white.
int Lightness(COLORREF colour);
// The weighted brightness, 0 for black, 100 for white.
int Luminance(COLORREF colour);
