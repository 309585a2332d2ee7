// The workshop commands that open dialogs: backgrounds, effects, printing,
// loading, saving, quitting, and the fonts and styles of the text tool.
#include "controls/control.h"
#include "dialogs/dialogs.h"
#include "effects/effects.h"
#include "graphics/blit.h"
#include "graphics/shapes.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/cursors.h"
#include "shell/mainwindow.h"
#include "shell/sound.h"
#include "storage/printing.h"
#include "tools/text.h"
#include "workshop/workshop_screen.h"

namespace {

// Runs the effect on the sheet with the wait cursor, inside the sheet's clip,
// after keeping the drawing as it was for undo; input made meanwhile is
// dropped.
void RunEffectOnSheet(WorkshopScreen& screen, int effect) {
    GetWindowSurface(screen.m_window);
    CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
    g_undoFlips = 0;
    ClipToRect(kSheetRect);
    const HCURSOR previous = SetCurrentCursor(g_waitCursor);
    RunEffect(effect);
    SetCurrentCursor(previous);
    ClearClip();
    ReleaseWindowSurface();
    screen.FlushInput(0x7F);
}

}  // namespace

void WorkshopScreen::ChooseNewBackground() {
    if (g_workshop.magnifierActive) BackToBrush();
    if (!ChooseBackground()) return;
    g_workshop.backgroundNumber = g_backgroundChoice;
    PlaySoundFile("KlankE", SND_ASYNC);
    LoadBackground(10 * g_workshop.backgroundNumber + 1500);
    g_workshop.flipState = 0;
    ForgetCurrentPicture();
    RevealBackground();
    GetWindowSurface(m_window);
    CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
    g_undoFlips = 0;
    ReleaseWindowSurface();
    RememberKeptSheet(g_undoPicture);
}

void WorkshopScreen::RunEffectCommand() {
    if (g_workshop.magnifierActive) BackToBrush();
    const int effect = ChooseEffect();
    if (effect >= 0) RunEffectOnSheet(*this, effect);
}

// A confirmed print leaves the brush as the tool. After a failure the sheet
// comes back from the copy that was sent, which also becomes the undo picture.
void WorkshopScreen::RunPrintCommand() {
    if (g_workshop.magnifierActive) BackToBrush();
    if (!ConfirmPrint()) return;
    BackToBrush();
    GetWindowSurface(m_window);
    CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
    ReleaseWindowSurface();
    const long result = PrintBitmap(g_scratchPicture, nullptr, nullptr, 1);
    if (result == 0) {
        PlaySoundFile("Print", SND_ASYNC);
        return;
    }
    ReportPrintResult(result);
    CopyBitmapRectAt(g_scratchPicture, kSheetArea, g_undoPicture, 0, 0);
    g_undoFlips = 0;
    GetWindowSurface(m_window);
    DrawBitmapAt(g_undoPicture, kSheetRect.left, kSheetRect.top);
    ReleaseWindowSurface();
}

void WorkshopScreen::RunLoadCommand() {
    if (g_workshop.magnifierActive) BackToBrush();
    if (RunLoadDialog()) AdoptLoadedPicture();
}

// The saved drawing is what the eraser brings back from now on.
void WorkshopScreen::RunSaveCommand() {
    if (g_workshop.magnifierActive) BackToBrush();
    GetWindowSurface(m_window);
    CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
    ReleaseWindowSurface();
    if (!RunSaveDialog()) return;
    RememberKeptSheet(g_scratchPicture);
    GetWindowSurface(m_window);
    if (g_backgroundPicture != nullptr) DeleteObject(g_backgroundPicture);
    g_backgroundPicture = GrabSurfaceRect(kSheetRect);
    ReleaseWindowSurface();
}

void WorkshopScreen::RunQuitCommand() {
    if (g_workshop.magnifierActive) BackToBrush();
    if (CanClose()) CloseAllScreens();
}

// Closing the window comes here without the quit command.
int WorkshopScreen::CanClose() {
    if (g_workshop.magnifierActive) BackToBrush();
    if (!ConfirmQuit()) return 0;
    GetWindowSurface(m_window);
    RECT client;
    GetClientRect(m_window, &client);
    FillRectangle(client, 0);
    ReleaseWindowSurface();
    ShowFarewell();
    StopSound(nullptr);
    return 1;
}

// The text tool becomes current under the text button while the chooser
// sets the text settings; a new balloon style changes its cursor at once.
void WorkshopScreen::ChooseFontsAndStyles() {
    SelectToolButton(m_textButton);
    ChooseTool(m_textButton->m_id);
    const int style = g_textSettings.style;
    ChooseFont();
    if (g_workshop.textTool && g_textSettings.style != style) {
        g_toolCursor = TextCursorFor(g_textSettings.style);
        SetCurrentCursor(g_toolCursor);
    }
}
