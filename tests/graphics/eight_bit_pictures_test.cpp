// Every picture of the program's pack and of the picture module, loaded as the
// program loads it on a 256-colour display, must take for each pixel the
// colour of the program palette nearest to its own: no nearer colour is left
// unused, whichever surface (or none) is current when it is loaded. With
// TAVELIN_PRINT_TABLE set, the test prints the mean and worst colour distance
// of each group of pictures against their true colours, beside what the
// system's twenty static colours alone would give.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <unordered_map>
#include <string>
#include <vector>

#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/resources.h"
#include "shell/screen.h"
#include "tests/graphics/canvas.h"

namespace {

const std::string kDist = TAVELIN_DIST_DIR;

struct Rgb {
    int r, g, b;
};

int Distance2(Rgb a, Rgb b) {
    return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
}

std::vector<Rgb> PaletteColours(HPALETTE palette) {
    PALETTEENTRY entries[256];
    const UINT count = GetPaletteEntries(palette, 0, 256, entries);
    std::vector<Rgb> colours;
    for (UINT i = 0; i < count; ++i) colours.push_back({entries[i].peRed, entries[i].peGreen, entries[i].peBlue});
    return colours;
}

int NearestDistance2(const std::vector<Rgb>& palette, Rgb colour) {
    int best = 1 << 30;
    for (Rgb entry : palette) best = std::min(best, Distance2(entry, colour));
    return best;
}

// The true colours of a packed picture, top-down (1, 4 and 8 bits with their
// colour table, 24 and 32 bits as they stand).
bool TrueColours(const uint8_t* data, size_t size, int& width, int& height, std::vector<Rgb>& out) {
    if (size < 40) return false;
    auto read32 = [data](size_t at) {
        return static_cast<int32_t>(data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) | (uint32_t{data[at + 3]} << 24));
    };
    width = read32(4);
    height = std::abs(read32(8));
    const int bits = data[14];
    const int used = read32(32);
    const int colours = bits <= 8 ? (used != 0 ? used : 1 << bits) : 0;
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t pixels = static_cast<size_t>(read32(0)) + 4 * static_cast<size_t>(colours);
    if (width <= 0 || pixels + stride * height > size) return false;
    out.clear();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data + pixels + stride * (read32(8) > 0 ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            if (bits <= 8) {
                const int index = (row[x * bits / 8] >> (8 - bits - (x * bits) % 8)) & ((1 << bits) - 1);
                if (index >= colours) return false;
                const uint8_t* entry = data + read32(0) + 4 * index;
                out.push_back({entry[2], entry[1], entry[0]});
            } else {
                const uint8_t* p = row + x * (bits / 8);
                out.push_back({p[2], p[1], p[0]});
            }
        }
    }
    return true;
}

// The colours a device-dependent bitmap shows.
std::vector<Rgb> ShownColours(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    std::vector<Rgb> out;
    for (uint32_t p : pixels) out.push_back({static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)});
    return out;
}

struct Measure {
    double sum = 0;
    double worst = 0;
    size_t pixels = 0;
    void Add(int distance2) {
        const double d = std::sqrt(static_cast<double>(distance2));
        sum += d;
        worst = std::max(worst, d);
        ++pixels;
    }
};

std::string Group(bool module, int id) {
    if (!module) return "program pictures";
    if (id >= 510 && id < 556) return "thumbnails";
    if (id >= 1500 && id < 1730) return "backgrounds";
    if (id == 597 || id == 1470 || id == 1474 || id == 1490) return "paper, puzzles, farewell";
    return "stamps";
}

TEST(EightBitPictures, EveryPictureTakesTheNearestColoursOfTheProgramPalette) {
    canvas::ResetToolkit(8);
    LoadColours();
    g_programPalette = g_configurationPalette;
    // The screens realise the program palette, as the first screen does.
    HDC screen = GetDC(nullptr);
    const HPALETTE before = SelectPalette(screen, g_programPalette, FALSE);
    RealizePalette(screen);
    SelectPalette(screen, before, FALSE);
    ReleaseDC(nullptr, screen);
    const std::vector<Rgb> palette = PaletteColours(g_programPalette);
    const std::vector<Rgb> statics = PaletteColours(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
    std::map<std::string, Measure> shown, stock;
    int pictures = 0;
    for (bool module : {false, true}) {
        const std::string path = module ? kDist + "/lib/tavelin/Banques.dat" : kDist + "/../resources/program_resources.pack";
        HMODULE pack = LoadLibraryA(("Z:" + path).c_str());
        ASSERT_NE(pack, nullptr) << path;
        const HMODULE previous = SetResourceModule(pack);
        for (int id = 1; id < 4000; ++id) {
            HRSRC found = FindResourceA(pack, MAKEINTRESOURCEA(id), RT_BITMAP);
            if (found == nullptr) continue;
            const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(pack, found)));
            int width = 0, height = 0;
            std::vector<Rgb> truth;
            if (!TrueColours(data, SizeofResource(pack, found), width, height, truth)) continue;
            ASSERT_EQ(g_currentSurface, nullptr);
            HBITMAP bitmap = LoadPicture(id);
            ASSERT_NE(bitmap, nullptr) << id;
            const std::vector<Rgb> colours = ShownColours(bitmap, width, height);
            DeleteObject(bitmap);
            Measure& group = shown[Group(module, id)];
            Measure one, ideal;
            // Colour -> nearest distances in the program palette and among the
            // static colours, found once per colour.
            std::unordered_map<int, std::pair<int, int>> nearest;
            for (size_t i = 0; i < truth.size(); ++i) {
                const int key = (truth[i].r << 16) | (truth[i].g << 8) | truth[i].b;
                auto [at, added] = nearest.try_emplace(key);
                if (added) at->second = {NearestDistance2(palette, truth[i]), NearestDistance2(statics, truth[i])};
                one.Add(Distance2(colours[i], truth[i]));
                ideal.Add(at->second.first);
                group.Add(Distance2(colours[i], truth[i]));
                stock[Group(module, id)].Add(at->second.second);
            }
            EXPECT_LE(one.sum, ideal.sum + 1e-6) << "picture " << id << " leaves nearer colours unused";
            ++pictures;
        }
        SetResourceModule(previous);
    }
    EXPECT_GT(pictures, 300);
    g_programPalette = nullptr;
    if (std::getenv("TAVELIN_PRINT_TABLE") == nullptr) return;
    std::printf("%-22s %8s %14s %14s\n", "group", "pixels", "static 20", "program");
    for (const auto& [name, m] : shown) {
        const Measure& s = stock[name];
        std::printf("%-22s %8zu %6.1f / %5.1f %6.1f / %5.1f\n", name.c_str(), m.pixels, s.sum / s.pixels, s.worst,
                    m.sum / m.pixels, m.worst);
    }
}

}  // namespace
