// The 45 fill patterns: monochrome 8 x 8 bitmaps in which a 0 bit is ink, drawn
// in the colour, and a 1 bit is paper. Pattern 0 is all ink (a plain fill),
// pattern 19 all paper.
#pragma once

#include <cstdint>

#include "platform/windows.h"

constexpr int kPatternCount = 45;

// Row bytes, top row first, most significant bit leftmost.
extern const uint8_t kPatternRows[kPatternCount][8];

// Makes the pattern bitmaps once at start-up and registers the exit handler
// that deletes them; a pattern that cannot be made is a fatal error.
void CreateFillPatterns();
void DeleteFillPatterns();

// The pattern's bitmap, or null before CreateFillPatterns or out of range.
HBITMAP FillPatternBitmap(int number);

// Whether the pattern puts ink at (x, y) of a surface whose brush origin is
// (0, 0): the pattern repeats every 8 pixels in both directions.
inline bool IsPatternInk(int number, int x, int y) {
    return ((kPatternRows[number][y & 7] << (x & 7)) & 0x80) == 0;
}
