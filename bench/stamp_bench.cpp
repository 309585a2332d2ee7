// One pointer move of a floating 96 x 96 stamp on the headless backend, from
// the input event through the window procedure, the workshop and the tool
// (the clean sheet under the old and new places and the masked picture
// composed in the screen buffer, then one draw to the window) to the frame
// handed to the presenter, beside a memcpy of the frame's bytes. Target:
// under 0.1 ms.

#include "bench/bench_workshop.h"

#include "graphics/shapes.h"
#include "tools/floating_picture.h"

namespace {

using bench::Dispatch;
using bench::Inject;

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

void BM_MemcpyFrame(benchmark::State& state) { bench::MemcpyBytes(state, bench::kFrameBytes); }
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

// Each move shifts the stamp by a few pixels over the sheet, as a hand does.
void BM_FloatingStampMove96(benchmark::State& state) {
    bench::Workshop workshop({"Kook"});
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
}
BENCHMARK(BM_FloatingStampMove96)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
