// Copies between the current surface and bitmaps, transparent draws through a
// mask, and mirroring and flipping bitmaps in place.
//
// A copy whose source and destination rectangles have the same size is a
// BitBlt; otherwise the whole source rectangle is stretched onto the whole
// destination rectangle. Plain and stretched copies use the blit raster
// operation, SRCCOPY unless a caller changes it for one draw.
#pragma once

#include "platform/windows.h"

// Both setters return the previous value; callers put it back at once.
DWORD SetBlitRasterOp(DWORD rop);
int SetBlitStretchMode(int mode);

void CopySurfaceToBitmap(const RECT& src, HBITMAP bitmap, const RECT& dst);
void CopySurfaceToBitmapAt(const RECT& src, HBITMAP bitmap, int x, int y);
// A new bitmap holding a copy of the surface's rectangle; the caller owns it.
HBITMAP GrabSurfaceRect(const RECT& rect);

void DrawBitmapRect(HBITMAP bitmap, const RECT& src, const RECT& dst);
void DrawBitmapRectAt(HBITMAP bitmap, const RECT& src, int x, int y);
void DrawBitmapAt(HBITMAP bitmap, int x, int y);

void CopyBitmapRect(HBITMAP source, const RECT& src, HBITMAP dest, const RECT& dst);
void CopyBitmapRectAt(HBITMAP source, const RECT& src, HBITMAP dest, int x, int y);

// The image shows where the mask is black; where it is white the background
// stays. The draw onto the surface lands in one blit.
void DrawMaskedRectAt(HBITMAP image, HBITMAP mask, const RECT& src, int x, int y);
void DrawMaskedAt(HBITMAP image, HBITMAP mask, int x, int y);
void MaskCopyBitmapRectAt(HBITMAP image, HBITMAP mask, const RECT& src, HBITMAP dest, int x,
                          int y);

// A new monochrome bitmap: white where the bitmap is white, black elsewhere.
HBITMAP MakeMaskFromBitmap(HBITMAP bitmap);

// Left-right mirror and upside-down flip in place, of the rectangle or, when
// it is null, of the whole bitmap.
void MirrorBitmap(HBITMAP bitmap, const RECT* rect);
void FlipBitmap(HBITMAP bitmap, const RECT* rect);
