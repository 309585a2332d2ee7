// Pens and the shapes drawn with them: lines, polylines, rectangles and
// ellipses. Each shape becomes spans; the interior goes through the brush path,
// the outline through the pen's colour, both with the context's ROP2, and no
// pixel is drawn twice by one call (except where a cosmetic polyline crosses
// itself, as on Windows).
#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "platform/gdi/spans.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

// The dash patterns of one-pixel styled pens, in pixels: on, off, on, ...
struct Dash {
    int count;
    int lengths[6];
    int total;
};
constexpr Dash kDash{2, {18, 6}, 24};
constexpr Dash kDot{2, {3, 3}, 6};
constexpr Dash kDashDot{4, {9, 6, 3, 6}, 24};
constexpr Dash kDashDotDot{6, {9, 3, 3, 3, 3, 3}, 24};

bool DashOn(const Dash& dash, int position) {
    int at = position % dash.total;
    for (int i = 0; i < dash.count; ++i) {
        if (at < dash.lengths[i]) return i % 2 == 0;
        at -= dash.lengths[i];
    }
    return false;
}

struct Pen {
    bool null = true;
    const Dash* dash = nullptr;  // a styled one-pixel pen
    bool insideFrame = false;
    int width = 1;  // 1 for a cosmetic pen
    COLORREF colour = 0;
};

Pen PenOf(const DeviceContext& dc) {
    Pen pen;
    const PenObject* object = FindObjectOf<PenObject>(dc.pen, OBJ_PEN);
    if (object == nullptr) return pen;
    const UINT style = object->style & 0x0F;
    pen.null = style == PS_NULL;
    pen.width = std::max(object->width, 1);
    if (pen.width == 1) {
        // Wider pens of these styles draw solid.
        switch (style) {
            case PS_DASH: pen.dash = &kDash; break;
            case PS_DOT: pen.dash = &kDot; break;
            case PS_DASHDOT: pen.dash = &kDashDot; break;
            case PS_DASHDOTDOT: pen.dash = &kDashDotDot; break;
            default: break;
        }
    }
    pen.insideFrame = style == PS_INSIDEFRAME && pen.width > 1;
    pen.colour = object->colour;
    return pen;
}

// The rows and columns the context can draw on, as a limit for span makers.
bool ClipBounds(const DeviceContext& dc, RECT& bounds) {
    if (dc.surface == nullptr || dc.clip.empty()) return false;
    bounds = dc.clip.front();
    for (const RECT& r : dc.clip) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    return true;
}

void FillPen(DeviceContext& dc, const Pen& pen, const std::vector<Span>& spans) {
    FillSpansWithColour(dc, spans.data(), spans.size(), pen.colour);
}

// A pixel of a styled pen's path and its place in the dash pattern.
struct PathPixel {
    int x;
    int y;
    int position;
};

// Draws a path with a styled pen: dashes in the pen's colour, gaps in the
// background colour when the background mode is opaque.
void DrawStyledPath(DeviceContext& dc, const Pen& pen, const std::vector<PathPixel>& path) {
    std::vector<Span> dashes;
    std::vector<Span> gaps;
    for (const PathPixel& p : path) {
        std::vector<Span>& out = DashOn(*pen.dash, p.position) ? dashes : gaps;
        if (!out.empty() && out.back().y == p.y && out.back().right == p.x) {
            ++out.back().right;
        } else if (!out.empty() && out.back().y == p.y && out.back().left == p.x + 1) {
            --out.back().left;
        } else {
            out.push_back({p.y, p.x, p.x + 1});
        }
    }
    FillPen(dc, pen, dashes);
    if (dc.bkMode == OPAQUE) FillSpansWithColour(dc, gaps.data(), gaps.size(), dc.bkColour);
}

// Appends a one-pixel line's pixels to a styled path; `position` is where the
// pattern stands at the line's start, and moves on to its end.
void AppendLinePath(std::vector<PathPixel>& path, POINT from, POINT to, const RECT& limit,
                    int& position) {
    const int base = position;
    ForEachLinePixel(from, to, limit,
                     [&](int x, int y, int index) { path.push_back({x, y, base + index}); });
    position = base + std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
}

POINT ToDevice(const DeviceContext& dc, int x, int y) {
    return POINT{x + dc.origin.x, y + dc.origin.y};
}

// Strokes a path in device coordinates with the pen; cosmetic segments each
// leave out their last pixel.
void StrokePath(DeviceContext& dc, const Pen& pen, const POINT* points, size_t count) {
    RECT limit;
    if (pen.null || !ClipBounds(dc, limit)) return;
    if (pen.width > 1) {
        FillPen(dc, pen, WidePathSpans(points, count, false, pen.width, limit));
    } else if (pen.dash != nullptr) {
        std::vector<PathPixel> path;
        int position = 0;
        for (size_t i = 0; i + 1 < count; ++i) {
            AppendLinePath(path, points[i], points[i + 1], limit, position);
        }
        DrawStyledPath(dc, pen, path);
    } else {
        std::vector<Span> spans;
        for (size_t i = 0; i + 1 < count; ++i) AppendThinLine(spans, points[i], points[i + 1], limit);
        FillPen(dc, pen, spans);
    }
}

// The rectangle's outline as the pen draws it.
std::vector<Span> RectOutline(DeviceContext& dc, const Pen& pen, const RECT& box,
                              const RECT& limit) {
    std::vector<Span> spans;
    if (pen.width > 1) {
        const POINT corners[] = {{box.left, box.top},
                                 {box.right - 1, box.top},
                                 {box.right - 1, box.bottom - 1},
                                 {box.left, box.bottom - 1}};
        return WidePathSpans(corners, 4, true, pen.width, limit);
    }
    if (pen.dash == nullptr) {
        AppendRectFrame(spans, box, limit);
        return spans;
    }
    // Counter-clockwise on screen from the top-right corner, Windows' default
    // arc direction; a box one or two pixels across would visit pixels twice,
    // so later visits are dropped.
    std::vector<PathPixel> path;
    const POINT corners[] = {{box.right - 1, box.top},
                             {box.left, box.top},
                             {box.left, box.bottom - 1},
                             {box.right - 1, box.bottom - 1}};
    int position = 0;
    for (int i = 0; i < 4; ++i) AppendLinePath(path, corners[i], corners[(i + 1) % 4], limit, position);
    if (path.empty() && box.top >= limit.top && box.top < limit.bottom) {
        path.push_back({box.left, box.top, 0});
    }
    if (box.right - box.left <= 2 || box.bottom - box.top <= 2) {
        std::set<std::pair<int, int>> seen;
        std::erase_if(path, [&](const PathPixel& p) { return !seen.insert({p.x, p.y}).second; });
    }
    DrawStyledPath(dc, pen, path);
    return spans;
}

// Shrinks a box so that an inside-frame pen stays within it.
RECT InsideFrame(const RECT& box, int width) {
    return RECT{box.left + width / 2, box.top + width / 2, box.right - (width - 1) / 2,
                box.bottom - (width - 1) / 2};
}

RECT DeviceBox(const DeviceContext& dc, int left, int top, int right, int bottom) {
    RECT box = NormalisedRect(left, top, right, bottom);
    box.left += dc.origin.x;
    box.right += dc.origin.x;
    box.top += dc.origin.y;
    box.bottom += dc.origin.y;
    return box;
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

HPEN WINAPI CreatePen(int style, int width, COLORREF colour) {
    if ((style & 0x0F) > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pen = std::make_unique<PenObject>();
    pen->kind = OBJ_PEN;
    pen->style = static_cast<UINT>(style);
    pen->width = std::max(width, 0);
    pen->colour = colour;
    return static_cast<HPEN>(RegisterObject(std::move(pen)));
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* pen) {
    if (pen == nullptr) return nullptr;
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return FALSE;
    if (previous != nullptr) *previous = context->currentPosition;
    context->currentPosition = POINT{x, y};
    return TRUE;
}

BOOL WINAPI GetCurrentPositionEx(HDC dc, LPPOINT position) {
    const DeviceContext* context = LookupDC(dc);
    if (context == nullptr || position == nullptr) return FALSE;
    *position = context->currentPosition;
    return TRUE;
}

BOOL WINAPI LineTo(HDC dc, int x, int y) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return FALSE;
    const POINT ends[] = {ToDevice(*context, context->currentPosition.x, context->currentPosition.y),
                          ToDevice(*context, x, y)};
    StrokePath(*context, PenOf(*context), ends, 2);
    context->currentPosition = POINT{x, y};
    return TRUE;
}

BOOL WINAPI Polyline(HDC dc, const POINT* points, int count) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr || points == nullptr || count < 2) return FALSE;
    std::vector<POINT> device(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) device[i] = ToDevice(*context, points[i].x, points[i].y);
    StrokePath(*context, PenOf(*context), device.data(), device.size());
    return TRUE;
}

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return FALSE;
    RECT limit;
    if (!ClipBounds(*context, limit)) return TRUE;
    const Pen pen = PenOf(*context);
    RECT box = DeviceBox(*context, left, top, right, bottom);
    std::vector<Span> interior;
    if (pen.null) {
        // Without a pen the brush covers one pixel less on the right and bottom.
        AppendRectFill(interior, RECT{box.left, box.top, box.right - 1, box.bottom - 1}, limit);
        FillSpansWithBrush(*context, interior.data(), interior.size(), context->brush);
        return TRUE;
    }
    if (pen.insideFrame) box = InsideFrame(box, pen.width);
    if (box.right <= box.left || box.bottom <= box.top) return TRUE;
    const std::vector<Span> outline = RectOutline(*context, pen, box, limit);
    if (pen.width > 1) {
        AppendRectFill(interior, box, limit);
        interior = SubtractSpans(interior, outline);
    } else {
        AppendRectFill(interior, RECT{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1},
                       limit);
    }
    FillSpansWithBrush(*context, interior.data(), interior.size(), context->brush);
    FillPen(*context, pen, outline);
    return TRUE;
}

BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return FALSE;
    RECT limit;
    if (!ClipBounds(*context, limit)) return TRUE;
    const Pen pen = PenOf(*context);
    RECT box = DeviceBox(*context, left, top, right, bottom);
    std::vector<Span> interior;
    if (pen.null) {
        // Without a pen the shape loses its last column and row, as Windows
        // documents for filled shapes drawn with a null pen: it is the
        // elliptic region of the same box.
        AppendEllipseFill(interior, RECT{box.left, box.top, box.right - 1, box.bottom - 1}, limit);
        FillSpansWithBrush(*context, interior.data(), interior.size(), context->brush);
        return TRUE;
    }
    if (pen.insideFrame) {
        box = RECT{box.left + (pen.width - 1) / 2, box.top + (pen.width - 1) / 2,
                   box.right - pen.width / 2, box.bottom - pen.width / 2};
    }
    // A box of one pixel draws nothing.
    if (box.right - box.left <= 1 && box.bottom - box.top <= 1) return TRUE;
    if (box.right <= box.left || box.bottom <= box.top) return TRUE;
    std::vector<Span> outline;
    if (pen.width > 1) {
        AppendEllipseRing(outline, box, pen.width, limit);
    } else {
        AppendEllipseOutline(outline, box, limit);
    }
    if (pen.width > 1) {
        AppendEllipseCentreFill(interior, box, limit);
    } else {
        AppendEllipseFill(interior, box, limit);
    }
    interior = SubtractSpans(interior, outline);
    FillSpansWithBrush(*context, interior.data(), interior.size(), context->brush);
    if (pen.dash != nullptr) {
        std::vector<PathPixel> path;
        for (const POINT& p : EllipseOutlinePath(box, limit)) {
            path.push_back({p.x, p.y, static_cast<int>(path.size())});
        }
        DrawStyledPath(*context, pen, path);
    } else {
        FillPen(*context, pen, outline);
    }
    return TRUE;
}
