// The Windows region calls and the clip a device context takes from a region.
#include <algorithm>
#include <cstdlib>

#include "platform/gdi/region.h"
#include "platform/gdi/spans.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

int SetRegion(HRGN handle, Region region) {
    RegionObject* object = FindRegion(handle);
    if (object == nullptr) return ERROR;
    object->region = std::move(region);
    return object->region.Complexity();
}

// Fills the region, given in logical coordinates, through the brush path.
bool FillRegionSpans(HDC handle, const Region& region, HBRUSH brush) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr || FindObjectOf<BrushObject>(brush, OBJ_BRUSH) == nullptr) return false;
    std::vector<Span> spans;
    region.AppendSpans(spans, dc->origin.x, dc->origin.y);
    FillSpansWithBrush(*dc, spans.data(), spans.size(), brush);
    return true;
}

// The region the context clips to, in the coordinates SelectClipRgn takes:
// its selected clip region, or everything visible.
Region CurrentClip(const DeviceContext& dc) {
    if (const RegionObject* selected = FindRegion(dc.clipRegion)) return selected->region;
    Region visible = Region::FromRects(dc.visibleClip);
    visible.Offset(-dc.origin.x, -dc.origin.y);
    return visible;
}

// Keeps a private copy of the region as the context's clip region and clips
// drawing to it, moved to the surface and cut to the visible area.
int ApplyClipRegion(DeviceContext& dc, Region region) {
    const HRGN previous = dc.clipRegion;
    Region device = region;
    dc.clipRegion = MakeRegionObject(std::move(region));
    if (previous != nullptr) DeleteObject(previous);
    device.Offset(dc.origin.x, dc.origin.y);
    const Region clip = Region::Combine(device, Region::FromRects(dc.visibleClip), RGN_AND);
    dc.clip = clip.Rects();
    return clip.Complexity();
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
    return MakeRegionObject(Region(NormalisedRect(left, top, right, bottom)));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* rect) {
    if (rect == nullptr) return nullptr;
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL WINAPI SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    return SetRegion(region, Region(NormalisedRect(left, top, right, bottom))) != ERROR;
}

HRGN WINAPI CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth,
                               int cornerHeight) {
    return MakeRegionObject(
        RoundRectRegion(NormalisedRect(left, top, right, bottom), cornerWidth, cornerHeight));
}

HRGN WINAPI CreateEllipticRgn(int left, int top, int right, int bottom) {
    return MakeRegionObject(EllipticRegion(NormalisedRect(left, top, right, bottom)));
}

HRGN WINAPI CreateEllipticRgnIndirect(const RECT* rect) {
    if (rect == nullptr) return nullptr;
    return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN WINAPI CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (points == nullptr || count < 2 || (fillMode != ALTERNATE && fillMode != WINDING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return MakeRegionObject(Region::FromSpans(
        PolygonSpans(points, static_cast<size_t>(count), fillMode, kNoLimit)));
}

int WINAPI CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
    const RegionObject* a = FindRegion(source1);
    const RegionObject* b = FindRegion(source2);
    if (a == nullptr || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (mode == RGN_COPY) return SetRegion(dest, a->region);
    if (b == nullptr) return ERROR;
    return SetRegion(dest, Region::Combine(a->region, b->region, mode));
}

int WINAPI OffsetRgn(HRGN region, int dx, int dy) {
    RegionObject* object = FindRegion(region);
    if (object == nullptr) return ERROR;
    object->region.Offset(dx, dy);
    return object->region.Complexity();
}

int WINAPI GetRgnBox(HRGN region, LPRECT rect) {
    const RegionObject* object = FindRegion(region);
    if (object == nullptr || rect == nullptr) return ERROR;
    *rect = object->region.Bounds();
    return object->region.Complexity();
}

BOOL WINAPI PtInRegion(HRGN region, int x, int y) {
    const RegionObject* object = FindRegion(region);
    return object != nullptr && object->region.Contains(x, y);
}

BOOL WINAPI RectInRegion(HRGN region, const RECT* rect) {
    const RegionObject* object = FindRegion(region);
    if (object == nullptr || rect == nullptr) return FALSE;
    return object->region.Intersects(NormalisedRect(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL WINAPI EqualRgn(HRGN region1, HRGN region2) {
    const RegionObject* a = FindRegion(region1);
    const RegionObject* b = FindRegion(region2);
    if (a == nullptr || b == nullptr) return ERROR;
    return a->region == b->region;
}

BOOL WINAPI FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    const RegionObject* object = FindRegion(region);
    return object != nullptr && FillRegionSpans(dc, object->region, brush);
}

BOOL WINAPI PaintRgn(HDC dc, HRGN region) {
    const DeviceContext* context = LookupDC(dc);
    return context != nullptr && FillRgn(dc, region, context->brush);
}

BOOL WINAPI FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
    const RegionObject* object = FindRegion(region);
    if (object == nullptr) return FALSE;
    return FillRegionSpans(dc, FrameOf(object->region, std::abs(width), std::abs(height)), brush);
}

BOOL WINAPI InvertRgn(HDC dc, HRGN region) {
    DeviceContext* context = LookupDC(dc);
    const RegionObject* object = FindRegion(region);
    if (context == nullptr || object == nullptr) return FALSE;
    std::vector<Span> spans;
    object->region.AppendSpans(spans, context->origin.x, context->origin.y);
    const int rop2 = context->rop2;
    context->rop2 = R2_NOT;
    FillSpansWithColour(*context, spans.data(), spans.size(), 0);
    context->rop2 = rop2;
    return TRUE;
}

int WINAPI ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (region == nullptr) {
        if (mode != RGN_COPY) return ERROR;
        if (context->clipRegion != nullptr) DeleteObject(context->clipRegion);
        context->clipRegion = nullptr;
        context->clip = context->visibleClip;
        return Region::FromRects(context->clip).Complexity();
    }
    const RegionObject* object = FindRegion(region);
    if (object == nullptr) return ERROR;
    if (mode == RGN_COPY) return ApplyClipRegion(*context, object->region);
    return ApplyClipRegion(*context, Region::Combine(CurrentClip(*context), object->region, mode));
}

int WINAPI SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int WINAPI IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return ERROR;
    const Region rect(NormalisedRect(left, top, right, bottom));
    return ApplyClipRegion(*context, Region::Combine(CurrentClip(*context), rect, RGN_AND));
}

int WINAPI ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return ERROR;
    const Region rect(NormalisedRect(left, top, right, bottom));
    return ApplyClipRegion(*context, Region::Combine(CurrentClip(*context), rect, RGN_DIFF));
}
