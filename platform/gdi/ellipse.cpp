// Ellipses as spans: filled, one-pixel outlines and wide rings. Everything is
// computed exactly in integers from pixel centres, so every shape is symmetric.
#include <algorithm>
#include <cmath>

#include "platform/gdi/spans.h"

namespace platform::gdi {
namespace {

struct Extent {
    int left = 0;
    int right = 0;  // exclusive; left >= right is an empty row
    bool Empty() const { return left >= right; }
};

// The pixels of row y whose centres lie strictly inside the ellipse centred on
// (c2x / 2, c2y / 2) with diameters dx and dy: with u = 2x - c2x and
// v = 2y - c2y, u^2 dy^2 + v^2 dx^2 < dx^2 dy^2.
Extent EllipseRow(int64_t c2x, int64_t c2y, int64_t dx, int64_t dy, int y) {
    Extent extent;
    if (dx <= 0 || dy <= 0) return extent;
    const int64_t v = 2 * static_cast<int64_t>(y) - c2y;
    if (v <= -dy || v >= dy) return extent;
    using Wide = __int128;
    const Wide limit = static_cast<Wide>(dx) * dx * (static_cast<Wide>(dy) * dy - static_cast<Wide>(v) * v);
    const Wide dy2 = static_cast<Wide>(dy) * dy;
    int64_t u = static_cast<int64_t>(std::sqrt(static_cast<double>(limit) / static_cast<double>(dy2)));
    while (static_cast<Wide>(u + 1) * (u + 1) * dy2 < limit) ++u;
    while (u >= 0 && static_cast<Wide>(u) * u * dy2 >= limit) --u;
    if (((u ^ c2x) & 1) != 0) --u;  // u has the parity of c2x
    if (u < 0) return extent;
    extent.left = static_cast<int>((c2x - u) / 2);
    extent.right = static_cast<int>((c2x + u) / 2 + 1);
    return extent;
}

// The pixel outline Windows draws for a box: an incremental (Bresenham-like)
// ellipse through the centres of the box's outer pixels, stepped from the
// rightmost point of the middle rows down to the bottom. For each row of the
// lower half it keeps the outline's run on the right, [lo, hi] relative to the
// box's left edge; the rest follows by symmetry. Boxes too large for the
// integer steps fall back to the exact centre test.
class OutlineRows {
public:
    static constexpr int64_t kMaxSide = 1 << 16;  // keeps 2 * err within 64 bits

    explicit OutlineRows(const RECT& box)
        : m_box(box), m_w(static_cast<int64_t>(box.right) - box.left),
          m_h(static_cast<int64_t>(box.bottom) - box.top) {
        if (m_w <= 0 || m_h <= 0 || m_w > kMaxSide || m_h > kMaxSide) return;
        const int64_t a = m_w - 1, b = m_h - 1, odd = b & 1;
        m_first = (b + 1) / 2;
        m_lo.assign(static_cast<size_t>(b - m_first + 1), a + 1);
        m_hi.assign(m_lo.size(), -1);
        int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (odd + 1) * a * a;
        int64_t err = dx + dy + odd * a * a;
        int64_t x = a, y = m_first, left = 0;
        do {
            Mark(x, y);
            const int64_t e2 = 2 * err;
            if (e2 <= dy) {
                ++y;
                dy += 8 * a * a;
                err += dy;
            }
            if (e2 >= dx) {
                --x;
                ++left;
                dx += 8 * b * b;
                err += dx;
            }
        } while (left <= x);
        // A flat ellipse stops early: its tips finish the last rows.
        for (; y <= b; ++y) Mark(x + 1, y);
    }

    bool Exact() const { return !m_lo.empty(); }

    // The outline's right run of box row y (absolute), as [lo, hi]; false when
    // the row holds no outline.
    bool RightRun(int y, int64_t& lo, int64_t& hi) const {
        int64_t row = static_cast<int64_t>(y) - m_box.top;
        if (row < 0 || row >= m_h) return false;
        if (row < m_first) row = m_h - 1 - row;
        const size_t i = static_cast<size_t>(row - m_first);
        if (i >= m_lo.size() || m_hi[i] < 0) return false;
        lo = m_lo[i];
        hi = m_hi[i];
        return true;
    }

    // The whole row (outline included), absolute, right exclusive.
    Extent Row(int y) const {
        int64_t lo, hi;
        if (!RightRun(y, lo, hi)) return {};
        return {static_cast<int>(m_box.left + (m_w - 1 - hi)), static_cast<int>(m_box.left + hi + 1)};
    }
    // The inside of the row without the outline.
    Extent Inside(int y) const {
        int64_t lo, hi;
        if (!RightRun(y, lo, hi)) return {};
        return {static_cast<int>(m_box.left + (m_w - lo)), static_cast<int>(m_box.left + lo)};
    }

private:
    void Mark(int64_t x, int64_t y) {
        if (y < m_first || y - m_first >= static_cast<int64_t>(m_lo.size())) return;
        const size_t i = static_cast<size_t>(y - m_first);
        m_lo[i] = std::min(m_lo[i], x);
        m_hi[i] = std::max(m_hi[i], x);
    }

    RECT m_box;
    int64_t m_w, m_h;
    int64_t m_first = 0;
    std::vector<int64_t> m_lo, m_hi;
};

Extent CentreRow(const RECT& box, int y) {
    if (y < box.top || y >= box.bottom) return {};
    return EllipseRow(static_cast<int64_t>(box.left) + box.right - 1,
                      static_cast<int64_t>(box.top) + box.bottom - 1, box.right - box.left,
                      box.bottom - box.top, y);
}

}  // namespace

void AppendEllipseFill(std::vector<Span>& out, const RECT& box, const RECT& limit) {
    const int top = std::max(box.top, limit.top);
    const int bottom = std::min(box.bottom, limit.bottom);
    if (top >= bottom) return;
    const OutlineRows rows(box);
    for (int y = top; y < bottom; ++y) {
        const Extent row = rows.Exact() ? rows.Row(y) : CentreRow(box, y);
        if (!row.Empty()) out.push_back({y, row.left, row.right});
    }
}

void AppendEllipseCentreFill(std::vector<Span>& out, const RECT& box, const RECT& limit) {
    const int top = std::max(box.top, limit.top);
    const int bottom = std::min(box.bottom, limit.bottom);
    for (int y = top; y < bottom; ++y) {
        const Extent row = CentreRow(box, y);
        if (!row.Empty()) out.push_back({y, row.left, row.right});
    }
}

void AppendEllipseOutline(std::vector<Span>& out, const RECT& box, const RECT& limit) {
    const int top = std::max(box.top, limit.top);
    const int bottom = std::min(box.bottom, limit.bottom);
    if (top >= bottom) return;
    const OutlineRows rows(box);
    if (!rows.Exact()) {
        // Rows of the exact centre test, outlined by their 4-neighbours.
        Extent above = CentreRow(box, top - 1);
        Extent row = CentreRow(box, top);
        for (int y = top; y < bottom; ++y) {
            const Extent below = CentreRow(box, y + 1);
            if (!row.Empty()) {
                int innerLeft = row.left + 1;
                int innerRight = row.right - 1;
                if (above.Empty() || below.Empty()) {
                    innerLeft = innerRight;
                } else {
                    innerLeft = std::max({innerLeft, above.left, below.left});
                    innerRight = std::min({innerRight, above.right, below.right});
                }
                if (innerLeft >= innerRight) {
                    out.push_back({y, row.left, row.right});
                } else {
                    out.push_back({y, row.left, innerLeft});
                    out.push_back({y, innerRight, row.right});
                }
            }
            above = row;
            row = below;
        }
        return;
    }
    for (int y = top; y < bottom; ++y) {
        const Extent row = rows.Row(y);
        if (row.Empty()) continue;
        const Extent inside = rows.Inside(y);
        if (inside.Empty()) {
            out.push_back({y, row.left, row.right});
        } else {
            out.push_back({y, row.left, inside.left});
            out.push_back({y, inside.right, row.right});
        }
    }
}

void AppendEllipseRing(std::vector<Span>& out, const RECT& box, int width, const RECT& limit) {
    // An even pen lies half a pixel up and left of the outline, as on lines.
    const int shift = width % 2 == 0 ? 1 : 0;
    const int64_t c2x = static_cast<int64_t>(box.left) + box.right - 1 - shift;
    const int64_t c2y = static_cast<int64_t>(box.top) + box.bottom - 1 - shift;
    const int64_t w = box.right - box.left;
    const int64_t h = box.bottom - box.top;
    if (w <= 0 || h <= 0) return;
    const int64_t outerH = h - 1 + width;
    const int top = static_cast<int>(std::max<int64_t>((c2y - outerH) / 2 - 1, limit.top));
    const int bottom = static_cast<int>(std::min<int64_t>((c2y + outerH) / 2 + 2, limit.bottom));
    for (int y = top; y < bottom; ++y) {
        const Extent outer = EllipseRow(c2x, c2y, w - 1 + width, outerH, y);
        if (outer.Empty()) continue;
        const Extent inner = EllipseRow(c2x, c2y, w - 1 - width, h - 1 - width, y);
        if (inner.Empty()) {
            out.push_back({y, outer.left, outer.right});
        } else {
            out.push_back({y, outer.left, inner.left});
            out.push_back({y, inner.right, outer.right});
        }
    }
}

std::vector<POINT> EllipseOutlinePath(const RECT& box, const RECT& limit) {
    std::vector<Span> spans;
    AppendEllipseOutline(spans, box, limit);
    const double cx = (static_cast<double>(box.left) + box.right - 1) / 2;
    const double cy = (static_cast<double>(box.top) + box.bottom - 1) / 2;
    struct Placed {
        double angle;
        POINT point;
    };
    std::vector<Placed> placed;
    for (const Span& span : spans) {
        for (int x = span.left; x < span.right; ++x) {
            double angle = std::atan2(cy - span.y, x - cx);
            if (angle < 0) angle += 2 * M_PI;
            placed.push_back({angle, POINT{x, span.y}});
        }
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.angle < b.angle; });
    std::vector<POINT> path;
    path.reserve(placed.size());
    for (const Placed& p : placed) path.push_back(p.point);
    return path;
}

}  // namespace platform::gdi
