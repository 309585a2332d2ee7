#include "graphics/drawing_state.h"
#include "graphics/regions.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "tools/figures.h"
#include "workshop/workshop_state.h"

CurveTool::CurveTool(WorkshopScreen* owner) : ShapeTool(owner, "TicHaut") {}

void CurveTool::OnActionStart(int x, int y) {
    m_bending = 0;
    SetRectEmpty(&m_segmentExtent);
    ShapeTool::OnActionStart(x, y);
}

void CurveTool::OnActionMove(int x, int y, int leftDown) {
    if (m_bending) {
        const POINT pulled = PulledPoint(x, y);
        x = pulled.x;
        y = pulled.y;
    }
    ShapeTool::OnActionMove(x, y, leftDown);
}

void CurveTool::OnPress(int x, int y) {
    if (m_bending) {
        const POINT pulled = PulledPoint(x, y);
        ShapeTool::OnPress(pulled.x, pulled.y);
        return;
    }
    // The click fixes the segment's end. The extent keeps covering the
    // segment as it was shown, should the click be away from the last move.
    const RECT shown = m_extent;
    m_points[0] = POINT{m_x0, m_y0};
    m_x1 = x;
    m_y1 = y;
    m_points[2] = m_points[3] = POINT{x, y};
    UpdateExtent();
    UnionRect(&m_extent, &m_extent, &shown);
    m_segmentExtent = m_extent;
    m_bending = 1;
}

POINT CurveTool::PulledPoint(int x, int y) const {
    const int middleX = (m_points[2].x + m_points[0].x) / 2;
    const int middleY = (m_points[2].y + m_points[0].y) / 2;
    return POINT{x + ((x - middleX) * 24) / 17, y + ((y - middleY) * 24) / 17};
}

void CurveTool::DrawShape() {
    const int width = SetPenWidth(g_workshop.brushWidth);
    if (m_bending) {
        m_points[1] = POINT{m_x1, m_y1};
        DrawCurve(m_points, g_workshop.colour);
    } else {
        MoveToEx(g_currentSurface, m_x0, m_y0, nullptr);
        LineToPoint(m_x1, m_y1, g_workshop.colour);
    }
    SetPenWidth(width);
}

void CurveTool::UpdateExtent() {
    ShapeTool::UpdateExtent();
    UnionRect(&m_extent, &m_extent, &m_segmentExtent);
    IntersectRect(&m_extent, &m_extent, &kSheetRect);
}
