// Picture files: capture and drawing of packed DIB blocks, the writer, and
// the checked reader.
#include "storage/picture_files.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/surface.h"
#include "shell/app.h"
#include "shell/memory.h"
#include "storage/dib_reader.h"
#include "storage/files.h"

namespace {

constexpr DWORD kFileHeaderSize = 14;
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kCoreHeaderSize = 12;

uint32_t Read32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void Write32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

// A movable block locked for the life of the object.
class LockedBlock {
public:
    explicit LockedBlock(HGLOBAL block)
        : m_block(block), m_data(static_cast<uint8_t*>(LockGlobal(block))) {}
    ~LockedBlock() {
        if (m_data != nullptr) GlobalUnlock(m_block);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;

    uint8_t* Data() const { return m_data; }

private:
    HGLOBAL m_block;
    uint8_t* m_data;
};

// Grows block to size; on failure the block is freed and null returned.
HGLOBAL GrowOrFree(HGLOBAL block, size_t size) {
    HGLOBAL grown = ReallocGlobal(block, size, nullptr);
    if (grown == nullptr) GlobalFree(block);
    return grown;
}

// Fills a header for the bitmap and the depth asked for, every other field 0.
bool DescribeBitmap(HBITMAP bitmap, int bitsPerPixel, DWORD compression,
                    BITMAPINFOHEADER& header) {
    BITMAP info;
    if (GetObjectA(bitmap, sizeof info, &info) == 0) return false;
    header = BITMAPINFOHEADER{};
    header.biSize = kInfoHeaderSize;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount =
        static_cast<WORD>(bitsPerPixel != 0 ? bitsPerPixel : info.bmPlanes * info.bmBitsPixel);
    header.biCompression = compression;
    return true;
}

// Asks the platform to complete the header and colour table at the start of
// the block, and copies the completed header out.
bool CompleteHeader(HDC screen, HBITMAP bitmap, HGLOBAL block, BITMAPINFOHEADER& header) {
    LockedBlock data(block);
    BITMAPINFO* info = reinterpret_cast<BITMAPINFO*>(data.Data());
    if (info == nullptr) return false;
    memcpy(info, &header, kInfoHeaderSize);
    if (GetDIBits(screen, bitmap, 0, header.biHeight, nullptr, info, DIB_RGB_COLORS) == 0) {
        return false;
    }
    memcpy(&header, info, kInfoHeaderSize);
    return true;
}

bool FetchRows(HDC screen, HBITMAP bitmap, HGLOBAL block, const BITMAPINFOHEADER& header,
               size_t tableSize) {
    LockedBlock data(block);
    BITMAPINFO* info = reinterpret_cast<BITMAPINFO*>(data.Data());
    return info != nullptr &&
           GetDIBits(screen, bitmap, 0, header.biHeight, data.Data() + kInfoHeaderSize + tableSize,
                     info, DIB_RGB_COLORS) != 0;
}

// Captures the bitmap through screen, on which the palette is realised.
HGLOBAL CaptureThrough(HDC screen, HBITMAP bitmap, BITMAPINFOHEADER header) {
    const size_t tableSize = static_cast<size_t>(DibColourTableSize(&header));
    HGLOBAL block = AllocGlobal(kInfoHeaderSize + tableSize, 0);
    if (block == nullptr) return nullptr;
    if (!CompleteHeader(screen, bitmap, block, header)) {
        GlobalFree(block);
        return nullptr;
    }
    if (header.biSizeImage == 0) {
        header.biSizeImage =
            static_cast<DWORD>(DibStride(header.biWidth, header.biBitCount) * header.biHeight);
        if (header.biCompression != BI_RGB) header.biSizeImage = header.biSizeImage * 3 / 2;
    }
    block = GrowOrFree(block, kInfoHeaderSize + tableSize + header.biSizeImage);
    if (block != nullptr && !FetchRows(screen, bitmap, block, header, tableSize)) {
        GlobalFree(block);
        block = nullptr;
    }
    return block;
}

// Draws the whole block onto the whole target bitmap, pixel for pixel.
[[nodiscard]] long DrawOntoBitmap(HGLOBAL block, HBITMAP target, int width, int height) {
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) return kNoMemory;
    HGDIOBJ oldBitmap = SelectObject(memory, target);
    if (oldBitmap == nullptr) {
        DeleteDC(memory);
        return ERROR_INVALID_HANDLE;
    }
    HPALETTE oldPalette = SelectPalette(memory, PaletteForSurfaces(), FALSE);
    SetStretchBltMode(memory, COLORONCOLOR);
    const int rows = DrawDib(memory, 0, 0, width, height, block, 0, 0, width, height, SRCCOPY);
    if (oldPalette != nullptr) SelectPalette(memory, oldPalette, FALSE);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    return rows != 0 ? 0 : kNoMemory;
}

// Copies pixel from of a row into pixel to of another, at any depth.
void CopyPixel(const uint8_t* from, int64_t fromX, uint8_t* to, int64_t toX, int bits) {
    if (bits >= 8) {
        const int bytes = bits / 8;
        memcpy(to + toX * bytes, from + fromX * bytes, static_cast<size_t>(bytes));
        return;
    }
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    const int fromShift = (perByte - 1 - static_cast<int>(fromX % perByte)) * bits;
    const int toShift = (perByte - 1 - static_cast<int>(toX % perByte)) * bits;
    const int value = (from[fromX / perByte] >> fromShift) & mask;
    uint8_t& out = to[toX / perByte];
    out = static_cast<uint8_t>((out & ~(mask << toShift)) | (value << toShift));
}

// A block of width x height holding the pixels of the file that a stretch
// to that size would show (each target pixel takes the source pixel at
// index * source size / target size, as StretchBlt picks them), read row by
// row: only the rows it needs, and never the whole picture at once.
HGLOBAL SampleFile(DibRowReader& reader, int width, int height, long* error) {
    const BITMAPINFOHEADER& source = reader.Header();
    const int bits = source.biBitCount;
    BITMAPINFOHEADER header = source;
    header.biWidth = width;
    header.biHeight = height;
    const int64_t stride = DibStride(width, bits);
    header.biSizeImage = static_cast<DWORD>(stride * height);
    const size_t table = reader.ColourTable().size();
    HGLOBAL block = AllocGlobal(kInfoHeaderSize + table + header.biSizeImage, GMEM_ZEROINIT);
    LockedBlock data(block);
    // One source row: at most 64 KiB.
    std::vector<uint8_t> row(static_cast<size_t>(reader.Stride()));
    if (data.Data() == nullptr) {
        if (block != nullptr) GlobalFree(block);
        *error = kNoMemory;
        return nullptr;
    }
    memcpy(data.Data(), &header, kInfoHeaderSize);
    if (table > 0) memcpy(data.Data() + kInfoHeaderSize, reader.ColourTable().data(), table);
    uint8_t* pixels = data.Data() + kInfoHeaderSize + table;
    int loaded = -1;
    // Target rows bottom first, so that the source rows are asked upwards.
    for (int y = height - 1; y >= 0; --y) {
        const int sourceTop = static_cast<int>(int64_t{y} * source.biHeight / height);
        const int sourceRow = source.biHeight - 1 - sourceTop;
        if (sourceRow != loaded) {
            *error = reader.ReadRow(sourceRow, row.data());
            if (*error != 0) {
                GlobalFree(block);
                return nullptr;
            }
            loaded = sourceRow;
        }
        uint8_t* out = pixels + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            CopyPixel(row.data(), int64_t{x} * source.biWidth / width, out, x, bits);
        }
    }
    *error = 0;
    return block;
}

}  // namespace

int64_t DibStride(int64_t width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

int DibColourCount(const void* header) {
    const uint8_t* p = static_cast<const uint8_t*>(header);
    const bool core = Read32(p) == kCoreHeaderSize;
    const int bits = core ? Read16(p + 10) : Read16(p + 14);
    if (!core) {
        const int used = Read16(p + 32);
        if (used != 0) return used;
    }
    switch (bits) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

int DibColourTableSize(const void* header) {
    const bool core = Read32(static_cast<const uint8_t*>(header)) == kCoreHeaderSize;
    return DibColourCount(header) * (core ? 3 : 4);
}

HGLOBAL CaptureDib(HBITMAP bitmap, int bitsPerPixel, HPALETTE palette, DWORD compression) {
    BITMAPINFOHEADER header;
    if (bitmap == nullptr || !DescribeBitmap(bitmap, bitsPerPixel, compression, header)) {
        return nullptr;
    }
    if (palette == nullptr) palette = PaletteForSurfaces();
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return nullptr;
    HPALETTE oldPalette = SelectPalette(screen, palette, FALSE);
    RealizePalette(screen);
    HGLOBAL block = CaptureThrough(screen, bitmap, header);
    SelectPalette(screen, oldPalette, FALSE);
    ReleaseDC(nullptr, screen);
    return block;
}

int DrawDib(HDC dc, int x, int y, int width, int height, HGLOBAL block, int sourceX,
            int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
    if (block == nullptr) return PatBlt(dc, x, y, width, height, rop) ? height : 0;
    LockedBlock data(block);
    if (data.Data() == nullptr || GlobalBlockSize(block) < kInfoHeaderSize) return 0;
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(data.Data());
    BITMAPINFOHEADER header;
    GetDibHeader(block, &header);
    // A block that does not hold the rows its header promises is not drawn.
    const int64_t stride = DibStride(header.biWidth, header.biBitCount);
    const int64_t needed = int64_t{info->bmiHeader.biSize} + DibColourTableSize(info) +
                           stride * std::abs(int64_t{header.biHeight});
    if (info->bmiHeader.biSize != kInfoHeaderSize || header.biWidth < 1 ||
        static_cast<int64_t>(GlobalBlockSize(block)) < needed) {
        return 0;
    }
    const uint8_t* bits = data.Data() + info->bmiHeader.biSize + DibColourTableSize(info);
    return StretchDIBits(dc, x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight,
                         bits, info, DIB_RGB_COLORS, rop);
}

long WriteDibFile(const char* name, HGLOBAL block) {
    if (block == nullptr) return kNoDibBlock;
    const size_t size = GlobalBlockSize(block);
    if (size < kInfoHeaderSize || size > 0xFFFFFFFF - kFileHeaderSize) return kNoDibBlock;
    HANDLE file = nullptr;
    char tempName[kPathSize];
    long error = OpenForSafeWrite(name, tempName, &file);
    if (error != 0) return error;
    {
        LockedBlock data(block);
        if (data.Data() == nullptr) {
            error = kNoMemory;
        } else {
            uint8_t fileHeader[kFileHeaderSize] = {'B', 'M'};
            Write32(fileHeader + 2, static_cast<uint32_t>(kFileHeaderSize + size));
            Write32(fileHeader + 10, kFileHeaderSize + Read32(data.Data()) +
                                         static_cast<uint32_t>(DibColourTableSize(data.Data())));
            error = WriteBlockReporting(file, kFileHeaderSize, fileHeader);
            if (error == 0) error = WriteBlockReporting(file, static_cast<DWORD>(size), data.Data());
        }
    }
    const long committed = CloseSafeWrite(file, name, tempName, error);
    return error != 0 ? error : committed;
}

long SaveBitmapAsFile(const char* name, HBITMAP bitmap, int bitsPerPixel, HPALETTE palette,
                      DWORD compression) {
    HGLOBAL block = CaptureDib(bitmap, bitsPerPixel, palette, compression);
    if (block == nullptr) return kNoMemory;
    const long error = WriteDibFile(name, block);
    GlobalFree(block);
    return error;
}

long SaveSheetPicture(const char* name, HBITMAP sheet) {
    const int bitsPerPixel = g_platform.bitsPerPixel < 9 ? 8 : 24;
    return SaveBitmapAsFile(name, sheet, bitsPerPixel, nullptr, BI_RGB);
}

HGLOBAL ReadDibHeader(HANDLE file, long* error) {
    DibRowReader reader;
    *error = reader.Open(file);
    if (*error == 0 && !reader.RowsAsStored()) *error = kBadDibHeader;
    if (*error != 0) return nullptr;
    const size_t table = reader.ColourTable().size();
    HGLOBAL block = AllocGlobal(kInfoHeaderSize + table, 0);
    LockedBlock data(block);
    if (data.Data() == nullptr) {
        if (block != nullptr) GlobalFree(block);
        *error = kNoMemory;
        return nullptr;
    }
    BITMAPINFOHEADER header = reader.Header();
    // A caller reading the rows itself is told their order by the sign.
    if (reader.TopDown()) header.biHeight = -header.biHeight;
    memcpy(data.Data(), &header, kInfoHeaderSize);
    if (table > 0) memcpy(data.Data() + kInfoHeaderSize, reader.ColourTable().data(), table);
    return block;
}

int GetDibHeader(HGLOBAL block, BITMAPINFOHEADER* header) {
    if (block == nullptr) return 0;
    *header = BITMAPINFOHEADER{};
    LockedBlock data(block);
    if (data.Data() == nullptr) return 0;
    const size_t size = std::min<size_t>(GlobalBlockSize(block), kInfoHeaderSize);
    memcpy(header, data.Data(), size);
    if (header->biSize == kInfoHeaderSize) {
        if (header->biSizeImage == 0) {
            const int64_t rows = std::abs(int64_t{header->biHeight});
            header->biSizeImage =
                static_cast<DWORD>(DibStride(header->biWidth, header->biBitCount) * rows);
        }
        if (header->biClrUsed == 0) header->biClrUsed = static_cast<DWORD>(DibColourCount(header));
    }
    return 1;
}

HGLOBAL ReadDibFile(const char* name, long* error) {
    HANDLE file = nullptr;
    long result = OpenNamedFile(name, &file, kOpenRead);
    if (result != 0) {
        *error = result;
        return nullptr;
    }
    DibRowReader reader;
    result = reader.Open(file);
    HGLOBAL block = nullptr;
    if (result == 0) {
        const size_t table = reader.ColourTable().size();
        const BITMAPINFOHEADER& header = reader.Header();
        block = AllocGlobal(kInfoHeaderSize + table + header.biSizeImage, 0);
        LockedBlock data(block);
        if (data.Data() == nullptr) {
            result = kNoMemory;
        } else {
            memcpy(data.Data(), &header, kInfoHeaderSize);
            if (table > 0) memcpy(data.Data() + kInfoHeaderSize, reader.ColourTable().data(), table);
            result = reader.ReadAll(data.Data() + kInfoHeaderSize + table);
        }
    }
    const long closed = CloseFile(file);
    if (result == 0) result = closed;
    if (result != 0 && block != nullptr) {
        GlobalFree(block);
        block = nullptr;
    }
    *error = result;
    return block;
}

long LoadPictureIntoBitmap(const char* name, HBITMAP target) {
    BITMAP size;
    if (GetObjectA(target, sizeof size, &size) == 0) return ERROR_INVALID_HANDLE;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HANDLE file = nullptr;
    long error = OpenNamedFile(name, &file, kOpenRead);
    HGLOBAL block = nullptr;
    if (error == 0) {
        DibRowReader reader;
        error = reader.Open(file);
        if (error == 0) block = SampleFile(reader, size.bmWidth, size.bmHeight, &error);
        const long closed = CloseFile(file);
        if (error == 0) error = closed;
    }
    if (error == 0) error = DrawOntoBitmap(block, target, size.bmWidth, size.bmHeight);
    if (block != nullptr) GlobalFree(block);
    SetCursor(previous);
    return error;
}
