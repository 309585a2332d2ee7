// The program's application object and the sequence of its screens.
#include "shell/app.h"
#include "shell/cursors.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/screen.h"

WorkshopApp theApp;

namespace {

constexpr char kApplicationName[] = "Le petit Tavelin";

// Stands where the title and workshop screens will be: a sunny page that a
// key or a click ends, which ends the program.
class WaitingScreen : public Screen {
public:
    WaitingScreen() : Screen(nullptr, g_programPalette) {}

    void PaintBackground(const RECT& rect) override {
        HDC dc = GetDC(m_window);
        HBRUSH brush = CreateSolidBrush(RGB(255, 206, 24));
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        ReleaseDC(m_window, dc);
    }
    void OnKeyUp(int) override { CloseAllScreens(); }
    void OnLButtonUp(int, int) override { CloseAllScreens(); }
    void OnRButtonUp(int, int) override { CloseAllScreens(); }
};

// The language index of the help texts for a Windows language code.
int LanguageIndexFor(int windowsLanguage) {
    switch (windowsLanguage) {
        case 12: return 0;
        case 13: return 2;
        case 19: return 3;
        case 9: return 4;
        case 15: return 5;
        default: return 1;
    }
}

bool QuitIsWaiting(HWND window) {
    MSG msg;
    return PeekMessageA(&msg, window, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

}  // namespace

WorkshopApp::WorkshopApp() : Application(kApplicationName) {}

void WorkshopApp::Run() {
    RegisterHotKey(nullptr, 128, MOD_ALT, VK_TAB);
    // FIXME: the configuration (installation file, data folder, fonts, colours,
    // picture banks) and the language screen come here.
    const int languageIndex = LanguageIndexFor(GetWindowsLanguage());
    if (LoadHelpTexts(languageIndex)) GetHelpString(38, g_captionText, 127);

    SetCurrentCursor(ProgramCursor(110));
    auto* screen = new WaitingScreen();
    SetCurrentScreen(screen);
    screen->FlushInput(0x7F);
    int result = 0;
    int pumped;
    while ((pumped = PumpMessage(result)) == 0) {
    }
    const bool quit = pumped == 1 || QuitIsWaiting(screen->m_window);
    SetCurrentScreen(nullptr);
    delete screen;
    if (!quit) {
        // FIXME: the workshop screen runs here until the user quits.
        CloseAllScreens();
        while (PumpMessage(result) != 1) {
        }
    }
}
