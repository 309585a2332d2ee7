#include "tools/fill.h"

#include "graphics/drawing_state.h"
#include "graphics/flood_fill.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/random.h"
#include "shell/sound.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr int kFillCursor = 101;
// The splashes, chosen by the low two bits of a random number.
constexpr const char* kSplashes[4] = {"PloufCrt", "eau", "bubble", "bubble2"};

}  // namespace

FillTool::FillTool(WorkshopScreen* owner) : Tool(owner, LoadedCursor(kFillCursor)) {}

void FillTool::OnActionStart(int x, int y) {
    GetWindowSurface(m_owner->m_window);
    const COLORREF area = GetPixel(g_currentSurface, x, y);
    // Black is the outline of a picture: never filled.
    if (area == RGB(0, 0, 0) || area == g_workshop.colour) {
        PlaySoundFile("tink", SND_ASYNC);
        ReleaseWindowSurface();
        m_owner->EndAction();
        return;
    }
    PlaySoundFile(kSplashes[Random() & 3], SND_ASYNC);
    if (g_workshop.pattern != 0) {
        SetFillPattern(g_workshop.pattern);
        SetDrawingMode(kPatternMode);
        LendFillBitmaps(g_screenBuffer, nullptr, nullptr);
        FloodFill(x, y, g_workshop.colour, &kSheetRect);
        SetFillPattern(0);
        SetDrawingMode(R2_COPYPEN);
    } else {
        FloodFill(x, y, g_workshop.colour, &kSheetRect);
    }
    ReleaseWindowSurface();
    m_owner->EndAction();
}
