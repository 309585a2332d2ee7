// The figure tools: straight lines, curves, outlined and filled ellipses and
// rectangles between two points, in the current colour; the outlines take
// the brush width, the fills the current pattern.
#pragma once

#include "tools/tool.h"

class LineTool : public ShapeTool {
public:
    explicit LineTool(WorkshopScreen* owner);
    void DrawShape() override;
};

class EllipseTool : public ShapeTool {
public:
    explicit EllipseTool(WorkshopScreen* owner);
    void DrawShape() override;
};

class FilledEllipseTool : public ShapeTool {
public:
    explicit FilledEllipseTool(WorkshopScreen* owner);
    void DrawShape() override;
};

class RectangleTool : public ShapeTool {
public:
    explicit RectangleTool(WorkshopScreen* owner);
    void DrawShape() override;
};

class FilledRectangleTool : public ShapeTool {
public:
    explicit FilledRectangleTool(WorkshopScreen* owner);
    void DrawShape() override;
};

// The curve takes three clicks: press, drag and release draw a straight
// segment that still follows the pointer; a click fixes its end; moving the
// pointer then bends it and a third click fixes the curve.
class CurveTool : public ShapeTool {
public:
    explicit CurveTool(WorkshopScreen* owner);
    void OnActionStart(int x, int y) override;
    void OnActionMove(int x, int y, int leftDown) override;
    void OnPress(int x, int y) override;
    void DrawShape() override;
    void UpdateExtent() override;

    // The pointer pulls the curve: the control point lies 24/17 further out
    // from the segment's middle than the pointer.
    POINT PulledPoint(int x, int y) const;

    // The segment runs from m_points[0] to m_points[3] (= m_points[2]);
    // m_points[1] follows the pointer while bending.
    POINT m_points[4]{};
    int m_bending = 0;
    RECT m_segmentExtent{};
};
