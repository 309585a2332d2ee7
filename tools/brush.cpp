#include "tools/brush.h"

#include "graphics/drawing_state.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/sound.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr int kBrushCursors = 210;
constexpr int kLineMode = 0;
constexpr int kDabMode = 1;
// From this brush size on, dabs are discs instead of squares.
constexpr int kFirstDiscSize = 4;

HCURSOR BrushCursor(int size) { return LoadedCursor(kBrushCursors + size); }

// The thin brushes draw a line unless a pattern is chosen; the others, and
// the thin ones with a pattern, lay dabs in pattern mode.
int ChooseDabMode() {
    const int size = g_workshop.brushSize;
    if (size == 0 || (size < kFirstDiscSize && g_workshop.pattern == 0)) {
        SetPenWidth(g_workshop.brushWidth);
        return kLineMode;
    }
    SetFillPattern(g_workshop.pattern);
    SetDrawingMode(kPatternMode);
    return kDabMode;
}

}  // namespace

BrushTool::BrushTool(WorkshopScreen* owner) : Tool(owner, BrushCursor(g_workshop.brushSize)) {
    m_sound = LoadSound("pff1");
}

BrushTool::~BrushTool() { FreeSound(m_sound); }

void BrushTool::OnActionStart(int x, int y) {
    PlayLoadedSound(m_sound, SND_ASYNC | SND_LOOP);
    GetWindowSurface(m_owner->m_window);
    m_pressX = x;
    m_pressY = y;
    m_dabMode = ChooseDabMode();
    MoveToEx(g_currentSurface, x, y, nullptr);
    PaintAt(x, y);
    ReleaseWindowSurface();
}

void BrushTool::OnActionMove(int x, int y, int /*leftDown*/) {
    GetWindowSurface(m_owner->m_window);
    PaintAt(x, y);
    ReleaseWindowSurface();
}

void BrushTool::OnRelease(int x, int y) {
    StopSound(m_sound);
    // A line of no length draws nothing: a click without movement still
    // leaves a dot.
    if (m_dabMode == kLineMode && x == m_pressX && y == m_pressY) {
        GetWindowSurface(m_owner->m_window);
        PaintAt(x, y + 1);
        ReleaseWindowSurface();
    }
    SetPenWidth(1);
    SetDrawingMode(R2_COPYPEN);
    SetFillPattern(0);
    m_owner->EndAction();
}

int BrushTool::OnCommand(int code, LPARAM value) {
    if (code == kToolBrushSize) SetCurrentCursor(BrushCursor(static_cast<int>(value)));
    return 0;
}

void BrushTool::PaintAt(int x, int y) {
    if (m_dabMode == kLineMode) {
        LineToPoint(x, y, g_workshop.colour);
        return;
    }
    const int w = g_workshop.brushWidth;
    const RECT dab{x, y, x + w, y + w};
    if (g_workshop.brushSize < kFirstDiscSize) {
        FillRectangle(dab, g_workshop.colour);
    } else {
        FillEllipse(dab, g_workshop.colour);
    }
}
