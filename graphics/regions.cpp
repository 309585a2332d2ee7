#include "graphics/regions.h"

#include <algorithm>

#include "graphics/drawing_state.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "shell/mainwindow.h"

namespace {

// The region moved so that its bounding box starts at the work rectangle's
// top-left, filled with the selected brush, and moved back.
void DrawRegionShape(HDC dc, const RECT& rect, const void* context) {
    HRGN region = static_cast<HRGN>(const_cast<void*>(context));
    RECT box;
    GetRgnBox(region, &box);
    const int dx = rect.left - box.left;
    const int dy = rect.top - box.top;
    OffsetRgn(region, dx, dy);
    FillRgn(dc, region, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    OffsetRgn(region, -dx, -dy);
}

}  // namespace

HRGN MakeRoundRectRegion(const RECT& rect, int cornerWidth, int cornerHeight) {
    if (rect.right > rect.left && rect.bottom > rect.top) {
        return CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom, cornerWidth,
                                  cornerHeight);
    }
    return CreateRectRgn(0, 0, 0, 0);
}

void MoveRegionTo(HRGN region, int x, int y) {
    RECT box;
    GetRgnBox(region, &box);
    OffsetRgn(region, x - box.left, y - box.top);
}

void SetRegionToRect(HRGN region, const RECT& rect) {
    HRGN shape = CreateRectRgnIndirect(&rect);
    CombineRgn(region, shape, nullptr, RGN_COPY);
    DeleteObject(shape);
}

void UniteRegions(HRGN a, HRGN b, HRGN destination) { CombineRgn(destination, a, b, RGN_OR); }

void FrameRegion(HRGN region, COLORREF colour) {
    SelectBrush(colour);
    const int width = g_drawingState.penWidth;
    FrameRgn(g_currentSurface, region, SelectedBrush(), width, width);
    ReleaseBrush();
}

void FillRegion(HRGN region, COLORREF colour) {
    SelectBrush(colour);
    if (InPatternMode()) {
        RECT box;
        GetRgnBox(region, &box);
        PatternFillShape(box, DrawRegionShape, region, colour);
    } else {
        FillRgn(g_currentSurface, region, SelectedBrush());
    }
    ReleaseBrush();
}

void RectFromPoints(RECT& rect, int x0, int y0, int x1, int y1) {
    rect.left = std::min(x0, x1);
    rect.top = std::min(y0, y1);
    rect.right = std::max(x0, x1) + 1;
    rect.bottom = std::max(y0, y1) + 1;
}

void CentreRect(RECT& rect, const RECT& outer) {
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    rect.left = outer.left + (outer.right - outer.left - width) / 2;
    rect.top = outer.top + (outer.bottom - outer.top - height) / 2;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
}

bool RectsOverlap(const RECT& a, const RECT& b) {
    return std::min(a.right, b.right) > std::max(a.left, b.left) &&
           std::min(a.bottom, b.bottom) > std::max(a.top, b.top);
}

void ToScreenPoint(POINT& point) {
    if (g_currentSurface == nullptr) {
        ClientToScreen(g_mainWindow, &point);
        return;
    }
    POINT origin{};
    GetDCOrgEx(g_currentSurface, &origin);
    point.x += origin.x;
    point.y += origin.y;
}
