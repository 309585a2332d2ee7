// Test helpers for the graphics toolkit: a small bitmap at the display's depth
// made the current surface, painted from and read back as ASCII art, one
// character a pixel.
#pragma once

#include <string>
#include <vector>

#include "graphics/drawing_state.h"
#include "graphics/patterns.h"
#include "graphics/surface.h"
#include "platform/gdi/dc.h"
#include "platform/windows.h"
#include "tests/support/layer.h"

namespace canvas {

// The colours of the art: '.' white, 'X' black, 'r' red, 'g' green, 'b' blue,
// 'y' yellow; any other colour reads back as '?'.
inline COLORREF ColourOf(char c) {
    switch (c) {
        case 'X': return RGB(0, 0, 0);
        case 'r': return RGB(255, 0, 0);
        case 'g': return RGB(0, 255, 0);
        case 'b': return RGB(0, 0, 255);
        case 'y': return RGB(255, 255, 0);
        default: return RGB(255, 255, 255);
    }
}

inline char CharOf(COLORREF colour) {
    for (char c : std::string(".Xrgby")) {
        if (ColourOf(c) == colour) return c;
    }
    return '?';
}

inline std::string Join(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    return text;
}

// A fresh layer with a display of the given depth and the toolkit's state
// back to its start.
inline void ResetToolkit(int depth = 32) {
    testing_support::ResetLayer();
    platform::gdi::InitDisplay(640, 480, depth);
    // The patterns are made once per process, as at start-up, so that the
    // tests do not fill the exit handler table.
    if (FillPatternBitmap(0) == nullptr || GetObjectType(FillPatternBitmap(0)) != OBJ_BITMAP) {
        CreateFillPatterns();
    }
    g_drawingState = DrawingState{};
    g_drawingState.patternBitmap = FillPatternBitmap(0);
}

// Paints art into the current surface at (x, y).
inline void Paint(const std::vector<std::string>& art, int x = 0, int y = 0) {
    for (size_t row = 0; row < art.size(); ++row) {
        for (size_t col = 0; col < art[row].size(); ++col) {
            SetPixelV(g_currentSurface, x + static_cast<int>(col), y + static_cast<int>(row),
                      ColourOf(art[row][col]));
        }
    }
}

// Reads a rectangle of the current surface back as art.
inline std::string Read(const RECT& rect) {
    std::string text;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            text += CharOf(GetPixel(g_currentSurface, x, y));
        }
        text += "\n";
    }
    return text;
}

// A bitmap of the display's depth that is the current surface while it lives.
class Canvas {
public:
    Canvas(int width, int height, char fill = '.') : m_rect{0, 0, width, height} {
        GetWindowSurface(nullptr);
        m_bitmap = CreateCompatibleBitmap(g_currentSurface, width, height);
        SelectBitmapSurface(m_bitmap);
        HBRUSH brush = CreateSolidBrush(ColourOf(fill));
        FillRect(g_currentSurface, &m_rect, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        RestoreSurface();
        DeleteObject(m_bitmap);
        ReleaseWindowSurface();
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HBITMAP Bitmap() const { return m_bitmap; }
    std::string Art() const { return Read(m_rect); }

private:
    RECT m_rect;
    HBITMAP m_bitmap = nullptr;
};

// A bitmap of the display's depth painted from art, owned by the test.
inline HBITMAP MakeBitmap(const std::vector<std::string>& art) {
    const int w = static_cast<int>(art[0].size());
    const int h = static_cast<int>(art.size());
    HBITMAP bitmap = CreateCompatibleBitmap(g_currentSurface, w, h);
    SelectBitmapSurface(bitmap);
    Paint(art);
    RestoreSurface();
    return bitmap;
}

// Reads a bitmap back as art through a temporary surface.
inline std::string ReadBitmap(HBITMAP bitmap) {
    RECT rect;
    GetBitmapRect(bitmap, rect);
    SelectBitmapSurface(bitmap);
    std::string text = Read(rect);
    RestoreSurface();
    return text;
}

}  // namespace canvas
