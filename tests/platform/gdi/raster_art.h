// Test helpers for the raster core: memory contexts on bitmaps of 1, 8 and 32
// bits painted from and read back as ASCII art, one character a pixel.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/windows.h"

namespace raster_art {

// '.' white, 'X' black, 'r' red, 'g' green, 'b' blue; anything else reads '?'.
inline COLORREF Colour(char c) {
    switch (c) {
        case 'X': return RGB(0, 0, 0);
        case 'r': return RGB(255, 0, 0);
        case 'g': return RGB(0, 255, 0);
        case 'b': return RGB(0, 0, 255);
        default: return RGB(255, 255, 255);
    }
}

inline char Char(COLORREF colour) {
    for (char c : std::string(".Xrgb")) {
        if (Colour(c) == colour) return c;
    }
    return '?';
}

// A memory DC holding a new bitmap of the given depth (1, 8 or 32).
class Canvas {
public:
    Canvas(int width, int height, int bits) {
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateBitmap(width, height, 1, bits, nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    Canvas(const std::vector<std::string>& art, int bits)
        : Canvas(static_cast<int>(art[0].size()), static_cast<int>(art.size()), bits) {
        Paint(art);
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    platform::gdi::Surface& Surface() const { return *platform::gdi::LookupDC(m_dc)->surface; }

    void Paint(const std::vector<std::string>& art) {
        for (size_t y = 0; y < art.size(); ++y) {
            for (size_t x = 0; x < art[y].size(); ++x) {
                platform::gdi::WriteRgb(Surface(), static_cast<int>(x), static_cast<int>(y),
                                        platform::gdi::RgbFromColorref(Colour(art[y][x])));
            }
        }
    }
    std::vector<std::string> Art() const {
        std::vector<std::string> rows;
        for (int y = 0; y < Surface().height; ++y) {
            std::string row;
            for (int x = 0; x < Surface().width; ++x) {
                row += Char(platform::gdi::ColorrefFromRgb(platform::gdi::ReadRgb(Surface(), x, y)));
            }
            rows.push_back(row);
        }
        return rows;
    }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

}  // namespace raster_art
