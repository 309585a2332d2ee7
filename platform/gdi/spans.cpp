// Span lists: normalising, subtracting, rectangles and polygons.
#include <algorithm>

#include "platform/gdi/spans.h"

namespace platform::gdi {
namespace {

int64_t CeilDiv(int64_t n, int64_t d) {  // d > 0
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

struct Crossing {
    int64_t x;      // the first pixel at or right of the edge on this row
    int direction;  // +1 for an edge going down, -1 going up
};

}  // namespace

void NormaliseSpans(std::vector<Span>& spans) {
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
        return a.y != b.y ? a.y < b.y : a.left < b.left;
    });
    CoalesceSortedSpans(spans);
}

void CoalesceSortedSpans(std::vector<Span>& spans) {
    size_t kept = 0;
    for (const Span& span : spans) {
        if (span.left >= span.right) continue;
        if (kept > 0 && spans[kept - 1].y == span.y && span.left <= spans[kept - 1].right) {
            spans[kept - 1].right = std::max(spans[kept - 1].right, span.right);
            continue;
        }
        spans[kept++] = span;
    }
    spans.resize(kept);
}

std::vector<Span> SubtractSpans(const std::vector<Span>& a, const std::vector<Span>& b) {
    std::vector<Span> result;
    size_t j = 0;
    for (const Span& span : a) {
        while (j < b.size() && (b[j].y < span.y || (b[j].y == span.y && b[j].right <= span.left))) {
            ++j;
        }
        int left = span.left;
        for (size_t k = j; k < b.size() && b[k].y == span.y && b[k].left < span.right; ++k) {
            if (b[k].left > left) result.push_back({span.y, left, b[k].left});
            left = std::max(left, b[k].right);
        }
        if (left < span.right) result.push_back({span.y, left, span.right});
    }
    return result;
}

void AppendRectFrame(std::vector<Span>& out, const RECT& box, const RECT& limit) {
    if (box.right <= box.left || box.bottom <= box.top) return;
    const auto row = [&](int y, int left, int right) {
        if (y >= limit.top && y < limit.bottom) out.push_back({y, left, right});
    };
    row(box.top, box.left, box.right);
    const int top = std::max(box.top + 1, limit.top);
    const int bottom = std::min(box.bottom - 1, limit.bottom);
    for (int y = top; y < bottom; ++y) {
        out.push_back({y, box.left, box.left + 1});
        if (box.right - box.left > 1) out.push_back({y, box.right - 1, box.right});
    }
    if (box.bottom - box.top > 1) row(box.bottom - 1, box.left, box.right);
}

void AppendRectFill(std::vector<Span>& out, const RECT& box, const RECT& limit) {
    if (box.right <= box.left) return;
    const int top = std::max(box.top, limit.top);
    const int bottom = std::min(box.bottom, limit.bottom);
    for (int y = top; y < bottom; ++y) out.push_back({y, box.left, box.right});
}

std::vector<Span> PolygonSpans(const POINT* points, size_t count, int fillMode,
                               const RECT& limit) {
    std::vector<Span> spans;
    if (count < 3) return spans;
    int top = points[0].y;
    int bottom = points[0].y;
    for (size_t i = 1; i < count; ++i) {
        top = std::min<int>(top, points[i].y);
        bottom = std::max<int>(bottom, points[i].y);
    }
    top = std::max<int>(top, limit.top);
    bottom = std::min<int>(bottom, limit.bottom);
    std::vector<Crossing> crossings;
    for (int y = top; y < bottom; ++y) {
        crossings.clear();
        for (size_t i = 0; i < count; ++i) {
            const POINT& p = points[i];
            const POINT& q = points[(i + 1) % count];
            if (p.y == q.y) continue;
            const bool down = q.y > p.y;
            const POINT& upper = down ? p : q;
            const POINT& lower = down ? q : p;
            if (y < upper.y || y >= lower.y) continue;
            // x = upper.x + (y - upper.y) * (lower.x - upper.x) / (lower.y - upper.y).
            const int64_t den = static_cast<int64_t>(lower.y) - upper.y;
            const int64_t num = static_cast<int64_t>(upper.x) * den +
                                (static_cast<int64_t>(y) - upper.y) * (lower.x - upper.x);
            crossings.push_back({CeilDiv(num, den), down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int winding = 0;
        for (size_t k = 0; k < crossings.size(); ++k) {
            const bool inside = fillMode == WINDING ? winding != 0 : k % 2 == 1;
            if (inside && k > 0) {
                spans.push_back({y, static_cast<int>(crossings[k - 1].x),
                                 static_cast<int>(crossings[k].x)});
            }
            winding += crossings[k].direction;
        }
    }
    NormaliseSpans(spans);
    return spans;
}

RECT NormalisedRect(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
}

}  // namespace platform::gdi
