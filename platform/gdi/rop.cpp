// Raster operation kernels: one loop per common code, one generic loop that
// reduces any code to a function of the pattern and source bits per destination
// bit.
#include "platform/gdi/rop.h"

#include <cstring>

namespace platform::gdi {
namespace {

uint32_t Select(uint8_t table, int bit) { return (table >> bit) & 1 ? 0xFFFFFFFFu : 0u; }

// The two-variable function of (a, b) whose results for (1,1), (1,0), (0,1),
// (0,0) are bits 3, 2, 1, 0 of table.
inline uint32_t Of2(uint32_t a, uint32_t b, uint32_t m11, uint32_t m10, uint32_t m01,
                    uint32_t m00) {
    return (a & b & m11) | (a & ~b & m10) | (~a & b & m01) | (~a & ~b & m00);
}

template <class Op>
void Each(uint32_t* dest, const uint32_t* source, const uint32_t* pattern, int count,
          uint32_t mask, Op op) {
    for (int i = 0; i < count; ++i) {
        dest[i] = op(pattern ? pattern[i] : 0, source ? source[i] : 0, dest[i]) & mask;
    }
}

void Generic(uint8_t rop, uint32_t* dest, const uint32_t* source, const uint32_t* pattern,
             int count, uint32_t mask) {
    // Results for d = 0 are the even bits of the index, for d = 1 the odd ones.
    const uint32_t z11 = Select(rop, 6), z10 = Select(rop, 4), z01 = Select(rop, 2),
                   z00 = Select(rop, 0);
    const uint32_t o11 = Select(rop, 7), o10 = Select(rop, 5), o01 = Select(rop, 3),
                   o00 = Select(rop, 1);
    for (int i = 0; i < count; ++i) {
        const uint32_t p = pattern ? pattern[i] : 0;
        const uint32_t s = source ? source[i] : 0;
        const uint32_t d = dest[i];
        const uint32_t ifZero = Of2(p, s, z11, z10, z01, z00);
        const uint32_t ifOne = Of2(p, s, o11, o10, o01, o00);
        dest[i] = ((~d & ifZero) | (d & ifOne)) & mask;
    }
}

}  // namespace

uint32_t Rop3Reference(uint8_t rop, uint32_t pattern, uint32_t source, uint32_t dest,
                       uint32_t mask) {
    uint32_t result = 0;
    for (int bit = 0; bit < 32; ++bit) {
        if (((mask >> bit) & 1) == 0) continue;
        const int p = (pattern >> bit) & 1, s = (source >> bit) & 1, d = (dest >> bit) & 1;
        if ((rop >> (p << 2 | s << 1 | d)) & 1) result |= 1u << bit;
    }
    return result;
}

void ApplyRop3Row(uint8_t rop, uint32_t* dest, const uint32_t* source, const uint32_t* pattern,
                  int count, uint32_t mask) {
    if (count <= 0) return;
    switch (rop) {
        case 0xCC:  // SRCCOPY
            for (int i = 0; i < count; ++i) dest[i] = source[i] & mask;
            return;
        case 0x88: Each(dest, source, nullptr, count, mask, [](uint32_t, uint32_t s, uint32_t d) { return s & d; }); return;
        case 0xEE: Each(dest, source, nullptr, count, mask, [](uint32_t, uint32_t s, uint32_t d) { return s | d; }); return;
        case 0x66: Each(dest, source, nullptr, count, mask, [](uint32_t, uint32_t s, uint32_t d) { return s ^ d; }); return;
        case 0x33: Each(dest, source, nullptr, count, mask, [](uint32_t, uint32_t s, uint32_t) { return ~s; }); return;
        case 0xBB: Each(dest, source, nullptr, count, mask, [](uint32_t, uint32_t s, uint32_t d) { return ~s | d; }); return;
        case 0xF0: Each(dest, nullptr, pattern, count, mask, [](uint32_t p, uint32_t, uint32_t) { return p; }); return;
        case 0x5A: Each(dest, nullptr, pattern, count, mask, [](uint32_t p, uint32_t, uint32_t d) { return p ^ d; }); return;
        case 0xC0: Each(dest, source, pattern, count, mask, [](uint32_t p, uint32_t s, uint32_t) { return p & s; }); return;
        case 0x55: Each(dest, nullptr, nullptr, count, mask, [](uint32_t, uint32_t, uint32_t d) { return ~d; }); return;
        case 0x00: std::memset(dest, 0, sizeof(uint32_t) * count); return;
        case 0xFF: for (int i = 0; i < count; ++i) dest[i] = mask; return;
        case 0xAA: for (int i = 0; i < count; ++i) dest[i] &= mask; return;
        default: Generic(rop, dest, source, pattern, count, mask); return;
    }
}

uint8_t Rop3FromRop2(int rop2) {
    const int table = (rop2 - 1) & 0xF;  // bit (p << 1 | d)
    uint8_t rop = 0;
    for (int i = 0; i < 8; ++i) {
        const int p = (i >> 2) & 1, d = i & 1;
        if ((table >> (p << 1 | d)) & 1) rop = static_cast<uint8_t>(rop | (1 << i));
    }
    return rop;
}

void Rop2Masks(int rop2, uint32_t pen, uint32_t mask, uint32_t& andMask, uint32_t& xorMask) {
    const uint8_t table = static_cast<uint8_t>((rop2 - 1) & 0xF);
    const uint32_t ifZero = (pen & Select(table, 2)) | (~pen & Select(table, 0));
    const uint32_t ifOne = (pen & Select(table, 3)) | (~pen & Select(table, 1));
    xorMask = ifZero & mask;
    andMask = (ifZero ^ ifOne) & mask;
}

}  // namespace platform::gdi
