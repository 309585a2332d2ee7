// The one brush path: brushes realised for a surface, spans filled through the
// ROP2, FillRect, pixels, and coverage blending for text.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/rop.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

int Modulo(int value, int divisor) {
    const int r = value % divisor;
    return r < 0 ? r + divisor : r;
}

std::vector<uint32_t>& Buffer(int which, size_t size) {
    static std::vector<uint32_t> buffers[2];
    if (buffers[which].size() < size) buffers[which].resize(size);
    return buffers[which];
}

// Calls fn(y, left, right) for the parts of each span inside the clip.
template <class Fn>
void ForEachClippedSpan(const DeviceContext& dc, const Span* spans, size_t count, Fn fn) {
    for (size_t i = 0; i < count; ++i) {
        const Span& s = spans[i];
        if (s.left >= s.right) continue;
        for (const RECT& c : dc.clip) {
            if (s.y < c.top || s.y >= c.bottom) continue;
            const int left = std::max<int>(s.left, c.left);
            const int right = std::min<int>(s.right, c.right);
            if (left < right) fn(s.y, left, right);
        }
    }
}

void FillSolid(DeviceContext& dc, const Span* spans, size_t count, uint32_t value) {
    Surface& surface = *dc.surface;
    uint32_t andMask = 0, xorMask = 0;
    Rop2Masks(dc.rop2, value, surface.ops->valueMask, andMask, xorMask);
    if (andMask == surface.ops->valueMask && xorMask == 0) return;  // R2_NOP
    ForEachClippedSpan(dc, spans, count, [&](int y, int left, int right) {
        surface.ops->fillMasked(surface, y, left, right, andMask, xorMask);
    });
    NoteDrawn(dc);
}

void FillPattern(DeviceContext& dc, const Span* spans, size_t count, const RealisedBrush& brush) {
    Surface& surface = *dc.surface;
    const uint8_t rop = Rop3FromRop2(dc.rop2);
    const uint32_t mask = surface.ops->valueMask;
    ForEachClippedSpan(dc, spans, count, [&](int y, int left, int right) {
        const int n = right - left;
        uint32_t* pattern = Buffer(0, n).data();
        brush.Row(y, left, n, pattern);
        if (rop == 0xF0) {
            surface.ops->storeRow(surface, left, y, n, pattern);
            return;
        }
        uint32_t* dest = Buffer(1, n).data();
        surface.ops->loadRow(surface, left, y, n, dest);
        ApplyRop3Row(rop, dest, nullptr, pattern, n, mask);
        surface.ops->storeRow(surface, left, y, n, dest);
    });
    NoteDrawn(dc);
}

}  // namespace

void RealisedBrush::Row(int y, int x, int count, uint32_t* out) const {
    if (solid) {
        std::fill_n(out, count, value);
        return;
    }
    const uint32_t* row = tile.data() + static_cast<size_t>(Modulo(y - originY, height)) * width;
    int px = Modulo(x - originX, width);
    // One period in phase, then the filled part doubled until the row is full.
    int filled = 0;
    for (; filled < count && filled < width; ++filled) {
        out[filled] = row[px];
        if (++px == width) px = 0;
    }
    while (filled < count) {
        const int copy = std::min(filled, count - filled);
        std::memcpy(out + filled, out, static_cast<size_t>(copy) * sizeof(uint32_t));
        filled += copy;
    }
}

namespace {

// Whether solid brushes are dithered: on monochrome bitmaps that are not DIB
// sections, as Windows realises them for a monochrome device.
bool DithersOnto(const DeviceContext& dc) {
    if (dc.surface == nullptr || dc.surface->bitsPerPixel != 1) return false;
    const BitmapObject* bitmap = FindObjectOf<BitmapObject>(dc.bitmap, OBJ_BITMAP);
    return bitmap != nullptr && !bitmap->dibSection;
}

// The 8 x 8 ordered-dither matrix: each cell of the 4 x 4 one split into the
// four phases of the 2 x 2 one, so any eight-row run of a level keeps its
// coarser pattern.
constexpr std::array<std::array<uint8_t, 8>, 8> OrderedDither8() {
    constexpr uint8_t kFour[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    constexpr uint8_t kTwo[2][2] = {{0, 2}, {3, 1}};
    std::array<std::array<uint8_t, 8>, 8> matrix{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            matrix[y][x] = static_cast<uint8_t>(4 * kFour[y % 4][x % 4] + kTwo[y / 4][x / 4]);
        }
    }
    return matrix;
}

// A solid colour as an 8 x 8 ordered dither of black and white, in the phase
// of the device's own pixels: its brightness on a scale of 64 is the number of
// white cells, filled in the order of the matrix. The brightness weighs red,
// green and blue 30, 59 and 11 in a hundred, each channel for its own share
// of the light, rounded to the nearest 64th. Grey levels that are multiples
// of 4 repeat every 4 pixels.
RealisedBrush DitheredBrush(const DeviceContext& dc, COLORREF colour) {
    static constexpr std::array<std::array<uint8_t, 8>, 8> kMatrix = OrderedDither8();
    if ((colour >> 24) == 1) {
        const PaletteObject* palette = SelectedPalette(dc);
        const size_t index = colour & 0xFFFF;
        colour = palette != nullptr && index < palette->entries.size()
                     ? RGB(palette->entries[index].peRed, palette->entries[index].peGreen,
                           palette->entries[index].peBlue)
                     : 0;
    }
    const int whiteCells =
        (30 * GetRValue(colour) + 59 * GetGValue(colour) + 11 * GetBValue(colour) + 200) / 400;
    const uint32_t white = NearestPixel(*dc.surface, 0xFFFFFF);
    const uint32_t black = NearestPixel(*dc.surface, 0);
    RealisedBrush realised;
    realised.null = false;
    if (whiteCells == 0 || whiteCells >= 64) {
        realised.value = whiteCells == 0 ? black : white;
        return realised;
    }
    realised.solid = false;
    realised.width = 8;
    realised.height = 8;
    realised.tile.resize(64);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            realised.tile[y * 8 + x] = kMatrix[y][x] >= 64 - whiteCells ? white : black;
        }
    }
    return realised;
}

}  // namespace

RealisedBrush RealiseBrush(const DeviceContext& dc, HBRUSH handle) {
    RealisedBrush realised;
    const BrushObject* brush = FindObjectOf<BrushObject>(handle, OBJ_BRUSH);
    if (brush == nullptr || dc.surface == nullptr || brush->style == BS_NULL) return realised;
    realised.null = false;
    if (brush->style != BS_PATTERN || !brush->pattern) {
        if (DithersOnto(dc)) return DitheredBrush(dc, brush->colour);
        realised.value = ColourToPixel(dc, brush->colour);
        return realised;
    }
    const Surface& pattern = *brush->pattern;
    realised.solid = false;
    realised.width = pattern.width;
    realised.height = pattern.height;
    realised.originX = dc.origin.x + dc.brushOrigin.x;
    realised.originY = dc.origin.y + dc.brushOrigin.y;
    realised.tile.resize(static_cast<size_t>(pattern.width) * pattern.height);
    // A monochrome pattern takes the text colour for 0 and the bk colour for 1.
    uint32_t lookup[2] = {ColourToPixel(dc, dc.textColour), ColourToPixel(dc, dc.bkColour)};
    std::vector<uint32_t> row(pattern.width);
    for (int y = 0; y < pattern.height; ++y) {
        pattern.ops->loadRow(pattern, 0, y, pattern.width, row.data());
        uint32_t* out = realised.tile.data() + static_cast<size_t>(y) * pattern.width;
        for (int x = 0; x < pattern.width; ++x) {
            out[x] = pattern.bitsPerPixel == 1
                         ? lookup[row[x] & 1]
                         : ColourToPixel(dc, ColorrefFromRgb(PixelToRgb(pattern, row[x])) | 0x02000000);
        }
    }
    return realised;
}

void FillSpansWithBrush(DeviceContext& dc, const Span* spans, size_t count, HBRUSH handle) {
    if (dc.surface == nullptr || count == 0) return;
    const RealisedBrush brush = RealiseBrush(dc, handle);
    if (brush.null) return;
    if (brush.solid) {
        FillSolid(dc, spans, count, brush.value);
    } else {
        FillPattern(dc, spans, count, brush);
    }
}

void FillSpansWithColour(DeviceContext& dc, const Span* spans, size_t count, COLORREF colour) {
    if (dc.surface == nullptr || count == 0) return;
    FillSolid(dc, spans, count, ColourToPixel(dc, colour));
}

void FillRectWithBrush(DeviceContext& dc, const RECT& rect, HBRUSH brush) {
    if (rect.left >= rect.right || rect.top >= rect.bottom) return;
    std::vector<Span> spans;
    spans.reserve(rect.bottom - rect.top);
    for (int y = rect.top; y < rect.bottom; ++y) spans.push_back(Span{y, rect.left, rect.right});
    FillSpansWithBrush(dc, spans.data(), spans.size(), brush);
}

void BlendCoverage(DeviceContext& dc, int x, int y, int width, int height,
                   const uint8_t* coverage, int pitch, COLORREF colour, bool antialiased) {
    if (dc.surface == nullptr || coverage == nullptr || width <= 0 || height <= 0) return;
    Surface& surface = *dc.surface;
    const uint32_t value = ColourToPixel(dc, colour);
    const bool blend = antialiased && surface.bitsPerPixel >= 24;
    const RECT box{x, y, x + width, y + height};
    ForEachClipped(dc, box, [&](const RECT& part) {
        for (int py = part.top; py < part.bottom; ++py) {
            const uint8_t* cover = coverage + static_cast<ptrdiff_t>(py - y) * pitch - x;
            for (int px = part.left; px < part.right; ++px) {
                const uint32_t a = cover[px];
                if (!blend) {
                    if (a >= 128) surface.ops->setPixel(surface, px, py, value);
                    continue;
                }
                if (a == 0) continue;
                const uint32_t d = surface.ops->getPixel(surface, px, py);
                uint32_t out = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const uint32_t dc8 = (d >> shift) & 0xFF, sc8 = (value >> shift) & 0xFF;
                    out |= ((dc8 * (255 - a) + sc8 * a + 127) / 255) << shift;
                }
                surface.ops->setPixel(surface, px, py, out);
            }
        }
    });
    NoteDrawn(dc);
}

}  // namespace platform::gdi

using namespace platform::gdi;

int WINAPI FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr || rect == nullptr || FindObjectOf<BrushObject>(brush, OBJ_BRUSH) == nullptr) {
        return 0;
    }
    RECT target = *rect;
    OffsetRect(&target, dc->origin.x, dc->origin.y);
    // FillRect paints with PATCOPY whatever the ROP2.
    const int rop2 = dc->rop2;
    dc->rop2 = R2_COPYPEN;
    FillRectWithBrush(*dc, target, brush);
    dc->rop2 = rop2;
    return 1;
}

COLORREF WINAPI GetPixel(HDC handle, int x, int y) {
    const DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr || dc->surface == nullptr) return CLR_INVALID;
    const int dx = x + dc->origin.x, dy = y + dc->origin.y;
    bool inside = false;
    for (const RECT& c : dc->clip) inside = inside || (dx >= c.left && dx < c.right && dy >= c.top && dy < c.bottom);
    if (!inside) return CLR_INVALID;
    return PixelToColour(*dc, dc->surface->ops->getPixel(*dc->surface, dx, dy));
}

COLORREF WINAPI SetPixel(HDC handle, int x, int y, COLORREF colour) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr || dc->surface == nullptr) return CLR_INVALID;
    const int dx = x + dc->origin.x, dy = y + dc->origin.y;
    bool inside = false;
    for (const RECT& c : dc->clip) inside = inside || (dx >= c.left && dx < c.right && dy >= c.top && dy < c.bottom);
    if (!inside) return CLR_INVALID;
    // On monochrome surfaces a plain colour takes the nearer of black and white.
    const uint32_t value = dc->surface->bitsPerPixel == 1 && (colour >> 24) == 0
                               ? NearestPixel(*dc->surface, RgbFromColorref(colour))
                               : ColourToPixel(*dc, colour);
    dc->surface->ops->setPixel(*dc->surface, dx, dy, value);
    NoteDrawn(*dc);
    return PixelToColour(*dc, value);
}

BOOL WINAPI SetPixelV(HDC dc, int x, int y, COLORREF colour) {
    return SetPixel(dc, x, y, colour) != CLR_INVALID;
}
