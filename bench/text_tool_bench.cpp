// The text tool on the headless backend: one typed character from the key
// event through the window procedure, the workshop and the tool (the caret
// taken off, the letter drawn in a 32-pixel font) to the frame handed to the
// presenter; and the making of a five-line speech balloon in a 64-pixel
// font. Each beside a memcpy of a 640 x 480 frame. Targets: under 0.2 ms for
// a character, under 2 ms for the balloon.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "dialogs/dialogs.h"
#include "graphics/blit.h"
#include "graphics/patterns.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "graphics/text.h"
#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"
#include "platform/user/internal.h"
#include "shell/app.h"
#include "shell/mainwindow.h"
#include "shell/resources.h"
#include "shell/sound.h"
#include "tools/text.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr size_t kFrameBytes = size_t{640} * 480 * 4;

void Dispatch() {
    MSG msg;
    int result = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) PumpMessage(result);
}

void Inject(platform::InputEvent event) {
    platform::user::ApplyInputEvent(event);
    Dispatch();
}

void Click(int x, int y) {
    platform::InputEvent event;
    event.x = x;
    event.y = y;
    event.kind = platform::InputEvent::Kind::MouseDown;
    Inject(event);
    event.kind = platform::InputEvent::Kind::MouseUp;
    Inject(event);
}

void Key(uint32_t vk, uint8_t character) {
    platform::InputEvent event;
    event.kind = platform::InputEvent::Kind::KeyDown;
    event.vk = vk;
    event.character = character;
    Inject(event);
    event.kind = platform::InputEvent::Kind::KeyUp;
    event.character = 0;
    Inject(event);
}

// A workshop without its palette, a white sheet and the program's sounds.
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
            snprintf(g_soundsFolder, sizeof g_soundsFolder, "Z:%s/lib/tavelin/Sons", TAVELIN_DIST_DIR);
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
        m_tool = new TextTool(m_screen);
        g_workshop.tool = m_tool;
    }
    ~Workshop() {
        delete m_tool;
        g_workshop.tool = nullptr;
        delete m_screen;
        Dispatch();
        DestroyWindow(g_mainWindow);
        g_mainWindow = nullptr;
    }

    WorkshopScreen* m_screen;
    TextTool* m_tool;
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

// Lines of twenty letters; each new line starts a new text.
void BM_TypeCharacter32(benchmark::State& state) {
    Workshop workshop;
    g_textSettings = TextSettings{};
    int typed = 0;
    int line = 0;
    for (auto _ : state) {
        if (typed % 20 == 0) {
            state.PauseTiming();
            if (workshop.m_tool->m_entryOpen) Key(VK_ESCAPE, 27);
            Click(100, 40 + (line++ % 9) * 40);
            state.ResumeTiming();
        }
        const uint8_t letter = static_cast<uint8_t>('a' + typed % 26);
        Key('A' + typed % 26, letter);
        ++typed;
    }
    if (workshop.m_tool->m_length == 0) state.SkipWithError("nothing was typed");
    Key(VK_ESCAPE, 27);
}
BENCHMARK(BM_TypeCharacter32)->Unit(benchmark::kMicrosecond);

void BM_MakeBalloon5Lines64(benchmark::State& state) {
    Workshop workshop;
    g_textSettings = TextSettings{};
    g_textSettings.height = 64;
    g_textSettings.style = kBalloonLeft;
    TextTool* tool = workshop.m_tool;
    tool->m_font = CreateTextFont("Univers ATT", 64, 0, 0, 0, ANTIALIASED_QUALITY);
    GetWindowSurface(workshop.m_screen->m_window);
    HFONT previous = SelectTextFont(tool->m_font);
    tool->m_lineHeight = TextHeight();
    SelectTextFont(previous);
    ReleaseWindowSurface();
    const char text[] = "Bonjour\rles amis\rde la\rpetite\rmaison";
    memcpy(tool->m_text, text, sizeof text);
    tool->m_length = static_cast<int>(sizeof text) - 1;
    for (auto _ : state) {
        tool->MakeBalloon();
        state.PauseTiming();
        DeleteObject(tool->m_balloonPicture);
        DeleteObject(tool->m_balloonMask);
        tool->m_balloonPicture = tool->m_balloonMask = nullptr;
        state.ResumeTiming();
    }
    DeleteTextFont(tool->m_font);
    tool->m_font = nullptr;
}
BENCHMARK(BM_MakeBalloon5Lines64)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
