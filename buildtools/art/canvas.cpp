#include "buildtools/art/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "buildtools/art/emoji.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"

namespace art {
namespace {

// Draws with a pen and a brush selected for one call, then puts the old ones back.
class Tools {
public:
    Tools(HDC dc, COLORREF fill, COLORREF outline, int penWidth) : m_dc(dc) {
        m_brush = fill == kNone ? GetStockObject(NULL_BRUSH) : CreateSolidBrush(fill);
        m_pen = outline == kNone ? GetStockObject(NULL_PEN)
                                 : CreatePen(PS_SOLID, penWidth, outline);
        m_ownBrush = fill != kNone;
        m_ownPen = outline != kNone;
        m_oldBrush = SelectObject(dc, m_brush);
        m_oldPen = SelectObject(dc, m_pen);
    }
    ~Tools() {
        SelectObject(m_dc, m_oldBrush);
        SelectObject(m_dc, m_oldPen);
        if (m_ownBrush) DeleteObject(m_brush);
        if (m_ownPen) DeleteObject(m_pen);
    }

private:
    HDC m_dc;
    HGDIOBJ m_brush;
    HGDIOBJ m_pen;
    HGDIOBJ m_oldBrush;
    HGDIOBJ m_oldPen;
    bool m_ownBrush;
    bool m_ownPen;
};

}  // namespace

COLORREF Mix(COLORREF a, COLORREF b, int percentOfB) {
    auto channel = [&](int shift) {
        const int ca = (a >> shift) & 0xFF;
        const int cb = (b >> shift) & 0xFF;
        return static_cast<COLORREF>((ca * (100 - percentOfB) + cb * percentOfB) / 100) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

bool StartDrawing() {
    platform::Options options;
    platform::InstallBackend(platform::MakeHeadlessBackend(options));
    platform::gdi::InitDisplay(640, 480, 32);
    const char* fonts[] = {"/usr/share/fonts/opentype/cherrybomb/CherryBomb-Regular.otf",
                           "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf",
                           "/usr/share/fonts/truetype/open-sans/OpenSans-Bold.ttf"};
    for (const char* font : fonts) {
        if (AddFontResourceA(font) == 0) {
            std::fprintf(stderr, "tavelin_art: cannot register the font %s\n", font);
            return false;
        }
    }
    return true;
}

Canvas::Canvas(int width, int height, COLORREF background) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    SetBkMode(m_dc, TRANSPARENT);
    Fill(background);
}

Canvas::~Canvas() {
    SelectObject(m_dc, m_oldBitmap);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

void Canvas::Fill(COLORREF colour) { Box(0, 0, m_width, m_height, colour); }

void Canvas::Box(int left, int top, int right, int bottom, COLORREF fill, COLORREF outline,
                 int penWidth) {
    if (outline == kNone) {
        // Rectangle without a pen leaves out the right and bottom edges.
        ++right;
        ++bottom;
    }
    Tools tools(m_dc, fill, outline, penWidth);
    Rectangle(m_dc, left, top, right, bottom);
}

void Canvas::Oval(int left, int top, int right, int bottom, COLORREF fill, COLORREF outline,
                  int penWidth) {
    if (outline == kNone) {
        ++right;
        ++bottom;
    }
    Tools tools(m_dc, fill, outline, penWidth);
    Ellipse(m_dc, left, top, right, bottom);
}

void Canvas::RoundBox(int left, int top, int right, int bottom, int radius, COLORREF fill,
                      COLORREF outline, int penWidth) {
    if (outline != kNone) {
        HRGN outer = CreateRoundRectRgn(left, top, right + 1, bottom + 1, radius * 2, radius * 2);
        HBRUSH brush = CreateSolidBrush(outline);
        FillRgn(m_dc, outer, brush);
        DeleteObject(brush);
        DeleteObject(outer);
        left += penWidth;
        top += penWidth;
        right -= penWidth;
        bottom -= penWidth;
        radius = std::max(1, radius - penWidth);
    }
    if (fill == kNone) return;
    HRGN inner = CreateRoundRectRgn(left, top, right + 1, bottom + 1, radius * 2, radius * 2);
    HBRUSH brush = CreateSolidBrush(fill);
    FillRgn(m_dc, inner, brush);
    DeleteObject(brush);
    DeleteObject(inner);
}

void Canvas::Polygon(const std::vector<Pt>& points, COLORREF fill, COLORREF outline,
                     int penWidth) {
    std::vector<POINT> corners;
    for (const Pt& p : points) corners.push_back({p.x, p.y});
    if (fill != kNone) {
        HRGN region = CreatePolygonRgn(corners.data(), static_cast<int>(corners.size()), WINDING);
        HBRUSH brush = CreateSolidBrush(fill);
        FillRgn(m_dc, region, brush);
        DeleteObject(brush);
        DeleteObject(region);
    }
    if (outline != kNone) {
        std::vector<Pt> closed = points;
        closed.push_back(points.front());
        Lines(closed, outline, penWidth);
    }
}

void Canvas::Lines(const std::vector<Pt>& points, COLORREF colour, int penWidth) {
    std::vector<POINT> corners;
    for (const Pt& p : points) corners.push_back({p.x, p.y});
    Tools tools(m_dc, kNone, colour, penWidth);
    Polyline(m_dc, corners.data(), static_cast<int>(corners.size()));
}

void Canvas::Gradient(int left, int top, int right, int bottom, COLORREF topColour,
                      COLORREF bottomColour) {
    const int h = std::max(1, bottom - top);
    for (int y = top; y < bottom; ++y) {
        const COLORREF c = Mix(topColour, bottomColour, (y - top) * 100 / h);
        for (int x = std::max(0, left); x < std::min(right, m_width); ++x) {
            if (y >= 0 && y < m_height) Set(x, y, (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        }
    }
}

void Canvas::Text(const std::string& text, int left, int top, int right, int bottom,
                  const char* face, int height, COLORREF colour, int weight) {
    HFONT font = CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0,
                             ANTIALIASED_QUALITY, 0, face);
    HGDIOBJ old = SelectObject(m_dc, font);
    SetTextColor(m_dc, colour);
    RECT r{left, top, right, bottom};
    DrawTextA(m_dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(m_dc, old);
    DeleteObject(font);
}

void Canvas::OutlinedText(const std::string& text, int left, int top, int right, int bottom,
                          const char* face, int height, COLORREF colour, COLORREF outline,
                          int thickness) {
    for (int dy = -thickness; dy <= thickness; ++dy) {
        for (int dx = -thickness; dx <= thickness; ++dx) {
            if (dx * dx + dy * dy > thickness * thickness + 1) continue;
            Text(text, left + dx, top + dy, right + dx, bottom + dy, face, height, outline);
        }
    }
    Text(text, left, top, right, bottom, face, height, colour);
}

void Canvas::Emoji(char32_t codePoint, int left, int top, int right, int bottom) {
    const EmojiGlyph* glyph = LoadEmoji(codePoint);
    if (glyph == nullptr) return;
    const int boxW = right - left;
    const int boxH = bottom - top;
    // Fit the glyph's inked area, so that every emoji fills its box alike.
    const int gw = glyph->inkRight - glyph->inkLeft;
    const int gh = glyph->inkBottom - glyph->inkTop;
    const double scale = std::min(static_cast<double>(boxW) / gw, static_cast<double>(boxH) / gh);
    const int w = std::max(1, static_cast<int>(std::lround(gw * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(gh * scale)));
    std::vector<uint32_t> scaled =
        ResamplePremultiplied(glyph->pixels.data(), glyph->width, glyph->inkLeft, glyph->inkTop,
                              gw, gh, w, h);
    BlendPremultiplied(scaled.data(), w, h, left + (boxW - w) / 2, top + (boxH - h) / 2);
}

void Canvas::BlendPremultiplied(const uint32_t* pixels, int width, int height, int left,
                                int top) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!Inside(left + x, top + y)) continue;
            const uint32_t s = pixels[y * width + x];
            const uint32_t a = s >> 24;
            if (a == 0) continue;
            const uint32_t d = Get(left + x, top + y);
            uint32_t out = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t c = ((s >> shift) & 0xFF) + ((d >> shift) & 0xFF) * (255 - a) / 255;
                out |= std::min<uint32_t>(c, 255) << shift;
            }
            Set(left + x, top + y, out);
        }
    }
}

void Canvas::Draw(const Canvas& source, int left, int top, int width, int height) {
    std::vector<uint32_t> opaque(static_cast<size_t>(source.m_width) * source.m_height);
    for (size_t i = 0; i < opaque.size(); ++i) opaque[i] = source.m_bits[i] | 0xFF000000u;
    std::vector<uint32_t> scaled = ResamplePremultiplied(
        opaque.data(), source.m_width, 0, 0, source.m_width, source.m_height, width, height);
    BlendPremultiplied(scaled.data(), width, height, left, top);
}

std::vector<Pt> Canvas::Bezier(Pt a, Pt b, Pt c, Pt d, int steps) {
    std::vector<Pt> points;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double u = 1 - t;
        const double x = u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x;
        const double y = u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y;
        points.push_back({static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))});
    }
    return points;
}

}  // namespace art
