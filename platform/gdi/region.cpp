// Regions as y-bands of x-intervals, their set operations, and the Windows
// region calls built on them.
#include "platform/gdi/region.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/gdi/spans.h"

namespace platform::gdi {
namespace {

bool Keeps(int op, bool inA, bool inB) {
    switch (op) {
        case RGN_AND: return inA && inB;
        case RGN_OR: return inA || inB;
        case RGN_XOR: return inA != inB;
        case RGN_DIFF: return inA && !inB;
        default: return inA;
    }
}

// Combines two sorted lists of interval edges with a set operation.
std::vector<int> MergeEdges(const std::vector<int>& a, const std::vector<int>& b, int op) {
    std::vector<int> result;
    size_t i = 0;
    size_t j = 0;
    bool inA = false;
    bool inB = false;
    bool inside = false;
    while (i < a.size() || j < b.size()) {
        const int x = j >= b.size() || (i < a.size() && a[i] < b[j]) ? a[i] : b[j];
        if (i < a.size() && a[i] == x) {
            inA = !inA;
            ++i;
        }
        if (j < b.size() && b[j] == x) {
            inB = !inB;
            ++j;
        }
        const bool now = Keeps(op, inA, inB);
        if (now != inside) {
            result.push_back(x);
            inside = now;
        }
    }
    return result;
}

// The band of `bands` that covers row y, advancing `index` (rows only grow).
const std::vector<int>* BandAt(const std::vector<Region::Band>& bands, size_t& index, int y) {
    static const std::vector<int> kNone;
    while (index < bands.size() && bands[index].bottom <= y) ++index;
    if (index < bands.size() && bands[index].top <= y) return &bands[index].edges;
    return &kNone;
}

}  // namespace

Region::Region(const RECT& rect) {
    if (rect.right > rect.left && rect.bottom > rect.top) {
        m_bands.push_back({rect.top, rect.bottom, {rect.left, rect.right}});
    }
}

void Region::AddBand(int top, int bottom, std::vector<int> edges) {
    if (edges.empty() || top >= bottom) return;
    if (!m_bands.empty() && m_bands.back().bottom == top && m_bands.back().edges == edges) {
        m_bands.back().bottom = bottom;
        return;
    }
    m_bands.push_back({top, bottom, std::move(edges)});
}

Region Region::FromSpans(std::vector<Span> spans) {
    NormaliseSpans(spans);
    Region region;
    size_t i = 0;
    while (i < spans.size()) {
        const int y = spans[i].y;
        std::vector<int> edges;
        for (; i < spans.size() && spans[i].y == y; ++i) {
            edges.push_back(spans[i].left);
            edges.push_back(spans[i].right);
        }
        region.AddBand(y, y + 1, std::move(edges));
    }
    return region;
}

Region Region::FromRects(const std::vector<RECT>& rects) {
    Region region;
    for (const RECT& rect : rects) region = Combine(region, Region(rect), RGN_OR);
    return region;
}

Region Region::Combine(const Region& a, const Region& b, int op) {
    if (op == RGN_COPY) return a;
    std::vector<int> ys;
    for (const Region* r : {&a, &b}) {
        for (const Band& band : r->m_bands) {
            ys.push_back(band.top);
            ys.push_back(band.bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    Region result;
    size_t ia = 0;
    size_t ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        const std::vector<int>* edgesA = BandAt(a.m_bands, ia, ys[k]);
        const std::vector<int>* edgesB = BandAt(b.m_bands, ib, ys[k]);
        if (edgesA->empty() && edgesB->empty()) continue;
        result.AddBand(ys[k], ys[k + 1], MergeEdges(*edgesA, *edgesB, op));
    }
    return result;
}

RECT Region::Bounds() const {
    if (m_bands.empty()) return RECT{0, 0, 0, 0};
    RECT box{m_bands.front().edges.front(), m_bands.front().top, m_bands.front().edges.back(),
             m_bands.back().bottom};
    for (const Band& band : m_bands) {
        box.left = std::min<LONG>(box.left, band.edges.front());
        box.right = std::max<LONG>(box.right, band.edges.back());
    }
    return box;
}

int Region::Complexity() const {
    if (m_bands.empty()) return NULLREGION;
    return m_bands.size() == 1 && m_bands[0].edges.size() == 2 ? SIMPLEREGION : COMPLEXREGION;
}

bool Region::Contains(int x, int y) const {
    const auto band = std::upper_bound(m_bands.begin(), m_bands.end(), y,
                                       [](int row, const Band& b) { return row < b.bottom; });
    if (band == m_bands.end() || band->top > y) return false;
    // The first edge greater than x: an odd position means x lies in an interval.
    const auto edge = std::upper_bound(band->edges.begin(), band->edges.end(), x);
    return (edge - band->edges.begin()) % 2 == 1;
}

bool Region::Intersects(const RECT& rect) const {
    for (const Band& band : m_bands) {
        if (band.bottom <= rect.top || band.top >= rect.bottom) continue;
        for (size_t i = 0; i < band.edges.size(); i += 2) {
            if (band.edges[i] < rect.right && band.edges[i + 1] > rect.left) return true;
        }
    }
    return false;
}

void Region::Offset(int dx, int dy) {
    for (Band& band : m_bands) {
        band.top += dy;
        band.bottom += dy;
        for (int& edge : band.edges) edge += dx;
    }
}

std::vector<RECT> Region::Rects() const {
    std::vector<RECT> rects;
    for (const Band& band : m_bands) {
        for (size_t i = 0; i < band.edges.size(); i += 2) {
            rects.push_back(RECT{band.edges[i], band.top, band.edges[i + 1], band.bottom});
        }
    }
    return rects;
}

void Region::AppendSpans(std::vector<Span>& out, int dx, int dy) const {
    for (const Band& band : m_bands) {
        for (int y = band.top; y < band.bottom; ++y) {
            for (size_t i = 0; i < band.edges.size(); i += 2) {
                out.push_back({y + dy, band.edges[i] + dx, band.edges[i + 1] + dx});
            }
        }
    }
}

Region EllipticRegion(const RECT& box) {
    // Like Windows, the region leaves out the box's last column and row.
    std::vector<Span> spans;
    AppendEllipseFill(spans, RECT{box.left, box.top, box.right - 1, box.bottom - 1}, kNoLimit);
    return Region::FromSpans(std::move(spans));
}

Region RoundRectRegion(const RECT& outer, int cornerWidth, int cornerHeight) {
    // Like Windows, the region leaves out the box's last column and row.
    const RECT box{outer.left, outer.top, outer.right - 1, outer.bottom - 1};
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return Region();
    const int cw = std::min(std::abs(cornerWidth), width);
    const int ch = std::min(std::abs(cornerHeight), height);
    if (cw < 2 || ch < 2) return Region(box);
    std::vector<Span> corner;
    AppendEllipseFill(corner, RECT{0, 0, cw, ch}, RECT{0, 0, cw, ch / 2});
    std::vector<Span> spans;
    for (const Span& row : corner) {
        const int inset = row.left;
        spans.push_back({box.top + row.y, box.left + inset, box.right - inset});
        spans.push_back({box.bottom - 1 - row.y, box.left + inset, box.right - inset});
    }
    Region region = Region::FromSpans(std::move(spans));
    return Region::Combine(
        region, Region(RECT{box.left, box.top + ch / 2, box.right, box.bottom - ch / 2}), RGN_OR);
}

Region FrameOf(const Region& region, int width, int height) {
    Region inner = region;
    const POINT offsets[] = {{width, 0}, {-width, 0}, {0, height}, {0, -height}};
    for (const POINT& offset : offsets) {
        Region moved = region;
        moved.Offset(offset.x, offset.y);
        inner = Region::Combine(inner, moved, RGN_AND);
    }
    return Region::Combine(region, inner, RGN_DIFF);
}

RegionObject* FindRegion(HRGN handle) {
    return FindObjectOf<RegionObject>(handle, OBJ_REGION);
}

HRGN MakeRegionObject(Region region) {
    auto object = std::make_unique<RegionObject>();
    object->kind = OBJ_REGION;
    object->region = std::move(region);
    return static_cast<HRGN>(RegisterObject(std::move(object)));
}

}  // namespace platform::gdi
