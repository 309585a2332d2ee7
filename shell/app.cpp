#include "shell/app.h"

#include <cstdio>
#include <cstring>

#include "graphics/patterns.h"
#include "shell/cursors.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/random.h"
#include "shell/resources.h"
#include "shell/screen.h"
#include "shell/sound.h"
#include "shell/timing.h"

Application* g_app = nullptr;
char g_mainClassName[128];
char g_captionText[128];
char g_commandLine[MAX_PATH];
int g_commandLinePicture = 0;
DisplayRecord g_displayRecord = {0x1010, 0x030A, 640, 480, 8, 0, 0, 0, 0, 0, 0, 0};
PlatformFacts g_platform;

namespace {

ExitHandler g_exitHandlers[kMaxExitHandlers];
int g_exitHandlerCount = 0;

void NothingAtExit() {}

void StopSoundAtExit() { StopSound(nullptr); }

}  // namespace

Application::Application(const char* name) {
    g_app = this;
    snprintf(g_mainClassName, sizeof g_mainClassName, "%s", name);
    snprintf(g_captionText, sizeof g_captionText, "%s", name);
}

void Application::Run() {
    int result = 0;
    while (PumpMessage(result) != 1) {
    }
}

void AddExitHandler(ExitHandler handler) {
    if (g_exitHandlerCount < kMaxExitHandlers) g_exitHandlers[g_exitHandlerCount++] = handler;
}

void RunExitHandlers() {
    while (g_exitHandlerCount > 0) {
        ExitHandler handler = g_exitHandlers[--g_exitHandlerCount];
        handler();
    }
}

bool IsAlreadyRunning() {
    HWND window = FindWindowA(g_mainClassName, nullptr);
    if (window == nullptr) return false;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    return true;
}

int ClassifyPlatform(const OSVERSIONINFOA& info, bool succeeded) {
    if (!succeeded) return 0;
    switch (info.dwPlatformId) {
        case VER_PLATFORM_WIN32s: return 2;
        case VER_PLATFORM_WIN32_WINDOWS:
            if (info.dwMinorVersion != 0) return 7;
            return (info.dwBuildNumber & 0xFFFF) <= 1000 ? 4 : 5;
        case VER_PLATFORM_WIN32_NT:
            if (info.dwMajorVersion < 4) return 3;
            return info.dwMajorVersion == 4 ? 6 : 8;
        default: return 0;
    }
}

void CheckDisplay() {
    HDC dc = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    g_platform.bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
    g_platform.horizontalResolution = GetDeviceCaps(dc, HORZRES);
    g_platform.verticalResolution = GetDeviceCaps(dc, VERTRES);
    g_platform.pixelsPerInchX = GetDeviceCaps(dc, LOGPIXELSX);
    g_platform.pixelsPerInchY = GetDeviceCaps(dc, LOGPIXELSY);
    DeleteDC(dc);
    SetRect(&g_platform.screenRect, 0, 0, g_platform.horizontalResolution,
            g_platform.verticalResolution);
    char text[64];
    const DisplayRecord& record = g_displayRecord;
    if (record.exactDepth > 0 && record.exactDepth != g_platform.bitsPerPixel) {
        snprintf(text, sizeof text, "%ld", 1L << (record.exactDepth & 31));
        ShowMessageWithText(7, text, 1, kNoCode);
    }
    if (g_platform.bitsPerPixel < record.minimumDepth) {
        snprintf(text, sizeof text, "%ld", 1L << (record.minimumDepth & 31));
        ShowMessageWithText(6, text, 1, kNoCode);
    }
    if (g_platform.verticalResolution < record.height ||
        g_platform.horizontalResolution < record.width) {
        snprintf(text, sizeof text, "%d x %d.", record.width, record.height);
        ShowMessageWithText(8, text, 1, kNoCode);
    }
    CreateFillPatterns();
}

void InitApplication() {
    SetResourceModule(theApp.m_instance);
    LoadErrorTexts();
    if (HRSRC found = FindResourceA(theApp.m_instance, MAKEINTRESOURCEA(32000), RT_RCDATA)) {
        HGLOBAL loaded = LoadResource(theApp.m_instance, found);
        const void* bytes = LockResource(loaded);
        if (bytes != nullptr && SizeofResource(theApp.m_instance, found) >= sizeof(DisplayRecord)) {
            memcpy(&g_displayRecord, bytes, sizeof(DisplayRecord));
        }
    }
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    const bool gotVersion = GetVersionExA(&info) != FALSE;
    g_platform.platformId = gotVersion ? info.dwPlatformId : 0;
    g_platform.osKind = ClassifyPlatform(info, gotVersion);
    const DWORD version = GetVersion();
    g_platform.windowsVersion = static_cast<int>(((version & 0xFF) << 8) | ((version >> 8) & 0xFF));
    if (static_cast<int16_t>(g_platform.windowsVersion) < g_displayRecord.minimumVersion) {
        char text[32];
        snprintf(text, sizeof text, "%d.%d", (g_displayRecord.minimumVersion >> 8) & 0xFF,
                 g_displayRecord.minimumVersion & 0xFF);
        ShowMessageWithText(5, text, 1, kNoCode);
    }
    SeedRandom(0);
    AddExitHandler(StopSoundAtExit);
    CheckDisplay();
    ProbeTimerPeriod(1);
    AddExitHandler(NothingAtExit);
    LoadStartupCursors();
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    AddExitHandler(NothingAtExit);
    WIN32_FIND_DATAA found;
    if (g_commandLine[0] != '\0') {
        HANDLE search = FindFirstFileA(g_commandLine, &found);
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
            g_commandLinePicture = 1;
        }
    }
    g_app->BeforeMainWindow();
    OpenMainWindow();
    g_app->AfterMainWindow();
    g_app->m_initialised = 1;
}

void SetCurrentScreen(Screen* screen) { g_app->m_currentScreen = screen; }

void ExitApplication() {
    if (g_app->m_currentScreen != nullptr) {
        Screen* screen = g_app->m_currentScreen;
        g_app->m_currentScreen = nullptr;
        delete screen;
    }
    if (g_app->m_initialised) g_app->ExitInstance();
    RunExitHandlers();
    ShowCursor(FALSE);
    while (ShowCursor(TRUE) < 0) {
    }
}

void Terminate() {
    if (g_app->m_terminateCount++ == 0) ExitApplication();
    ExitProcess(1);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    g_app->m_instance = instance;
    if (IsAlreadyRunning()) return 0;
    snprintf(g_commandLine, sizeof g_commandLine, "%s", commandLine != nullptr ? commandLine : "");
    InitApplication();
    g_app->Run();
    ExitApplication();
    return g_app->m_exitCode;
}
