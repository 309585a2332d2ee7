// The stroke path end to end on the headless backend: one mouse move of the
// brush at size 7 in pattern mode, from the input event through the window
// procedure, the workshop and the tool to the frame handed to the presenter;
// and one click of the paint can with a pattern on the whole empty sheet.
// Both run beside a memcpy of the frame's bytes.

#include "bench/bench_workshop.h"

#include "tools/brush.h"
#include "tools/fill.h"

namespace {

using bench::Dispatch;
using bench::Inject;

constexpr int kChecks = 3;

void BM_MemcpyFrame(benchmark::State& state) { bench::MemcpyBytes(state, bench::kFrameBytes); }
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

// Each move lays one disc of 10 pixels in the checkerboard and presents.
void BM_BrushMoveSize7Pattern(benchmark::State& state) {
    bench::Workshop workshop({"pff1", "aero", "ponce"});
    g_workshop.brushSize = 7;
    g_workshop.brushWidth = kBrushWidths[7];
    g_workshop.pattern = kChecks;
    g_workshop.tool = new BrushTool(workshop.m_screen);
    using Kind = platform::InputEvent::Kind;
    Inject(Kind::MouseMove, 100, 100);
    Inject(Kind::MouseDown, 100, 100);
    int step = 0;
    for (auto _ : state) {
        const int x = 100 + step % 480;
        const int y = 50 + (step / 480) % 370;
        Inject(Kind::MouseMove, x, y);
        ++step;
    }
    Inject(Kind::MouseUp, 100, 100);
    if (workshop.InkedPixels() == 0) state.SkipWithError("the brush drew nothing");
}
BENCHMARK(BM_BrushMoveSize7Pattern)->Unit(benchmark::kMicrosecond);

// A click of the paint can on the empty sheet: the undo copy, the pattern
// fill of all 512 x 400 pixels and the frame; the paper comes back between
// runs outside the timing.
void BM_PaintCanPatternEmptySheet(benchmark::State& state) {
    bench::Workshop workshop({"pff1", "aero", "ponce"});
    g_workshop.pattern = kChecks;
    g_workshop.tool = new FillTool(workshop.m_screen);
    using Kind = platform::InputEvent::Kind;
    Inject(Kind::MouseMove, 300, 200);
    for (auto _ : state) {
        Inject(Kind::MouseDown, 300, 200);
        Inject(Kind::MouseUp, 300, 200);
        state.PauseTiming();
        workshop.WhiteSheet();
        Dispatch();
        state.ResumeTiming();
    }
    Inject(Kind::MouseDown, 300, 200);
    Inject(Kind::MouseUp, 300, 200);
    if (workshop.InkedPixels() != 512 * 400 / 2) state.SkipWithError("the fill missed pixels");
}
BENCHMARK(BM_PaintCanPatternEmptySheet)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
