// The special effects: each effect's pass over the 614400 bytes of the effect
// image, and the whole command (the undo copy, the capture, the pass and the
// draw back onto the window), beside a memcpy of the effect image in the same
// run. Passes run again and again on the same image; the mask effects read
// the masks of the build's data drive.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "effects/passes.h"
#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"
#include "shell/app.h"
#include "shell/data_paths.h"
#include "shell/picture_module.h"
#include "shell/random.h"

namespace {

constexpr size_t kImageBytes = 512 * 400 * 3;

constexpr const char* kNames[kEffectCount] = {
    "brighten", "deep colours", "negative", "greyscale", "channel rotation", "blue glow",
    "warm glow", "mosaic", "triangle tiles", "dots", "light streaks", "shifted tiles",
    "bevelled tiles", "mottled shadow", "snow", "plant", "sun", "bubbles", "large puzzle",
    "small puzzle", "relief", "smoothing"};

constexpr EffectPass kPasses[kEffectCount] = {
    Brighten,   DeepenColours, MakeNegative, MakeGreyscale, RotateChannels, GlowBlue,
    GlowWarm,   MakeMosaic,    ShadeTriangles, PaintDots,   PaintLightStreaks, nullptr,
    BevelTiles, MottleShadow,  LetItSnow,    GrowPlants,    ShineSun,       BlowBubbles,
    nullptr,    nullptr,       RaiseRelief,  Smooth};

// A colourful picture: gradients crossed by bands of strong colours.
void FillPicture(uint8_t* pixels) {
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) {
            uint8_t* p = pixels + (static_cast<size_t>(y) * 512 + x) * 3;
            const bool band = (y / 25) % 4 == 1;
            p[0] = static_cast<uint8_t>(band ? ((x / 40) % 2) * 255 : x / 2);
            p[1] = static_cast<uint8_t>(band ? ((x / 40) % 3 == 0) * 255 : y * 255 / 399);
            p[2] = static_cast<uint8_t>((x + y) % 256);
        }
    }
}

// A headless layer at 32 bits with the sheet's bitmaps, the picture on the
// screen's sheet, and the build's data drive and picture module.
void StartLayer() {
    static bool started = [] {
        platform::Options options;
        platform::InstallBackend(platform::MakeHeadlessBackend(options));
        platform::gdi::InitDisplay(640, 480, 32);
        g_platform.bitsPerPixel = 32;
        snprintf(g_dataRoot, sizeof g_dataRoot, "Z:%s/share/tavelin/cd/Datas", TAVELIN_DIST_DIR);
        g_pictureModule = LoadLibraryA((std::string("Z:") + TAVELIN_DIST_DIR + "/lib/tavelin/Banques.dat").c_str());
        if (g_pictureModule == nullptr) std::abort();
        GetWindowSurface(nullptr);
        g_undoPicture = CreateSurfaceBitmap(kSheetArea, 0);
        g_scratchPicture = CreateSurfaceBitmap(kSheetArea, 0);
        g_screenBuffer = CreateSurfaceBitmap(RECT{0, 0, 640, 480}, 0);
        std::vector<uint8_t> picture(kImageBytes);
        FillPicture(picture.data());
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{40, 512, 400, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        StretchDIBits(g_currentSurface, 84, 36, 512, 400, 0, 0, 512, 400, picture.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
        ReleaseWindowSurface();
        return true;
    }();
    (void)started;
}

void CopyEffectImage(benchmark::State& state) {
    std::vector<uint8_t> from(kImageBytes, 1), to(kImageBytes);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), kImageBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kImageBytes));
}
BENCHMARK(CopyEffectImage);

void Pass(benchmark::State& state, int number) {
    StartLayer();
    std::vector<uint8_t> pixels(kImageBytes);
    FillPicture(pixels.data());
    const EffectImage image{pixels.data(), 512, 400, 512 * 3};
    SeedRandom(1);
    for (auto _ : state) {
        kPasses[number](image);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kImageBytes));
}

// The effects command as the workshop runs it, from the undo copy on.
void Command(benchmark::State& state, int number) {
    StartLayer();
    SeedRandom(1);
    for (auto _ : state) {
        GetWindowSurface(nullptr);
        CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
        ClipToRect(kSheetRect);
        RunEffect(number);
        ClearClip();
        ReleaseWindowSurface();
    }
}

const bool kRegistered = [] {
    char name[64];
    for (int number = 0; number < kEffectCount; ++number) {
        if (kPasses[number] == nullptr) continue;
        snprintf(name, sizeof name, "Pass/%02d %s", number, kNames[number]);
        benchmark::RegisterBenchmark(name, Pass, number)->Unit(benchmark::kMicrosecond);
    }
    for (int number = 0; number < kEffectCount; ++number) {
        snprintf(name, sizeof name, "Command/%02d %s", number, kNames[number]);
        benchmark::RegisterBenchmark(name, Command, number)->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace
