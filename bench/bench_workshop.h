// The workshop the tool benchmarks run in: the headless backend, the main
// window, a workshop screen without its palette or first paint, the sheet's
// bitmaps on white, and silent wave files for the sounds the tool plays.
#pragma once

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "graphics/blit.h"
#include "graphics/patterns.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"
#include "platform/user/internal.h"
#include "shell/app.h"
#include "shell/mainwindow.h"
#include "shell/resources.h"
#include "shell/sound.h"
#include "tools/tool.h"
#include "workshop/workshop_screen.h"

namespace bench {

constexpr size_t kFrameBytes = size_t{640} * 480 * 4;

inline void Dispatch() {
    MSG msg;
    int result = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) PumpMessage(result);
}

inline void Inject(platform::InputEvent::Kind kind, int x, int y) {
    platform::InputEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    platform::user::ApplyInputEvent(event);
    Dispatch();
}

// The named sounds as silent wave files in a folder of their own, which
// becomes the program's sounds folder.
inline void MakeSilentSounds(std::initializer_list<const char*> names) {
    static char folder[] = "/tmp/tavelin-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return;
    static const uint8_t kWave[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E',
                                      'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,
                                      0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0,
                                      'd', 'a', 't', 'a', 0, 0, 0, 0};
    for (const char* name : names) {
        const std::string path = std::string(folder) + "/" + name + ".WAV";
        if (FILE* file = fopen(path.c_str(), "wb")) {
            fwrite(kWave, 1, sizeof kWave, file);
            fclose(file);
        }
    }
    snprintf(g_soundsFolder, sizeof g_soundsFolder, "Z:%s", folder);
}

// The workshop screen of one benchmark; the sounds are made by the first.
// It deletes the current tool when it goes.
class Workshop {
public:
    explicit Workshop(std::initializer_list<const char*> sounds) {
        platform::Options options;
        platform::InstallBackend(platform::MakeHeadlessBackend(options));
        platform::user::ResetWindows();
        platform::user::ResetQueue();
        platform::user::ResetInput();
        platform::user::ResetCursors();
        platform::gdi::InitDisplay(640, 480, 32);
        static bool once = [sounds] {
            CreateFillPatterns();
            MakeSilentSounds(sounds);
            return true;
        }();
        (void)once;
        g_platform.bitsPerPixel = 32;
        SetRect(&g_platform.screenRect, 0, 0, 640, 480);
        theApp.m_instance = GetModuleHandleA(nullptr);
        SetResourceModule(theApp.m_instance);
        OpenMainWindow();
        g_workshop = WorkshopState{};
        g_workshop.colour = RGB(216, 0, 0);
        m_screen = new WorkshopScreen(nullptr);
        m_screen->m_firstPaintPending = 0;
        m_screen->m_active = 1;
        Dispatch();
        GetWindowSurface(m_screen->m_window);
        g_screenBuffer = CreateSurfaceBitmap(RECT{0, 0, 640, 480}, 0);
        g_scratchPicture = CreateSurfaceBitmap(kSheetArea, 0);
        g_undoPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        g_backgroundPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        ReleaseWindowSurface();
        WhiteSheet();
    }
    ~Workshop() {
        delete g_workshop.tool;
        g_workshop.tool = nullptr;
        delete m_screen;
        Dispatch();
        DestroyWindow(g_mainWindow);
        g_mainWindow = nullptr;
    }

    void WhiteSheet() {
        GetWindowSurface(m_screen->m_window);
        DrawBitmapAt(g_backgroundPicture, kSheetRect.left, kSheetRect.top);
        ReleaseWindowSurface();
    }

    // The sheet's pixels in the current colour, read back from the window.
    int InkedPixels() {
        HDC dc = GetDC(m_screen->m_window);
        int inked = 0;
        for (int y = kSheetRect.top; y < kSheetRect.bottom; ++y) {
            for (int x = kSheetRect.left; x < kSheetRect.right; ++x) {
                inked += GetPixel(dc, x, y) == g_workshop.colour;
            }
        }
        ReleaseDC(m_screen->m_window, dc);
        return inked;
    }

    WorkshopScreen* m_screen;
};

// The baseline: a memcpy of as many bytes as the frame holds.
inline void MemcpyBytes(benchmark::State& state, size_t bytes) {
    std::vector<uint8_t> from(bytes, 1);
    std::vector<uint8_t> to(bytes);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

}  // namespace bench
