#include "workshop/workshop_screen.h"

#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/cursors.h"

// FIXME: placeholder bodies while the workshop is being built.
WorkshopState g_workshop;

void WorkshopScreen::OnCreate() {}
void WorkshopScreen::OnStart() { SetCurrentCursor(LoadedCursor(32000)); }
void WorkshopScreen::OnDestroy() {}
void WorkshopScreen::OnDeactivate() {}
int WorkshopScreen::CanClose() { return 1; }
void WorkshopScreen::PaintBackground(const RECT& rect) {
    FillRectangle(rect, RGB(255, 206, 24));
    RECT paper;
    if (IntersectRect(&paper, &rect, &kSheetRect)) FillRectangle(paper, RGB(255, 255, 255));
}
void WorkshopScreen::OnCommand(int) {}
void WorkshopScreen::OnLButtonDown(int, int) {}
void WorkshopScreen::OnLButtonUp(int, int) {}
void WorkshopScreen::OnMouseMove(int, int) {}
void WorkshopScreen::OnRButtonDown(int, int) {}
void WorkshopScreen::OnChar(int, int) {}
void WorkshopScreen::OnTimer(int) {}
void WorkshopScreen::OnIdle() {}
void WorkshopScreen::BeginAction() {}
void WorkshopScreen::EndAction() {}
void WorkshopScreen::HandOver() {}
void WorkshopScreen::DeleteTools() {}
void WorkshopScreen::BackToBrush() {}
void WorkshopScreen::Undo() {}
void WorkshopScreen::LoadBackground(int) {}
void WorkshopScreen::AdoptLoadedPicture() {}
bool WorkshopScreen::ShowBubbleAt(int, int) { return false; }
void WorkshopScreen::CloseBubble() {}
