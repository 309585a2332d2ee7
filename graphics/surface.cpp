#include "graphics/surface.h"

#include <cstdint>
#include <cstdio>

#include "shell/messages.h"
#include "shell/resources.h"
#include "shell/screen.h"

HDC g_currentSurface = nullptr;
long g_lastLoadError = 0;

namespace {

HWND g_surfaceWindow = nullptr;
PAINTSTRUCT g_paintRecord{};
HDC g_savedSurface = nullptr;
HGDIOBJ g_savedBitmap = nullptr;
HPALETTE g_savedPalette = nullptr;

// The reason a picture could not be made when the system gives none.
constexpr long kNoBitmapError = -48;
constexpr long kNoResourceBitmapError = -101;

void FillBitmap(HBITMAP bitmap, int width, int height, DWORD rop) {
    HDC dc = CreateCompatibleDC(g_currentSurface);
    if (dc == nullptr) return;
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, width, height, rop);
    SelectObject(dc, old);
    DeleteDC(dc);
}

// Checks a packed bitmap resource and finds its pixels; null when the header,
// the colour table or the rows do not fit in the resource's size.
const void* PicturePixels(const BITMAPINFOHEADER* header, size_t size) {
    if (size < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER) ||
        header->biSize > size) {
        return nullptr;
    }
    const int bits = header->biBitCount;
    if (header->biCompression != BI_RGB || header->biPlanes != 1 || header->biWidth <= 0 ||
        header->biWidth > 32767 || header->biHeight == 0 || header->biHeight < -32767 ||
        header->biHeight > 32767 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
        return nullptr;
    }
    uint64_t entries = 0;
    if (bits < 9) {
        entries = header->biClrUsed != 0 ? header->biClrUsed : (1u << bits);
        if (entries > (1u << bits)) return nullptr;
    }
    const uint64_t rowBytes = (static_cast<uint64_t>(header->biWidth) * bits + 31) / 32 * 4;
    const uint64_t rows = header->biHeight < 0 ? -static_cast<int64_t>(header->biHeight)
                                               : header->biHeight;
    const uint64_t offset = header->biSize + 4 * entries;
    if (offset + rowBytes * rows > size) return nullptr;
    return reinterpret_cast<const uint8_t*>(header) + offset;
}

// Finds, checks and converts a bitmap resource of the current resource
// module; leaves the reason for a failure in g_lastLoadError.
HBITMAP MakeBitmapFromResource(int number, long fallbackError) {
    HRSRC found = FindResourceA(g_resourceModule, MAKEINTRESOURCEA(number), RT_BITMAP);
    HGLOBAL loaded = found != nullptr ? LoadResource(g_resourceModule, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        g_lastLoadError = static_cast<long>(GetLastError());
        if (g_lastLoadError == 0) g_lastLoadError = fallbackError;
        return nullptr;
    }
    const auto* header = static_cast<const BITMAPINFOHEADER*>(data);
    const void* pixels = PicturePixels(header, SizeofResource(g_resourceModule, found));
    HBITMAP bitmap = nullptr;
    if (pixels != nullptr) {
        // The picture's colours are matched against the program palette, also
        // when no surface is current (a background chosen from a dialog): the
        // screen's own context would offer only the twenty static colours.
        HDC dc = g_currentSurface != nullptr ? g_currentSurface : GetDC(nullptr);
        HPALETTE previous = SelectPalette(dc, PaletteForSurfaces(), FALSE);
        bitmap = CreateDIBitmap(dc, header, CBM_INIT, pixels,
                                reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
        SelectPalette(dc, previous, FALSE);
        if (dc != g_currentSurface) ReleaseDC(nullptr, dc);
    }
    if (bitmap == nullptr) {
        g_lastLoadError = pixels != nullptr ? static_cast<long>(GetLastError()) : 0;
        if (g_lastLoadError == 0) g_lastLoadError = fallbackError;
        return nullptr;
    }
    g_lastLoadError = 0;
    return bitmap;
}

HBITMAP ReportLoadFailure(HBITMAP bitmap, int number) {
    if (bitmap == nullptr) {
        char text[16];
        snprintf(text, sizeof text, "%d", number);
        ShowMessageWithText(19, text, kFatal, g_lastLoadError);
    }
    return bitmap;
}

}  // namespace

HDC GetWindowSurface(HWND window) {
    g_currentSurface = GetDC(window);
    g_surfaceWindow = window;
    return g_currentSurface;
}

void ReleaseWindowSurface() {
    ReleaseDC(g_surfaceWindow, g_currentSurface);
    g_currentSurface = nullptr;
}

HDC BeginPaintSurface(HWND window) {
    g_currentSurface = BeginPaint(window, &g_paintRecord);
    g_surfaceWindow = window;
    return g_currentSurface;
}

void EndPaintSurface() {
    EndPaint(g_surfaceWindow, &g_paintRecord);
    g_currentSurface = nullptr;
}

const PAINTSTRUCT& PaintRecord() { return g_paintRecord; }

HPALETTE PaletteForSurfaces() {
    if (g_programPalette != nullptr) return g_programPalette;
    return static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
}

void SelectBitmapSurface(HBITMAP bitmap) {
    g_savedSurface = g_currentSurface;
    HDC dc = CreateCompatibleDC(g_savedSurface);
    if (dc == nullptr) {
        ShowMessage(18, kFatal, 200);
        return;
    }
    g_savedBitmap = SelectObject(dc, bitmap);
    g_savedPalette = SelectPalette(dc, PaletteForSurfaces(), FALSE);
    g_currentSurface = dc;
}

void RestoreSurface() {
    SelectPalette(g_currentSurface, g_savedPalette, FALSE);
    SelectObject(g_currentSurface, g_savedBitmap);
    DeleteDC(g_currentSurface);
    g_currentSurface = g_savedSurface;
    g_savedSurface = nullptr;
    g_savedBitmap = nullptr;
    g_savedPalette = nullptr;
}

void ClipToRegion(HRGN region) { SelectClipRgn(g_currentSurface, region); }

void ClipToRect(const RECT& rect) {
    HRGN region = CreateRectRgnIndirect(&rect);
    SelectClipRgn(g_currentSurface, region);
    DeleteObject(region);
}

void ClearClip() { SelectClipRgn(g_currentSurface, nullptr); }

HBITMAP CreateSurfaceBitmap(const RECT& rect, int flags) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HBITMAP bitmap = CreateCompatibleBitmap(g_currentSurface, width, height);
    if (bitmap == nullptr) {
        ShowMessage(18, kFatal, 202);
        return nullptr;
    }
    if (flags & kFillWhite) {
        HDC dc = CreateCompatibleDC(g_currentSurface);
        if (dc == nullptr) {
            ShowMessage(18, kFatal, 201);
            return bitmap;
        }
        HGDIOBJ old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    return bitmap;
}

HBITMAP CreateMonoBitmap(const RECT& rect, int flags) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HBITMAP bitmap = CreateBitmap(width, height, 1, 1, nullptr);
    if (bitmap == nullptr) {
        ShowMessage(18, kFatal, 203);
        return nullptr;
    }
    if (flags & kFillBlack) {
        FillBitmap(bitmap, width, height, BLACKNESS);
    } else if (flags & kFillWhite) {
        FillBitmap(bitmap, width, height, WHITENESS);
    }
    return bitmap;
}

void GetBitmapRect(HBITMAP bitmap, RECT& rect) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    rect = RECT{0, 0, info.bmWidth, info.bmHeight};
}

HBITMAP LoadPicture(int number) { return MakeBitmapFromResource(number, kNoBitmapError); }

HBITMAP LoadPictureOrFail(int number) { return ReportLoadFailure(LoadPicture(number), number); }

// FIXME: the layer has no LoadBitmapA yet; the resource goes through the same
// conversion as LoadPicture and keeps this operation's own error value.
HBITMAP LoadResourceBitmap(int number) {
    return MakeBitmapFromResource(number, kNoResourceBitmapError);
}

HBITMAP LoadResourceBitmapOrFail(int number) {
    return ReportLoadFailure(LoadResourceBitmap(number), number);
}
