// One pointer move of a floating 96 x 96 stamp on the headless backend, from
// the input event through the window procedure, the workshop and the tool
// (the clean sheet under the old and new places and the masked picture
// composed in the screen buffer, then one draw to the window) to the frame
// handed to the presenter, beside a memcpy of the frame's bytes. Target:
// under 0.1 ms.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/blit.h"
#include "graphics/patterns.h"
#include "graphics/shapes.h"
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
#include "tools/floating_picture.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr size_t kFrameBytes = size_t{640} * 480 * 4;

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

// The drop's sound, as a silent wave file in a folder of its own.
void MakeSounds() {
    static char folder[] = "/tmp/tavelin-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return;
    static const uint8_t kWave[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E',
                                      'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,
                                      0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0,
                                      'd', 'a', 't', 'a', 0, 0, 0, 0};
    for (const char* name : {"Kook"}) {
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
        ReleaseWindowSurface();
        WhiteSheet();
    }
    ~Workshop() {
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

    WorkshopScreen* m_screen;
};

// A 96 x 96 picture like a large stamp: a red disc on white, transparent
// outside the disc.
class BenchStamp : public FloatingPicture {
public:
    explicit BenchStamp(WorkshopScreen* owner) : FloatingPicture(owner, nullptr) {
        GetWindowSurface(owner->m_window);
        const RECT rect{0, 0, 96, 96};
        HBITMAP picture = CreateSurfaceBitmap(rect, kFillWhite);
        SelectBitmapSurface(picture);
        FillEllipse(rect, RGB(216, 0, 0));
        RestoreSurface();
        HBITMAP mask = MakeMaskFromBitmap(picture);
        ReleaseWindowSurface();
        SetPicture(picture, mask);
        m_masked = 1;
    }
    ~BenchStamp() override {
        DeleteObject(m_picture);
        DeleteObject(m_mask);
    }
};

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

// Each move shifts the stamp by a few pixels over the sheet, as a hand does.
void BM_FloatingStampMove96(benchmark::State& state) {
    Workshop workshop;
    auto* stamp = new BenchStamp(workshop.m_screen);
    g_workshop.tool = stamp;
    using Kind = platform::InputEvent::Kind;
    Inject(Kind::MouseMove, 200, 150);
    int step = 0;
    for (auto _ : state) {
        const int x = 150 + (step * 3) % 400;
        const int y = 100 + (step / 133) % 280;
        Inject(Kind::MouseMove, x, y);
        ++step;
    }
    if (!stamp->m_shown) state.SkipWithError("the stamp was not shown");
    delete stamp;
    g_workshop.tool = nullptr;
}
BENCHMARK(BM_FloatingStampMove96)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
