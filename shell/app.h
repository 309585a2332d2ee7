// The application object, start-up and the two ways the program ends.
#pragma once

#include <cstdint>

#include "platform/windows.h"

class Screen;

class Application {
public:
    explicit Application(const char* name);
    virtual ~Application() = default;

    virtual void AfterMainWindow() {}
    virtual void BeforeMainWindow() {}
    virtual void Run();
    virtual void ExitInstance() {}
    virtual void OnIdle() {}
    // Flag bits for a message taken by the pump: 1 eaten, 2 not translated,
    // 4 not dispatched.
    virtual int PreTranslate(const MSG&) { return 0; }

    int32_t m_exitCode = 0;
    int32_t m_terminateCount = 0;
    HINSTANCE m_instance = nullptr;
    Screen* m_currentScreen = nullptr;
    int32_t m_initialised = 0;
};

class WorkshopApp : public Application {
public:
    WorkshopApp();
    void Run() override;
};

extern WorkshopApp theApp;
extern Application* g_app;

// The application name: the main window's class name, and the caption of
// message boxes until the help texts give the title in the chosen language.
extern char g_mainClassName[128];
extern char g_captionText[128];
extern char g_commandLine[MAX_PATH];
extern int g_commandLinePicture;

// The display configuration record, little-endian, as stored in RCDATA 32000.
#pragma pack(push, 1)
struct DisplayRecord {
    uint16_t marker;
    int16_t minimumVersion;
    int16_t width;
    int16_t height;
    int16_t minimumDepth;
    int16_t exactDepth;
    int16_t unused1;
    int16_t unused2;
    uint16_t windowFlags;
    int16_t alternativeWidth;
    int16_t alternativeHeight;
    uint16_t padding;
};
#pragma pack(pop)
static_assert(sizeof(DisplayRecord) == 24);

extern DisplayRecord g_displayRecord;

// What start-up learned about the platform.
struct PlatformFacts {
    int windowsVersion = 0;  // (major << 8) | minor
    DWORD platformId = 0;
    int osKind = 0;
    int bitsPerPixel = 0;
    int horizontalResolution = 0;
    int verticalResolution = 0;
    int pixelsPerInchX = 0;
    int pixelsPerInchY = 0;
    RECT screenRect{};
};
extern PlatformFacts g_platform;

using ExitHandler = void (*)();
constexpr int kMaxExitHandlers = 105;
void AddExitHandler(ExitHandler handler);
void RunExitHandlers();

bool IsAlreadyRunning();
void InitApplication();
void CheckDisplay();
int ClassifyPlatform(const OSVERSIONINFOA& info, bool succeeded);
void ExitApplication();
[[noreturn]] void Terminate();
void SetCurrentScreen(Screen* screen);
