// Filling a connected area of one colour: the system's surface fill for a
// plain colour, and the pattern fill that lays only a pattern's ink pixels over
// the area and leaves its paper pixels as they were.
#pragma once

#include "platform/windows.h"

// Lends work bitmaps of at least (bounds width + 8) x (bounds height + 8) to
// the next pattern fill, which never deletes them and forgets them when it
// returns. Any of them may be null.
void LendFillBitmaps(HBITMAP colourA, HBITMAP colourB, HBITMAP mono);

// Fills the area of the colour found at (x, y) with the colour, through the
// pattern fill in pattern mode; bounds null means the whole screen.
void FloodFill(int x, int y, COLORREF colour, const RECT* bounds);

// The pattern fill inside the bounds with the brush that FloodFill selected,
// colour carrying the palette flag. Returns 1 when done, 0 when the seed is
// outside the bounds, the bounds are empty or a work object could not be made.
int PatternFloodFill(int x, int y, const RECT& bounds, COLORREF colour);
