// The rubber band of the figure tools on the headless backend: one pointer
// move of a filled ellipse as large as the sheet in the checkerboard pattern,
// from the input event through the window procedure, the workshop and the
// tool (the clean sheet under both extents into the screen buffer, the
// pattern fill, the one blit to the window) to the frame handed to the
// presenter; beside a memcpy of the frame's bytes.

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
#include "tools/figures.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr size_t kFrameBytes = size_t{640} * 480 * 4;
constexpr int kChecks = 3;

void Dispatch() {
    MSG msg;
    int result = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) PumpMessage(result);
}

void Inject(platform::InputEvent::Kind kind, int x, int y) {
    platform::InputEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    platform::user::ApplyInputEvent(event);
    Dispatch();
}

// The figure's drag and commit sounds, as silent wave files in a folder of
// their own.
void MakeSounds() {
    static char folder[] = "/tmp/tavelin-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return;
    static const uint8_t kWave[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E',
                                      'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,
                                      0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0,
                                      'd', 'a', 't', 'a', 0, 0, 0, 0};
    for (const char* name : {"TicBBas", "pook"}) {
        const std::string path = std::string(folder) + "/" + name + ".WAV";
        if (FILE* file = fopen(path.c_str(), "wb")) {
            fwrite(kWave, 1, sizeof kWave, file);
            fclose(file);
        }
    }
    snprintf(g_soundsFolder, sizeof g_soundsFolder, "Z:%s", folder);
}

// A workshop without its palette: the main window, the screen with its
// first paint skipped, the sheet's bitmaps and a white sheet.
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
            MakeSounds();
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
        DrawBitmapAt(g_backgroundPicture, kSheetRect.left, kSheetRect.top);
        ReleaseWindowSurface();
    }
    ~Workshop() {
        delete g_workshop.tool;
        g_workshop.tool = nullptr;
        delete m_screen;
        Dispatch();
        DestroyWindow(g_mainWindow);
        g_mainWindow = nullptr;
    }

    WorkshopScreen* m_screen;
};

int InkedPixels(Workshop& workshop) {
    HDC dc = GetDC(workshop.m_screen->m_window);
    int inked = 0;
    for (int y = kSheetRect.top; y < kSheetRect.bottom; ++y) {
        for (int x = kSheetRect.left; x < kSheetRect.right; ++x) {
            inked += GetPixel(dc, x, y) == g_workshop.colour;
        }
    }
    ReleaseDC(workshop.m_screen->m_window, dc);
    return inked;
}

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<uint8_t> from(kFrameBytes, 1);
    std::vector<uint8_t> to(kFrameBytes);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), kFrameBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

// Each move redraws the whole sheet: the ellipse spans it, one pixel more or
// less at each move.
void BM_RubberBandSheetFilledEllipsePattern(benchmark::State& state) {
    Workshop workshop;
    g_workshop.pattern = kChecks;
    g_workshop.tool = new FilledEllipseTool(workshop.m_screen);
    using Kind = platform::InputEvent::Kind;
    Inject(Kind::MouseMove, 84, 36);
    Inject(Kind::MouseDown, 84, 36);
    int step = 0;
    for (auto _ : state) {
        Inject(Kind::MouseMove, 595 - (step & 1), 435 - (step & 1));
        ++step;
    }
    Inject(Kind::MouseUp, 595, 435);
    const int inked = InkedPixels(workshop);
    // About pi / 4 of the sheet, every other pixel.
    if (inked < 512 * 400 * 3 / 8 || inked > 512 * 400 * 2 / 5) {
        state.SkipWithError("the ellipse is not the sheet's");
    }
}
BENCHMARK(BM_RubberBandSheetFilledEllipsePattern)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
