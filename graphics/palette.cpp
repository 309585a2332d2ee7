#include "graphics/palette.h"

#include <cstddef>

#include "shell/messages.h"

namespace {

constexpr int kStaticLow = 10;
constexpr int kStaticHigh = 246;

// The static colours of a 256-colour display, used when the system palette
// cannot be read.
constexpr COLORREF kStaticColours[20] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
    RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
    RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255),
};

bool IsStaticPlace(int index) { return index < kStaticLow || index >= kStaticHigh; }

COLORREF DefaultSystemColour(int index) {
    if (index < kStaticLow) return kStaticColours[index];
    if (index >= kStaticHigh) return kStaticColours[index - kStaticHigh + kStaticLow];
    return 0;
}

// The system palette's entries, or the default static colours (black between
// them) when the screen's device context or its palette cannot be had.
void ReadSystemEntries(PALETTEENTRY entries[kPaletteSize]) {
    HDC screen = GetDC(nullptr);
    UINT read = 0;
    if (screen != nullptr) {
        read = GetSystemPaletteEntries(screen, 0, kPaletteSize, entries);
        ReleaseDC(nullptr, screen);
    }
    if (read == kPaletteSize) return;
    for (int i = 0; i < kPaletteSize; ++i) {
        const COLORREF colour = DefaultSystemColour(i);
        entries[i] = PALETTEENTRY{GetRValue(colour), GetGValue(colour), GetBValue(colour), 0};
    }
}

// A LOGPALETTE with room for all its entries.
struct FullPalette {
    WORD version = 0x300;
    WORD count = kPaletteSize;
    PALETTEENTRY entries[kPaletteSize];
};
static_assert(offsetof(FullPalette, entries) == offsetof(LOGPALETTE, palPalEntry));

COLORREF ToColour(const PALETTEENTRY& entry) {
    return RGB(entry.peRed, entry.peGreen, entry.peBlue);
}

}  // namespace

void ReadSystemColours(COLORREF table[kPaletteSize]) {
    PALETTEENTRY entries[kPaletteSize];
    ReadSystemEntries(entries);
    for (int i = 0; i < kPaletteSize; ++i) table[i] = ToColour(entries[i]);
}

HPALETTE MakePalette(COLORREF table[kPaletteSize]) {
    PALETTEENTRY system[kPaletteSize];
    ReadSystemEntries(system);
    FullPalette logical{};
    for (int i = 0; i < kPaletteSize; ++i) {
        if (IsStaticPlace(i)) table[i] = ToColour(system[i]);
        const COLORREF colour = table[i];
        logical.entries[i] = PALETTEENTRY{GetRValue(colour), GetGValue(colour), GetBValue(colour), 0};
    }
    HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical));
    if (palette == nullptr) ShowMessage(21, kFatal, kNoCode);
    return palette;
}

HPALETTE MakeSystemPalette() {
    COLORREF table[kPaletteSize];
    ReadSystemColours(table);
    return MakePalette(table);
}

int Lightness(COLORREF colour) {
    return (GetRValue(colour) + GetGValue(colour) + GetBValue(colour)) * 100 / 768;
}

int Luminance(COLORREF colour) {
    return GetGValue(colour) * 59 / 255 + GetBValue(colour) * 11 / 255 +
           GetRValue(colour) * 30 / 255;
}
