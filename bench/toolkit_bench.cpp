// The graphics toolkit's hot paths on the 512 x 400 sheet: the pattern fill of
// a rectangle in pattern mode, and the pattern and plain flood fills of an
// empty sheet and of a sheet of 200 small enclosed areas. Each runs beside a
// memcpy of the sheet's bytes at the display's depth, so that the ratio reads
// straight off one run.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "graphics/drawing_state.h"
#include "graphics/flood_fill.h"
#include "graphics/patterns.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 400;
constexpr RECT kBounds{0, 0, kWidth, kHeight};
constexpr size_t kSheetBytes = size_t{kWidth} * kHeight * 4;
const COLORREF kRed = RGB(255, 0, 0);

// A headless layer and a sheet-sized bitmap made the current surface.
class Sheet {
public:
    Sheet() {
        static bool started = [] {
            platform::Options options;
            platform::InstallBackend(platform::MakeHeadlessBackend(options));
            platform::gdi::InitDisplay(640, 480, 32);
            CreateFillPatterns();
            return true;
        }();
        (void)started;
        GetWindowSurface(nullptr);
        m_picture = CreateCompatibleBitmap(g_currentSurface, kWidth, kHeight);
        m_original = CreateSurfaceBitmap(kBounds, kFillWhite);
        SelectBitmapSurface(m_picture);
        PatBlt(g_currentSurface, 0, 0, kWidth, kHeight, WHITENESS);
    }
    ~Sheet() {
        RestoreSurface();
        DeleteObject(m_picture);
        DeleteObject(m_original);
        ReleaseWindowSurface();
    }

    // 200 white boxes outlined in black, 20 across and 10 down, on white.
    void DrawBoxes() {
        HGDIOBJ pen = SelectObject(g_currentSurface, GetStockObject(BLACK_PEN));
        HGDIOBJ brush = SelectObject(g_currentSurface, GetStockObject(NULL_BRUSH));
        for (int row = 0; row < 10; ++row) {
            for (int col = 0; col < 20; ++col) {
                const int x = 4 + col * 25;
                const int y = 4 + row * 39;
                Rectangle(g_currentSurface, x, y, x + 20, y + 32);
            }
        }
        SelectObject(g_currentSurface, brush);
        SelectObject(g_currentSurface, pen);
    }
    // Keeps the picture so that Restore can bring it back between runs.
    void Keep() { CopySurface(m_original); }
    void Restore() {
        HDC dc = CreateCompatibleDC(g_currentSurface);
        HGDIOBJ old = SelectObject(dc, m_original);
        BitBlt(g_currentSurface, 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
        SelectObject(dc, old);
        DeleteDC(dc);
    }

private:
    void CopySurface(HBITMAP to) {
        HDC dc = CreateCompatibleDC(g_currentSurface);
        HGDIOBJ old = SelectObject(dc, to);
        BitBlt(dc, 0, 0, kWidth, kHeight, g_currentSurface, 0, 0, SRCCOPY);
        SelectObject(dc, old);
        DeleteDC(dc);
    }

    HBITMAP m_picture = nullptr;
    HBITMAP m_original = nullptr;
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

void BM_FillRectanglePatternMode(benchmark::State& state) {
    Sheet sheet;
    SetFillPattern(3);
    SetDrawingMode(kPatternMode);
    for (auto _ : state) FillRectangle(kBounds, kRed);
    SetDrawingMode(R2_COPYPEN);
    SetFillPattern(0);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSheetBytes));
}
BENCHMARK(BM_FillRectanglePatternMode)->Unit(benchmark::kMicrosecond);

// The pattern fill from a seed on a paper pixel of the pattern, the picture
// put back between runs outside the timing.
void PatternFloodFillOf(benchmark::State& state, bool boxes) {
    Sheet sheet;
    if (boxes) sheet.DrawBoxes();
    sheet.Keep();
    SetFillPattern(3);
    SetDrawingMode(kPatternMode);
    for (auto _ : state) {
        FloodFill(1, 0, kRed, &kBounds);
        state.PauseTiming();
        sheet.Restore();
        state.ResumeTiming();
    }
    SetDrawingMode(R2_COPYPEN);
    SetFillPattern(0);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSheetBytes));
}

void BM_PatternFloodFillEmptySheet(benchmark::State& state) { PatternFloodFillOf(state, false); }
BENCHMARK(BM_PatternFloodFillEmptySheet)->Unit(benchmark::kMicrosecond);

void BM_PatternFloodFill200Areas(benchmark::State& state) { PatternFloodFillOf(state, true); }
BENCHMARK(BM_PatternFloodFill200Areas)->Unit(benchmark::kMicrosecond);

// The plain fill alternates two colours, so each run fills the same area.
void PlainFloodFillOf(benchmark::State& state, bool boxes) {
    Sheet sheet;
    if (boxes) sheet.DrawBoxes();
    bool red = true;
    for (auto _ : state) {
        FloodFill(1, 0, red ? kRed : RGB(0, 255, 0), &kBounds);
        red = !red;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSheetBytes));
}

void BM_FloodFillEmptySheet(benchmark::State& state) { PlainFloodFillOf(state, false); }
BENCHMARK(BM_FloodFillEmptySheet)->Unit(benchmark::kMicrosecond);

void BM_FloodFill200Areas(benchmark::State& state) { PlainFloodFillOf(state, true); }
BENCHMARK(BM_FloodFill200Areas)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
