#include "platform/user/cursor_file.h"

#include <cstring>

namespace platform::user {
namespace {

uint32_t Read16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Read32(const uint8_t* p) { return Read16(p) | (Read16(p + 2) << 16); }

}  // namespace

std::optional<CursorShape> DecodeCursorFile(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < 6 + 16) return std::nullopt;
    if (Read16(bytes) != 0 || Read16(bytes + 2) != 2 || Read16(bytes + 4) == 0) return std::nullopt;
    const uint8_t* entry = bytes + 6;
    const uint32_t hotX = Read16(entry + 4);
    const uint32_t hotY = Read16(entry + 6);
    const uint32_t imageSize = Read32(entry + 8);
    const uint32_t offset = Read32(entry + 12);
    if (offset > size || imageSize > size - offset || imageSize < 40) return std::nullopt;
    const uint8_t* image = bytes + offset;
    const uint32_t headerSize = Read32(image);
    const int32_t width = static_cast<int32_t>(Read32(image + 4));
    const int32_t doubledHeight = static_cast<int32_t>(Read32(image + 8));
    const uint32_t bits = Read16(image + 14);
    if (headerSize < 40 || headerSize > imageSize || Read16(image + 12) != 1) return std::nullopt;
    if (width <= 0 || width > 256 || doubledHeight <= 0 || doubledHeight > 512 ||
        doubledHeight % 2 != 0) {
        return std::nullopt;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const int height = doubledHeight / 2;
    uint32_t colours = Read32(image + 32);
    if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
    if (bits > 8) colours = 0;
    const size_t xorStride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    const size_t needed = headerSize + colours * 4 + (xorStride + andStride) * height;
    if (needed > imageSize) return std::nullopt;
    const uint8_t* table = image + headerSize;
    const uint8_t* xorBits = table + colours * 4;
    const uint8_t* andBits = xorBits + xorStride * height;

    CursorShape shape;
    shape.width = width;
    shape.height = height;
    shape.hotX = static_cast<int>(hotX < static_cast<uint32_t>(width) ? hotX : 0);
    shape.hotY = static_cast<int>(hotY < static_cast<uint32_t>(height) ? hotY : 0);
    shape.argb.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = xorBits + xorStride * (height - 1 - y);
        const uint8_t* mask = andBits + andStride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = 0;
            uint32_t alpha = 0xFF;
            if (bits == 32) {
                rgb = Read32(row + x * 4) & 0xFFFFFF;
                alpha = row[x * 4 + 3];
            } else if (bits == 24) {
                rgb = row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
            } else {
                const uint32_t perByte = 8 / bits;
                const uint32_t shift = (perByte - 1 - x % perByte) * bits;
                const uint32_t index = (row[x / perByte] >> shift) & ((1u << bits) - 1);
                // The table holds only the colours the header counts: a pixel
                // naming another one makes the file unreadable.
                if (index >= colours) return std::nullopt;
                rgb = Read32(table + index * 4) & 0xFFFFFF;
            }
            const bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1;
            if (bits != 32 && transparent) alpha = 0;
            if (bits == 32 && alpha == 0 && !transparent) alpha = 0xFF;
            shape.argb[static_cast<size_t>(y) * width + x] = (alpha << 24) | rgb;
        }
    }
    return shape;
}

}  // namespace platform::user
