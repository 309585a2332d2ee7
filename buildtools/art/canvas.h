// A picture being drawn: a 32-bit top-down DIB section selected into a memory
// device context, so that the Windows layer's raster engine draws on it, with
// a few drawing verbs on top and direct access to the pixels.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace art {

struct Pt {
    int x;
    int y;
};

// Colours are COLORREF values; kNone draws no outline or no fill.
constexpr COLORREF kNone = 0xFFFFFFFFu;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(34, 34, 48);

class Canvas {
public:
    Canvas(int width, int height, COLORREF background = kWhite);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    HDC Dc() const { return m_dc; }

    // Pixels as 0x00RRGGBB, rows top-down.
    uint32_t Get(int x, int y) const { return m_bits[y * m_width + x] & 0xFFFFFF; }
    void Set(int x, int y, uint32_t rgb) { m_bits[y * m_width + x] = rgb & 0xFFFFFF; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    void Fill(COLORREF colour);
    void Box(int left, int top, int right, int bottom, COLORREF fill, COLORREF outline = kNone,
             int penWidth = 1);
    void Oval(int left, int top, int right, int bottom, COLORREF fill, COLORREF outline = kNone,
              int penWidth = 1);
    void RoundBox(int left, int top, int right, int bottom, int radius, COLORREF fill,
                  COLORREF outline = kNone, int penWidth = 1);
    void Polygon(const std::vector<Pt>& points, COLORREF fill, COLORREF outline = kNone,
                 int penWidth = 1);
    void Lines(const std::vector<Pt>& points, COLORREF colour, int penWidth);
    void Line(int x0, int y0, int x1, int y1, COLORREF colour, int penWidth) {
        Lines({{x0, y0}, {x1, y1}}, colour, penWidth);
    }
    // A vertical gradient from top to bottom colour over the rectangle.
    void Gradient(int left, int top, int right, int bottom, COLORREF topColour,
                  COLORREF bottomColour);
    // Text centred in the rectangle, in one of the faces that RegisterFonts made known.
    void Text(const std::string& text, int left, int top, int right, int bottom,
              const char* face, int height, COLORREF colour, int weight = FW_NORMAL);
    // The same text with an outline of the given thickness around each letter.
    void OutlinedText(const std::string& text, int left, int top, int right, int bottom,
                      const char* face, int height, COLORREF colour, COLORREF outline,
                      int thickness);
    // An emoji glyph fitted into the rectangle, keeping its proportions.
    void Emoji(char32_t codePoint, int left, int top, int right, int bottom);
    // Another canvas scaled into the rectangle with area averaging.
    void Draw(const Canvas& source, int left, int top, int width, int height);
    // Blends premultiplied BGRA pixels into the rectangle.
    void BlendPremultiplied(const uint32_t* pixels, int width, int height, int left, int top);

    // Bézier curve through four control points, as a list of points.
    static std::vector<Pt> Bezier(Pt a, Pt b, Pt c, Pt d, int steps = 24);

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    uint32_t* m_bits = nullptr;
};

// Makes the Windows layer ready for memory drawing and registers the faces the
// pictures write with. False when a font file is missing.
bool StartDrawing();

constexpr const char* kFaceFat = "Cherry Bomb";
constexpr const char* kFaceComic = "Comic Neue";
constexpr const char* kFaceSans = "Open Sans";

COLORREF Mix(COLORREF a, COLORREF b, int percentOfB);

}  // namespace art
