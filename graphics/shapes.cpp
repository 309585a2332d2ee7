#include "graphics/shapes.h"

#include <cstdint>

#include "graphics/drawing_state.h"
#include "graphics/surface.h"
#include "shell/messages.h"

namespace {

void DrawRectangleShape(HDC dc, const RECT& rect, const void*) {
    Rectangle(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
}

void DrawEllipseShape(HDC dc, const RECT& rect, const void*) {
    Ellipse(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
}

// Draws the shape on a work rectangle with the selected brush and no pen.
void DrawShapeWithBrush(HDC dc, const RECT& work, ShapeDrawer draw, const void* context) {
    HGDIOBJ oldBrush = SelectObject(dc, SelectedBrush());
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    draw(dc, work, context);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

// Draws a filled shape: the pattern fill in pattern mode, else the shape with
// the brush and no pen.
void FillShape(const RECT& rect, COLORREF colour, ShapeDrawer draw) {
    SelectBrush(colour);
    if (InPatternMode()) {
        PatternFillShape(rect, draw, nullptr, colour);
    } else {
        draw(g_currentSurface, rect, nullptr);
    }
    ReleaseBrush();
}

}  // namespace

void LineToPoint(int x, int y, COLORREF colour) {
    SelectPen(colour);
    LineTo(g_currentSurface, x, y);
    ReleasePen();
}

void DrawPolyline(const POINT* points, int count, COLORREF colour) {
    SelectPen(colour);
    Polyline(g_currentSurface, points, count);
    ReleasePen();
}

void CurvePoints(const POINT control[4], POINT points[kCurvePoints]) {
    const int32_t x0 = control[0].x, x1 = control[1].x, x2 = control[2].x, x3 = control[3].x;
    const int32_t y0 = control[0].y, y1 = control[1].y, y2 = control[2].y, y3 = control[3].y;
    const int32_t cx1 = x1 - x0, cx2 = x2 - 2 * x1 + x0, cx3 = x3 - 3 * x2 + 3 * x1 - x0;
    const int32_t cy1 = y1 - y0, cy2 = y2 - 2 * y1 + y0, cy3 = y3 - 3 * y2 + 3 * y1 - y0;
    points[0] = control[0];
    for (int32_t m = 1; m < kCurvePoints; ++m) {
        // The curve at t = m / 32 scaled by 32768, rounded with halves going up.
        const int32_t vx = ((96 * cx2 + m * cx3) * m + 3072 * cx1) * m;
        const int32_t vy = ((96 * cy2 + m * cy3) * m + 3072 * cy1) * m;
        points[m].x = x0 + (((vx >> 14) + 1) >> 1);
        points[m].y = y0 + (((vy >> 14) + 1) >> 1);
    }
}

void DrawCurve(const POINT points[4], COLORREF colour) {
    POINT curve[kCurvePoints];
    CurvePoints(points, curve);
    DrawPolyline(curve, kCurvePoints, colour);
}

void FrameRectangle(const RECT& rect, COLORREF colour) {
    SelectPen(colour);
    Rectangle(g_currentSurface, rect.left, rect.top, rect.right, rect.bottom);
    ReleasePen();
}

void FillRectangle(const RECT& rect, COLORREF colour) { FillShape(rect, colour, DrawRectangleShape); }

void FrameEllipse(const RECT& rect, COLORREF colour) {
    SelectPen(colour);
    Ellipse(g_currentSurface, rect.left, rect.top, rect.right, rect.bottom);
    ReleasePen();
}

void FillEllipse(const RECT& rect, COLORREF colour) {
    if (g_drawingState.brushKind == kPatternBrush) {
        FillShape(rect, colour, DrawEllipseShape);
        return;
    }
    const int width = SetPenWidth(1);
    SelectPenAndBrush(colour, colour);
    Ellipse(g_currentSurface, rect.left, rect.top, rect.right, rect.bottom);
    ReleasePenAndBrush();
    SetPenWidth(width);
}

void PatternFillShape(const RECT& target, ShapeDrawer draw, const void* context, COLORREF colour) {
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    if (w <= 0 || h <= 0) return;
    const int ax = PatternPhase(target.left);
    const int ay = PatternPhase(target.top);
    const RECT work{ax, ay, ax + w, ay + h};
    HDC holes = CreateCompatibleDC(g_currentSurface);
    HDC ink = CreateCompatibleDC(g_currentSurface);
    HBITMAP holesBitmap = CreateCompatibleBitmap(g_currentSurface, w + 8, h + 8);
    HBITMAP inkBitmap = CreateCompatibleBitmap(g_currentSurface, w + 8, h + 8);
    if (holes == nullptr || ink == nullptr || holesBitmap == nullptr || inkBitmap == nullptr) {
        if (holes != nullptr) DeleteDC(holes);
        if (ink != nullptr) DeleteDC(ink);
        if (holesBitmap != nullptr) DeleteObject(holesBitmap);
        if (inkBitmap != nullptr) DeleteObject(inkBitmap);
        ShowMessage(20, kFatal, -1);
        return;
    }
    HGDIOBJ oldHoles = SelectObject(holes, holesBitmap);
    HGDIOBJ oldInk = SelectObject(ink, inkBitmap);
    HPALETTE oldPalette = SelectPalette(ink, PaletteForSurfaces(), FALSE);

    // The picture with black holes where the ink goes: the default black text
    // colour and white background turn ink pixels black and paper white.
    PatBlt(holes, ax, ay, w, h, WHITENESS);
    DrawShapeWithBrush(holes, work, draw, context);
    BitBlt(holes, ax, ay, w, h, g_currentSurface, target.left, target.top, SRCAND);

    // The ink in the colour on black.
    PatBlt(ink, ax, ay, w, h, BLACKNESS);
    SetTextColor(ink, colour | kPaletteRelative);
    SetBkColor(ink, 0);
    DrawShapeWithBrush(ink, work, draw, context);

    BitBlt(holes, ax, ay, w, h, ink, ax, ay, SRCPAINT);
    BitBlt(g_currentSurface, target.left, target.top, w, h, holes, ax, ay, SRCCOPY);

    SelectPalette(ink, oldPalette, FALSE);
    SelectObject(ink, oldInk);
    SelectObject(holes, oldHoles);
    DeleteObject(inkBitmap);
    DeleteObject(holesBitmap);
    DeleteDC(ink);
    DeleteDC(holes);
}
