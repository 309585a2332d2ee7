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

// The source pixels each destination pixel takes along one axis, as Windows
// maps them: the smaller side's pixel centres are placed on the larger side
// (halves going to the lower index). Enlarging repeats each source pixel over
// the destination pixels whose centres fall in it, so the repeats are centred
// (3 onto 10 gives 3, 4, 3); shrinking gives each destination pixel the group
// of source pixels whose centres fall in it. lo and hi are the group's first
// and last source index, absolute; a mirror reverses the destination order.
struct StretchAxis {
    std::vector<int> lo;
    std::vector<int> hi;
    bool shrinks = false;
};

StretchAxis StretchMap(int destCount, int sourceStart, int sourceCount, bool mirror) {
    StretchAxis axis;
    axis.lo.resize(destCount);
    axis.hi.resize(destCount);
    axis.shrinks = destCount < sourceCount;
    const int64_t d = destCount, s = sourceCount;
    // The first source index of destination k's group when shrinking.
    const auto groupStart = [&](int64_t k) {
        if (k >= d) return s;
        const int64_t n = 2 * s * k + 1 - d;
        return n <= 0 ? int64_t{0} : (n + 2 * d - 1) / (2 * d);
    };
    for (int i = 0; i < destCount; ++i) {
        const int64_t k = mirror ? d - 1 - i : i;
        if (axis.shrinks) {
            axis.lo[i] = sourceStart + static_cast<int>(groupStart(k));
            axis.hi[i] = sourceStart + static_cast<int>(groupStart(k + 1) - 1);
        } else {
            axis.lo[i] = axis.hi[i] = sourceStart + static_cast<int>(((2 * k + 1) * s - 1) / (2 * d));
        }
    }
    return axis;
}

// Keeps each group's part on the source, [0, limit); the destination indexes
// [first, last) are those whose groups keep a pixel there.
void ValidRange(StretchAxis& axis, int limit, int& first, int& last) {
    for (size_t i = 0; i < axis.lo.size(); ++i) {
        axis.lo[i] = std::max(axis.lo[i], 0);
        axis.hi[i] = std::min(axis.hi[i], limit - 1);
    }
    const auto valid = [&](int i) { return axis.lo[i] <= axis.hi[i]; };
    first = 0;
    last = static_cast<int>(axis.lo.size());
    while (first < last && !valid(first)) ++first;
    while (last > first && !valid(last - 1)) --last;
}

// How shrinking merges a group: one pixel (COLORONCOLOR, HALFTONE), or
// the AND (BLACKONWHITE) or OR (WHITEONBLACK) of the pixel values.
enum class Merge { Sample, And, Or };

Merge MergeFor(int stretchMode) {
    if (stretchMode == BLACKONWHITE) return Merge::And;
    if (stretchMode == WHITEONBLACK) return Merge::Or;
    return Merge::Sample;
}

void MergeInto(Merge merge, uint32_t* into, const uint32_t* from, int n) {
    if (merge == Merge::And) {
        for (int i = 0; i < n; ++i) into[i] &= from[i];
    } else {
        for (int i = 0; i < n; ++i) into[i] |= from[i];
    }
}

// Loads, converts and merges horizontally source row sy for destination
// pixels xs[0 .. n): raw holds the columns from low on.
void LoadStretchedRow(const Blit& blit, const StretchAxis& xAxis, int offset, int n, int low,
                      int high, int sy, Merge merge, uint32_t* raw, uint32_t* out) {
    blit.source->ops->loadRow(*blit.source, low, sy, high - low + 1, raw);
    blit.converter->Convert(raw, high - low + 1);
    const int* his = xAxis.hi.data() + offset;
    if (merge == Merge::Sample || !xAxis.shrinks) {
        for (int i = 0; i < n; ++i) out[i] = raw[his[i] - low];
        return;
    }
    const int* los = xAxis.lo.data() + offset;
    for (int i = 0; i < n; ++i) {
        uint32_t value = raw[los[i] - low];
        for (int x = los[i] + 1; x <= his[i]; ++x) {
            value = merge == Merge::And ? value & raw[x - low] : value | raw[x - low];
        }
        out[i] = value;
    }
}

void StretchPart(const Blit& blit, const RECT& part, const RECT& destRect, const StretchAxis& xAxis,
                 const StretchAxis& yAxis, Merge merge) {
    const int n = part.right - part.left;
    const int offset = part.left - destRect.left;
    int low = xAxis.lo[offset], high = xAxis.hi[offset];
    for (int i = 1; i < n; ++i) {
        low = std::min(low, xAxis.lo[offset + i]);
        high = std::max(high, xAxis.hi[offset + i]);
    }
    uint32_t* raw = Buffer(3, high - low + 1).data();
    uint32_t* source = Buffer(0, n).data();
    const bool mergeRows = merge != Merge::Sample && yAxis.shrinks;
    std::vector<uint32_t> other(mergeRows ? n : 0);
    int loaded = -1;
    for (int y = part.top; y < part.bottom; ++y) {
        const int row = y - destRect.top;
        // Deleting scans keeps the first row of a group (and the last column).
        const int sy = yAxis.lo[row];
        if (mergeRows) {
            LoadStretchedRow(blit, xAxis, offset, n, low, high, sy, merge, raw, source);
            for (int r = sy + 1; r <= yAxis.hi[row]; ++r) {
                LoadStretchedRow(blit, xAxis, offset, n, low, high, r, merge, raw, other.data());
                MergeInto(merge, source, other.data(), n);
            }
        } else if (sy != loaded) {
            LoadStretchedRow(blit, xAxis, offset, n, low, high, sy, merge, raw, source);
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
    StretchAxis xAxis = StretchMap(width, xSrc + src->origin.x, srcWidth, flipDx != flipSx);
    StretchAxis yAxis = StretchMap(height, ySrc + src->origin.y, srcHeight, flipDy != flipSy);
    int firstX, lastX, firstY, lastY;
    ValidRange(xAxis, source.width, firstX, lastX);
    ValidRange(yAxis, source.height, firstY, lastY);
    const RECT valid{destRect.left + firstX, destRect.top + firstY, destRect.left + lastX,
                     destRect.top + lastY};
    const SourceConverter converter(*dest, source, src);
    RealisedBrush brush;
    PrepareBrush(*dest, index, brush);
    Blit blit{dest, &source, &converter, RopUsesPattern(index) ? &brush : nullptr, index};
    ForEachClipped(*dest, valid, [&](const RECT& part) {
        StretchPart(blit, part, destRect, xAxis, yAxis, MergeFor(dest->stretchMode));
    });
    NoteDrawn(*dest);
    return TRUE;
}
