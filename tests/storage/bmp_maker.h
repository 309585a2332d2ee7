// Test helper: makes BMP files, well formed or hostile, from a description of
// every header field, the colour table, the pixel rows (as ASCII art) and
// where the file is cut.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace bmp_maker {

// The art's characters, in the order of the colour table that MakeBmp writes:
// '.' white, 'X' black, 'r' red, 'g' green, 'b' blue, 'y' yellow.
inline const std::string kArtColours = ".Xrgby";

inline uint32_t RgbOf(char c) {
    switch (c) {
        case 'X': return 0x000000;
        case 'r': return 0xFF0000;
        case 'g': return 0x00FF00;
        case 'b': return 0x0000FF;
        case 'y': return 0xFFFF00;
        default: return 0xFFFFFF;
    }
}

struct BmpLayout {
    uint32_t headerSize = 40;
    int64_t width = 4;
    int64_t height = 3;  // negative: rows stored top-down
    uint16_t planes = 1;
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t used = 0;
    int64_t tableEntries = -1;  // -1: as many as the header asks for
    bool fileHeader = true;
    uint32_t gap = 0;           // bytes between the colour table and the rows
    int64_t offsetAdjust = 0;   // added to the true pixel offset
    bool offsetZero = false;    // write 0 as the pixel offset
    uint32_t fileSizeField = 0; // 0: the true size
    int64_t pixelBytes = -1;    // -1: stride x |height| (at most 64 KiB)
    int64_t cutAt = -1;         // -1: the whole file
    // Bit fields: red, green and blue masks, inside a header of 52 bytes or
    // more, else right behind the 40-byte header; the art is stored through
    // them when compression is BI_BITFIELDS (3).
    std::vector<uint32_t> masks = {};
    // RLE: the compressed rows, stored in place of the art (see Rle()).
    std::string rle = {};
};

inline void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

inline int64_t Stride(int64_t width, int bits) { return (width * bits + 31) / 32 * 4; }

// The header and table entries as the layout asks, in the 12- or 40-byte form
// (any other size: the 40-byte fields padded with zeros to that size).
inline std::string Headers(const BmpLayout& l, int64_t entries) {
    std::string out;
    if (l.headerSize == 12) {
        Put(out, 12, 4);
        Put(out, static_cast<uint64_t>(l.width), 2);
        Put(out, static_cast<uint64_t>(l.height), 2);
        Put(out, l.planes, 2);
        Put(out, l.bits, 2);
    } else {
        Put(out, l.headerSize, 4);
        Put(out, static_cast<uint64_t>(l.width), 4);
        Put(out, static_cast<uint64_t>(l.height), 4);
        Put(out, l.planes, 2);
        Put(out, l.bits, 2);
        Put(out, l.compression, 4);
        Put(out, l.sizeImage, 4);
        Put(out, 0, 8);
        Put(out, l.used, 4);
        Put(out, 0, 4);
        if (l.headerSize >= 52) {
            for (uint32_t mask : l.masks) Put(out, mask, 4);
        }
        const size_t size = std::min<size_t>(l.headerSize, 4096);
        if (size > out.size()) out.resize(size, '\0');
        if (l.headerSize == 40) {
            for (uint32_t mask : l.masks) Put(out, mask, 4);
        }
    }
    const int entrySize = l.headerSize == 12 ? 3 : 4;
    for (int64_t i = 0; i < entries; ++i) {
        const uint32_t rgb = i < 6 ? RgbOf(kArtColours[i]) : 0x808080;
        Put(out, rgb, entrySize);
    }
    return out;
}

// An 8-bit channel put into a mask's bits.
inline uint32_t Masked(uint32_t channel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = __builtin_ctz(mask);
    const int bits = __builtin_popcount(mask);
    const uint32_t value = bits >= 8 ? channel << (bits - 8) : channel >> (8 - bits);
    return (value << shift) & mask;
}

// One pixel of the art at the layout's depth, appended to the row.
inline void PutPixel(std::string& row, int bits, int64_t x, char c,
                     const std::vector<uint32_t>& masks = {}) {
    const uint32_t index = static_cast<uint32_t>(kArtColours.find(c));
    const uint32_t rgb = RgbOf(c);
    if (masks.size() == 3) {
        const uint32_t v = Masked(rgb >> 16, masks[0]) | Masked(rgb >> 8 & 0xFF, masks[1]) |
                           Masked(rgb & 0xFF, masks[2]);
        for (int i = 0; i < bits / 8; ++i) row[x * (bits / 8) + i] = static_cast<char>(v >> (8 * i));
        return;
    }
    switch (bits) {
        case 1: row[x / 8] = static_cast<char>(row[x / 8] | ((index & 1) << (7 - x % 8))); break;
        case 4: row[x / 2] = static_cast<char>(row[x / 2] | (index << (x % 2 ? 0 : 4))); break;
        case 8: row[x] = static_cast<char>(index); break;
        case 16: {
            const uint32_t w = ((rgb >> 19 & 31) << 10) | ((rgb >> 11 & 31) << 5) | (rgb >> 3 & 31);
            row[x * 2] = static_cast<char>(w), row[x * 2 + 1] = static_cast<char>(w >> 8);
            break;
        }
        default:
            for (int i = 0; i < 3; ++i) row[x * (bits / 8) + i] = static_cast<char>(rgb >> (8 * i));
    }
}

// The rows of the art (top row first in the art) in the stored order.
inline std::string Rows(const BmpLayout& l, const std::vector<std::string>& art) {
    const int64_t stride = Stride(l.width, l.bits);
    if (art.empty()) {
        const int64_t all = stride * (l.height < 0 ? -l.height : l.height);
        return std::string(static_cast<size_t>(std::clamp<int64_t>(all, 0, 65536)), '\0');
    }
    std::string out;
    for (size_t i = 0; i < art.size(); ++i) {
        const std::string& line = l.height < 0 ? art[i] : art[art.size() - 1 - i];
        std::string row(static_cast<size_t>(stride), '\0');
        const std::vector<uint32_t> masks = l.compression == 3 ? l.masks : std::vector<uint32_t>{};
        for (size_t x = 0; x < line.size(); ++x) {
            PutPixel(row, l.bits, static_cast<int64_t>(x), line[x], masks);
        }
        out += row;
    }
    return out;
}

// A whole file: file header (unless bare), headers, table, gap, rows, cut.
inline std::string MakeBmp(const BmpLayout& l, const std::vector<std::string>& art = {}) {
    int64_t entries = l.tableEntries;
    if (entries < 0) {
        entries = l.used != 0 && l.headerSize != 12 ? (l.used & 0xFFFF)
                  : l.bits <= 8                   ? int64_t{1} << l.bits
                                                  : 0;
        entries = std::min<int64_t>(entries, 4096);
    }
    BmpLayout withSize = l;
    if (!l.rle.empty() && l.sizeImage == 0) withSize.sizeImage = static_cast<uint32_t>(l.rle.size());
    const std::string headers = Headers(withSize, entries);
    std::string rows = l.rle.empty() ? Rows(l, art) : l.rle;
    if (l.pixelBytes >= 0) rows.resize(static_cast<size_t>(l.pixelBytes), '\0');
    std::string out;
    if (l.fileHeader) {
        const int64_t offset = l.offsetZero ? 0 : 14 + headers.size() + l.gap + l.offsetAdjust;
        const uint64_t size = 14 + headers.size() + l.gap + rows.size();
        out = "BM";
        Put(out, l.fileSizeField != 0 ? l.fileSizeField : size, 4);
        Put(out, 0, 4);
        Put(out, static_cast<uint64_t>(offset), 4);
    }
    out += headers;
    out += std::string(l.gap, '\x55');
    out += rows;
    if (l.cutAt >= 0) out.resize(static_cast<size_t>(std::min<int64_t>(l.cutAt, out.size())));
    return out;
}

// The art compressed as RLE8 (bits 8) or RLE4 (bits 4), bottom row first:
// runs of one colour (RLE4 runs of one colour too), an end of line after
// each row and the end of the bitmap.
inline std::string Rle(const std::vector<std::string>& art, int bits) {
    std::string out;
    for (size_t i = art.size(); i-- > 0;) {
        const std::string& line = art[i];
        for (size_t x = 0; x < line.size();) {
            size_t run = 1;
            while (x + run < line.size() && line[x + run] == line[x] && run < 255) ++run;
            const auto index = static_cast<uint8_t>(kArtColours.find(line[x]));
            out += static_cast<char>(run);
            out += static_cast<char>(bits == 4 ? (index << 4) | index : index);
            x += run;
        }
        out += std::string("\0\0", 2);
    }
    out += std::string("\0\1", 2);
    return out;
}

}  // namespace bmp_maker
