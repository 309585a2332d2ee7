// GDI: device contexts on windows and the display, stock objects, solid brushes
// and rectangle fills, and the display's device capabilities.
//
// This is the first slice of the raster engine: window device contexts draw into
// the emulated display's 32-bit framebuffer through a clip list of rectangles.
// Left out for now: bitmaps, memory contexts, pens, patterns, regions, fonts and
// palettes beyond the calls that keep the program's start-up running. The
// display is always stored at 32 bits per pixel; GetDeviceCaps reports the
// emulated depth chosen with --depth.
#pragma once

#include "platform/win/types.h"

typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
} LOGPALETTE, *LPLOGPALETTE;

// Device capabilities.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define RC_PALETTE 0x0100

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define DEFAULT_PALETTE 15

#define MM_TEXT 1
#define GDI_ERROR (0xFFFFFFFFL)

HDC WINAPI CreateICA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
HDC WINAPI CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
BOOL WINAPI DeleteDC(HDC dc);
int WINAPI GetDeviceCaps(HDC dc, int index);
BOOL WINAPI GdiFlush(void);
int WINAPI SetMapMode(HDC dc, int mode);
BOOL WINAPI GetDCOrgEx(HDC dc, LPPOINT origin);

HGDIOBJ WINAPI GetStockObject(int index);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
HBRUSH WINAPI CreateSolidBrush(COLORREF colour);
int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush);

HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette);
HPALETTE WINAPI SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT WINAPI RealizePalette(HDC dc);
