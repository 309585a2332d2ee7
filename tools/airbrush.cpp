#include "graphics/drawing_state.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/random.h"
#include "shell/sound.h"
#include "tools/brush.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr int kAirbrushCursor = 205;
// From this brush size on, each dot is a disc of the brush width.
constexpr int kFirstDiscSize = 4;

constexpr SpraySettings kSprays[8] = {
    {5, 2, 8}, {5, 3, 12}, {4, 4, 18}, {5, 6, 25}, {7, 1, 15}, {12, 1, 22}, {16, 1, 28}, {20, 1, 36},
};

}  // namespace

SpraySettings SprayFor(int brushSize) { return kSprays[brushSize & 7]; }

POINT SprayDot(int x, int y, int diameter, int index) {
    const int radius = diameter / 2;
    const int spread = radius * (index % 2 == 0 ? 1 : 2);
    for (;;) {
        const int s = radius + Random() % spread;
        const int r = s / 2;
        const int px = x + Random() % s - r;
        const int py = y + Random() % s - r;
        if ((x - px) * (x - px) + (y - py) * (y - py) < r * r) return POINT{px, py};
    }
}

AirbrushTool::AirbrushTool(WorkshopScreen* owner) : Tool(owner, LoadedCursor(kAirbrushCursor)) {
    m_sound = LoadSound("aero");
}

AirbrushTool::~AirbrushTool() { FreeSound(m_sound); }

void AirbrushTool::OnActionStart(int x, int y) {
    PlayLoadedSound(m_sound, SND_ASYNC | SND_LOOP);
    ShowCursor(FALSE);
    const SpraySettings spray = SprayFor(g_workshop.brushSize);
    m_interval = spray.interval;
    m_dots = spray.dots;
    m_diameter = spray.diameter;
    m_nextSpray = 0;
    OnIdle(x, y, 1);
}

void AirbrushTool::OnActionMove(int x, int y, int leftDown) { OnIdle(x, y, leftDown); }

void AirbrushTool::OnIdle(int x, int y, int /*leftDown*/) {
    if (!g_workshop.actionInProgress) return;
    const DWORD now = timeGetTime();
    if (now < m_nextSpray) return;
    SprayAt(x, y);
    m_nextSpray = now + static_cast<DWORD>(m_interval);
}

void AirbrushTool::OnRelease(int /*x*/, int /*y*/) {
    StopSound(m_sound);
    m_owner->EndAction();
    ShowCursor(TRUE);
}

void AirbrushTool::SprayAt(int x, int y) {
    GetWindowSurface(m_owner->m_window);
    SaveDrawingState(nullptr);
    const bool discs = g_workshop.brushSize >= kFirstDiscSize;
    const int d = discs ? g_workshop.brushWidth : 1;
    SetFillPattern(g_workshop.pattern);
    g_drawingState.fillColour = g_workshop.colour;
    if (g_workshop.pattern != 0) SetDrawingMode(kPatternMode);
    for (int i = 0; i < m_dots; ++i) {
        const POINT dot = SprayDot(x, y, m_diameter, i);
        const RECT rect{dot.x, dot.y, dot.x + d, dot.y + d};
        if (discs) {
            FillEllipse(rect, g_drawingState.fillColour);
        } else {
            FillRectangle(rect, g_drawingState.fillColour);
        }
    }
    RestoreDrawingState(nullptr);
    ReleaseWindowSurface();
}
