#include "workshop/workshop_screen.h"

#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/cursors.h"

namespace {

constexpr COLORREF kFrameColour = RGB(255, 206, 24);
constexpr COLORREF kPaperColour = RGB(255, 255, 255);

}  // namespace

// The hourglass of the loading gives way to the program's pointer.
void WorkshopScreen::OnStart() { SetCurrentCursor(LoadedCursor(32000)); }

void WorkshopScreen::PaintBackground(const RECT& rect) {
    FillRectangle(rect, kFrameColour);
    RECT paper;
    if (IntersectRect(&paper, &rect, &kSheetRect)) FillRectangle(paper, kPaperColour);
}
