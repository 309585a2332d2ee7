// The current drawing surface, the bitmaps made on it and the pictures loaded
// from the resource module.
//
// Every drawing primitive of the toolkit draws on one process-wide device
// context, the current surface. It is acquired for a window and released within
// one operation; a bitmap can stand in for it for a while, one level deep.
#pragma once

#include "platform/windows.h"

// The sheet, the drawing area of the workshop window, and its own coordinates.
constexpr RECT kSheetRect{84, 36, 596, 436};
constexpr RECT kSheetArea{0, 0, 512, 400};

// The surface every primitive draws on, or null between uses.
extern HDC g_currentSurface;
// 0 after a successful picture load, else the reason.
extern long g_lastLoadError;

HDC GetWindowSurface(HWND window);
void ReleaseWindowSurface();
HDC BeginPaintSurface(HWND window);
void EndPaintSurface();
// The paint record of the last BeginPaintSurface.
const PAINTSTRUCT& PaintRecord();

// Makes the bitmap the current surface until RestoreSurface; not nested.
void SelectBitmapSurface(HBITMAP bitmap);
void RestoreSurface();

void ClipToRegion(HRGN region);
void ClipToRect(const RECT& rect);
void ClearClip();

// The program palette, or the stock default palette when there is none yet.
HPALETTE PaletteForSurfaces();

// Flag bits of the bitmap makers.
constexpr int kFillWhite = 1;
constexpr int kFillBlack = 2;

HBITMAP CreateSurfaceBitmap(const RECT& rect, int flags);
HBITMAP CreateMonoBitmap(const RECT& rect, int flags);
void GetBitmapRect(HBITMAP bitmap, RECT& rect);

// Pictures are bitmap resources of the current resource module, found by number.
HBITMAP LoadPicture(int number);
HBITMAP LoadPictureOrFail(int number);
HBITMAP LoadResourceBitmap(int number);
HBITMAP LoadResourceBitmapOrFail(int number);
