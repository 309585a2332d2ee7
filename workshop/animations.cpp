// The workshop's two animations: the sheet cracking like ice when it is
// erased, and a new background sliding onto the sheet.
#include "graphics/blit.h"
#include "graphics/drawing_state.h"
#include "graphics/shapes.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/random.h"
#include "shell/sound.h"
#include "shell/timing.h"
#include "workshop/workshop_screen.h"

namespace {

// One crack runs from one edge of the sheet across to the opposite one.
struct Crack {
    int x;
    int y;
    int edge;  // 0 top, 1 bottom, 2 left, 3 right
    bool done;
};

void StartFrame() { g_frameTime = timeGetTime(); }

void ExtendCrack(Crack& crack) {
    MoveToEx(g_currentSurface, crack.x, crack.y, nullptr);
    switch (crack.edge) {
        case 0:
            crack.x += Random() % 150 - 75;
            crack.y += 20 + Random() % 20;
            crack.done = crack.y >= kSheetRect.bottom;
            break;
        case 1:
            crack.x += Random() % 150 - 75;
            crack.y -= 20 + Random() % 20;
            crack.done = crack.y <= kSheetRect.top;
            break;
        case 2:
            crack.x += 24 + Random() % 24;
            crack.y += Random() % 200 - 100;
            crack.done = crack.x >= kSheetRect.right;
            break;
        default:
            crack.x -= 24 + Random() % 24;
            crack.y += Random() % 200 - 100;
            crack.done = crack.x <= kSheetRect.left;
            break;
    }
    LineToPoint(crack.x, crack.y, 0);
}

void CrackRound(DWORD delay) {
    Crack cracks[4];
    cracks[0] = {kSheetRect.left + (Random() & 511), kSheetRect.top, 0, false};
    cracks[1] = {kSheetRect.left + (Random() & 511), kSheetRect.bottom - 1, 1, false};
    cracks[2] = {kSheetRect.left, kSheetRect.top + Random() % 400, 2, false};
    cracks[3] = {kSheetRect.right - 1, kSheetRect.top + Random() % 400, 3, false};
    for (;;) {
        StartFrame();
        bool running = false;
        for (Crack& crack : cracks) {
            if (crack.done) continue;
            ExtendCrack(crack);
            running = true;
        }
        if (!running) return;
        WaitFrame(delay);
    }
}

}  // namespace

// Runs on the window's surface, which the caller holds.
void WorkshopScreen::CrackSheet() {
    PlaySoundFile("Glace", SND_ASYNC);
    const int penWidth = SetPenWidth(2);
    ClipToRect(kSheetRect);
    const int mode = SetDrawingMode(R2_NOT);
    CrackRound(30);
    CrackRound(20);
    ClearClip();
    SetPenWidth(penWidth);
    FillRectangle(kSheetRect, 0);
    SetDrawingMode(mode);
}

// Slides the background picture onto the sheet in one of four directions.
void WorkshopScreen::RevealBackground() {
    const HBITMAP picture = g_backgroundPicture;
    const int left = kSheetRect.left;
    const int top = kSheetRect.top;
    GetWindowSurface(m_window);
    switch (Random() % 4) {
        case 0:
            for (int y = 390; y >= 0; y -= 10) {
                StartFrame();
                DrawBitmapRectAt(picture, RECT{0, y, 512, 400}, left, top);
                WaitFrame(10);
            }
            break;
        case 1:
            for (int h = 10; h <= 400; h += 10) {
                StartFrame();
                DrawBitmapRectAt(picture, RECT{0, 0, 512, h}, left, kSheetRect.bottom - h);
                WaitFrame(10);
            }
            break;
        case 2:
            for (int x = 496; x >= 0; x -= 16) {
                StartFrame();
                DrawBitmapRectAt(picture, RECT{x, 0, 512, 400}, left, top);
                WaitFrame(12);
            }
            break;
        default:
            for (int w = 16; w <= 512; w += 16) {
                StartFrame();
                DrawBitmapRectAt(picture, RECT{0, 0, w, 400}, kSheetRect.right - w, top);
                WaitFrame(10);
            }
            break;
    }
    ReleaseWindowSurface();
}
