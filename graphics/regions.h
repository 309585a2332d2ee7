// Regions for shaped buttons and bubbles, small rectangle and point helpers.
// Regions made here belong to the caller.
#pragma once

#include "platform/windows.h"

// A round-cornered rectangle region; an empty region for an empty rectangle.
HRGN MakeRoundRectRegion(const RECT& rect, int cornerWidth, int cornerHeight);
// Moves the region so that its bounding box's top-left corner is at (x, y).
void MoveRegionTo(HRGN region, int x, int y);
void SetRegionToRect(HRGN region, const RECT& rect);
void UniteRegions(HRGN a, HRGN b, HRGN destination);
// A frame as wide and high as the pen width.
void FrameRegion(HRGN region, COLORREF colour);
void FillRegion(HRGN region, COLORREF colour);

// The smallest rectangle holding both points.
void RectFromPoints(RECT& rect, int x0, int y0, int x1, int y1);
// Moves the rectangle to the middle of the outer one.
void CentreRect(RECT& rect, const RECT& outer);
// False for rectangles that only share an edge.
bool RectsOverlap(const RECT& a, const RECT& b);
// A client point of the current surface (or of the main window when there is
// none) in screen coordinates.
void ToScreenPoint(POINT& point);
