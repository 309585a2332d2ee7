// Bitmaps: device-dependent bitmaps at 1, 8 and 32 bits, DIB sections whose
// memory the caller writes, and GetObjectA.
#include <algorithm>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/raster.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

HBITMAP MakeBitmap(int width, int height, int bitsPerPixel) {
    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->kind = OBJ_BITMAP;
    if (!InitSurface(bitmap->surface, width, height, bitsPerPixel)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return static_cast<HBITMAP>(RegisterObject(std::move(bitmap)));
}

// Copies caller rows (word-aligned, as CreateBitmap takes them) into a bitmap.
void LoadWordAlignedRows(Surface& surface, int givenBits, const uint8_t* bits) {
    const size_t rowBytes = ((static_cast<size_t>(surface.width) * givenBits + 15) / 16) * 2;
    std::vector<uint32_t> row(surface.width);
    for (int y = 0; y < surface.height; ++y) {
        const uint8_t* line = bits + rowBytes * y;
        if (givenBits == surface.bitsPerPixel && givenBits != 24) {
            std::memcpy(surface.RowBytes(y), line, std::min<size_t>(rowBytes, surface.stride));
            continue;
        }
        for (int x = 0; x < surface.width; ++x) {
            const uint8_t* p = line + x * (givenBits / 8);
            row[x] = givenBits == 16 ? ((((p[1] << 8 | p[0]) >> 10) & 0x1F) << 19) |
                                           ((((p[1] << 8 | p[0]) >> 5) & 0x1F) << 11) |
                                           (((p[1] << 8 | p[0]) & 0x1F) << 3)
                                     : (uint32_t{p[2]} << 16) | (p[1] << 8) | p[0];
        }
        surface.ops->storeRow(surface, 0, y, surface.width, row.data());
    }
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || width < 0 || height < 0 ||
        (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
         bitsPerPixel != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0) return DefaultBitmap();
    const int depth = bitsPerPixel <= 8 ? static_cast<int>(bitsPerPixel) : 32;
    HBITMAP bitmap = MakeBitmap(width, height, depth);
    if (bitmap != nullptr && bits != nullptr) {
        LoadWordAlignedRows(FindObjectOf<BitmapObject>(bitmap, OBJ_BITMAP)->surface,
                            static_cast<int>(bitsPerPixel), static_cast<const uint8_t*>(bits));
    }
    return bitmap;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC handle, int width, int height) {
    const DeviceContext* dc = LookupDC(handle);
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0) return DefaultBitmap();
    // A memory context makes bitmaps like the one it holds; any other like the
    // display.
    if (dc == nullptr || !dc->memory || dc->surface == nullptr) {
        return MakeBitmap(width, height, Display().bitsPerPixel);
    }
    const Surface& like = *dc->surface;
    HBITMAP bitmap = MakeBitmap(width, height, like.bitsPerPixel == 24 ? 32 : like.bitsPerPixel);
    if (bitmap != nullptr && like.bitsPerPixel == 8 && !like.usesSystemPalette) {
        Surface& surface = FindObjectOf<BitmapObject>(bitmap, OBJ_BITMAP)->surface;
        surface.colours = like.colours;
        surface.usesSystemPalette = false;
    }
    return bitmap;
}

HBITMAP WINAPI CreateDIBSection(HDC handle, const BITMAPINFO* info, UINT usage, void** bits,
                                HANDLE section, DWORD) {
    if (bits != nullptr) *bits = nullptr;
    DibFormat format;
    if (section != nullptr ||
        !ParseDibInfo(info, sizeof(BITMAPINFOHEADER) + 12 + 256 * sizeof(RGBQUAD), usage,
                      LookupDC(handle), format) ||
        format.compression != BI_RGB ||
        (format.bitCount != 1 && format.bitCount != 8 && format.bitCount != 24 &&
         format.bitCount != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->kind = OBJ_BITMAP;
    bitmap->dibSection = true;
    bitmap->dibHeader = info->bmiHeader;
    bitmap->dibHeader.biSizeImage = static_cast<DWORD>(format.imageBytes);
    bitmap->dibHeader.biCompression = BI_RGB;
    try {
        bitmap->dibMemory.assign(format.imageBytes, 0);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    AttachSurface(bitmap->surface, format.width, format.height, format.bitCount,
                  bitmap->dibMemory.data(), format.rowBytes, !format.topDown);
    bitmap->surface.colours = format.colours;
    if (bits != nullptr) *bits = bitmap->dibMemory.data();
    return static_cast<HBITMAP>(RegisterObject(std::move(bitmap)));
}

int WINAPI GetObjectA(HANDLE handle, int size, LPVOID buffer) {
    GdiObject* object = FindObject(handle);
    if (object == nullptr) return 0;
    auto give = [&](const void* data, int bytes) {
        if (buffer == nullptr) return bytes;
        const int n = std::min(size, bytes);
        if (n <= 0) return 0;
        std::memcpy(buffer, data, n);
        return n;
    };
    switch (object->kind) {
        case OBJ_BITMAP: {
            const BitmapObject* bitmap = static_cast<BitmapObject*>(object);
            const Surface& s = bitmap->surface;
            DIBSECTION dib{};
            dib.dsBm.bmWidth = s.width;
            dib.dsBm.bmHeight = s.height;
            dib.dsBm.bmPlanes = 1;
            dib.dsBm.bmBitsPixel = static_cast<WORD>(s.bitsPerPixel);
            if (bitmap->dibSection) {
                dib.dsBm.bmWidthBytes = DibRowBytes(s.width, s.bitsPerPixel);
                dib.dsBm.bmBits = const_cast<uint8_t*>(bitmap->dibMemory.data());
                dib.dsBmih = bitmap->dibHeader;
                if (buffer == nullptr || size >= static_cast<int>(sizeof(DIBSECTION))) {
                    return give(&dib, sizeof(DIBSECTION));
                }
            } else {
                dib.dsBm.bmWidthBytes = static_cast<LONG>(((s.width * s.bitsPerPixel + 15) / 16) * 2);
            }
            return give(&dib.dsBm, sizeof(BITMAP));
        }
        case OBJ_PEN: {
            const PenObject* pen = static_cast<PenObject*>(object);
            const LOGPEN logPen{pen->style, POINT{pen->width, 0}, pen->colour};
            return give(&logPen, sizeof(LOGPEN));
        }
        case OBJ_BRUSH: {
            const BrushObject* brush = static_cast<BrushObject*>(object);
            const LOGBRUSH logBrush{brush->style, brush->colour, 0};
            return give(&logBrush, sizeof(LOGBRUSH));
        }
        case OBJ_PAL: {
            const WORD count = static_cast<WORD>(static_cast<PaletteObject*>(object)->entries.size());
            return give(&count, sizeof(WORD));
        }
        default: return 0;
    }
}
