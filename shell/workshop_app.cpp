// The program's application object and the sequence of its screens.
#include "shell/app.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/language_screen.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/screen.h"
#include "shell/title_screen.h"
#include "workshop/workshop_screen.h"

WorkshopApp theApp;

namespace {

constexpr char kApplicationName[] = "Le petit Tavelin";

// Runs a screen's loop until its window closes, its result arrives or the
// program quits; true when the program quits.
bool RunScreenLoop(Screen& screen) {
    SetCurrentScreen(&screen);
    int result = 0;
    int pumped;
    while ((pumped = PumpMessage(result)) == 0) {
    }
    SetCurrentScreen(nullptr);
    MSG msg;
    const bool quit =
        pumped == 1 || PeekMessageA(&msg, screen.m_window, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
    // A screen that ends with a result posts it after its closing; neither
    // may end the next screen's loop.
    while (PeekMessageA(&msg, nullptr, WM_SCREENCLOSED, WM_SCREENRESULT, PM_REMOVE)) {
    }
    return quit;
}

}  // namespace

WorkshopApp::WorkshopApp() : Application(kApplicationName) {}

void WorkshopApp::Run() {
    RegisterHotKey(nullptr, 128, MOD_ALT, VK_TAB);
    if (!LoadConfiguration()) return;
    g_programPalette = g_configurationPalette;
    bool quit = false;
    if (g_askLanguage) {
        SetCurrentCursor(LoadedCursor(32002));
        auto* language = new LanguageScreen(g_programPalette);
        quit = RunScreenLoop(*language);
        if (!quit && language->m_languageIndex >= 0) g_languageIndex = language->m_languageIndex;
        delete language;
    }
    if (!quit) {
        if (g_askLanguage) FollowLanguage(g_languageIndex);
        if (LoadHelpTexts(g_languageIndex)) GetHelpString(38, g_captionText, 127);
        // The desktop shows the caption in the task bar and Alt+Tab: it
        // follows the language too.
        if (g_mainWindow != nullptr) SetWindowTextA(g_mainWindow, g_captionText);
        SetCurrentCursor(LoadedCursor(110));
        auto* title = new TitleScreen(g_programPalette);
        title->FlushInput(0x7F);
        quit = RunScreenLoop(*title);
        delete title;
    }
    if (!quit) {
        SetCurrentCursor(g_waitCursor);
        auto* workshop = new WorkshopScreen(g_programPalette);
        SetCurrentScreen(workshop);
        workshop->FlushInput(0x7F);
        int result = 0;
        while (PumpMessage(result) != 1) {
        }
    }
    if (g_programPalette == g_configurationPalette) g_programPalette = nullptr;
    ShutdownConfiguration();
}
