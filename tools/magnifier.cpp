#include "tools/magnifier.h"

#include "graphics/blit.h"
#include "graphics/drawing_state.h"
#include "graphics/shapes.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/sound.h"
#include "shell/timing.h"
#include "workshop/workshop_screen.h"

int g_magnifierZoom = 8;

namespace {

constexpr int kMagnifierCursor = 101;
constexpr int kSheetWidth = kSheetRect.right - kSheetRect.left;
constexpr int kSheetHeight = kSheetRect.bottom - kSheetRect.top;
// The rings: ten ellipses around the sheet's centre, 20 pixels apart on
// every side, one each 10 ms.
constexpr int kRingCentreX = (kSheetRect.left + kSheetRect.right) / 2;
constexpr int kRingCentreY = (kSheetRect.top + kSheetRect.bottom) / 2;
constexpr int kRingCount = 10;
constexpr int kRingStep = 20;
constexpr int kSmallRing = 20;
constexpr DWORD kRingDelay = 10;

bool InsideSheet(int x, int y) {
    const POINT point{x, y};
    return PtInRect(&kSheetRect, point) != 0;
}

// The start of the cell of the zoom grid, measured from the sheet's corner,
// that holds the coordinate; a point left of or above the sheet falls into
// a cell outside it.
int CellStart(int coordinate, int origin, int zoom) {
    const int offset = coordinate - origin;
    const int remainder = ((offset % zoom) + zoom) % zoom;
    return coordinate - remainder;
}

// The rings grow from the centre to the sheet's height, or shrink back, and
// are then drawn once more in the same order, which inverts them away.
void RunRings(HWND window, bool growing) {
    GetWindowSurface(window);
    const int mode = SetDrawingMode(R2_NOT);
    const int width = SetPenWidth(8);
    for (int round = 0; round < 2; ++round) {
        int half = growing ? kSmallRing : kSmallRing + (kRingCount - 1) * kRingStep;
        for (int i = 0; i < kRingCount; ++i) {
            g_frameTime = timeGetTime();
            FrameEllipse(RECT{kRingCentreX - half, kRingCentreY - half, kRingCentreX + half,
                              kRingCentreY + half},
                         0);
            half += growing ? kRingStep : -kRingStep;
            WaitFrame(kRingDelay);
        }
    }
    SetPenWidth(width);
    SetDrawingMode(mode);
    ReleaseWindowSurface();
}

}  // namespace

int NextMagnifierZoom(int zoom) {
    switch (zoom) {
        case 8: return 4;
        case 4: return 16;
        default: return 8;
    }
}

RECT ClampedSource(const RECT& frame) {
    RECT source = frame;
    if (source.right > kSheetRect.right) OffsetRect(&source, kSheetRect.right - source.right, 0);
    if (source.bottom > kSheetRect.bottom) OffsetRect(&source, 0, kSheetRect.bottom - source.bottom);
    if (source.left < kSheetRect.left) OffsetRect(&source, kSheetRect.left - source.left, 0);
    if (source.top < kSheetRect.top) OffsetRect(&source, 0, kSheetRect.top - source.top);
    OffsetRect(&source, -kSheetRect.left, -kSheetRect.top);
    return source;
}

MagnifierTool::MagnifierTool(WorkshopScreen* owner)
    : Tool(owner, LoadedCursor(kMagnifierCursor)) {
    m_source = RECT{0, 0, kSheetWidth / g_magnifierZoom, kSheetHeight / g_magnifierZoom};
    m_sound = LoadSound("pff2");
}

MagnifierTool::~MagnifierTool() {
    FreeSound(m_sound);
    ReleaseCounter();
    if (m_frameShown) InvertFrame(m_drawnFrame);
    m_frameShown = 0;
    if (!m_notZoomed) ZoomOut();
    g_workshop.magnifierActive = 0;
}

void MagnifierTool::OnActionStart(int x, int y) {
    if (m_notZoomed) ZoomIn();
    else OnPress(x, y);
}

void MagnifierTool::OnPress(int x, int y) {
    PlayLoadedSound(m_sound, SND_ASYNC | SND_LOOP);
    PaintCell(x, y, g_workshop.colour);
}

void MagnifierTool::OnRelease(int /*x*/, int /*y*/) {
    StopSound(m_sound);
    m_paintingAllowed = 1;
    m_owner->EndAction();
}

void MagnifierTool::OnActionMove(int x, int y, int /*leftDown*/) {
    if (m_paintingAllowed) PaintCell(x, y, g_workshop.colour);
}

void MagnifierTool::OnHover(int x, int y, int /*leftDown*/) {
    if (!m_notZoomed) {
        if (m_owner->m_rightButton) PutBack(x, y);
        return;
    }
    FollowFrame(x, y);
}

void MagnifierTool::OnRightPress(int x, int y) {
    if (!m_notZoomed) {
        PutBack(x, y);
        return;
    }
    if (!InsideSheet(x, y)) return;
    if (m_frameShown) InvertFrame(m_drawnFrame);
    g_magnifierZoom = NextMagnifierZoom(g_magnifierZoom);
    m_source.right = m_source.left + kSheetWidth / g_magnifierZoom;
    m_source.bottom = m_source.top + kSheetHeight / g_magnifierZoom;
    m_frameShown = 0;
    // The frame follow draws the frame and records where, unless the last
    // pointer position is off the sheet: then no frame is on the screen.
    OnHover(m_owner->m_pointerX, m_owner->m_pointerY, 0);
}

// Over the sheet the frame follows the pointer and the palette is deaf, so
// that no command runs while the frame is drawn into the sheet.
void MagnifierTool::FollowFrame(int x, int y) {
    if (InsideSheet(x, y)) {
        const int w = m_source.right - m_source.left;
        const int h = m_source.bottom - m_source.top;
        m_source = RECT{x - w / 2, y - h / 2, x - w / 2 + w, y - h / 2 + h};
        HoldCounter();
        if (m_frameShown) InvertFrame(m_drawnFrame);
        InvertFrame(m_source);
        m_frameShown = 1;
    } else {
        ReleaseCounter();
        if (m_frameShown) InvertFrame(m_drawnFrame);
        m_frameShown = 0;
    }
    m_drawnFrame = m_source;
}

// Drawing the frame a second time at the same place erases it. An action's
// clip to the sheet stays when the frame is erased during the press that
// zooms in.
void MagnifierTool::InvertFrame(const RECT& rect) {
    GetWindowSurface(m_owner->m_window);
    ClipToRect(kSheetRect);
    const int width = SetPenWidth(2);
    const int mode = SetDrawingMode(R2_NOT);
    FrameRectangle(rect, 0);
    SetPenWidth(width);
    SetDrawingMode(mode);
    if (!g_workshop.actionInProgress) ClearClip();
    ReleaseWindowSurface();
}

void MagnifierTool::ZoomIn() {
    PlaySoundFile("Loupe0", SND_ASYNC);
    RunRings(m_owner->m_window, true);
    g_workshop.magnifierActive = 1;
    if (m_frameShown) InvertFrame(m_drawnFrame);
    m_frameShown = 0;
    ReleaseCounter();
    Enlarge();
}

void MagnifierTool::Enlarge() {
    GetWindowSurface(m_owner->m_window);
    CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
    m_source = ClampedSource(m_source);
    DrawBitmapRect(g_scratchPicture, m_source, kSheetRect);
    CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
    g_undoFlips = 0;
    m_notZoomed = 0;
    ReleaseWindowSurface();
}

// Undo afterwards gives the sheet as it was before zooming.
void MagnifierTool::ZoomOut() {
    PlaySoundFile("Loupe2", SND_ASYNC);
    RunRings(m_owner->m_window, false);
    ShrinkBack();
}

// Each cell gives back one pixel: every cell is painted whole.
void MagnifierTool::ShrinkBack() {
    GetWindowSurface(m_owner->m_window);
    CopyBitmapRectAt(g_scratchPicture, kSheetArea, g_undoPicture, 0, 0);
    g_undoFlips = 0;
    const int stretchMode = SetBlitStretchMode(COLORONCOLOR);
    CopySurfaceToBitmap(kSheetRect, g_scratchPicture, m_source);
    SetBlitStretchMode(stretchMode);
    DrawBitmapAt(g_scratchPicture, kSheetRect.left, kSheetRect.top);
    m_notZoomed = 1;
    ReleaseWindowSurface();
}

void MagnifierTool::PaintCell(int x, int y, COLORREF colour) {
    const int zoom = g_magnifierZoom;
    const int left = CellStart(x, kSheetRect.left, zoom);
    const int top = CellStart(y, kSheetRect.top, zoom);
    GetWindowSurface(m_owner->m_window);
    FillRectangle(RECT{left, top, left + zoom, top + zoom}, colour);
    ReleaseWindowSurface();
}

// The scratch picture holds the sheet as it was before zooming.
void MagnifierTool::PutBack(int x, int y) {
    if (!InsideSheet(x, y) || m_owner->m_leftButton) return;
    const int zoom = g_magnifierZoom;
    const int sourceX = (x - kSheetRect.left) / zoom + m_source.left;
    const int sourceY = (y - kSheetRect.top) / zoom + m_source.top;
    GetWindowSurface(m_owner->m_window);
    SelectBitmapSurface(g_scratchPicture);
    const COLORREF colour = GetPixel(g_currentSurface, sourceX, sourceY);
    RestoreSurface();
    ReleaseWindowSurface();
    PaintCell(x, y, colour);
}

void MagnifierTool::HoldCounter() {
    if (!m_counterUntouched) return;
    --m_owner->m_controlEnable;
    m_counterUntouched = 0;
}

void MagnifierTool::ReleaseCounter() {
    if (m_counterUntouched) return;
    ++m_owner->m_controlEnable;
    m_counterUntouched = 1;
}
