#include "shell/language_screen.h"

#include "controls/buttons.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "shell/mainwindow.h"
#include "shell/sound.h"
#include "shell/timing.h"

namespace {

// Each button's picture number is its id.
struct ButtonPlace {
    int id;
    int x;
    int y;
};

constexpr ButtonPlace kButtons[] = {
    {800, 38, 80},   {810, 265, 80},  {820, 482, 80},  {830, 38, 205},
    {840, 265, 205}, {850, 482, 205}, {860, 40, 400},  {865, 320, 398},
};

constexpr int kFirstFlag = 800;
constexpr int kFirstLogo = 860;
constexpr COLORREF kBackground = RGB(255, 206, 24);
constexpr DWORD kPauseAfterChoice = 400;

}  // namespace

void LanguageScreen::OnCreate() {
    GetWindowSurface(g_focusWindow);
    for (const ButtonPlace& place : kButtons) {
        new PushButton(place.id, place.x, place.y, place.id, 0, nullptr);
    }
    ReleaseWindowSurface();
}

void LanguageScreen::PaintBackground(const RECT& rect) { FillRectangle(rect, kBackground); }

void LanguageScreen::OnCommand(int id) {
    if (id >= kFirstLogo || id < kFirstFlag) return;
    m_languageIndex = (id - kFirstFlag) / 10;
    PlaySoundFile("LitBlow.wav", SND_ASYNC);
    Delay(kPauseAfterChoice);
    EndScreen();
}
