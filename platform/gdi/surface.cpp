// Surfaces in the engine's formats and the table of pixel operations of each
// format, written once as templates over the format.
#include <malloc.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "platform/gdi/dc.h"

namespace platform::gdi {
namespace {

template <int Bpp>
struct Format;

template <>
struct Format<1> {
    static constexpr uint32_t kMask = 1;
    static uint32_t Get(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }
    static void Set(uint8_t* row, int x, uint32_t v) {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>(v & 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
    }
    static void Fill(uint8_t* row, int left, int right, uint32_t andMask, uint32_t xorMask) {
        const uint8_t a = andMask & 1 ? 0xFF : 0x00;
        const uint8_t x = xorMask & 1 ? 0xFF : 0x00;
        while (left < right && (left & 7) != 0) {
            Set(row, left, (Get(row, left) & a & 1) ^ (x & 1));
            ++left;
        }
        while (right - left >= 8) {
            row[left >> 3] = static_cast<uint8_t>((row[left >> 3] & a) ^ x);
            left += 8;
        }
        for (; left < right; ++left) Set(row, left, (Get(row, left) & a & 1) ^ (x & 1));
    }
};

template <>
struct Format<8> {
    static constexpr uint32_t kMask = 0xFF;
    static uint32_t Get(const uint8_t* row, int x) { return row[x]; }
    static void Set(uint8_t* row, int x, uint32_t v) { row[x] = static_cast<uint8_t>(v); }
    static void Fill(uint8_t* row, int left, int right, uint32_t andMask, uint32_t xorMask) {
        if ((andMask & kMask) == 0) {
            std::memset(row + left, static_cast<int>(xorMask & kMask), right - left);
            return;
        }
        for (int x = left; x < right; ++x) row[x] = static_cast<uint8_t>((row[x] & andMask) ^ xorMask);
    }
};

template <>
struct Format<24> {
    static constexpr uint32_t kMask = 0xFFFFFF;
    static uint32_t Get(const uint8_t* row, int x) {
        const uint8_t* p = row + x * 3;
        return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
    }
    static void Set(uint8_t* row, int x, uint32_t v) {
        uint8_t* p = row + x * 3;
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
    }
    static void Fill(uint8_t* row, int left, int right, uint32_t andMask, uint32_t xorMask) {
        for (int x = left; x < right; ++x) Set(row, x, (Get(row, x) & andMask) ^ xorMask);
    }
};

template <>
struct Format<32> {
    static constexpr uint32_t kMask = 0xFFFFFF;
    static uint32_t Get(const uint8_t* row, int x) {
        return reinterpret_cast<const uint32_t*>(row)[x] & kMask;
    }
    static void Set(uint8_t* row, int x, uint32_t v) { reinterpret_cast<uint32_t*>(row)[x] = v; }
    static void Fill(uint8_t* row, int left, int right, uint32_t andMask, uint32_t xorMask) {
        uint32_t* p = reinterpret_cast<uint32_t*>(row);
        if ((andMask & kMask) == 0) {
            std::fill(p + left, p + right, xorMask & kMask);
            return;
        }
        for (int x = left; x < right; ++x) p[x] = ((p[x] & andMask) ^ xorMask) & kMask;
    }
};

template <int Bpp>
struct Ops {
    using F = Format<Bpp>;
    static uint32_t GetPixel(const Surface& s, int x, int y) { return F::Get(s.RowBytes(y), x); }
    static void SetPixel(Surface& s, int x, int y, uint32_t v) { F::Set(s.RowBytes(y), x, v); }
    static void LoadRow(const Surface& s, int x, int y, int count, uint32_t* values) {
        const uint8_t* row = s.RowBytes(y);
        if constexpr (Bpp == 32) {
            const uint32_t* p = reinterpret_cast<const uint32_t*>(row) + x;
            for (int i = 0; i < count; ++i) values[i] = p[i] & F::kMask;
        } else {
            for (int i = 0; i < count; ++i) values[i] = F::Get(row, x + i);
        }
    }
    static void StoreRow(Surface& s, int x, int y, int count, const uint32_t* values) {
        uint8_t* row = s.RowBytes(y);
        if constexpr (Bpp == 32) {
            std::memcpy(reinterpret_cast<uint32_t*>(row) + x, values, sizeof(uint32_t) * count);
        } else {
            for (int i = 0; i < count; ++i) F::Set(row, x + i, values[i]);
        }
    }
    static void FillMasked(Surface& s, int y, int left, int right, uint32_t a, uint32_t x) {
        F::Fill(s.RowBytes(y), left, right, a, x);
    }
    static constexpr PixelOps kTable{Bpp,      F::kMask, GetPixel, SetPixel,
                                     LoadRow, StoreRow, FillMasked};
};

std::vector<RGBQUAD> MonoTable() { return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}}; }

uint32_t QuadToRgb(const RGBQUAD& q) {
    return (static_cast<uint32_t>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue;
}

}  // namespace

const PixelOps& OpsFor(int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1: return Ops<1>::kTable;
        case 8: return Ops<8>::kTable;
        case 24: return Ops<24>::kTable;
        default: return Ops<32>::kTable;
    }
}

const std::vector<RGBQUAD>& Surface::ColourTable() const {
    return usesSystemPalette ? SystemPalette() : colours;
}

int DibRowBytes(int width, int bitsPerPixel) {
    return static_cast<int>(((static_cast<int64_t>(width) * bitsPerPixel + 31) / 32) * 4);
}

namespace {

// Sheet-sized work bitmaps are made and freed many times a second by fills and
// effects. Kept in the heap rather than mapped afresh each time, their memory
// is reused without a page fault on every touch.
void KeepLargeBlocksInTheHeap() {
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, 64 << 20);
        mallopt(M_TRIM_THRESHOLD, 128 << 20);
        return true;
    }();
    (void)done;
}

}  // namespace

bool InitSurface(Surface& surface, int width, int height, int bitsPerPixel) {
    KeepLargeBlocksInTheHeap();
    if (width < 1 || height < 1 || width > 32767 || height > 32767) return false;
    if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) {
        return false;
    }
    const int rowBytes = DibRowBytes(width, bitsPerPixel);
    try {
        surface.storage.assign(static_cast<size_t>(rowBytes) * height, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    surface.width = width;
    surface.height = height;
    surface.bitsPerPixel = bitsPerPixel;
    surface.stride = rowBytes;
    surface.bits = surface.storage.data();
    surface.ops = &OpsFor(bitsPerPixel);
    surface.usesSystemPalette = bitsPerPixel == 8;
    surface.colours = bitsPerPixel == 1 ? MonoTable() : std::vector<RGBQUAD>{};
    return true;
}

void AttachSurface(Surface& surface, int width, int height, int bitsPerPixel, uint8_t* memory,
                   int rowBytes, bool bottomUp) {
    surface.storage.clear();
    surface.width = width;
    surface.height = height;
    surface.bitsPerPixel = bitsPerPixel;
    surface.stride = bottomUp ? -rowBytes : rowBytes;
    surface.bits = bottomUp ? memory + static_cast<ptrdiff_t>(height - 1) * rowBytes : memory;
    surface.ops = &OpsFor(bitsPerPixel);
    surface.usesSystemPalette = false;
}

bool CopySurface(Surface& dest, const Surface& source) {
    if (!InitSurface(dest, source.width, source.height, source.bitsPerPixel)) return false;
    const size_t rowBytes = static_cast<size_t>(std::abs(source.stride));
    for (int y = 0; y < source.height; ++y) {
        std::memcpy(dest.RowBytes(y), source.RowBytes(y), std::min<size_t>(rowBytes, dest.stride));
    }
    dest.colours = source.colours;
    dest.usesSystemPalette = source.usesSystemPalette;
    return true;
}

uint32_t NearestPixel(const Surface& surface, uint32_t rgb) {
    if (surface.bitsPerPixel > 8) return rgb & 0xFFFFFF;
    const std::vector<RGBQUAD>& table = surface.ColourTable();
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    if (surface.usesSystemPalette && table.size() == 256) {
        // A colour that is one of the twenty static colours takes its static
        // place, as GDI maps plain colours, even when the middle of the
        // palette holds the same colour too.
        for (size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255}) {
            if (table[i].rgbRed == r && table[i].rgbGreen == g && table[i].rgbBlue == b) {
                return static_cast<uint32_t>(i);
            }
        }
    }
    uint32_t best = 0;
    int bestDistance = INT_MAX;
    const size_t limit = std::min<size_t>(table.size(), size_t{1} << surface.bitsPerPixel);
    for (size_t i = 0; i < limit; ++i) {
        const int dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<uint32_t>(i);
            if (distance == 0) break;
        }
    }
    return best;
}

uint32_t PixelToRgb(const Surface& surface, uint32_t value) {
    if (surface.bitsPerPixel > 8) return value & 0xFFFFFF;
    const std::vector<RGBQUAD>& table = surface.ColourTable();
    return value < table.size() ? QuadToRgb(table[value]) : 0;
}

void WriteRgb(Surface& surface, int x, int y, uint32_t rgb) {
    surface.ops->setPixel(surface, x, y, NearestPixel(surface, rgb));
}

uint32_t ReadRgb(const Surface& surface, int x, int y) {
    return PixelToRgb(surface, surface.ops->getPixel(surface, x, y));
}

}  // namespace platform::gdi
