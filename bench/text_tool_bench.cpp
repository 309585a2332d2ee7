// The text tool on the headless backend: one typed character from the key
// event through the window procedure, the workshop and the tool (the caret
// taken off, the letter drawn in a 32-pixel font) to the frame handed to the
// presenter; and the making of a five-line speech balloon in a 64-pixel
// font. Each beside a memcpy of a 640 x 480 frame. Targets: under 0.2 ms for
// a character, under 2 ms for the balloon.

#include "bench/bench_workshop.h"

#include "dialogs/dialogs.h"
#include "graphics/text.h"
#include "tools/text.h"

namespace {

using bench::Dispatch;

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

// The benchmarks' workshop with the program's own sounds and a text tool.
class Workshop : public bench::Workshop {
public:
    Workshop() : bench::Workshop({}) {
        snprintf(g_soundsFolder, sizeof g_soundsFolder, "Z:%s/lib/tavelin/Sons", TAVELIN_DIST_DIR);
        m_tool = new TextTool(m_screen);
        g_workshop.tool = m_tool;
    }

    TextTool* m_tool = nullptr;
};

void BM_MemcpyFrame(benchmark::State& state) { bench::MemcpyBytes(state, bench::kFrameBytes); }
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
