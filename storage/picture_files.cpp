// Picture files: capture and drawing of packed DIB blocks, the writer, and
// the checked reader.
#include "storage/picture_files.h"

#include <algorithm>
#include <cstring>

#include "graphics/surface.h"
#include "shell/app.h"
#include "shell/memory.h"
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

// Reads exactly count bytes; a short read is kShortRead.
[[nodiscard]] long ReadExactly(HANDLE file, void* buffer, DWORD count) {
    DWORD read = count;
    return ReadBlock(file, &read, buffer);
}

bool DepthAllowed(int bitsPerPixel, bool coreHeader) {
    switch (bitsPerPixel) {
        case 1: case 4: case 8: case 24: return true;
        case 16: case 32: return !coreHeader;
        default: return false;
    }
}

// Turns the header as read (12 or 40 bytes in raw) into a checked 40-byte
// header with a positive height; topDown tells how the rows are stored.
// False for anything the reader does not take.
bool CheckHeader(const uint8_t* raw, DWORD size, BITMAPINFOHEADER& header, bool& topDown) {
    const bool core = size == kCoreHeaderSize;
    int64_t width = 0, height = 0;
    uint32_t used = 0;
    header = BITMAPINFOHEADER{};
    header.biSize = kInfoHeaderSize;
    if (core) {
        width = Read16(raw + 4);
        height = Read16(raw + 6);
        header.biPlanes = Read16(raw + 8);
        header.biBitCount = Read16(raw + 10);
    } else {
        width = static_cast<int32_t>(Read32(raw + 4));
        height = static_cast<int32_t>(Read32(raw + 8));
        header.biPlanes = Read16(raw + 12);
        header.biBitCount = Read16(raw + 14);
        header.biCompression = Read32(raw + 16);
        used = Read32(raw + 32);
    }
    topDown = height < 0;
    height = topDown ? -height : height;
    const int bits = header.biBitCount;
    const uint32_t maxColours = bits <= 8 ? 1u << bits : 256;
    if (width < 1 || width > kMaxPictureSide || height < 1 || height > kMaxPictureSide ||
        width * height > kMaxPicturePixels || header.biPlanes != 1 || !DepthAllowed(bits, core) ||
        header.biCompression != BI_RGB || used > maxColours) {
        return false;
    }
    header.biWidth = static_cast<LONG>(width);
    header.biHeight = static_cast<LONG>(height);
    header.biSizeImage = static_cast<DWORD>(DibStride(width, bits) * height);
    header.biClrUsed = used;
    header.biClrUsed = static_cast<DWORD>(DibColourCount(&header));
    header.biClrImportant = 0;
    return true;
}

// Reads the colour table of a 12-byte (triples) or 40-byte header into the
// table behind the block's header, widening triples into 4-byte entries.
[[nodiscard]] long ReadColourTable(HANDLE file, uint8_t* table, int count, bool triples) {
    const DWORD entrySize = triples ? 3 : 4;
    const long error = ReadExactly(file, table, entrySize * count);
    if (error != 0 || !triples) return error;
    for (int i = count - 1; i >= 0; --i) {
        table[i * 4 + 3] = 0;
        table[i * 4 + 2] = table[i * 3 + 2];
        table[i * 4 + 1] = table[i * 3 + 1];
        table[i * 4] = table[i * 3];
    }
    return 0;
}

// Where the headers of a file start and what they say about the pixels.
struct HeaderPlace {
    DWORD start = 0;        // position of the first header byte
    DWORD pixelOffset = 0;  // from start; 0 when the file does not say
    bool bare = false;      // no file header
};

// Moves the file to its first pixel byte and checks that every pixel row is
// there. consumed is how many bytes the headers and the table took.
[[nodiscard]] long FindPixels(HANDLE file, const HeaderPlace& place, int64_t consumed,
                              DWORD imageSize) {
    DWORD fileSize = 0;
    long error = FileSize(file, &fileSize);
    if (error != 0) return error;
    int64_t position = int64_t{place.start} + consumed;
    if (place.pixelOffset != 0) {
        if (place.pixelOffset < consumed) return kBadDibHeader;
        position = int64_t{place.start} + place.pixelOffset;
    }
    if (position + imageSize > fileSize) return kShortRead;
    if (position > 0x7FFFFFFF) return kBadDibHeader;
    long to = static_cast<long>(position);
    return SeekFile(file, &to, FILE_BEGIN);
}

// Reads the file header, or takes the file as a bare DIB and goes back.
[[nodiscard]] long ReadFileHeader(HANDLE file, HeaderPlace& place) {
    long error = TellFile(file, &place.start);
    uint8_t fileHeader[kFileHeaderSize];
    if (error == 0) error = ReadExactly(file, fileHeader, kFileHeaderSize);
    if (error != 0) return error;
    if (fileHeader[0] == 'B' && fileHeader[1] == 'M') {
        place.pixelOffset = Read32(fileHeader + 10);
        return 0;
    }
    place.bare = true;
    long back = static_cast<long>(place.start);
    return SeekFile(file, &back, FILE_BEGIN);
}

// Reverses the order of the block's pixel rows in place.
void FlipRows(uint8_t* pixels, size_t stride, size_t rows) {
    uint8_t swap[256];
    for (size_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = pixels + top * stride;
        uint8_t* b = pixels + bottom * stride;
        for (size_t done = 0; done < stride; done += sizeof swap) {
            const size_t n = std::min(sizeof swap, stride - done);
            memcpy(swap, a + done, n);
            memcpy(a + done, b + done, n);
            memcpy(b + done, swap, n);
        }
    }
}

// Reads the pixel rows behind the block's colour table, growing the block.
[[nodiscard]] long ReadPixels(HANDLE file, HGLOBAL& block, bool topDown) {
    BITMAPINFOHEADER header;
    GetDibHeader(block, &header);
    const size_t table = static_cast<size_t>(DibColourTableSize(&header));
    block = GrowOrFree(block, kInfoHeaderSize + table + header.biSizeImage);
    if (block == nullptr) return kNoMemory;
    LockedBlock data(block);
    if (data.Data() == nullptr) return kNoMemory;
    uint8_t* pixels = data.Data() + kInfoHeaderSize + table;
    const long error = ReadExactly(file, pixels, header.biSizeImage);
    if (error == 0 && topDown) {
        FlipRows(pixels, static_cast<size_t>(DibStride(header.biWidth, header.biBitCount)),
                 static_cast<size_t>(header.biHeight));
    }
    return error;
}

// A reader's header and table block, with the flag for top-down rows.
HGLOBAL ReadHeaders(HANDLE file, long* error, bool& topDown) {
    HeaderPlace place;
    uint8_t raw[kInfoHeaderSize] = {};
    long result = ReadFileHeader(file, place);
    if (result == 0) result = ReadExactly(file, raw, 4);
    const DWORD size = Read32(raw);
    if (result == 0 && size != kCoreHeaderSize && size != kInfoHeaderSize) result = kBadDibHeader;
    if (result == 0) result = ReadExactly(file, raw + 4, size - 4);
    BITMAPINFOHEADER header;
    if (result == 0 && !CheckHeader(raw, size, header, topDown)) result = kBadDibHeader;
    HGLOBAL block = nullptr;
    if (result == 0) {
        const int count = DibColourCount(&header);
        block = AllocGlobal(kInfoHeaderSize + 4 * count, 0);
        LockedBlock data(block);
        if (data.Data() == nullptr) {
            result = kNoMemory;
        } else {
            memcpy(data.Data(), &header, kInfoHeaderSize);
            result = ReadColourTable(file, data.Data() + kInfoHeaderSize, count,
                                     size == kCoreHeaderSize);
        }
        const int64_t tableBytes = int64_t{count} * (size == kCoreHeaderSize ? 3 : 4);
        const int64_t consumed = (place.bare ? 0 : kFileHeaderSize) + size + tableBytes;
        if (result == 0) result = FindPixels(file, place, consumed, header.biSizeImage);
    }
    if (result != 0 && block != nullptr) {
        GlobalFree(block);
        block = nullptr;
    }
    *error = result;
    return block;
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

// Draws the whole block onto the whole target bitmap.
[[nodiscard]] long DrawOntoBitmap(HGLOBAL block, HBITMAP target) {
    BITMAP size;
    if (GetObjectA(target, sizeof size, &size) == 0) return ERROR_INVALID_HANDLE;
    BITMAPINFOHEADER header;
    GetDibHeader(block, &header);
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) return kNoMemory;
    HGDIOBJ oldBitmap = SelectObject(memory, target);
    if (oldBitmap == nullptr) {
        DeleteDC(memory);
        return ERROR_INVALID_HANDLE;
    }
    HPALETTE oldPalette = SelectPalette(memory, PaletteForSurfaces(), FALSE);
    SetStretchBltMode(memory, COLORONCOLOR);
    const int rows = DrawDib(memory, 0, 0, size.bmWidth, size.bmHeight, block, 0, 0,
                             header.biWidth, header.biHeight, SRCCOPY);
    if (oldPalette != nullptr) SelectPalette(memory, oldPalette, FALSE);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    return rows != 0 ? 0 : kNoMemory;
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
    bool topDown = false;
    HGLOBAL block = ReadHeaders(file, error, topDown);
    if (block != nullptr && topDown) {
        // Only ReadDibFile turns the rows over; a caller reading the rows
        // itself is told the order by a negative height.
        LockedBlock data(block);
        BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(data.Data());
        if (header != nullptr) header->biHeight = -header->biHeight;
    }
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
    bool topDown = false;
    HGLOBAL block = ReadHeaders(file, &result, topDown);
    if (block != nullptr) result = ReadPixels(file, block, topDown);
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
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    long error = 0;
    HGLOBAL block = ReadDibFile(name, &error);
    if (block != nullptr) {
        error = DrawOntoBitmap(block, target);
        GlobalFree(block);
    }
    SetCursor(previous);
    return error;
}
