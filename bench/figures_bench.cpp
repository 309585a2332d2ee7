// The rubber band of the figure tools on the headless backend: one pointer
// move of a filled ellipse as large as the sheet in the checkerboard pattern,
// from the input event through the window procedure, the workshop and the
// tool (the clean sheet under both extents into the screen buffer, the
// pattern fill, the one blit to the window) to the frame handed to the
// presenter; beside a memcpy of the frame's bytes.

#include "bench/bench_workshop.h"

#include "tools/figures.h"

namespace {

using bench::Dispatch;
using bench::Inject;

constexpr int kChecks = 3;

void BM_MemcpyFrame(benchmark::State& state) { bench::MemcpyBytes(state, bench::kFrameBytes); }
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

// Each move redraws the whole sheet: the ellipse spans it, one pixel more or
// less at each move.
void BM_RubberBandSheetFilledEllipsePattern(benchmark::State& state) {
    bench::Workshop workshop({"TicBBas", "pook"});
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
    const int inked = workshop.InkedPixels();
    // About pi / 4 of the sheet, every other pixel.
    if (inked < 512 * 400 * 3 / 8 || inked > 512 * 400 * 2 / 5) {
        state.SkipWithError("the ellipse is not the sheet's");
    }
}
BENCHMARK(BM_RubberBandSheetFilledEllipsePattern)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
