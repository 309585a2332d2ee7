// DIBs: checked headers, rows as colours, and CreateDIBitmap, GetDIBits,
// SetDIBits and StretchDIBits.
#include "platform/gdi/dib.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/raster.h"
#include "platform/print/printer.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

constexpr int kMaxSide = 32767;

uint32_t Read32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

int MaskShift(uint32_t mask) { return mask == 0 ? 0 : __builtin_ctz(mask); }
int MaskBits(uint32_t mask) { return __builtin_popcount(mask); }

// Scales a masked channel to 8 bits.
uint32_t Channel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    const uint32_t v = (value & mask) >> MaskShift(mask);
    const int bits = MaskBits(mask);
    if (bits >= 8) return v >> (bits - 8);
    return (v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1);
}

bool MasksValid(const uint32_t masks[3], int bitCount) {
    for (int i = 0; i < 3; ++i) {
        const uint32_t m = masks[i];
        if (m == 0) return false;
        if (bitCount == 16 && m > 0xFFFF) return false;
        // One run of contiguous bits.
        if (((m >> MaskShift(m)) & ((m >> MaskShift(m)) + 1)) != 0) return false;
    }
    return (masks[0] & masks[1]) == 0 && (masks[1] & masks[2]) == 0 && (masks[0] & masks[2]) == 0;
}

bool ReadColourTable(const uint8_t* table, size_t available, size_t count, size_t entrySize,
                     UINT usage, const DeviceContext* dc, DibFormat& format) {
    if (count * entrySize > available) return false;
    const PaletteObject* palette = nullptr;
    if (usage == DIB_PAL_COLORS) {
        palette = dc != nullptr ? SelectedPalette(*dc)
                                : FindObjectOf<PaletteObject>(Stock(DEFAULT_PALETTE), OBJ_PAL);
        if (palette == nullptr || palette->entries.empty()) return false;
    }
    format.colours.assign(size_t{1} << format.bitCount, RGBQUAD{0, 0, 0, 0});
    for (size_t i = 0; i < count && i < format.colours.size(); ++i) {
        if (usage == DIB_PAL_COLORS) {
            const size_t index = Read16(table + i * 2) % palette->entries.size();
            const PALETTEENTRY& e = palette->entries[index];
            format.colours[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        } else {
            const uint8_t* q = table + i * entrySize;
            format.colours[i] = RGBQUAD{q[0], q[1], q[2], 0};
        }
    }
    return true;
}

bool ParseCore(const uint8_t* p, size_t available, UINT usage, const DeviceContext* dc,
               DibFormat& format) {
    if (available < sizeof(BITMAPCOREHEADER)) return false;
    format.width = Read16(p + 4);
    format.height = Read16(p + 6);
    format.bitCount = Read16(p + 10);
    if (Read16(p + 8) != 1 || format.width < 1 || format.height < 1) return false;
    if (format.bitCount != 1 && format.bitCount != 4 && format.bitCount != 8 && format.bitCount != 24) {
        return false;
    }
    const size_t entries = format.bitCount <= 8 ? size_t{1} << format.bitCount : 0;
    const size_t entrySize = usage == DIB_PAL_COLORS ? 2 : 3;
    format.headerBytes = 12 + entries * entrySize;
    return entries == 0 ||
           ReadColourTable(p + 12, available - 12, entries, entrySize, usage, dc, format);
}

}  // namespace

bool ParseDibInfo(const void* info, size_t available, UINT usage, const DeviceContext* dc,
                  DibFormat& format) {
    format = DibFormat{};
    if (info == nullptr || available < 4 || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) {
        return false;
    }
    const uint8_t* p = static_cast<const uint8_t*>(info);
    const uint32_t size = Read32(p);
    if (size == sizeof(BITMAPCOREHEADER)) {
        if (!ParseCore(p, available, usage, dc, format)) return false;
    } else {
        if (size < sizeof(BITMAPINFOHEADER) || size > 124 || available < size) return false;
        const int32_t width = static_cast<int32_t>(Read32(p + 4));
        const int32_t height = static_cast<int32_t>(Read32(p + 8));
        if (Read16(p + 12) != 1) return false;
        format.bitCount = Read16(p + 14);
        format.compression = Read32(p + 16);
        const uint32_t used = Read32(p + 32);
        if (width < 1 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide) {
            return false;
        }
        format.width = width;
        format.height = height < 0 ? -height : height;
        format.topDown = height < 0;
        const int b = format.bitCount;
        if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return false;
        size_t offset = size;
        if (format.compression == BI_BITFIELDS) {
            if (b != 16 && b != 32) return false;
            if (size < 52) {
                if (available < size + 12) return false;
                offset += 12;
            }
            for (int i = 0; i < 3; ++i) format.masks[i] = Read32(p + 40 + 4 * i);
            if (!MasksValid(format.masks, b)) return false;
        } else if (format.compression == BI_RGB) {
            if (b == 16) {
                format.masks[0] = 0x7C00, format.masks[1] = 0x03E0, format.masks[2] = 0x001F;
            } else if (b == 32) {
                format.masks[0] = 0xFF0000, format.masks[1] = 0xFF00, format.masks[2] = 0xFF;
            }
        } else {
            return false;  // RLE and the rest are not drawn here.
        }
        size_t entries = 0;
        if (b <= 8) {
            if (used > (1u << b)) return false;
            entries = used == 0 ? size_t{1} << b : used;
        }
        const size_t entrySize = usage == DIB_PAL_COLORS ? 2 : 4;
        format.headerBytes = offset + entries * entrySize;
        if (entries > 0 &&
            !ReadColourTable(p + offset, available - offset, entries, entrySize, usage, dc, format)) {
            return false;
        }
    }
    format.rowBytes = DibRowBytes(format.width, format.bitCount);
    format.imageBytes = static_cast<size_t>(format.rowBytes) * format.height;
    return true;
}

void ReadDibRow(const DibFormat& format, const uint8_t* bits, int row, int x, int count,
                uint32_t* rgb) {
    const int stored = format.topDown ? row : format.height - 1 - row;
    ReadDibLine(format, bits + static_cast<size_t>(stored) * format.rowBytes, x, count, rgb);
}

void ReadDibLine(const DibFormat& format, const uint8_t* line, int x, int count, uint32_t* rgb) {
    auto quad = [&](size_t index) {
        const RGBQUAD& q = format.colours[index];
        return (uint32_t{q.rgbRed} << 16) | (q.rgbGreen << 8) | q.rgbBlue;
    };
    for (int i = 0; i < count; ++i) {
        const int px = x + i;
        switch (format.bitCount) {
            case 1: rgb[i] = quad((line[px >> 3] >> (7 - (px & 7))) & 1); break;
            case 4: rgb[i] = quad((line[px >> 1] >> (px & 1 ? 0 : 4)) & 0xF); break;
            case 8: rgb[i] = quad(line[px]); break;
            case 24:
                rgb[i] = (uint32_t{line[px * 3 + 2]} << 16) | (line[px * 3 + 1] << 8) | line[px * 3];
                break;
            default: {
                const uint32_t v = format.bitCount == 16 ? Read16(line + px * 2) : Read32(line + px * 4);
                rgb[i] = (Channel(v, format.masks[0]) << 16) | (Channel(v, format.masks[1]) << 8) |
                         Channel(v, format.masks[2]);
            }
        }
    }
}

// Writes rgb colours (or indexes) into one stored DIB line; colours are matched
// to the nearest entry of matcher's table below 16 bits.
static void WriteDibLine(const DibFormat& format, uint8_t* line, const uint32_t* values,
                         bool valuesAreIndexes, const Surface& matcher) {
    std::memset(line, 0, format.rowBytes);
    for (int px = 0; px < format.width; ++px) {
        const uint32_t v = valuesAreIndexes || format.bitCount > 8 ? values[px]
                                                                   : NearestPixel(matcher, values[px]);
        switch (format.bitCount) {
            case 1: line[px >> 3] = static_cast<uint8_t>(line[px >> 3] | ((v & 1) << (7 - (px & 7)))); break;
            case 4: line[px >> 1] = static_cast<uint8_t>(line[px >> 1] | ((v & 0xF) << (px & 1 ? 0 : 4))); break;
            case 8: line[px] = static_cast<uint8_t>(v); break;
            case 16: {
                const uint16_t w = static_cast<uint16_t>((((v >> 19) & 0x1F) << 10) | (((v >> 11) & 0x1F) << 5) | ((v >> 3) & 0x1F));
                line[px * 2] = static_cast<uint8_t>(w);
                line[px * 2 + 1] = static_cast<uint8_t>(w >> 8);
                break;
            }
            case 24:
                line[px * 3] = static_cast<uint8_t>(v);
                line[px * 3 + 1] = static_cast<uint8_t>(v >> 8);
                line[px * 3 + 2] = static_cast<uint8_t>(v >> 16);
                break;
            default: std::memcpy(line + px * 4, &v, 4); break;
        }
    }
}

bool DibToSurface(const DibFormat& format, const uint8_t* bits, const DeviceContext& dc,
                  Surface& surface) {
    const Surface& like = *dc.surface;
    if (!InitSurface(surface, format.width, format.height, like.bitsPerPixel)) return false;
    surface.colours = like.colours;
    surface.usesSystemPalette = like.usesSystemPalette;
    std::vector<uint32_t> row(format.width);
    // Matches found so far, by a hash of the colour: a true-colour picture
    // has far fewer colours than pixels, and each match searches the palette.
    std::vector<uint64_t> matches(like.bitsPerPixel <= 8 ? 4096 : 0, ~uint64_t{0});
    for (int y = 0; y < format.height; ++y) {
        ReadDibRow(format, bits, y, 0, format.width, row.data());
        if (like.bitsPerPixel <= 8) {
            for (uint32_t& v : row) {
                uint64_t& slot = matches[(v ^ (v >> 12) ^ (v >> 20)) & 4095];
                if ((slot >> 32) != v) {
                    const uint32_t value =
                        like.bitsPerPixel == 1 ? NearestPixel(like, v) : MatchPaletteColour(dc, v);
                    slot = (uint64_t{v} << 32) | value;
                }
                v = static_cast<uint32_t>(slot);
            }
        }
        surface.ops->storeRow(surface, 0, y, format.width, row.data());
    }
    return true;
}

}  // namespace platform::gdi

using namespace platform::gdi;

namespace {

// The size of a BITMAPINFO the caller hands us: trusted as Windows trusts it.
constexpr size_t kTrusted = sizeof(BITMAPINFOHEADER) + 12 + 256 * sizeof(RGBQUAD);

// Writes the DIB rows of [start, start + lines) into bitmap from format.
int WriteRows(DeviceContext* dc, BitmapObject& bitmap, UINT start, UINT lines, const uint8_t* bits,
              const DibFormat& format) {
    Surface& surface = bitmap.surface;
    DeviceContext matcher = dc != nullptr ? *dc : DeviceContext{};
    matcher.surface = &surface;
    std::vector<uint32_t> row(format.width);
    int written = 0;
    const int first = static_cast<int>(std::min<UINT>(start, format.height));
    const int last = static_cast<int>(std::min<uint64_t>(uint64_t{start} + lines, format.height));
    const int width = std::min(format.width, surface.width);
    for (int r = first; r < last; ++r) {
        // Scan lines count from the bottom of a bottom-up DIB; the bits hold
        // the band from start on.
        const int y = format.topDown ? r : format.height - 1 - r;
        if (y >= surface.height) continue;
        ReadDibLine(format, bits + static_cast<size_t>(r - start) * format.rowBytes, 0, width,
                    row.data());
        for (int x = 0; x < width; ++x) {
            row[x] = surface.bitsPerPixel == 1   ? NearestPixel(surface, row[x])
                     : surface.bitsPerPixel == 8 ? MatchPaletteColour(matcher, row[x])
                                                 : row[x];
        }
        surface.ops->storeRow(surface, 0, y, width, row.data());
        ++written;
    }
    return written;
}

}  // namespace

HBITMAP WINAPI CreateDIBitmap(HDC handle, const BITMAPINFOHEADER* header, DWORD init,
                              const void* bits, const BITMAPINFO* info, UINT usage) {
    if (header == nullptr) return nullptr;
    const int height = header->biSize == sizeof(BITMAPCOREHEADER)
                           ? reinterpret_cast<const BITMAPCOREHEADER*>(header)->bcHeight
                           : std::abs(header->biHeight);
    const int width = header->biSize == sizeof(BITMAPCOREHEADER)
                          ? reinterpret_cast<const BITMAPCOREHEADER*>(header)->bcWidth
                          : header->biWidth;
    HBITMAP bitmap = CreateCompatibleBitmap(handle, width, height);
    if (bitmap == nullptr || (init & CBM_INIT) == 0) return bitmap;
    DibFormat format;
    DeviceContext* dc = LookupDC(handle);
    if (bits == nullptr || !ParseDibInfo(info, kTrusted, usage, dc, format)) {
        DeleteObject(bitmap);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    WriteRows(dc, *FindObjectOf<BitmapObject>(bitmap, OBJ_BITMAP), 0, format.height,
              static_cast<const uint8_t*>(bits), format);
    return bitmap;
}

int WINAPI SetDIBits(HDC handle, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
                     const BITMAPINFO* info, UINT usage) {
    BitmapObject* object = FindObjectOf<BitmapObject>(bitmap, OBJ_BITMAP);
    DibFormat format;
    if (object == nullptr || object->stock || bits == nullptr ||
        !ParseDibInfo(info, kTrusted, usage, LookupDC(handle), format)) {
        return 0;
    }
    return WriteRows(LookupDC(handle), *object, start, lines, static_cast<const uint8_t*>(bits), format);
}

namespace {

// Completes a header for the bitmap's own format when the caller left it open.
void FillHeader(BITMAPINFOHEADER& h, const Surface& surface) {
    h.biWidth = surface.width;
    h.biHeight = surface.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(surface.bitsPerPixel);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(DibRowBytes(surface.width, surface.bitsPerPixel) * surface.height);
    h.biXPelsPerMeter = h.biYPelsPerMeter = 0;
    h.biClrUsed = h.biClrImportant = 0;
}

std::vector<RGBQUAD> TableFor(int bitCount, const Surface& surface, const DeviceContext* dc) {
    if (surface.bitsPerPixel == bitCount) return surface.ColourTable();
    if (bitCount == 1) return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    std::vector<RGBQUAD> table(size_t{1} << bitCount, RGBQUAD{0, 0, 0, 0});
    if (bitCount == 4) {
        // The sixteen VGA colours: the static colours without their four extras.
        const std::vector<RGBQUAD>& system = SystemPalette();
        const int places[16] = {0, 1, 2, 3, 4, 5, 6, 7, 248, 249, 250, 251, 252, 253, 254, 255};
        for (int i = 0; i < 16; ++i) table[i] = system[places[i]];
        table[7] = RGBQUAD{192, 192, 192, 0};
        return table;
    }
    const PaletteObject* palette = dc != nullptr ? SelectedPalette(*dc) : nullptr;
    if (palette != nullptr && palette->entries.size() > 20) {
        for (size_t i = 0; i < palette->entries.size() && i < 256; ++i) {
            const PALETTEENTRY& e = palette->entries[i];
            table[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        }
        return table;
    }
    return SystemPalette();
}

}  // namespace

int WINAPI GetDIBits(HDC handle, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits,
                     LPBITMAPINFO info, UINT usage) {
    const BitmapObject* object = FindObjectOf<BitmapObject>(bitmap, OBJ_BITMAP);
    const DeviceContext* dc = LookupDC(handle);
    if (object == nullptr || info == nullptr || usage != DIB_RGB_COLORS ||
        info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
        return 0;
    }
    const Surface& surface = object->surface;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount == 0) {
        FillHeader(h, surface);
        return bits == nullptr ? 1 : 0;
    }
    const WORD b = h.biBitCount;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return 0;
    if (h.biWidth <= 0 || h.biHeight == 0) {
        h.biWidth = surface.width;
        h.biHeight = surface.height;
    }
    h.biPlanes = 1;
    h.biCompression = BI_RGB;
    h.biClrUsed = 0;
    DibFormat format;
    format.width = h.biWidth;
    format.height = std::abs(h.biHeight);
    format.topDown = h.biHeight < 0;
    format.bitCount = b;
    format.rowBytes = DibRowBytes(format.width, b);
    h.biSizeImage = static_cast<DWORD>(format.rowBytes * format.height);
    Surface matcher;
    if (b <= 8) {
        std::vector<RGBQUAD> table = TableFor(b, surface, dc);
        std::copy(table.begin(), table.end(), info->bmiColors);
        matcher.bitsPerPixel = 8;
        matcher.colours = std::move(table);
    }
    if (bits == nullptr) return format.height;
    const bool sameIndexes = b == surface.bitsPerPixel && b <= 8;
    std::vector<uint32_t> row(format.width, 0);
    int copied = 0;
    const int last = static_cast<int>(std::min<uint64_t>(uint64_t{start} + lines, format.height));
    for (int r = static_cast<int>(start); r < last; ++r) {
        const int y = format.topDown ? r : format.height - 1 - r;
        std::fill(row.begin(), row.end(), 0);
        const int width = std::min(format.width, surface.width);
        if (y < surface.height) {
            surface.ops->loadRow(surface, 0, y, width, row.data());
            if (!sameIndexes) {
                for (int x = 0; x < width; ++x) row[x] = PixelToRgb(surface, row[x]);
            }
        }
        // The bits hold the band of scan lines from start on.
        WriteDibLine(format, static_cast<uint8_t*>(bits) + static_cast<size_t>(r - start) * format.rowBytes,
                     row.data(), sameIndexes, matcher);
        ++copied;
    }
    return copied;
}

int WINAPI StretchDIBits(HDC handle, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                         int ySrc, int srcWidth, int srcHeight, const void* bits,
                         const BITMAPINFO* info, UINT usage, DWORD rop) {
    DeviceContext* dc = LookupDC(handle);
    DibFormat format;
    if (dc == nullptr || dc->surface == nullptr || bits == nullptr ||
        !ParseDibInfo(info, kTrusted, usage, dc, format)) {
        return 0;
    }
    if (dc->printer != nullptr) {
        return platform::print::PrintDib(*dc->printer, xDest, yDest, destWidth, destHeight, xSrc,
                                         ySrc, srcWidth, srcHeight, format,
                                         static_cast<const uint8_t*>(bits), rop);
    }
    DeviceContext source;
    Surface picture;
    if (!DibToSurface(format, static_cast<const uint8_t*>(bits), *dc, picture)) return 0;
    source.surface = &picture;
    source.clip = {RECT{0, 0, picture.width, picture.height}};
    source.bkColour = dc->bkColour;
    source.palette = dc->palette;
    HDC temporary = CreateDeviceContext(source);
    // A bottom-up DIB counts ySrc from its bottom row.
    const int top = format.topDown ? ySrc : format.height - ySrc - srcHeight;
    const BOOL done = StretchBlt(handle, xDest, yDest, destWidth, destHeight, temporary, xSrc, top,
                                 srcWidth, srcHeight, rop);
    DestroyDeviceContext(temporary);
    return done ? std::abs(srcHeight) : 0;
}
