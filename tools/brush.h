// The freehand tools: the brush draws a line, or dabs of the brush's shape in
// the pattern, wherever the child drags; the airbrush sprays random dots
// around the pointer for as long as the button is held, moving or not.
#pragma once

#include "tools/tool.h"

class BrushTool : public Tool {
public:
    explicit BrushTool(WorkshopScreen* owner);
    ~BrushTool() override;
    void OnActionStart(int x, int y) override;
    void OnActionMove(int x, int y, int leftDown) override;
    void OnRelease(int x, int y) override;
    int OnCommand(int code, LPARAM value) override;

    Sound* m_sound = nullptr;
    int m_pressX = 0;
    int m_pressY = 0;
    int m_dabMode = 0;

private:
    void PaintAt(int x, int y);
};

// How the airbrush sprays at a brush size: every interval ms, dots dots
// within about the diameter around the pointer.
struct SpraySettings {
    int interval;
    int dots;
    int diameter;
};
SpraySettings SprayFor(int brushSize);

// Where dot number index of a spray around (x, y) lands, drawn from the
// program's random numbers: strictly inside a circle of radius below R =
// diameter / 2 for even dots and below 1.5 R for odd ones.
POINT SprayDot(int x, int y, int diameter, int index);

class AirbrushTool : public Tool {
public:
    explicit AirbrushTool(WorkshopScreen* owner);
    ~AirbrushTool() override;
    void OnActionStart(int x, int y) override;
    void OnActionMove(int x, int y, int leftDown) override;
    void OnIdle(int x, int y, int leftDown) override;
    void OnRelease(int x, int y) override;

    DWORD m_nextSpray = 0;
    Sound* m_sound = nullptr;
    int m_interval = 5;
    int m_dots = 2;
    int m_diameter = 8;

private:
    void SprayAt(int x, int y);
};
