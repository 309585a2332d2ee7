// The Windows layer's stroke and flood paths on a 512 x 400 sheet: a line of pen
// width 10 across the sheet, and ExtFloodFill of the whole empty sheet and of
// the paper around 200 small enclosed boxes. Each runs beside a memcpy of the
// same number of bytes, so that the ratio reads straight off one run.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"
#include "platform/windows.h"

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 400;
constexpr size_t kSheetBytes = size_t{kWidth} * kHeight * 4;

// A memory context on a 32-bit DIB section of the sheet's size, white.
class Sheet {
public:
    Sheet() {
        static bool started = [] {
            platform::Options options;
            platform::InstallBackend(platform::MakeHeadlessBackend(options));
            platform::gdi::InitDisplay(640, 480, 32);
            return true;
        }();
        (void)started;
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<uint32_t*>(bits);
        m_old = SelectObject(m_dc, m_bitmap);
        PatBlt(m_dc, 0, 0, kWidth, kHeight, WHITENESS);
    }
    ~Sheet() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }

    // 200 white boxes outlined in black, 20 across and 10 down, on white.
    void DrawBoxes() {
        HGDIOBJ brush = SelectObject(m_dc, GetStockObject(NULL_BRUSH));
        for (int row = 0; row < 10; ++row) {
            for (int col = 0; col < 20; ++col) {
                Rectangle(m_dc, 4 + col * 25, 4 + row * 39, 24 + col * 25, 38 + row * 39);
            }
        }
        SelectObject(m_dc, brush);
    }
    size_t Count(uint32_t rgb) const {
        size_t n = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) n += (m_bits[i] & 0xFFFFFF) == rgb;
        return n;
    }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

void Memcpy(benchmark::State& state, size_t bytes) {
    std::vector<uint8_t> source(bytes, 0x5A);
    std::vector<uint8_t> dest(bytes);
    for (auto _ : state) {
        std::memcpy(dest.data(), source.data(), bytes);
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
}

// The bytes a width-10 line from corner to corner covers.
size_t WideLineBytes() {
    Sheet sheet;
    HPEN pen = CreatePen(PS_SOLID, 10, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(sheet.Dc(), pen);
    MoveToEx(sheet.Dc(), 0, 0, nullptr);
    LineTo(sheet.Dc(), kWidth - 1, kHeight - 1);
    SelectObject(sheet.Dc(), old);
    DeleteObject(pen);
    return sheet.Count(0) * 4;
}

void BM_WideLine(benchmark::State& state) {
    Sheet sheet;
    HPEN pen = CreatePen(PS_SOLID, 10, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(sheet.Dc(), pen);
    for (auto _ : state) {
        MoveToEx(sheet.Dc(), 0, 0, nullptr);
        LineTo(sheet.Dc(), kWidth - 1, kHeight - 1);
    }
    SelectObject(sheet.Dc(), old);
    DeleteObject(pen);
}

void BM_WideLine_Memcpy(benchmark::State& state) { Memcpy(state, WideLineBytes()); }

// Fills the sheet's paper from (x, y), red and white in turn so that every
// round has the same work.
void FloodRounds(benchmark::State& state, Sheet& sheet, int x, int y) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(sheet.Dc(), red);
    bool toRed = true;
    for (auto _ : state) {
        SelectObject(sheet.Dc(), toRed ? red : white);
        const COLORREF surface = toRed ? RGB(255, 255, 255) : RGB(255, 0, 0);
        if (!ExtFloodFill(sheet.Dc(), x, y, surface, FLOODFILLSURFACE)) state.SkipWithError("no fill");
        toRed = !toRed;
    }
    SelectObject(sheet.Dc(), old);
    DeleteObject(red);
    DeleteObject(white);
}

void BM_FloodEmptySheet(benchmark::State& state) {
    Sheet sheet;
    FloodRounds(state, sheet, 256, 200);
}

void BM_FloodAroundBoxes(benchmark::State& state) {
    Sheet sheet;
    sheet.DrawBoxes();
    FloodRounds(state, sheet, 1, 1);
}

void BM_Flood_Memcpy(benchmark::State& state) { Memcpy(state, kSheetBytes); }

}  // namespace

BENCHMARK(BM_WideLine);
BENCHMARK(BM_WideLine_Memcpy);
BENCHMARK(BM_FloodEmptySheet);
BENCHMARK(BM_FloodAroundBoxes);
BENCHMARK(BM_Flood_Memcpy);
