// Regions: GDI region objects and the clip they give device contexts.
//
// Implements rectangle, round-rectangle, elliptic and polygon regions (ALTERNATE
// and WINDING), the five combinations, offsetting, hit tests, equality, filling,
// painting, framing and inverting, and the clip calls SelectClipRgn,
// ExtSelectClipRgn, IntersectClipRect, ExcludeClipRect and GetClipBox.
//
// Left out: GetRegionData, ExtCreateRegion, GetClipRgn, paths turned into
// regions, and world transforms.
//
// Elliptic and round-rectangle edges follow the incremental ellipse that
// Ellipse draws, so they are exactly symmetric.
#pragma once

#include <vector>

#include "platform/gdi/dc.h"

namespace platform::gdi {

// A set of pixels as y-bands of sorted, disjoint, non-touching x-intervals.
// Bands are sorted, do not overlap, and two bands that touch never have the same
// intervals (they would have been merged), so equal sets have equal bands.
class Region {
public:
    struct Band {
        int top;
        int bottom;              // exclusive
        std::vector<int> edges;  // left0, right0, left1, right1, ... (rights exclusive)
        bool operator==(const Band&) const = default;
    };

    Region() = default;
    explicit Region(const RECT& rect);  // empty when right <= left or bottom <= top
    // From spans in any order, overlapping or not.
    static Region FromSpans(std::vector<Span> spans);
    static Region FromRects(const std::vector<RECT>& rects);
    // a op b, op one of RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF (RGN_COPY gives a).
    static Region Combine(const Region& a, const Region& b, int op);

    bool IsEmpty() const { return m_bands.empty(); }
    RECT Bounds() const;  // (0, 0, 0, 0) when empty
    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int Complexity() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rect) const;
    void Offset(int dx, int dy);
    // The region as disjoint rectangles, band by band.
    std::vector<RECT> Rects() const;
    // The region as spans, row by row, offset by (dx, dy).
    void AppendSpans(std::vector<Span>& out, int dx = 0, int dy = 0) const;
    const std::vector<Band>& Bands() const { return m_bands; }
    bool operator==(const Region&) const = default;

private:
    void AddBand(int top, int bottom, std::vector<int> edges);
    std::vector<Band> m_bands;
};

// The pixels of the elliptic region and of the round rectangle (corners from
// an ellipse of cornerWidth x cornerHeight). As on Windows, both leave out the
// box's last column and row: they cover what Ellipse draws without a pen.
Region EllipticRegion(const RECT& box);
Region RoundRectRegion(const RECT& box, int cornerWidth, int cornerHeight);

struct RegionObject : GdiObject {
    Region region;
};

RegionObject* FindRegion(HRGN handle);
HRGN MakeRegionObject(Region region);

// The erosion FrameRgn draws: the pixels of the region that lie within width
// columns or height rows of its outside.
Region FrameOf(const Region& region, int width, int height);

}  // namespace platform::gdi
