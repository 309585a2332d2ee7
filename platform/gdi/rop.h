// Raster operations on rows of pixel values: the ternary codes from their truth
// tables with fast kernels for the common ones, the binary codes as AND/XOR
// masks, and the plain per-bit reference evaluator the kernels are tested
// against.
#pragma once

#include <cstdint>

namespace platform::gdi {

// Bit (p << 2 | s << 1 | d) of a ternary index is the result for those bits.
inline bool RopUsesSource(uint8_t rop) { return ((rop >> 2) & 0x33) != (rop & 0x33); }
inline bool RopUsesPattern(uint8_t rop) { return ((rop >> 4) & 0x0F) != (rop & 0x0F); }
inline bool RopUsesDest(uint8_t rop) { return ((rop >> 1) & 0x55) != (rop & 0x55); }
inline uint8_t RopIndex(uint32_t rop) { return static_cast<uint8_t>(rop >> 16); }

// Evaluates index rop bit by bit over the bits in mask; slow and obviously right.
uint32_t Rop3Reference(uint8_t rop, uint32_t pattern, uint32_t source, uint32_t dest,
                       uint32_t mask);

// dest[i] = rop(pattern[i], source[i], dest[i]) & mask for i < count. Pattern or
// source may be null when the operation does not use them.
void ApplyRop3Row(uint8_t rop, uint32_t* dest, const uint32_t* source, const uint32_t* pattern,
                  int count, uint32_t mask);

// The ternary index that applies binary mode rop2 (R2_*) with the pen as the
// pattern.
uint8_t Rop3FromRop2(int rop2);

// Masks such that dest = (dest & andMask) ^ xorMask applies rop2 with pen.
void Rop2Masks(int rop2, uint32_t pen, uint32_t mask, uint32_t& andMask, uint32_t& xorMask);

}  // namespace platform::gdi
