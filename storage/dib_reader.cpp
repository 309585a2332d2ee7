// The checked reader of picture files: headers, colour table, and rows plain,
// from bit fields or from RLE data.
#include "storage/dib_reader.h"

#include <algorithm>
#include <cstring>

#include "storage/files.h"
#include "storage/picture_files.h"

namespace {

constexpr DWORD kFileHeaderSize = 14;
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kCoreHeaderSize = 12;
constexpr DWORD kV4HeaderSize = 108;
constexpr DWORD kV5HeaderSize = 124;
constexpr DWORD kMasksSize = 12;
constexpr size_t kRleChunk = 4096;

uint32_t Read32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

[[nodiscard]] long ReadExactly(HANDLE file, void* buffer, DWORD count) {
    DWORD read = count;
    return ReadBlock(file, &read, buffer);
}

[[nodiscard]] long SeekTo(HANDLE file, int64_t position) {
    if (position < 0 || position > 0x7FFFFFFF) return kBadDibHeader;
    long to = static_cast<long>(position);
    return SeekFile(file, &to, FILE_BEGIN);
}

int MaskShift(uint32_t mask) { return __builtin_ctz(mask); }

// Each mask one run of bits inside the depth, none sharing a bit.
bool MasksValid(const uint32_t masks[3], int bits) {
    for (int i = 0; i < 3; ++i) {
        const uint32_t m = masks[i];
        if (m == 0 || (bits == 16 && m > 0xFFFF)) return false;
        const uint32_t run = m >> MaskShift(m);
        if ((run & (run + 1)) != 0) return false;
    }
    return (masks[0] & masks[1]) == 0 && (masks[1] & masks[2]) == 0 && (masks[0] & masks[2]) == 0;
}

// A masked channel scaled to 8 bits.
uint8_t Channel(uint32_t value, uint32_t mask) {
    const uint32_t v = (value & mask) >> MaskShift(mask);
    const int bits = __builtin_popcount(mask);
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    const uint32_t top = (1u << bits) - 1;
    return static_cast<uint8_t>((v * 255 + top / 2) / top);
}

bool DepthAllowed(int bits, bool core) {
    switch (bits) {
        case 1: case 4: case 8: case 24: return true;
        case 16: case 32: return !core;
        default: return false;
    }
}

bool HeaderSizeKnown(DWORD size) {
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == kV4HeaderSize ||
           size == kV5HeaderSize;
}

// Where the headers of a file start and what they say about the pixels.
struct HeaderPlace {
    DWORD start = 0;        // position of the first header byte
    DWORD pixelOffset = 0;  // from start; 0 when the file does not say
    bool bare = false;      // no file header
};

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
    return SeekTo(file, place.start);
}

}  // namespace

int64_t DibRowReader::Stride() const { return DibStride(m_header.biWidth, m_header.biBitCount); }

long DibRowReader::Open(HANDLE file) {
    m_file = file;
    HeaderPlace place;
    uint8_t raw[kV5HeaderSize] = {};
    long error = ReadFileHeader(file, place);
    if (error == 0) error = ReadExactly(file, raw, 4);
    if (error != 0) return error;
    const DWORD size = Read32(raw);
    if (!HeaderSizeKnown(size)) return kBadDibHeader;
    error = ReadExactly(file, raw + 4, size - 4);
    if (error != 0) return error;
    const bool core = size == kCoreHeaderSize;
    int64_t width, height;
    uint32_t compression = BI_RGB, used = 0, dataSize = 0;
    int planes;
    if (core) {
        width = Read16(raw + 4);
        height = Read16(raw + 6);
        planes = Read16(raw + 8);
        m_storedBits = Read16(raw + 10);
    } else {
        width = static_cast<int32_t>(Read32(raw + 4));
        height = static_cast<int32_t>(Read32(raw + 8));
        planes = Read16(raw + 12);
        m_storedBits = Read16(raw + 14);
        compression = Read32(raw + 16);
        dataSize = Read32(raw + 20);
        used = Read32(raw + 32);
    }
    m_topDown = height < 0;
    height = m_topDown ? -height : height;
    const int bits = m_storedBits;
    if (width < 1 || width > kMaxPictureSide || height < 1 || height > kMaxPictureSide ||
        width * height > kMaxPicturePixels || planes != 1 || !DepthAllowed(bits, core) ||
        used > (bits <= 8 ? 1u << bits : 256u)) {
        return kBadDibHeader;
    }
    int64_t consumed = (place.bare ? 0 : kFileHeaderSize) + size;
    switch (compression) {
        case BI_RGB: m_layout = Layout::kPlain; break;
        case BI_RLE8: m_layout = Layout::kRle8; break;
        case BI_RLE4: m_layout = Layout::kRle4; break;
        case BI_BITFIELDS: m_layout = Layout::kBitFields; break;
        default: return kBadDibHeader;
    }
    const bool rle = m_layout == Layout::kRle8 || m_layout == Layout::kRle4;
    if ((m_layout == Layout::kRle8 && bits != 8) || (m_layout == Layout::kRle4 && bits != 4) ||
        (rle && (m_topDown || dataSize == 0)) ||
        (m_layout == Layout::kBitFields && bits != 16 && bits != 32)) {
        return kBadDibHeader;
    }
    if (m_layout == Layout::kBitFields) {
        // A 40-byte header is followed by its masks; the later ones hold them.
        uint8_t masks[kMasksSize];
        if (size == kInfoHeaderSize) {
            error = ReadExactly(file, masks, kMasksSize);
            if (error != 0) return error;
            consumed += kMasksSize;
        } else {
            memcpy(masks, raw + 40, kMasksSize);
        }
        for (int i = 0; i < 3; ++i) m_masks[i] = Read32(masks + 4 * i);
        if (!MasksValid(m_masks, bits)) return kBadDibHeader;
    }

    // The colour table as the file holds it; depths above 8 bits may carry
    // one that the pixels do not use.
    BITMAPINFOHEADER stored{};
    stored.biSize = kInfoHeaderSize;
    stored.biBitCount = static_cast<WORD>(bits);
    stored.biClrUsed = used;
    const int count = DibColourCount(&stored);
    const DWORD entrySize = core ? 3 : 4;
    std::vector<uint8_t> table(static_cast<size_t>(count) * entrySize);
    if (count > 0) {
        error = ReadExactly(file, table.data(), static_cast<DWORD>(table.size()));
        if (error != 0) return error;
    }
    consumed += static_cast<int64_t>(table.size());

    m_header = BITMAPINFOHEADER{};
    m_header.biSize = kInfoHeaderSize;
    m_header.biWidth = static_cast<LONG>(width);
    m_header.biHeight = static_cast<LONG>(height);
    m_header.biPlanes = 1;
    m_header.biBitCount = static_cast<WORD>(rle ? 8 : m_layout == Layout::kBitFields ? 24 : bits);
    const int kept = bits <= 8 ? count : m_layout == Layout::kPlain ? static_cast<int>(used) : 0;
    m_header.biClrUsed = static_cast<DWORD>(kept);
    m_header.biSizeImage = static_cast<DWORD>(Stride() * height);
    m_table.assign(static_cast<size_t>(kept) * 4, 0);
    for (int i = 0; i < kept; ++i) memcpy(&m_table[static_cast<size_t>(i) * 4], &table[i * entrySize], 3);

    // Where the rows start, and that the file holds all of them.
    DWORD fileSize = 0;
    error = FileSize(file, &fileSize);
    if (error != 0) return error;
    m_pixelStart = int64_t{place.start} + consumed;
    if (place.pixelOffset != 0) {
        if (place.pixelOffset < consumed) return kBadDibHeader;
        m_pixelStart = int64_t{place.start} + place.pixelOffset;
    }
    const int64_t storedSize = rle ? dataSize : DibStride(width, bits) * height;
    if (m_pixelStart + storedSize > fileSize) return kShortRead;
    m_dataSize = dataSize;
    if (m_layout == Layout::kBitFields) m_stored.resize(static_cast<size_t>(DibStride(width, bits)));
    m_nextRow = 0;
    m_x = 0;
    m_blankRows = 0;
    m_ended = false;
    m_consumed = 0;
    m_buffer.clear();
    m_bufferAt = 0;
    return SeekTo(file, m_pixelStart);
}

long DibRowReader::ReadStored(int row, uint8_t* out) {
    const int64_t stride = DibStride(m_header.biWidth, m_storedBits);
    const int stored = m_topDown ? m_header.biHeight - 1 - row : row;
    long error = SeekTo(m_file, m_pixelStart + stride * stored);
    if (error == 0) error = ReadExactly(m_file, out, static_cast<DWORD>(stride));
    return error;
}

void DibRowReader::ConvertBitFields(const uint8_t* stored, uint8_t* out) const {
    const bool wide = m_storedBits == 32;
    for (LONG x = 0; x < m_header.biWidth; ++x) {
        const uint32_t value = wide ? Read32(stored + 4 * x) : Read16(stored + 2 * x);
        out[3 * x] = Channel(value, m_masks[2]);
        out[3 * x + 1] = Channel(value, m_masks[1]);
        out[3 * x + 2] = Channel(value, m_masks[0]);
    }
}

long DibRowReader::ReadRow(int row, uint8_t* out) {
    if (row < 0 || row >= m_header.biHeight) return kBadDibHeader;
    switch (m_layout) {
        case Layout::kPlain: return ReadStored(row, out);
        case Layout::kBitFields: {
            const long error = ReadStored(row, m_stored.data());
            if (error == 0) ConvertBitFields(m_stored.data(), out);
            return error;
        }
        case Layout::kRle8:
        case Layout::kRle4:
            if (row < m_nextRow) return kBadDibHeader;
            while (m_nextRow < row) {
                const long error = NextRleRow(out);
                if (error != 0) return error;
            }
            return NextRleRow(out);
    }
    return kBadDibHeader;
}

long DibRowReader::ReadAll(uint8_t* pixels) {
    const int64_t stride = Stride();
    if (m_layout == Layout::kPlain && !m_topDown) {
        return ReadExactly(m_file, pixels, m_header.biSizeImage);
    }
    for (LONG row = 0; row < m_header.biHeight; ++row) {
        const long error = ReadRow(row, pixels + stride * row);
        if (error != 0) return error;
    }
    return 0;
}

// The compressed data, a chunk at a time; false at its end.
bool DibRowReader::NextByte(uint8_t& byte) {
    if (m_bufferAt == m_buffer.size()) {
        const uint32_t left = m_dataSize - m_consumed;
        if (left == 0) return false;
        m_buffer.resize(std::min<size_t>(left, kRleChunk));
        if (ReadExactly(m_file, m_buffer.data(), static_cast<DWORD>(m_buffer.size())) != 0) {
            m_buffer.clear();
            m_consumed = m_dataSize;
            return false;
        }
        m_consumed += static_cast<uint32_t>(m_buffer.size());
        m_bufferAt = 0;
    }
    byte = m_buffer[m_bufferAt++];
    return true;
}

void DibRowReader::PutRle(uint8_t* out, uint8_t index) {
    if (m_x < m_header.biWidth) out[m_x] = index;
    if (m_x <= m_header.biWidth) ++m_x;
}

// Decodes the next row into out. A row ends at an end of line, at a delta
// that moves down, or at the end of the bitmap or of the data.
long DibRowReader::NextRleRow(uint8_t* out) {
    memset(out, 0, static_cast<size_t>(Stride()));
    ++m_nextRow;
    if (m_blankRows > 0) {
        --m_blankRows;
        return 0;
    }
    const bool four = m_layout == Layout::kRle4;
    uint8_t count, value;
    while (!m_ended) {
        if (!NextByte(count) || !NextByte(value)) break;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                PutRle(out, four ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            }
            continue;
        }
        switch (value) {
            case 0: m_x = 0; return 0;
            case 1: m_ended = true; return 0;
            case 2: {
                uint8_t dx, dy;
                if (!NextByte(dx) || !NextByte(dy)) {
                    m_ended = true;
                    return 0;
                }
                m_x = std::min<int>(m_x + dx, m_header.biWidth + 1);
                if (dy == 0) break;
                m_blankRows = dy - 1;
                return 0;
            }
            default: {
                // A literal string, padded to an even number of bytes.
                const int bytes = four ? (value + 1) / 2 : value;
                uint8_t byte = 0;
                for (int i = 0; i < value; ++i) {
                    if ((!four || i % 2 == 0) && !NextByte(byte)) {
                        m_ended = true;
                        return 0;
                    }
                    PutRle(out, four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
                }
                if (bytes % 2 != 0) NextByte(byte);
                break;
            }
        }
    }
    m_ended = true;
    return 0;
}
