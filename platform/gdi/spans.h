// Shapes as spans: the pure geometry behind pens, lines, rectangles, ellipses,
// polygons and regions. Nothing here touches a device context; every function
// takes device coordinates and appends horizontal spans (right exclusive).
//
// Pixel centres sit on integer coordinates, as in Windows' own rasterisation: a
// one-pixel line passes through them, and a polygon covers the pixels whose
// centres lie inside it or on its left or top edges.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/gdi/dc.h"

namespace platform::gdi {

// Sorts spans by row, then left edge, and merges overlapping or touching ones so
// that every pixel appears once. Empty spans go.
void NormaliseSpans(std::vector<Span>& spans);
// The same for spans already sorted by row, then left edge.
void CoalesceSortedSpans(std::vector<Span>& spans);
// The pixels of a that are not in b; both normalised, and so is the result.
std::vector<Span> SubtractSpans(const std::vector<Span>& a, const std::vector<Span>& b);

// The pixels of a one-pixel line from `from` towards `to`, in drawing order, the
// last pixel excluded: visit(x, y, index), index counting from 0 at `from`.
// Only pixels whose major coordinate lies within `limit` are visited. On the
// minor axis an exact half goes to the smaller coordinate whichever way the
// line is drawn, so a line and its reverse differ only in the excluded end.
template <class Visit>
void ForEachLinePixel(POINT from, POINT to, const RECT& limit, Visit&& visit) {
    const int64_t dx = static_cast<int64_t>(to.x) - from.x;
    const int64_t dy = static_cast<int64_t>(to.y) - from.y;
    const int64_t adx = dx < 0 ? -dx : dx;
    const int64_t ady = dy < 0 ? -dy : dy;
    // Rounds n / d (d > 0) to the nearest integer, halves down.
    const auto roundHalfDown = [](int64_t n, int64_t d) {
        const int64_t num = 2 * n + d - 1;
        const int64_t den = 2 * d;
        return num >= 0 ? num / den : -((-num + den - 1) / den);
    };
    const bool xMajor = adx >= ady;
    const int64_t length = xMajor ? adx : ady;
    const int step = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t start = xMajor ? from.x : from.y;
    const int64_t low = xMajor ? limit.left : limit.top;
    const int64_t high = xMajor ? limit.right : limit.bottom;
    // The steps whose major coordinate start + step * i lies in [low, high).
    int64_t first = step > 0 ? low - start : start - high + 1;
    int64_t end = step > 0 ? high - start : start - low + 1;
    first = first < 0 ? 0 : first;
    end = end > length ? length : end;
    for (int64_t i = first; i < end; ++i) {
        const int64_t major = start + step * i;
        if (xMajor) {
            visit(static_cast<int>(major), static_cast<int>(from.y + roundHalfDown(i * dy, adx)),
                  static_cast<int>(i));
        } else {
            visit(static_cast<int>(from.x + roundHalfDown(i * dx, ady)), static_cast<int>(major),
                  static_cast<int>(i));
        }
    }
}

// Appends a one-pixel line as runs of pixels (see ForEachLinePixel).
void AppendThinLine(std::vector<Span>& out, POINT from, POINT to, const RECT& limit);

// The band a pen of `width` (2 or more) lays along a slanted segment, without
// its ends: the parallelogram whose corners are the ends moved across the
// segment by half the width, rounded to whole pixels, the side towards +x
// taking the larger half. In order: from's two corners, then to's.
std::array<POINT, 4> WideBandCorners(POINT from, POINT to, int width);

// The pixels of a closed or open path stroked with a pen of `width` (2 or
// more), normalised: each segment's band (a pen-wide rectangle along a
// horizontal or vertical segment, WideBandCorners filled as a polygon
// otherwise) and the pen's dot, the one-pixel ellipse of a width x width box
// around the point (even widths half a pixel up and left), at every vertex,
// which gives round ends and joins. Rows outside `limit` are skipped.
std::vector<Span> WidePathSpans(const POINT* points, size_t count, bool closed, int width,
                                const RECT& limit);

// The outline of a rectangle drawn with a one-pixel pen: the edge pixels of
// [left, right) x [top, bottom), rows limited to `limit`.
void AppendRectFrame(std::vector<Span>& out, const RECT& box, const RECT& limit);
// Every pixel of the rectangle, rows limited to `limit`.
void AppendRectFill(std::vector<Span>& out, const RECT& box, const RECT& limit);

// The pixels Ellipse covers in [left, right) x [top, bottom) with a one-pixel
// pen, outline included: Windows' incremental ellipse through the centres of
// the box's outer pixels. One span per row, top to bottom; rows outside
// `limit` are skipped.
void AppendEllipseFill(std::vector<Span>& out, const RECT& box, const RECT& limit);
// The pixels whose centres lie strictly inside the ellipse inscribed in the
// box: the inside of a wide pen's ring. One span per row.
void AppendEllipseCentreFill(std::vector<Span>& out, const RECT& box, const RECT& limit);
// The one-pixel outline of AppendEllipseFill's shape, 8-connected. Normalised.
void AppendEllipseOutline(std::vector<Span>& out, const RECT& box, const RECT& limit);
// The ring a round pen of `width` covers along the one-pixel outline's centre
// line: between the ellipses of diameters (w - 1 +/- width, h - 1 +/- width)
// around the box's centre, moved half a pixel up and left for even widths as
// wide lines are. Normalised.
void AppendEllipseRing(std::vector<Span>& out, const RECT& box, int width, const RECT& limit);
// The one-pixel outline in drawing order (counter-clockwise on screen from the
// rightmost point), for dotted pens.
std::vector<POINT> EllipseOutlinePath(const RECT& box, const RECT& limit);

// A polygon filled by sampling pixel centres: left and top edges in, right and
// bottom edges out. fillMode is ALTERNATE or WINDING. Normalised.
std::vector<Span> PolygonSpans(const POINT* points, size_t count, int fillMode,
                               const RECT& limit);

// The 4-connected area around (x, y), device coordinates, of pixels whose value
// equals `value` (sameColour) or differs from it (a fill up to a border),
// inside the context's clip. Empty when the seed is outside the clip or not
// fillable. The spans are disjoint, in no particular order.
std::vector<Span> FloodSpans(const DeviceContext& dc, int x, int y, uint32_t value,
                             bool sameColour);

// Rounds a rectangle given in either order into left <= right, top <= bottom.
RECT NormalisedRect(int left, int top, int right, int bottom);

// A limit that skips nothing a surface can hold.
inline constexpr RECT kNoLimit{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

}  // namespace platform::gdi
