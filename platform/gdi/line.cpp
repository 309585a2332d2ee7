// Lines as spans: one-pixel lines, the cosmetic dotted pen and round wide pens.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "platform/gdi/spans.h"

namespace platform::gdi {
namespace {

// Adds one pixel, extending the last span when the pixel touches it on its row.
void AddPixel(std::vector<Span>& out, int x, int y) {
    if (!out.empty()) {
        Span& last = out.back();
        if (last.y == y && x == last.right) {
            ++last.right;
            return;
        }
        if (last.y == y && x == last.left - 1) {
            --last.left;
            return;
        }
    }
    out.push_back({y, x, x + 1});
}

// Walks one polygon edge down its rows: on each row y with upper.y <= y <
// lower.y, the first pixel at or right of the edge, that is the ceiling of its
// x there, kept as a whole part and a remainder in [0, height).
class EdgeStepper {
public:
    EdgeStepper(POINT upper, POINT lower, int64_t firstRow) {
        m_height = static_cast<int64_t>(lower.y) - upper.y;
        const int64_t run = static_cast<int64_t>(lower.x) - upper.x;
        m_stepWhole = FloorDiv(run, m_height);
        m_stepPart = run - m_stepWhole * m_height;
        const int64_t along = (firstRow - upper.y) * run;
        m_whole = upper.x + FloorDiv(along, m_height);
        m_part = along - FloorDiv(along, m_height) * m_height;
    }
    int64_t X() const { return m_whole + (m_part > 0 ? 1 : 0); }
    void Step() {
        m_whole += m_stepWhole;
        m_part += m_stepPart;
        if (m_part >= m_height) {
            ++m_whole;
            m_part -= m_height;
        }
    }

private:
    static int64_t FloorDiv(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }
    int64_t m_height, m_stepWhole, m_stepPart, m_whole = 0, m_part = 0;
};

// Fills a convex polygon by sampling pixel centres, left and top edges in,
// right and bottom edges out, one span a row; rows outside `limit` are skipped.
void AppendConvexFill(std::vector<Span>& out, const POINT* corners, size_t count,
                      const RECT& limit) {
    int top = corners[0].y, bottom = corners[0].y;
    for (size_t i = 1; i < count; ++i) {
        top = std::min<int>(top, corners[i].y);
        bottom = std::max<int>(bottom, corners[i].y);
    }
    const int first = std::max<int>(top, limit.top);
    const int last = std::min<int>(bottom, limit.bottom);
    if (first >= last) return;
    const size_t base = out.size();
    out.resize(base + static_cast<size_t>(last - first),
               Span{0, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()});
    // Each row meets one edge going down and one going up; the span lies between.
    for (size_t i = 0; i < count; ++i) {
        const POINT& p = corners[i];
        const POINT& q = corners[(i + 1) % count];
        if (p.y == q.y) continue;
        const POINT& upper = p.y < q.y ? p : q;
        const POINT& lower = p.y < q.y ? q : p;
        const int from = std::max<int>(upper.y, first);
        const int to = std::min<int>(lower.y, last);
        if (from >= to) continue;
        EdgeStepper edge(upper, lower, from);
        for (int y = from; y < to; ++y, edge.Step()) {
            Span& row = out[base + static_cast<size_t>(y - first)];
            const int x = static_cast<int>(edge.X());
            row.left = std::min(row.left, x);
            row.right = std::max(row.right, x);
        }
    }
    size_t kept = base;
    for (size_t i = base; i < out.size(); ++i) {
        if (out[i].left >= out[i].right) continue;
        out[kept] = out[i];
        out[kept++].y = first + static_cast<int>(i - base);
    }
    out.resize(kept);
}

// Rounds a positive value to the nearest whole number, halves up.
int RoundPositive(double v) {
    return static_cast<int>(v + 0.5);
}

}  // namespace

std::array<POINT, 4> WideBandCorners(POINT from, POINT to, int width) {
    // The pen's width across the segment split into the parts it takes along
    // x and y: the side towards +x moves by half a part plus a half, the other
    // side by half a part, each rounded halves up, so the band is the same
    // whichever way the segment runs. A segment of no length has no band.
    const int64_t dx = static_cast<int64_t>(to.x) - from.x;
    const int64_t dy = static_cast<int64_t>(to.y) - from.y;
    if (dx == 0 && dy == 0) return {from, from, to, to};
    const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double acrossX = width * static_cast<double>(dy < 0 ? -dy : dy) / length;
    const double acrossY = width * static_cast<double>(dx < 0 ? -dx : dx) / length;
    const int nearX = RoundPositive(acrossX / 2), farX = RoundPositive((acrossX + 1) / 2);
    const int nearY = RoundPositive(acrossY / 2), farY = RoundPositive((acrossY + 1) / 2);
    // Going down to the right the +x side lies above the path; going up, below.
    const int sideY = (dx > 0) == (dy > 0) ? -1 : 1;
    const POINT plus{farX, sideY * farY};
    const POINT minus{-nearX, -sideY * nearY};
    return {POINT{from.x + minus.x, from.y + minus.y}, POINT{from.x + plus.x, from.y + plus.y},
            POINT{to.x + plus.x, to.y + plus.y}, POINT{to.x + minus.x, to.y + minus.y}};
}

namespace {

// The band of one segment without its ends' dots: a pen-wide rectangle for a
// horizontal or vertical segment (its last column or row left to the dot), a
// parallelogram otherwise. One span a row, top to bottom.
void AppendWideBand(std::vector<Span>& out, POINT from, POINT to, int width, const RECT& limit) {
    if (from.x == to.x && from.y == to.y) return;
    const int half = width / 2;
    if (from.y == to.y) {
        AppendRectFill(out,
                       RECT{std::min(from.x, to.x), from.y - half, std::max(from.x, to.x),
                            from.y - half + width},
                       limit);
    } else if (from.x == to.x) {
        AppendRectFill(out,
                       RECT{from.x - half, std::min(from.y, to.y), from.x - half + width,
                            std::max(from.y, to.y)},
                       limit);
    } else {
        const std::array<POINT, 4> corners = WideBandCorners(from, to, width);
        AppendConvexFill(out, corners.data(), corners.size(), limit);
    }
}

}  // namespace

void AppendThinLine(std::vector<Span>& out, POINT from, POINT to, const RECT& limit) {
    ForEachLinePixel(from, to, limit, [&](int x, int y, int) { AddPixel(out, x, y); });
}

namespace {

bool RowBefore(const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.left < b.left; }

// The union of one segment's band (one span a row, sorted) and the dots of
// its ends: only the band's rows that the dots share are merged and sorted.
std::vector<Span> MergeDots(std::vector<Span> band, std::vector<Span>& dots) {
    std::sort(dots.begin(), dots.end(), RowBefore);
    std::vector<Span> out;
    out.reserve(band.size() + dots.size());
    size_t b = 0;
    size_t d = 0;
    std::vector<Span> rows;
    while (d < dots.size()) {
        // The dots' rows from here that form one run of touching rows.
        const int top = dots[d].y;
        size_t e = d;
        int bottom = top;
        while (e < dots.size() && dots[e].y <= bottom + 1) bottom = std::max(bottom, dots[e++].y);
        while (b < band.size() && band[b].y < top) out.push_back(band[b++]);
        rows.assign(dots.begin() + static_cast<ptrdiff_t>(d), dots.begin() + static_cast<ptrdiff_t>(e));
        while (b < band.size() && band[b].y <= bottom) rows.push_back(band[b++]);
        NormaliseSpans(rows);
        out.insert(out.end(), rows.begin(), rows.end());
        d = e;
    }
    out.insert(out.end(), band.begin() + static_cast<ptrdiff_t>(b), band.end());
    return out;
}

}  // namespace

std::vector<Span> WidePathSpans(const POINT* points, size_t count, bool closed, int width,
                                const RECT& limit) {
    // Each segment's band, with the pen's own dot (the ellipse Windows draws
    // in a width x width box centred on the point) at every vertex, so that
    // ends and joins are round the way Windows draws them.
    std::vector<Span> spans;
    if (count == 0) return spans;
    for (size_t i = 0; i + 1 < count; ++i) {
        AppendWideBand(spans, points[i], points[i + 1], width, limit);
    }
    if (closed && count > 2) AppendWideBand(spans, points[count - 1], points[0], width, limit);
    std::vector<Span> dot;
    AppendEllipseFill(dot, RECT{0, 0, width, width}, kNoLimit);
    std::vector<Span> dots;
    dots.reserve(dot.size() * count);
    for (size_t i = 0; i < count; ++i) {
        const int left = points[i].x - width / 2, top = points[i].y - width / 2;
        for (const Span& row : dot) {
            const int y = top + row.y;
            if (y >= limit.top && y < limit.bottom) dots.push_back({y, left + row.left, left + row.right});
        }
    }
    if (count <= 2) return MergeDots(std::move(spans), dots);
    spans.insert(spans.end(), dots.begin(), dots.end());
    NormaliseSpans(spans);
    return spans;
}

}  // namespace platform::gdi
