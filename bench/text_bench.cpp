// Text output at the text tool's size: 26 letters in a 32-pixel font drawn
// with TextOutA (grey-level and plain) and DrawTextA, each beside a memcpy of
// the bytes of the text's cell at 32 bits per pixel, so that the ratio reads
// straight off one run. Glyphs come from the realised font's cache after the
// first call, as they do when the program types.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"
#include "platform/windows.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 64;
constexpr int kFontHeight = 32;
const char kText[] = "abcdefghijklmnopqrstuvwxyz";
constexpr int kTextLength = 26;

// A memory DC on a 32-bit bitmap with the font selected.
class TextSheet {
public:
    explicit TextSheet(DWORD quality) {
        static bool started = [] {
            platform::Options options;
            platform::InstallBackend(platform::MakeHeadlessBackend(options));
            platform::gdi::InitDisplay(640, 480, 32);
            return true;
        }();
        (void)started;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
        m_oldBitmap = SelectObject(m_dc, m_bitmap);
        PatBlt(m_dc, 0, 0, kWidth, kHeight, WHITENESS);
        m_font = CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, 0, "DejaVu Sans");
        m_oldFont = SelectObject(m_dc, m_font);
        SetBkMode(m_dc, TRANSPARENT);
        SetTextColor(m_dc, RGB(200, 30, 40));
    }
    ~TextSheet() {
        SelectObject(m_dc, m_oldFont);
        SelectObject(m_dc, m_oldBitmap);
        DeleteObject(m_font);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    TextSheet(const TextSheet&) = delete;
    TextSheet& operator=(const TextSheet&) = delete;

    HDC Dc() const { return m_dc; }
    // The bytes of the text's cell at 32 bits per pixel.
    size_t CellBytes() const {
        SIZE size{};
        GetTextExtentPoint32A(m_dc, kText, kTextLength, &size);
        return static_cast<size_t>(size.cx) * size.cy * 4;
    }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    HGDIOBJ m_oldFont = nullptr;
};

void MemcpyTextCell(benchmark::State& state) {
    const size_t bytes = TextSheet(ANTIALIASED_QUALITY).CellBytes();
    std::vector<uint8_t> from(bytes, 0x5A);
    std::vector<uint8_t> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(MemcpyTextCell);

void TextOutAntialiased(benchmark::State& state) {
    TextSheet sheet(ANTIALIASED_QUALITY);
    for (auto _ : state) {
        TextOutA(sheet.Dc(), 4, 8, kText, kTextLength);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TextOutAntialiased);

void TextOutPlain(benchmark::State& state) {
    TextSheet sheet(DEFAULT_QUALITY);
    for (auto _ : state) {
        TextOutA(sheet.Dc(), 4, 8, kText, kTextLength);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TextOutPlain);

void DrawTextWrapped(benchmark::State& state) {
    TextSheet sheet(ANTIALIASED_QUALITY);
    const char text[] = "abcdefghijklm nopqrstuvwxyz";
    for (auto _ : state) {
        RECT rect{0, 0, kWidth, kHeight};
        DrawTextA(sheet.Dc(), text, -1, &rect, DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawTextWrapped);

}  // namespace

BENCHMARK_MAIN();
