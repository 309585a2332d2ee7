// Helpers shared by the engine's own files: brushes realised for a surface,
// conversion of source pixels to a destination format, logical palettes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/dc.h"

namespace platform::gdi {

// A brush as pixel values of one destination: one value, or a tile placed at
// the brush origin (device coordinates).
struct RealisedBrush {
    bool null = true;
    bool solid = true;
    uint32_t value = 0;
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
    std::vector<uint32_t> tile;

    // The pattern values of row y from x on, count of them.
    void Row(int y, int x, int count, uint32_t* out) const;
};

RealisedBrush RealiseBrush(const DeviceContext& dc, HBRUSH brush);

// Turns rows of a source surface's pixel values into a destination's, with
// Windows' colour and monochrome conversions. Built once per blit.
class SourceConverter {
public:
    SourceConverter(const DeviceContext& dest, const Surface& source,
                    const DeviceContext* sourceDc);
    bool Identity() const { return m_kind == Kind::Identity; }
    void Convert(uint32_t* values, int count) const;

private:
    enum class Kind { Identity, Table, ToMono, Match };
    Kind m_kind = Kind::Identity;
    std::vector<uint32_t> m_table;
    uint32_t m_bkValue = 0;
    const DeviceContext* m_dest;
    mutable std::vector<uint64_t> m_cache;  // rgb << 32 | value, direct-mapped
};

// Matches 0x00RRGGBB to a pixel value of dc's surface as a palette-relative
// colour would be (DIB colours and colour blits onto 8-bit surfaces).
uint32_t MatchPaletteColour(const DeviceContext& dc, uint32_t rgb);

// Clips a device rectangle to the DC's clip; calls fn(RECT) for each part.
template <class Fn>
void ForEachClipped(const DeviceContext& dc, const RECT& rect, Fn fn) {
    for (const RECT& c : dc.clip) {
        RECT part{rect.left > c.left ? rect.left : c.left, rect.top > c.top ? rect.top : c.top,
                  rect.right < c.right ? rect.right : c.right,
                  rect.bottom < c.bottom ? rect.bottom : c.bottom};
        if (part.left < part.right && part.top < part.bottom) fn(part);
    }
}

PaletteObject* SelectedPalette(const DeviceContext& dc);
// The system index a realised logical palette entry went to, or -1.
int RealisedIndex(const PaletteObject& palette, size_t entry);

// Selection bookkeeping for SelectObject, DeleteDC and RestoreDC.
void AddSelection(HGDIOBJ object);
void DropSelection(HGDIOBJ object);

// The bitmap a new memory DC holds: a 1x1 monochrome one shared by all.
HBITMAP DefaultBitmap();
HGDIOBJ Stock(int index);

}  // namespace platform::gdi
