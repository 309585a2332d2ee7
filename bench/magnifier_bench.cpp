// The magnifier's two hot steps on the headless backend: zooming in without
// the rings (the sheet copied into the scratch picture, the source stretched
// over the sheet, the enlarged sheet copied into the undo picture), and
// painting one cell at zoom 8 and 16. They run beside a memcpy of the
// sheet's bytes at 32 bits per pixel.

#include "bench/bench_workshop.h"

#include "tools/magnifier.h"

namespace {

constexpr size_t kSheetBytes = size_t{512} * 400 * 4;

// The benchmarks' workshop with a magnifier, which leaves without the rings
// and the shrink.
class Workshop : public bench::Workshop {
public:
    Workshop() : bench::Workshop({"pff2"}), m_tool(new MagnifierTool(m_screen)) {}
    ~Workshop() {
        m_tool->m_notZoomed = 1;
        delete m_tool;
    }

    MagnifierTool* m_tool;
};

void BM_MemcpySheet(benchmark::State& state) { bench::MemcpyBytes(state, kSheetBytes); }
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
