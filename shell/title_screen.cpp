#include "shell/title_screen.h"

#include "graphics/blit.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "shell/app.h"
#include "shell/sound.h"

namespace {

constexpr int kPalettePicture = 870;
constexpr int kTrueColourPicture = 871;
constexpr COLORREF kPlainPage = RGB(255, 206, 24);

}  // namespace

void TitleScreen::OnCreate() {
    GetWindowSurface(m_window);
    m_picture = LoadPicture(g_platform.bitsPerPixel <= 8 ? kPalettePicture : kTrueColourPicture);
    ReleaseWindowSurface();
    PlayCdSound("About", SND_ASYNC);
}

void TitleScreen::PaintBackground(const RECT& rect) {
    if (m_picture != nullptr) DrawBitmapAt(m_picture, 0, 0);
    else FillRectangle(rect, kPlainPage);
}

void TitleScreen::OnKeyUp(int) { Finish(); }
void TitleScreen::OnLButtonUp(int, int) { Finish(); }
void TitleScreen::OnRButtonUp(int, int) { Finish(); }

void TitleScreen::Finish() {
    EndScreen();
    PostScreenResult(0);
}

void TitleScreen::OnDestroy() {
    if (m_picture != nullptr) DeleteObject(m_picture);
    m_picture = nullptr;
    StopSound(nullptr);
}
