// Blits: BitBlt, StretchBlt and PatBlt with every ternary raster operation and
// Windows' conversions between formats. Each call clips once into rectangles
// and then works row by row through the formats' kernels.
#include <algorithm>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/rop.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

std::vector<uint32_t>& Buffer(int which, size_t size) {
    static std::vector<uint32_t> buffers[4];
    if (buffers[which].size() < size) buffers[which].resize(size);
    return buffers[which];
}

bool SameTable(const Surface& a, const Surface& b) {
    const std::vector<RGBQUAD>& ta = a.ColourTable();
    const std::vector<RGBQUAD>& tb = b.ColourTable();
    return ta.size() == tb.size() &&
           std::equal(ta.begin(), ta.end(), tb.begin(), [](const RGBQUAD& x, const RGBQUAD& y) {
               return x.rgbRed == y.rgbRed && x.rgbGreen == y.rgbGreen && x.rgbBlue == y.rgbBlue;
           });
}

// What one blit needs: destination, optional source and converter, optional
// pattern, the operation.
struct Blit {
    DeviceContext* dest;
    const Surface* source = nullptr;
    const SourceConverter* converter = nullptr;
    const RealisedBrush* brush = nullptr;
    uint8_t rop;
};

void ApplyRow(const Blit& blit, int y, int left, int n, const uint32_t* source) {
    Surface& d = *blit.dest->surface;
    const uint32_t* pattern = nullptr;
    if (blit.brush != nullptr) {
        uint32_t* p = Buffer(1, n).data();
        blit.brush->Row(y, left, n, p);
        pattern = p;
    }
    if (d.bitsPerPixel == 32) {
        ApplyRop3Row(blit.rop, d.Row(y) + left, source, pattern, n, d.ops->valueMask);
        return;
    }
    uint32_t* dest = Buffer(2, n).data();
    if (RopUsesDest(blit.rop)) d.ops->loadRow(d, left, y, n, dest);
    ApplyRop3Row(blit.rop, dest, source, pattern, n, d.ops->valueMask);
    d.ops->storeRow(d, left, y, n, dest);
}

// Copies the clipped part (device coordinates) with the source at part + offset.
void BlitPart(const Blit& blit, const RECT& part, int offsetX, int offsetY) {
    Surface& d = *blit.dest->surface;
    const int n = part.right - part.left;
    const bool bottomUp = blit.source == &d && offsetY < 0;
    const bool copy = blit.rop == 0xCC && blit.converter != nullptr &&
                      blit.converter->Identity() && d.bitsPerPixel >= 8;
    for (int i = 0; i < part.bottom - part.top; ++i) {
        const int y = bottomUp ? part.bottom - 1 - i : part.top + i;
        if (copy) {
            const int bytes = d.bitsPerPixel / 8;
            std::memmove(d.RowBytes(y) + part.left * bytes,
                         blit.source->RowBytes(y + offsetY) + (part.left + offsetX) * bytes,
                         static_cast<size_t>(n) * bytes);
            continue;
        }
        uint32_t* source = nullptr;
        if (blit.source != nullptr) {
            source = Buffer(0, n).data();
            blit.source->ops->loadRow(*blit.source, part.left + offsetX, y + offsetY, n, source);
            blit.converter->Convert(source, n);
        }
        ApplyRow(blit, y, part.left, n, source);
    }
}

// Normalises a negative extent the way GDI does: the pixels x+w+1 .. x.
void Normalise(int& x, int& w, bool& flipped) {
    flipped = w < 0;
    if (flipped) {
        x = x + w + 1;
        w = -w;
    }
}

// Source index for each destination index (nearest neighbour, whole onto whole).
std::vector<int> StretchMap(int destCount, int sourceStart, int sourceCount, bool mirror) {
    std::vector<int> map(destCount);
    for (int i = 0; i < destCount; ++i) {
        int j = static_cast<int>(static_cast<int64_t>(i) * sourceCount / destCount);
        if (mirror) j = sourceCount - 1 - j;
        map[i] = sourceStart + j;
    }
    return map;
}

// The destination indexes [first, last) whose source index is in [0, limit).
void ValidRange(const std::vector<int>& map, int limit, int& first, int& last) {
    first = 0;
    last = static_cast<int>(map.size());
    while (first < last && (map[first] < 0 || map[first] >= limit)) ++first;
    while (last > first && (map[last - 1] < 0 || map[last - 1] >= limit)) --last;
}

void StretchPart(const Blit& blit, const RECT& part, const RECT& destRect,
                 const std::vector<int>& xMap, const std::vector<int>& yMap) {
    const int n = part.right - part.left;
    const int* xs = xMap.data() + (part.left - destRect.left);
    const int low = std::min(xs[0], xs[n - 1]), high = std::max(xs[0], xs[n - 1]);
    uint32_t* raw = Buffer(3, high - low + 1).data();
    uint32_t* source = Buffer(0, n).data();
    int loaded = -1;
    for (int y = part.top; y < part.bottom; ++y) {
        const int sy = yMap[y - destRect.top];
        if (sy != loaded) {
            blit.source->ops->loadRow(*blit.source, low, sy, high - low + 1, raw);
            blit.converter->Convert(raw, high - low + 1);
            for (int i = 0; i < n; ++i) source[i] = raw[xs[i] - low];
            loaded = sy;
        }
        ApplyRow(blit, y, part.left, n, source);
    }
}

bool PrepareBrush(DeviceContext& dc, uint8_t rop, RealisedBrush& brush) {
    if (!RopUsesPattern(rop)) return true;
    brush = RealiseBrush(dc, dc.brush);
    if (brush.null) {
        // A null brush paints as black pattern bits would.
        brush.null = false;
        brush.solid = true;
        brush.value = 0;
    }
    return true;
}

}  // namespace

SourceConverter::SourceConverter(const DeviceContext& dest, const Surface& source,
                                 const DeviceContext* sourceDc)
    : m_dest(&dest) {
    const Surface& d = *dest.surface;
    const int from = source.bitsPerPixel, to = d.bitsPerPixel;
    const bool indexed = from <= 8;
    if (from == to && (from != 8 || SameTable(source, d))) return;
    if ((from == 24 || from == 32) && (to == 24 || to == 32)) return;
    if (from == 1) {
        // Monochrome to colour: 0 takes the text colour, 1 the bk colour.
        m_kind = Kind::Table;
        m_table = {ColourToPixel(dest, dest.textColour), ColourToPixel(dest, dest.bkColour)};
        return;
    }
    if (to == 1) {
        // Colour to monochrome: the source's bk colour becomes 1, all else 0.
        const COLORREF bk = sourceDc != nullptr ? sourceDc->bkColour : RGB(255, 255, 255);
        const uint32_t bkValue = sourceDc != nullptr ? ColourToPixel(*sourceDc, bk)
                                                     : NearestPixel(source, RgbFromColorref(bk));
        if (indexed) {
            m_kind = Kind::Table;
            m_table.resize(size_t{1} << from);
            for (size_t i = 0; i < m_table.size(); ++i) m_table[i] = i == bkValue ? 1 : 0;
        } else {
            m_kind = Kind::ToMono;
            m_bkValue = bkValue;
        }
        return;
    }
    if (indexed) {
        m_kind = Kind::Table;
        m_table.resize(size_t{1} << from);
        for (size_t i = 0; i < m_table.size(); ++i) {
            const uint32_t rgb = PixelToRgb(source, static_cast<uint32_t>(i));
            m_table[i] = to == 8 ? MatchPaletteColour(dest, rgb) : rgb;
        }
        return;
    }
    m_kind = Kind::Match;
    m_cache.assign(4096, ~uint64_t{0});
}

void SourceConverter::Convert(uint32_t* values, int count) const {
    switch (m_kind) {
        case Kind::Identity: return;
        case Kind::Table: {
            const uint32_t mask = static_cast<uint32_t>(m_table.size() - 1);
            for (int i = 0; i < count; ++i) values[i] = m_table[values[i] & mask];
            return;
        }
        case Kind::ToMono:
            for (int i = 0; i < count; ++i) values[i] = values[i] == m_bkValue ? 1 : 0;
            return;
        case Kind::Match:
            for (int i = 0; i < count; ++i) {
                const uint32_t rgb = values[i];
                uint64_t& slot = m_cache[(rgb ^ (rgb >> 12) ^ (rgb >> 20)) & 4095];
                if ((slot >> 32) != rgb) slot = (uint64_t{rgb} << 32) | MatchPaletteColour(*m_dest, rgb);
                values[i] = static_cast<uint32_t>(slot);
            }
            return;
    }
}

}  // namespace platform::gdi

using namespace platform::gdi;

BOOL WINAPI PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr || dc->surface == nullptr) return FALSE;
    const uint8_t index = RopIndex(rop);
    if (RopUsesSource(index)) return FALSE;
    bool flipped = false;
    Normalise(x, width, flipped);
    Normalise(y, height, flipped);
    RealisedBrush brush;
    PrepareBrush(*dc, index, brush);
    Blit blit{dc, nullptr, nullptr, RopUsesPattern(index) ? &brush : nullptr, index};
    const RECT rect{x + dc->origin.x, y + dc->origin.y, x + dc->origin.x + width,
                    y + dc->origin.y + height};
    ForEachClipped(*dc, rect, [&](const RECT& part) { BlitPart(blit, part, 0, 0); });
    NoteDrawn(*dc);
    return TRUE;
}

BOOL WINAPI BitBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle,
                   int xSrc, int ySrc, DWORD rop) {
    const uint8_t index = RopIndex(rop);
    if (!RopUsesSource(index)) return PatBlt(destHandle, x, y, width, height, rop);
    DeviceContext* dest = LookupDC(destHandle);
    const DeviceContext* src = LookupDC(sourceHandle);
    if (dest == nullptr || dest->surface == nullptr || src == nullptr || src->surface == nullptr) {
        return FALSE;
    }
    if (width < 0) {
        x += width;
        xSrc += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        ySrc += height;
        height = -height;
    }
    const Surface& source = *src->surface;
    const int offsetX = (xSrc + src->origin.x) - (x + dest->origin.x);
    const int offsetY = (ySrc + src->origin.y) - (y + dest->origin.y);
    RECT rect{x + dest->origin.x, y + dest->origin.y, x + dest->origin.x + width,
              y + dest->origin.y + height};
    // Only the part whose source lies on the source surface is drawn.
    rect.left = std::max<LONG>(rect.left, -offsetX);
    rect.top = std::max<LONG>(rect.top, -offsetY);
    rect.right = std::min<LONG>(rect.right, source.width - offsetX);
    rect.bottom = std::min<LONG>(rect.bottom, source.height - offsetY);
    const SourceConverter converter(*dest, source, src);
    RealisedBrush brush;
    PrepareBrush(*dest, index, brush);
    Blit blit{dest, &source, &converter, RopUsesPattern(index) ? &brush : nullptr, index};
    ForEachClipped(*dest, rect, [&](const RECT& part) { BlitPart(blit, part, offsetX, offsetY); });
    NoteDrawn(*dest);
    return TRUE;
}

BOOL WINAPI StretchBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle,
                       int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop) {
    const uint8_t index = RopIndex(rop);
    if (!RopUsesSource(index)) return PatBlt(destHandle, x, y, width, height, rop);
    if (width == srcWidth && height == srcHeight) {
        return BitBlt(destHandle, x, y, width, height, sourceHandle, xSrc, ySrc, rop);
    }
    DeviceContext* dest = LookupDC(destHandle);
    const DeviceContext* src = LookupDC(sourceHandle);
    if (dest == nullptr || dest->surface == nullptr || src == nullptr || src->surface == nullptr) {
        return FALSE;
    }
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return FALSE;
    bool flipDx = false, flipDy = false, flipSx = false, flipSy = false;
    Normalise(x, width, flipDx);
    Normalise(y, height, flipDy);
    Normalise(xSrc, srcWidth, flipSx);
    Normalise(ySrc, srcHeight, flipSy);
    const Surface& source = *src->surface;
    const RECT destRect{x + dest->origin.x, y + dest->origin.y, x + dest->origin.x + width,
                        y + dest->origin.y + height};
    const std::vector<int> xMap = StretchMap(width, xSrc + src->origin.x, srcWidth, flipDx != flipSx);
    const std::vector<int> yMap = StretchMap(height, ySrc + src->origin.y, srcHeight, flipDy != flipSy);
    int firstX, lastX, firstY, lastY;
    ValidRange(xMap, source.width, firstX, lastX);
    ValidRange(yMap, source.height, firstY, lastY);
    const RECT valid{destRect.left + firstX, destRect.top + firstY, destRect.left + lastX,
                     destRect.top + lastY};
    const SourceConverter converter(*dest, source, src);
    RealisedBrush brush;
    PrepareBrush(*dest, index, brush);
    Blit blit{dest, &source, &converter, RopUsesPattern(index) ? &brush : nullptr, index};
    ForEachClipped(*dest, valid, [&](const RECT& part) {
        StretchPart(blit, part, destRect, xMap, yMap);
    });
    NoteDrawn(*dest);
    return TRUE;
}
