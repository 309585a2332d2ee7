// The routing of the sheet's events to the current tool, and the frame that
// the workshop puts around each tool action: the undo copy, the clip to the
// sheet and the deaf controls.
#include "controls/buttons.h"
#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "tools/tool.h"
#include "workshop/workshop_screen.h"

namespace {

// The tool buttons whose tools take the brush size, and so the right-button
// size cycle.
bool CyclesBrushSize(const Control* button) {
    if (button == nullptr) return false;
    switch (button->m_id) {
        case 140: case 145: case 150: case 155: case 160: case 170: case 180: return true;
        default: return false;
    }
}

}  // namespace

bool WorkshopScreen::OnSheet(int x, int y) const {
    const POINT point{x, y};
    return PtInRect(&kSheetRect, point) != 0;
}

void WorkshopScreen::OnLButtonDown(int x, int y) {
    switch (g_workshop.mode) {
        case kModeEraseWait: EndEraseWait(OnSheet(x, y)); return;
        case kModeHelp:
            if (g_workshop.bubbleShown) CloseBubble();
            else ShowBubbleAt(x, y);
            return;
        default: break;
    }
    Tool* tool = g_workshop.tool;
    if (tool == nullptr) return;
    if (g_workshop.actionInProgress) {
        tool->OnPress(x, y);
    } else if (OnSheet(x, y)) {
        BeginAction();
        tool->OnActionStart(x, y);
    }
}

void WorkshopScreen::OnLButtonUp(int x, int y) {
    if (g_workshop.actionInProgress && g_workshop.tool != nullptr) g_workshop.tool->OnRelease(x, y);
}

void WorkshopScreen::OnMouseMove(int x, int y) {
    Tool* tool = g_workshop.tool;
    if (g_workshop.mode != kModeNormal || tool == nullptr) return;
    if (g_workshop.actionInProgress) tool->OnActionMove(x, y, m_leftButton);
    else tool->OnHover(x, y, m_leftButton);
}

void WorkshopScreen::OnRButtonDown(int x, int y) {
    switch (g_workshop.mode) {
        case kModeEraseWait: EndEraseWait(false); return;
        case kModeHelp: OnLButtonDown(x, y); return;
        default: break;
    }
    if (!g_workshop.actionInProgress) CycleBrushSize();
    if (!m_leftButton && g_workshop.tool != nullptr) g_workshop.tool->OnRightPress(x, y);
}

void WorkshopScreen::OnChar(int code, int repeat) {
    switch (g_workshop.mode) {
        case kModeEraseWait: EndEraseWait(false); return;
        case kModeHelp:
            if (g_workshop.bubbleShown) CloseBubble();
            return;
        default:
            if (g_workshop.tool != nullptr) g_workshop.tool->OnChar(code, repeat);
    }
}

void WorkshopScreen::OnTimer(int timerId) {
    if (g_workshop.tool != nullptr) g_workshop.tool->OnTimer(timerId, m_pointerX, m_pointerY, m_leftButton);
}

void WorkshopScreen::OnIdle() {
    if (g_workshop.tool != nullptr) g_workshop.tool->OnIdle(m_pointerX, m_pointerY, m_leftButton);
    CheckRest();
}

// At rest (no action, no help, no magnifier, no button down and the pointer
// off the sheet) there is a current tool, the palette listens and the pointer
// shows; anything else leaves a child with a deaf screen or no pointer. The
// GDI objects in use stay within kGdiObjectsOverRest of what the first rest
// held (long random runs stay within 6 of it); a climb past that is
// something made again and again and never deleted, which over a long
// session would end in drawing nothing at all. The fault is told once, to
// whoever watches the debug output.
void WorkshopScreen::CheckRest() {
    constexpr DWORD kGdiObjectsOverRest = 32;
    static bool told = false;
    if (told || g_workshop.actionInProgress || g_workshop.mode != kModeNormal ||
        g_workshop.magnifierActive || m_leftButton || m_rightButton || OnSheet(m_pointerX, m_pointerY)) {
        return;
    }
    const char* fault = nullptr;
    if (g_workshop.tool == nullptr) {
        fault = "workshop at rest without a current tool";
    } else if (m_controlEnable != 1) {
        fault = "workshop at rest with the controls' enable counter off its rest value";
    } else {
        const int shown = ShowCursor(TRUE);
        ShowCursor(FALSE);
        if (shown != 1) fault = "workshop at rest with the cursor's show counter off its rest value";
    }
    const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (m_restObjects == 0) m_restObjects = objects;
    if (fault == nullptr && objects > m_restObjects + kGdiObjectsOverRest) {
        fault = "workshop at rest holding ever more GDI objects";
    }
    if (fault == nullptr) return;
    told = true;
    OutputDebugStringA(fault);
}

void WorkshopScreen::BeginAction() {
    GetWindowSurface(m_window);
    if (g_workshop.keepUndoOnce) g_workshop.keepUndoOnce = 0;
    else {
        CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
        g_undoFlips = 0;
    }
    ClipToRect(kSheetRect);
    ReleaseWindowSurface();
    g_workshop.actionInProgress = 1;
    --m_controlEnable;
}

void WorkshopScreen::EndAction() {
    GetWindowSurface(m_window);
    ClearClip();
    ReleaseWindowSurface();
    g_workshop.actionInProgress = 0;
    ++m_controlEnable;
    if (g_workshop.pendingTool != nullptr) {
        delete g_workshop.tool;
        g_workshop.tool = g_workshop.pendingTool;
        g_workshop.pendingTool = nullptr;
    }
}

void WorkshopScreen::HandOver() {
    HandOverRecord record;
    if (g_workshop.tool == nullptr ||
        g_workshop.tool->OnCommand(kToolHandOver, reinterpret_cast<LPARAM>(&record)) == 0) {
        return;
    }
    if (record.keep) g_workshop.pendingTool = g_workshop.tool;
    else delete g_workshop.tool;
    g_workshop.keepUndoOnce = 1;
    g_workshop.tool = record.successor;
}

void WorkshopScreen::DeleteTools() {
    delete g_workshop.tool;
    g_workshop.tool = nullptr;
    delete g_workshop.pendingTool;
    g_workshop.pendingTool = nullptr;
}

// Exchanges the sheet with the undo picture. When a flip lies between them,
// the background turns with the sheet, so that the eraser keeps revealing it
// the way the sheet shows it; the same flips then lie between the exchanged
// pictures, and a second undo turns everything back.
void WorkshopScreen::Undo() {
    GetWindowSurface(m_window);
    CopySurfaceToBitmapAt(kSheetRect, g_screenBuffer, 0, 0);
    DrawBitmapAt(g_undoPicture, kSheetRect.left, kSheetRect.top);
    CopyBitmapRectAt(g_screenBuffer, kSheetArea, g_undoPicture, 0, 0);
    ReleaseWindowSurface();
    if (g_undoFlips & 1) MirrorBitmap(g_backgroundPicture, nullptr);
    if (g_undoFlips & 2) FlipBitmap(g_backgroundPicture, nullptr);
    g_workshop.flipState ^= g_undoFlips;
}

// The right button steps the brush size of the tools that use it.
void WorkshopScreen::CycleBrushSize() {
    if (!CyclesBrushSize(g_workshop.toolButton)) return;
    Control* next = m_sizeButtons[(g_workshop.brushSize + 1) % 8];
    if (g_workshop.sizeButton != nullptr) {
        g_workshop.sizeButton->Select(false);
        g_workshop.sizeButton->Redraw();
    }
    next->Select(true);
    next->Redraw();
    PlayClickSound(next->m_info, 1);
    ChooseBrushSize(next);
}

void WorkshopScreen::ChooseBrushSize(Control* button) {
    g_workshop.brushSize = (button->m_id - 905) / 5;
    g_workshop.brushWidth = kBrushWidths[g_workshop.brushSize];
    if (g_workshop.tool != nullptr) g_workshop.tool->OnCommand(kToolBrushSize, g_workshop.brushSize);
    g_workshop.sizeButton = button;
}
