#include "graphics/sheet.h"

HBITMAP g_undoPicture = nullptr;
HBITMAP g_scratchPicture = nullptr;
HBITMAP g_screenBuffer = nullptr;
HBITMAP g_backgroundPicture = nullptr;
int g_undoFlips = 0;
