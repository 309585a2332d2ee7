// Test helpers for the raster engine: a memory device context holding a small
// 32-bit DIB section, painted from and read back as ASCII art, one character a
// pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace gdi_canvas {

// '.' white, 'X' black, 'r' red, 'g' green, 'b' blue, 'y' yellow; any other
// colour reads back as '?'.
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

inline std::string Join(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    return text;
}

// A memory DC on a top-down 32-bit DIB section of the given size.
class Sheet {
public:
    Sheet(int width, int height, char fill = '.') : m_width(width), m_height(height) {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<uint32_t*>(bits);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Sheet() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Valid() const { return m_bits != nullptr; }

    void Fill(char c) {
        const uint32_t value = Rgb(ColourOf(c));
        for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = value;
    }
    void Paint(const std::vector<std::string>& art, int x = 0, int y = 0) {
        for (size_t row = 0; row < art.size(); ++row) {
            for (size_t col = 0; col < art[row].size(); ++col) {
                At(x + static_cast<int>(col), y + static_cast<int>(row)) = Rgb(ColourOf(art[row][col]));
            }
        }
    }
    uint32_t& At(int x, int y) { return m_bits[y * m_width + x]; }
    char CharAt(int x, int y) const {
        const uint32_t value = m_bits[y * m_width + x] & 0xFFFFFF;
        for (char c : std::string(".Xrgby")) {
            if (Rgb(ColourOf(c)) == value) return c;
        }
        return '?';
    }
    std::string Art() const { return Art(RECT{0, 0, m_width, m_height}); }
    std::string Art(const RECT& r) const {
        std::string text;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) text += CharAt(x, y);
            text += "\n";
        }
        return text;
    }
    std::vector<uint32_t> Pixels() const {
        return std::vector<uint32_t>(m_bits, m_bits + m_width * m_height);
    }
    // The smallest rectangle holding every pixel that is not c.
    RECT BoundsOfNot(char c) const {
        RECT box{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (CharAt(x, y) == c) continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
        return box;
    }

private:
    static uint32_t Rgb(COLORREF c) {
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

// Selects a new object into a DC for a scope, then puts the old one back and
// deletes the new one.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_object(object), m_old(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_object);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_old;
};

}  // namespace gdi_canvas
