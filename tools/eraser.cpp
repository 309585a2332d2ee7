#include "tools/eraser.h"

#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/sound.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr int kEraserCursors = 220;
// The square's side by brush size modulo 4.
constexpr int kEraserSides[4] = {4, 8, 12, 20};

HCURSOR EraserCursor(int size) { return LoadedCursor(kEraserCursors + (size & 3)); }

}  // namespace

EraserTool::EraserTool(WorkshopScreen* owner) : Tool(owner, EraserCursor(g_workshop.brushSize)) {
    m_sound = LoadSound("ponce");
    m_width = m_height = kEraserSides[g_workshop.brushSize & 3];
}

EraserTool::~EraserTool() { FreeSound(m_sound); }

void EraserTool::OnActionStart(int x, int y) {
    PlayLoadedSound(m_sound, SND_ASYNC | SND_LOOP);
    EraseAt(x, y);
}

void EraserTool::OnActionMove(int x, int y, int /*leftDown*/) { EraseAt(x, y); }

void EraserTool::OnRelease(int /*x*/, int /*y*/) {
    StopSound(m_sound);
    m_owner->EndAction();
}

int EraserTool::OnCommand(int code, LPARAM value) {
    if (code == kToolBrushSize) {
        const int size = static_cast<int>(value);
        SetCurrentCursor(EraserCursor(size));
        m_width = m_height = kEraserSides[size & 3];
    }
    return 0;
}

void EraserTool::EraseAt(int x, int y) {
    const int left = x - kSheetRect.left;
    const int top = y - kSheetRect.top;
    const RECT source{left, top, left + m_width, top + m_height};
    GetWindowSurface(m_owner->m_window);
    DrawBitmapRectAt(g_backgroundPicture, source, x, y);
    ReleaseWindowSurface();
}
