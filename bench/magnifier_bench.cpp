// The magnifier's two hot steps on the headless backend: zooming in without
// the rings (the sheet copied into the scratch picture, the source stretched
// over the sheet, the enlarged sheet copied into the undo picture), and
// painting one cell at zoom 8 and 16. They run beside a memcpy of the
// sheet's bytes at 32 bits per pixel.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
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
#include "tools/magnifier.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr size_t kSheetBytes = size_t{512} * 400 * 4;

// The magnifier's loop sound, a silent wave file in a folder of its own.
void MakeSound() {
    static char folder[] = "/tmp/tavelin-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return;
    static const uint8_t kWave[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E',
                                      'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,
                                      0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0,
                                      'd', 'a', 't', 'a', 0, 0, 0, 0};
    const std::string path = std::string(folder) + "/pff2.WAV";
    if (FILE* file = fopen(path.c_str(), "wb")) {
        fwrite(kWave, 1, sizeof kWave, file);
        fclose(file);
    }
    snprintf(g_soundsFolder, sizeof g_soundsFolder, "Z:%s", folder);
}

// A workshop without its palette: the main window, the screen with its first
// paint skipped, the sheet's bitmaps on white, and a magnifier.
class Workshop {
public:
    Workshop() {
        platform::Options options;
        platform::InstallBackend(platform::MakeHeadlessBackend(options));
        platform::user::ResetWindows();
        platform::user::ResetQueue();
        platform::user::ResetInput();
        platform::user::ResetCursors();
        platform::gdi::InitDisplay(640, 480, 32);
        static bool once = [] {
            CreateFillPatterns();
            MakeSound();
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
        GetWindowSurface(m_screen->m_window);
        g_screenBuffer = CreateSurfaceBitmap(RECT{0, 0, 640, 480}, 0);
        g_scratchPicture = CreateSurfaceBitmap(kSheetArea, 0);
        g_undoPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        g_backgroundPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        DrawBitmapAt(g_backgroundPicture, kSheetRect.left, kSheetRect.top);
        ReleaseWindowSurface();
        m_tool = new MagnifierTool(m_screen);
    }
    ~Workshop() {
        // Leaving without the rings and the shrink.
        m_tool->m_notZoomed = 1;
        delete m_tool;
        delete m_screen;
        DestroyWindow(g_mainWindow);
        g_mainWindow = nullptr;
    }

    WorkshopScreen* m_screen;
    MagnifierTool* m_tool;
};

void BM_MemcpySheet(benchmark::State& state) {
    std::vector<uint8_t> from(kSheetBytes, 1);
    std::vector<uint8_t> to(kSheetBytes);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), kSheetBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSheetBytes));
}
BENCHMARK(BM_MemcpySheet)->Unit(benchmark::kMicrosecond);

void BM_MagnifierZoomIn(benchmark::State& state) {
    Workshop workshop;
    g_magnifierZoom = static_cast<int>(state.range(0));
    const int w = 512 / g_magnifierZoom;
    const int h = 400 / g_magnifierZoom;
    for (auto _ : state) {
        workshop.m_tool->m_source = RECT{300, 200, 300 + w, 200 + h};
        workshop.m_tool->Enlarge();
    }
    if (workshop.m_tool->m_source.right - workshop.m_tool->m_source.left != w) {
        state.SkipWithError("the source lost its size");
    }
}
BENCHMARK(BM_MagnifierZoomIn)->Arg(8)->Arg(4)->Arg(16)->Unit(benchmark::kMicrosecond);

void BM_MagnifierPaintCell(benchmark::State& state) {
    Workshop workshop;
    g_magnifierZoom = static_cast<int>(state.range(0));
    int step = 0;
    for (auto _ : state) {
        workshop.m_tool->PaintCell(84 + (step * 7) % 512, 36 + (step * 13) % 400, g_workshop.colour);
        ++step;
    }
    HDC dc = GetDC(workshop.m_screen->m_window);
    if (GetPixel(dc, 84, 36) != g_workshop.colour) state.SkipWithError("the first cell is not painted");
    ReleaseDC(workshop.m_screen->m_window, dc);
}
BENCHMARK(BM_MagnifierPaintCell)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
