// The drawing primitives: lines, polylines, the smooth curve, framed and filled
// rectangles and ellipses, all on the current surface in the drawing state.
// Each takes its colour last; rectangles exclude their right and bottom edges.
#pragma once

#include "platform/windows.h"

constexpr int kCurvePoints = 33;

// Draws from the surface's current position, which the caller sets with MoveToEx.
void LineToPoint(int x, int y, COLORREF colour);
void DrawPolyline(const POINT* points, int count, COLORREF colour);
// The cubic curve from points[0] to points[3] pulled by points[1] and points[2].
void DrawCurve(const POINT points[4], COLORREF colour);
void CurvePoints(const POINT control[4], POINT points[kCurvePoints]);

void FrameRectangle(const RECT& rect, COLORREF colour);
void FillRectangle(const RECT& rect, COLORREF colour);
void FrameEllipse(const RECT& rect, COLORREF colour);
void FillEllipse(const RECT& rect, COLORREF colour);

// Draws a shape with the brush and pen selected into dc, covering rect.
using ShapeDrawer = void (*)(HDC dc, const RECT& rect, const void* context);

// The pattern fill of pattern mode: lays the selected pattern brush's ink
// pixels of the shape in the colour over the target rectangle of the surface
// and leaves every other pixel as it was, in one blit onto the surface.
void PatternFillShape(const RECT& target, ShapeDrawer draw, const void* context, COLORREF colour);

// x mod 8 as 0..7, negative x included.
inline int PatternPhase(int x) { return x & 7; }
