// Lines as spans: one-pixel lines, the cosmetic dotted pen and round wide pens.
#include <algorithm>
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

int64_t FloorDiv(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// floor without a library call; v is far inside the int64_t range.
int64_t Floor(double v) {
    const int64_t i = static_cast<int64_t>(v);
    return i - (v < static_cast<double>(i) ? 1 : 0);
}
// Whether a fraction in [0, 1) lies next to a whole number.
bool NearEdge(double fraction) { return fraction < 1e-6 || fraction > 1 - 1e-6; }

// A segment in doubled coordinates (pixel x has its centre at 2x), with the
// pen's radius in the same units: the pen covers the points closer than radius.
class Capsule {
public:
    Capsule(POINT from, POINT to, int width, bool roundEnds) : m_roundEnds(roundEnds) {
        const int shift = width % 2 == 0 ? 1 : 0;
        m_ax = 2 * static_cast<int64_t>(from.x) - shift;
        m_ay = 2 * static_cast<int64_t>(from.y) - shift;
        m_bx = 2 * static_cast<int64_t>(to.x) - shift;
        m_by = 2 * static_cast<int64_t>(to.y) - shift;
        m_dx = m_bx - m_ax;
        m_dy = m_by - m_ay;
        m_length2 = m_dx * m_dx + m_dy * m_dy;
        m_radius = width;
        m_radius2 = static_cast<int64_t>(width) * width;
        m_fax = static_cast<double>(m_ax);
        m_fay = static_cast<double>(m_ay);
        m_fbx = static_cast<double>(m_bx);
        m_fby = static_cast<double>(m_by);
        m_fRadius2 = static_cast<double>(m_radius2);
        const double dx = static_cast<double>(m_dx);
        const double dy = static_cast<double>(m_dy);
        m_fdx = dx;
        m_fdy = dy;
        m_fLimit = m_fRadius2 * static_cast<double>(m_length2);
        if (m_dy != 0) {
            m_slope = dx / dy;
            m_halfBand = static_cast<double>(m_radius) * std::sqrt(dx * dx + dy * dy) / std::fabs(dy);
        }
        if (m_dx != 0) {
            m_normalSlope = -dy / dx;
            m_normalStep = static_cast<double>(m_length2) / dx;
        }
    }

    int64_t Top() const { return std::min(m_ay, m_by) - m_radius; }
    int64_t Bottom() const { return std::max(m_ay, m_by) + m_radius; }

    // Whether the pixel whose centre is (px, py), doubled, is covered; exact.
    bool Covers(int64_t px, int64_t py) const {
        const int64_t ax = px - m_ax;
        const int64_t ay = py - m_ay;
        const int64_t t = ax * m_dx + ay * m_dy;
        if (!m_roundEnds && (m_length2 == 0 || t < 0 || t > m_length2)) return false;
        if (m_length2 == 0 || t <= 0) return ax * ax + ay * ay < m_radius2;
        if (t >= m_length2) {
            const int64_t bx = px - m_bx;
            const int64_t by = py - m_by;
            return bx * bx + by * by < m_radius2;
        }
        // Decided in floating point unless too close to call.
        const double crossD = static_cast<double>(ax) * m_fdy - static_cast<double>(ay) * m_fdx;
        const double margin = crossD * crossD - m_fLimit;
        if (margin > m_fLimit * 1e-9) return false;
        if (margin < -m_fLimit * 1e-9) return true;
        const __int128 cross = static_cast<__int128>(ax) * m_dy - static_cast<__int128>(ay) * m_dx;
        return cross * cross < static_cast<__int128>(m_radius2) * m_length2;
    }

    // The covered part of the row at doubled height py, estimated in floating
    // point; lo >= hi when the row misses the capsule.
    void EstimateRow(double py, double& lo, double& hi) const {
        lo = std::numeric_limits<double>::infinity();
        hi = -lo;
        const auto disc = [&](double cx, double cy) {
            const double dy = py - cy;
            if (dy * dy >= m_fRadius2) return;
            const double half = std::sqrt(m_fRadius2 - dy * dy);
            lo = std::min(lo, cx - half);
            hi = std::max(hi, cx + half);
        };
        if (m_roundEnds) {
            disc(m_fax, m_fay);
            disc(m_fbx, m_fby);
        }
        if (m_length2 == 0) return;
        const double rel = py - m_fay;
        double bandLo, bandHi;
        if (m_dy == 0) {
            if (std::fabs(rel) >= static_cast<double>(m_radius)) return;
            bandLo = std::min(m_fax, m_fbx);
            bandHi = std::max(m_fax, m_fbx);
        } else {
            const double centre = m_fax + rel * m_slope;
            bandLo = centre - m_halfBand;
            bandHi = centre + m_halfBand;
            if (m_dx != 0) {
                // Where the perpendiculars through the two ends cross the row.
                const double p1 = m_fax + rel * m_normalSlope;
                const double p2 = p1 + m_normalStep;
                bandLo = std::max(bandLo, std::min(p1, p2));
                bandHi = std::min(bandHi, std::max(p1, p2));
            } else if (rel * m_dy < 0 || rel * m_dy > static_cast<double>(m_length2)) {
                return;
            }
        }
        if (bandLo < bandHi) {
            lo = std::min(lo, bandLo);
            hi = std::max(hi, bandHi);
        }
    }

private:
    bool m_roundEnds;
    int64_t m_ax, m_ay, m_bx, m_by, m_dx, m_dy, m_length2, m_radius, m_radius2;
    // The same in floating point, with the per-row estimate's constants.
    double m_fax, m_fay, m_fbx, m_fby, m_fRadius2;
    double m_slope = 0, m_halfBand = 0, m_normalSlope = 0, m_normalStep = 0;
    double m_fdx, m_fdy, m_fLimit;  // m_fLimit: radius^2 * length^2
};

}  // namespace

void AppendThinLine(std::vector<Span>& out, POINT from, POINT to, const RECT& limit) {
    ForEachLinePixel(from, to, limit, [&](int x, int y, int) { AddPixel(out, x, y); });
}

namespace {

void AppendWideStroke(std::vector<Span>& out, POINT from, POINT to, int width, bool roundEnds,
                      const RECT& limit) {
    const Capsule capsule(from, to, width, roundEnds);
    const int64_t top = std::max<int64_t>(FloorDiv(capsule.Top(), 2), limit.top);
    const int64_t bottom = std::min<int64_t>(FloorDiv(capsule.Bottom(), 2) + 1, limit.bottom);
    if (bottom > top) out.reserve(out.size() + static_cast<size_t>(bottom - top));
    for (int64_t y = top; y < bottom; ++y) {
        double lo, hi;
        capsule.EstimateRow(2.0 * static_cast<double>(y), lo, hi);
        if (!(lo < hi)) continue;
        const int64_t py = 2 * y;
        // The first and last pixel centres strictly inside (lo, hi), halved.
        const double halfLo = lo * 0.5;
        const double halfHi = hi * 0.5;
        const int64_t floorLo = Floor(halfLo);
        const int64_t floorHi = Floor(halfHi);
        int64_t left = floorLo + 1;
        int64_t right = halfHi > static_cast<double>(floorHi) ? floorHi : floorHi - 1;
        // The estimate is exact but for rounding: only an edge that falls on a
        // pixel centre, or nearly, needs the exact test.
        if (NearEdge(halfLo - static_cast<double>(floorLo))) {
            while (capsule.Covers(2 * (left - 1), py)) --left;
            while (left <= right && !capsule.Covers(2 * left, py)) ++left;
        }
        if (NearEdge(halfHi - static_cast<double>(floorHi))) {
            while (capsule.Covers(2 * (right + 1), py)) ++right;
            while (right >= left && !capsule.Covers(2 * right, py)) --right;
        }
        if (left > right) continue;
        out.push_back({static_cast<int>(y), static_cast<int>(left), static_cast<int>(right + 1)});
    }
}

}  // namespace

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

void AppendWideSegment(std::vector<Span>& out, POINT from, POINT to, int width,
                       const RECT& limit) {
    AppendWideStroke(out, from, to, width, true, limit);
}

std::vector<Span> WidePathSpans(const POINT* points, size_t count, bool closed, int width,
                                const RECT& limit) {
    // Each segment's band, with the pen's own dot (the ellipse Windows draws
    // in a width x width box centred on the point) at every vertex, so that
    // ends and joins are round the way Windows draws them.
    std::vector<Span> spans;
    if (count == 0) return spans;
    for (size_t i = 0; i + 1 < count; ++i) {
        AppendWideStroke(spans, points[i], points[i + 1], width, false, limit);
    }
    if (closed && count > 2) AppendWideStroke(spans, points[count - 1], points[0], width, false, limit);
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
