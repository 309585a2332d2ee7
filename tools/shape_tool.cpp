// The rubber band shared by the figure tools and the selection: the figure is
// composed in the screen buffer over the clean sheet kept in the scratch
// picture, so that each move lands on the window in one blit without flicker.
#include "graphics/blit.h"
#include "graphics/regions.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/sound.h"
#include "tools/tool.h"
#include "workshop/workshop_screen.h"

HCURSOR g_cursorBeforeFigure = nullptr;

namespace {

constexpr int kDrawingCursor = 32001;

}  // namespace

void ShapeTool::OnActionStart(int x, int y) {
    g_cursorBeforeFigure = SetCurrentCursor(LoadedCursor(kDrawingCursor));
    GetWindowSurface(m_owner->m_window);
    m_x0 = m_x1 = x;
    m_y0 = m_y1 = y;
    m_lastDragSound = 0;
    UpdateExtent();
    CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
    DrawShape();
    ReleaseWindowSurface();
}

void ShapeTool::OnActionMove(int x, int y, int /*leftDown*/) {
    if (m_dragSound != nullptr) {
        const DWORD now = timeGetTime();
        if (now - m_lastDragSound > m_dragSoundInterval) {
            m_lastDragSound = now;
            PlayLoadedSound(m_dragSound, SND_ASYNC);
        }
    }
    GetWindowSurface(m_owner->m_window);
    RedrawTo(x, y);
    ReleaseWindowSurface();
}

// The release leaves the figure where the pointer is; the action goes on and
// the figure keeps following the pointer. It is redrawn like a move, so that
// a release away from the last move leaves no trace of the figure there.
void ShapeTool::OnRelease(int x, int y) {
    GetWindowSurface(m_owner->m_window);
    RedrawTo(x, y);
    ReleaseWindowSurface();
}

// The next click fixes the figure at the click's point and ends the action.
void ShapeTool::OnPress(int x, int y) {
    PlayDoneSound();
    GetWindowSurface(m_owner->m_window);
    RedrawTo(x, y);
    CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
    ReleaseWindowSurface();
    m_owner->EndAction();
    SetCurrentCursor(g_cursorBeforeFigure);
}

void ShapeTool::UpdateExtent() {
    m_extent = FigureRect();
    InflateRect(&m_extent, g_workshop.brushWidth, g_workshop.brushWidth);
}

RECT ShapeTool::FigureRect() const {
    RECT rect;
    RectFromPoints(rect, m_x0, m_y0, m_x1, m_y1);
    return rect;
}

void ShapeTool::RedrawTo(int x, int y) {
    const RECT old = m_extent;
    m_x1 = x;
    m_y1 = y;
    UpdateExtent();
    // Only the sheet shows on the window while the action clips it.
    RECT area;
    UnionRect(&area, &old, &m_extent);
    if (!IntersectRect(&area, &area, &kSheetRect)) return;
    RECT sheetArea = area;
    OffsetRect(&sheetArea, -kSheetRect.left, -kSheetRect.top);
    CopyBitmapRectAt(g_scratchPicture, sheetArea, g_screenBuffer, area.left, area.top);
    SelectBitmapSurface(g_screenBuffer);
    DrawShape();
    RestoreSurface();
    DrawBitmapRectAt(g_screenBuffer, area, area.left, area.top);
}
