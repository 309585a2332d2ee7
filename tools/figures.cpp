#include "tools/figures.h"

#include "graphics/drawing_state.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "workshop/workshop_state.h"

namespace {

// Fills in pattern mode when a pattern is chosen, plainly otherwise.
void FillFigure(void (*fill)(const RECT&, COLORREF), const RECT& rect) {
    if (g_workshop.pattern == 0) {
        fill(rect, g_workshop.colour);
        return;
    }
    SetFillPattern(g_workshop.pattern);
    SetDrawingMode(kPatternMode);
    fill(rect, g_workshop.colour);
    SetDrawingMode(R2_COPYPEN);
    SetFillPattern(0);
}

// Draws an outline with the pen as wide as the brush.
void FrameFigure(void (*frame)(const RECT&, COLORREF), const RECT& rect) {
    const int width = SetPenWidth(g_workshop.brushWidth);
    frame(rect, g_workshop.colour);
    SetPenWidth(width);
}

}  // namespace

LineTool::LineTool(WorkshopScreen* owner) : ShapeTool(owner, "TicHaut") {}

void LineTool::DrawShape() {
    const int width = SetPenWidth(g_workshop.brushWidth);
    MoveToEx(g_currentSurface, m_x0, m_y0, nullptr);
    LineToPoint(m_x1, m_y1, g_workshop.colour);
    SetPenWidth(width);
}

EllipseTool::EllipseTool(WorkshopScreen* owner) : ShapeTool(owner, "TicBHaut") {}

void EllipseTool::DrawShape() { FrameFigure(FrameEllipse, FigureRect()); }

FilledEllipseTool::FilledEllipseTool(WorkshopScreen* owner) : ShapeTool(owner, "TicBBas") {}

void FilledEllipseTool::DrawShape() { FillFigure(FillEllipse, FigureRect()); }

RectangleTool::RectangleTool(WorkshopScreen* owner) : ShapeTool(owner, "KlinkUp") {}

void RectangleTool::DrawShape() { FrameFigure(FrameRectangle, FigureRect()); }

FilledRectangleTool::FilledRectangleTool(WorkshopScreen* owner) : ShapeTool(owner, "KlinkBa") {}

void FilledRectangleTool::DrawShape() { FillFigure(FillRectangle, FigureRect()); }
