// Every effect on a generated drawing, at 32 and at 8 bits of display depth,
// against a hash of the sheet it leaves. A failing effect's sheet is written
// as a picture file into the test's temporary folder.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/blit.h"
#include "graphics/palette.h"
#include "shell/screen.h"
#include "shell/messages.h"
#include "shell/random.h"
#include "storage/picture_files.h"
#include "tests/effects/effect_fixture.h"

namespace {

using effect_testing::EffectTest;

// FNV-1a hashes of the sheet's 24-bit pixels after each effect.
constexpr uint64_t kGolden32[kEffectCount] = {
    0x3b789fe8352d3824ull, 0x993bafdc463d912dull, 0x4b622f74106754a5ull,
    0x6d95374bc83df491ull, 0x6b926e77ae1fff37ull, 0x72b9fad30ee86241ull,
    0xe41419848031d2a6ull, 0x235e0df5bec6eee5ull, 0x55dd779a7d547873ull,
    0xd3fd0fe9f4b69569ull, 0x8655b50716956729ull, 0x4a4a492379fde084ull,
    0x07bce34c49bedc61ull, 0xb94b41d609434d64ull, 0xfc1a2df1b06685d3ull,
    0x6d715b7bfe4c991dull, 0x5c96be9af3185b3bull, 0xc5bc3951e906a7e3ull,
    0x9dbeeade6a226faeull, 0x4ac8d9d100ff0604ull, 0xf8ff10ba55882dddull,
    0xd7aab86b660aae04ull,
};
constexpr uint64_t kGolden8[kEffectCount] = {
    0x5c39dd01747fbf64ull, 0x1c18a6a66f5aa097ull, 0xb03b2f4e68821173ull,
    0x19f824932780381bull, 0x853ef21eec828ac5ull, 0xde545cacfff6bb82ull,
    0xfb9a001317e688aeull, 0x0dc280ff86031025ull, 0x4d371f4cea6150b7ull,
    0x526a952b3e6b9578ull, 0x2b133d86fd90625dull, 0x977b694fc438b8d5ull,
    0x2b465eeb46bd6490ull, 0x61a5923a905d0695ull, 0x2910f928b0813eb7ull,
    0x9ca9f0967453f26bull, 0xa89a3d22451b7771ull, 0x3bab18fbf9c2e3a9ull,
    0x5338e1bac909fa9cull, 0xcbf6ee62595b410cull, 0xef8c5fd4cb7e6e07ull,
    0x2ea910391878da7bull,
};

// Soft gradients crossed by bands of strong colours and a few hard-edged
// blocks, made the same way on every run.
std::vector<uint8_t> TestDrawing() {
    std::vector<uint8_t> pixels(512 * 400 * 3);
    uint32_t seed = 2024;
    int blocks[12][4];
    for (auto& block : blocks) {
        for (int& value : block) {
            seed = seed * 1103515245u + 12345u;
            value = static_cast<int>((seed >> 16) % 400);
        }
    }
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) {
            uint8_t* p = pixels.data() + (static_cast<size_t>(y) * 512 + x) * 3;
            p[0] = static_cast<uint8_t>(x / 2);
            p[1] = static_cast<uint8_t>(y * 255 / 399);
            p[2] = static_cast<uint8_t>((x + y) % 256);
            if ((y / 25) % 4 == 1) {
                static constexpr uint8_t kBands[6][3] = {{0, 0, 255},   {0, 255, 0}, {255, 0, 0},
                                                         {0, 255, 255}, {255, 255, 255}, {0, 0, 0}};
                memcpy(p, kBands[(x / 40) % 6], 3);
            }
            for (int i = 0; i < 12; ++i) {
                const int* b = blocks[i];
                if (x >= b[0] && x < b[0] + b[2] / 4 && y >= b[1] && y < b[1] + b[3] / 4) {
                    p[0] = static_cast<uint8_t>(i * 40);
                    p[1] = static_cast<uint8_t>(255 - i * 20);
                    p[2] = static_cast<uint8_t>(i * 97);
                }
            }
        }
    }
    return pixels;
}

// A mask of every byte value, laid out differently for each file.
std::vector<uint8_t> TestMask(int k) {
    std::vector<uint8_t> mask(512 * 400);
    for (int row = 0; row < 400; ++row) {
        for (int x = 0; x < 512; ++x) mask[row * 512 + x] = static_cast<uint8_t>((x * (k + 1) + row * (7 - k)) / 3);
    }
    return mask;
}

uint64_t Fnv(const uint8_t* bytes, size_t size) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

class EffectGolden : public EffectTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        m_depth = GetParam();
        EffectTest::SetUp();
        const char* names[] = {"Soleil", "Pointi", "BulleL", "BulleH", "NeigeL", "NeigeH", "PlanteL2", "PlanteH"};
        for (int k = 0; k < 8; ++k) WriteMask(names[k], TestMask(k));
        if (m_depth == 8) UseFixedPalette();
    }

    void TearDown() override {
        if (m_palette != nullptr) {
            g_programPalette = nullptr;
            DeleteObject(m_palette);
        }
        EffectTest::TearDown();
    }

    // A colour cube and greys as the program's palette, realised on the
    // window, so that 8-bit results do not depend on the palette that other
    // tests left in the system.
    void UseFixedPalette() {
        COLORREF table[kPaletteSize] = {};
        int entry = 10;
        for (int r = 0; r < 6; ++r) {
            for (int g = 0; g < 6; ++g) {
                for (int b = 0; b < 6; ++b) table[entry++] = RGB(r * 51, g * 51, b * 51);
            }
        }
        for (int grey = 1; entry < 246; ++grey) table[entry++] = RGB(grey * 12, grey * 12, grey * 12);
        m_palette = MakePalette(table);
        g_programPalette = m_palette;
        screen->m_palette = m_palette;
        HDC dc = GetDC(screen->m_window);
        SelectPalette(dc, m_palette, FALSE);
        RealizePalette(dc);
        ReleaseDC(screen->m_window, dc);
    }

    HPALETTE m_palette = nullptr;

    void DrawTestDrawing(const std::vector<uint8_t>& pixels) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 512;
        info.bmiHeader.biHeight = -400;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        GetWindowSurface(screen->m_window);
        StretchDIBits(g_currentSurface, 84, 36, 512, 400, 0, 0, 512, 400, pixels.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
        ReleaseWindowSurface();
    }

    // The sheet's hash; with a name, the sheet is also written as that file.
    uint64_t SheetHash(const std::string& failName) {
        GetWindowSurface(screen->m_window);
        CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
        ReleaseWindowSurface();
        HGLOBAL block = CaptureDib(g_scratchPicture, 24, nullptr, BI_RGB);
        if (block == nullptr) return 0;
        const auto* data = static_cast<const uint8_t*>(GlobalLock(block));
        const uint64_t hash = Fnv(data + 40, 512 * 400 * 3);
        GlobalUnlock(block);
        if (!failName.empty()) {
            const std::string path = "Z:" + ::testing::TempDir() + failName;
            if (WriteDibFile(path.c_str(), block) == 0) std::printf("The sheet is in %s\n", path.c_str());
        }
        GlobalFree(block);
        return hash;
    }
};

TEST_P(EffectGolden, EveryEffectGivesItsKnownPicture) {
    const int depth = GetParam();
    const uint64_t* golden = depth == 8 ? kGolden8 : kGolden32;
    DrawTestDrawing(TestDrawing());
    const uint64_t original = SheetHash("");
    // At 8 bits the drawing is matched to the palette once, then copied.
    GetWindowSurface(screen->m_window);
    const HBITMAP drawing = GrabSurfaceRect(kSheetRect);
    ReleaseWindowSurface();
    const int messages = g_messagesShown;
    std::string table;
    bool allMatch = true;
    for (int number = 0; number < kEffectCount; ++number) {
        GetWindowSurface(screen->m_window);
        DrawBitmapAt(drawing, kSheetRect.left, kSheetRect.top);
        ReleaseWindowSurface();
        SeedRandom(4242);
        Run(number);
        uint64_t hash = SheetHash("");
        EXPECT_NE(hash, original) << "effect " << number << " changed nothing";
        if (hash != golden[number]) {
            allMatch = false;
            SheetHash("effect_" + std::to_string(depth) + "_" + std::to_string(number) + ".bmp");
            ADD_FAILURE() << "effect " << number << " at " << depth << " bits";
        }
        char line[40];
        snprintf(line, sizeof line, "0x%016" PRIx64 "ull,%s", hash, number % 3 == 2 ? "\n" : " ");
        table += line;
    }
    DeleteObject(drawing);
    EXPECT_EQ(g_messagesShown, messages);
    if (!allMatch) std::printf("Hashes at %d bits:\n%s\n", depth, table.c_str());
}

INSTANTIATE_TEST_SUITE_P(EffectDepths, EffectGolden, ::testing::Values(32, 8));

}  // namespace
