// The four bitmaps that accompany the workshop's sheet. The workshop screen
// makes them when it is built and deletes them when it is left; between the
// two everyone may draw into them, one operation at a time.
#pragma once

#include "platform/windows.h"

// The sheet as it was before the last action; undo exchanges it with the sheet.
extern HBITMAP g_undoPicture;
// The transfer picture of loading, saving and printing, and a tool's work copy.
extern HBITMAP g_scratchPicture;
// A work copy of the whole window (640 x 480): undo, flips, the dialog veil.
extern HBITMAP g_screenBuffer;
// What the eraser brings back: the blank paper or the drawing last loaded.
extern HBITMAP g_backgroundPicture;

// The flips (bit 0 mirror, bit 1 upside down) that turn the orientation of
// the sheet kept in g_undoPicture into the orientation the sheet shows now.
// Only a flip of the sheet makes them differ; every other copy into the undo
// picture takes the sheet as shown and sets this back to 0.
extern int g_undoFlips;
