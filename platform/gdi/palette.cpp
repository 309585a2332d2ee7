// Palettes: logical palettes, the emulated hardware palette of an 8-bit display
// with Windows' twenty static colours, and realisation.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

constexpr RGBQUAD kStaticLow[10] = {
    {0, 0, 0, 0},     {0, 0, 128, 0},   {0, 128, 0, 0},     {0, 128, 128, 0},   {128, 0, 0, 0},
    {128, 0, 128, 0}, {128, 128, 0, 0}, {192, 192, 192, 0}, {192, 220, 192, 0}, {240, 202, 166, 0}};
constexpr RGBQUAD kStaticHigh[10] = {
    {240, 251, 255, 0}, {164, 160, 160, 0}, {128, 128, 128, 0}, {0, 0, 255, 0}, {0, 255, 0, 0},
    {0, 255, 255, 0},   {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0}, {255, 255, 255, 0}};

// Before any palette is realised the free entries hold a 6x6x6 colour cube and
// twenty greys, so that an 8-bit display shows something sensible.
std::vector<RGBQUAD> MakeSystemPalette() {
    std::vector<RGBQUAD> table(256);
    std::copy(std::begin(kStaticLow), std::end(kStaticLow), table.begin());
    std::copy(std::begin(kStaticHigh), std::end(kStaticHigh), table.begin() + 246);
    int i = 10;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                table[i++] = RGBQUAD{static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51),
                                     static_cast<BYTE>(r * 51), 0};
            }
        }
    }
    for (int k = 0; k < 20; ++k) {
        const BYTE v = static_cast<BYTE>(8 + k * 12);
        table[i++] = RGBQUAD{v, v, v, 0};
    }
    return table;
}

std::vector<RGBQUAD>& MutableSystemPalette() {
    static std::vector<RGBQUAD> table = MakeSystemPalette();
    return table;
}

bool IsStatic(int index) { return index < 10 || index > 245; }

// Foreground realisation: an entry equal to a static colour collapses onto it
// (unless PC_NOCOLLAPSE); entry i of 10..245 prefers system place i, so that a
// palette laid out like the system one is realised as an identity; the others
// take the free places in order, and when none is left the nearest colour.
UINT Realise(PaletteObject& palette) {
    std::vector<RGBQUAD>& system = MutableSystemPalette();
    std::vector<bool> used(256, false);
    palette.systemIndex.assign(palette.entries.size(), -1);
    UINT changed = 0;
    auto place = [&](size_t i, int slot) {
        const PALETTEENTRY& e = palette.entries[i];
        system[slot] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        used[slot] = true;
        palette.systemIndex[i] = slot;
        ++changed;
    };
    for (size_t i = 0; i < palette.entries.size(); ++i) {
        const PALETTEENTRY& e = palette.entries[i];
        if ((e.peFlags & PC_NOCOLLAPSE) == 0) {
            for (int s = 0; s < 256; ++s) {
                if (IsStatic(s) && system[s].rgbRed == e.peRed && system[s].rgbGreen == e.peGreen &&
                    system[s].rgbBlue == e.peBlue) {
                    palette.systemIndex[i] = s;
                    break;
                }
            }
            if (palette.systemIndex[i] >= 0) continue;
        }
        if (i >= 10 && i <= 245 && !used[i]) place(i, static_cast<int>(i));
    }
    int next = 10;
    for (size_t i = 0; i < palette.entries.size(); ++i) {
        if (palette.systemIndex[i] >= 0) continue;
        while (next <= 245 && used[next]) ++next;
        if (next <= 245) {
            place(i, next);
            continue;
        }
        Surface probe;
        probe.bitsPerPixel = 8;
        probe.usesSystemPalette = true;
        const PALETTEENTRY& e = palette.entries[i];
        palette.systemIndex[i] =
            static_cast<int>(NearestPixel(probe, (e.peRed << 16) | (e.peGreen << 8) | e.peBlue));
    }
    return changed;
}

}  // namespace

const std::vector<RGBQUAD>& SystemPalette() { return MutableSystemPalette(); }

int RealisedIndex(const PaletteObject& palette, size_t entry) {
    return entry < palette.systemIndex.size() ? palette.systemIndex[entry] : -1;
}

}  // namespace platform::gdi

using namespace platform::gdi;

HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette) {
    if (palette == nullptr || palette->palNumEntries == 0 || palette->palNumEntries > 256) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<PaletteObject>();
    object->kind = OBJ_PAL;
    object->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    return static_cast<HPALETTE>(RegisterObject(std::move(object)));
}

HPALETTE WINAPI SelectPalette(HDC handle, HPALETTE palette, BOOL) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr || FindObjectOf<PaletteObject>(palette, OBJ_PAL) == nullptr) return nullptr;
    HPALETTE previous = dc->palette;
    AddSelection(palette);
    dc->palette = palette;
    DropSelection(previous);
    return previous;
}

UINT WINAPI RealizePalette(HDC handle) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr) return GDI_ERROR;
    PaletteObject* palette = SelectedPalette(*dc);
    // Only an 8-bit display has a hardware palette to change; a memory context
    // realises into it too, as its bitmaps share the display's indices.
    if (palette == nullptr || palette->stock || Display().bitsPerPixel != 8) return 0;
    const UINT changed = Realise(*palette);
    MarkDisplayDirty();
    return changed;
}

UINT WINAPI GetPaletteEntries(HPALETTE handle, UINT start, UINT count, LPPALETTEENTRY entries) {
    const PaletteObject* palette = FindObjectOf<PaletteObject>(handle, OBJ_PAL);
    if (palette == nullptr) return 0;
    const UINT size = static_cast<UINT>(palette->entries.size());
    if (entries == nullptr) return size;
    if (start >= size) return 0;
    const UINT n = std::min(count, size - start);
    std::copy_n(palette->entries.begin() + start, n, entries);
    return n;
}

UINT WINAPI SetPaletteEntries(HPALETTE handle, UINT start, UINT count,
                              const PALETTEENTRY* entries) {
    PaletteObject* palette = FindObjectOf<PaletteObject>(handle, OBJ_PAL);
    if (palette == nullptr || palette->stock || entries == nullptr) return 0;
    const UINT size = static_cast<UINT>(palette->entries.size());
    if (start >= size) return 0;
    const UINT n = std::min(count, size - start);
    std::copy_n(entries, n, palette->entries.begin() + start);
    palette->systemIndex.clear();
    return n;
}

UINT WINAPI GetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY entries) {
    if (GetDeviceCaps(dc, RASTERCAPS) == 0) return 0;
    if (entries == nullptr) return 256;
    if (start >= 256) return 0;
    // A true-colour display has no hardware palette; Windows then answers with
    // the static colours and fills nothing else reliably, so this gives the
    // same table as an 8-bit display before any realisation.
    const std::vector<RGBQUAD>& system =
        Display().bitsPerPixel == 8 ? SystemPalette() : MakeSystemPalette();
    const UINT n = std::min(count, 256 - start);
    for (UINT i = 0; i < n; ++i) {
        const RGBQUAD& q = system[start + i];
        entries[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    return n;
}

UINT WINAPI GetNearestPaletteIndex(HPALETTE handle, COLORREF colour) {
    const PaletteObject* palette = FindObjectOf<PaletteObject>(handle, OBJ_PAL);
    if (palette == nullptr || palette->entries.empty()) return CLR_INVALID;
    UINT best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < palette->entries.size(); ++i) {
        const PALETTEENTRY& e = palette->entries[i];
        const int dr = e.peRed - GetRValue(colour), dg = e.peGreen - GetGValue(colour),
                  db = e.peBlue - GetBValue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<UINT>(i);
        }
    }
    return best;
}
