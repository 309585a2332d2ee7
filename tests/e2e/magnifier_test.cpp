// The magnifier through the real program, on a drawing whose every pixel has
// its own colour so that each enlarged cell tells which pixel it shows: the
// source area at each zoom factor and at the sheet's corner, painting and
// putting back cells, the drawing after leaving and its undo, saving,
// printing and an effect while zoomed, and every command that needs the true
// drawing putting the magnifier away first.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

constexpr uint32_t kRed = 0xD80000;  // swatch 6
const std::string kMagnifier = "click 20 420\nwait 300\n";
const std::string kRedSwatch = "click 610 218\nwait 20\n";
const std::string kQuit = "close\nwait 300\nkey enter\nwait 5000\n";

// The colour of drawing pixel (x, y) as 0xRRGGBB; no two pixels share one,
// and none is the red swatch's.
uint32_t Code(int x, int y) {
    return (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) |
           static_cast<uint32_t>(((x >> 8) << 4) | (y >> 8));
}

// A printed page rasterised by pdftoppm, 0xRRGGBB per pixel, or nothing.
struct Page {
    int width = 0;
    int height = 0;
    std::string rgb;
    uint32_t At(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return (static_cast<uint8_t>(rgb[at]) << 16) | (static_cast<uint8_t>(rgb[at + 1]) << 8) |
               static_cast<uint8_t>(rgb[at + 2]);
    }
};

bool Rasterise(const std::string& pdf, int dpi, Page& page) {
    const std::string command = "/usr/bin/pdftoppm -r " + std::to_string(dpi) + " -singlefile " + pdf + " " + pdf;
    if (std::system(command.c_str()) != 0) return false;
    const std::string ppm = ReadBytes(pdf + ".ppm");
    const std::string header = "P6\n";
    if (ppm.rfind(header, 0) != 0) return false;
    size_t at = header.size();
    size_t end = ppm.find('\n', at);
    if (end == std::string::npos || sscanf(ppm.c_str() + at, "%d %d", &page.width, &page.height) != 2) return false;
    end = ppm.find('\n', end + 1);
    if (end == std::string::npos || page.width <= 0 || page.height <= 0) return false;
    page.rgb = ppm.substr(end + 1);
    return page.rgb.size() == static_cast<size_t>(page.width) * page.height * 3;
}

// The sheet pixels of a screenshot (window coordinates) that differ from
// what the function expects there.
int Mismatches(const std::string& shot, const std::function<uint32_t(int, int)>& expected) {
    int count = 0;
    for (int y = 36; y < 436; ++y) {
        for (int x = 84; x < 596; ++x) count += PixelOf(shot, x, y) != expected(x, y);
    }
    return count;
}

// The enlarged view of the source whose corner is drawing pixel (left, top).
std::function<uint32_t(int, int)> Enlarged(int left, int top, int zoom) {
    return [=](int x, int y) { return Code(left + (x - 84) / zoom, top + (y - 36) / zoom); };
}

// A run with its own pictures folder, the coded drawing opened at start.
struct MagnifierRun {
    ProgramRun run;
    std::vector<std::string> log;

    MagnifierRun() {
        std::filesystem::create_directories(run.Path("config"));
        std::filesystem::create_directories(run.Path("pictures"));
        std::string folder = "Z:" + run.Path("pictures").string();
        for (char& c : folder) c = c == '/' ? '\\' : c;
        std::ofstream(run.Path("config/Tavelin.ini")) << "[param]\nlangage=2\ndir=" << folder << "\n";
        std::ofstream(run.Path("drawing.bmp"), std::ios::binary) << DrawingFile(Code);
    }
    int Run(const std::string& script, const std::string& args = "") {
        const int code = run.StartInWorkshop(script + kQuit, "--config " + run.Path("config").string() + " " +
                                                                 args + " " + run.Path("drawing.bmp").string());
        log = run.Log();
        return code;
    }
    std::string Shot(const std::string& name) const { return run.Shot(name); }
    int Count(const std::string& sound) const {
        int n = 0;
        for (const std::string& line : log) n += line.rfind("sound ", 0) == 0 && line.find(sound) != std::string::npos;
        return n;
    }
};

TEST(Magnifier, TheSourceAreaAtEachZoomAndClampedAtTheCorner) {
    MagnifierRun r;
    const std::string zoomIn = "move 340 236\nclick 340 236\nwait 300\n";
    const std::string step = "click 340 236 right\nwait 20\n";
    ASSERT_EQ(r.Run("shot start\n" + kMagnifier + "move 330 226\nwait 20\nshot frame\n" + zoomIn +
                    "shot zoom8\n" + kMagnifier + step + zoomIn + "shot zoom4\n" + kMagnifier + step +
                    zoomIn + "shot zoom16\n" + kMagnifier + step +
                    "move 590 430\nwait 20\nshot cornerframe\nclick 590 430\nwait 300\nshot corner\n" +
                    kMagnifier + "shot back\n"),
              0);
    const auto drawing = [](int x, int y) { return Code(x - 84, y - 36); };
    EXPECT_EQ(Mismatches(r.Shot("start"), drawing), 0);
    // 64 x 50 around the pointer at 8, 128 x 100 at 4, 32 x 25 at 16.
    EXPECT_EQ(Mismatches(r.Shot("zoom8"), Enlarged(224, 175, 8)), 0);
    EXPECT_EQ(Mismatches(r.Shot("zoom4"), Enlarged(192, 150, 4)), 0);
    EXPECT_EQ(Mismatches(r.Shot("zoom16"), Enlarged(240, 188, 16)), 0);
    // The frame at (590, 430) would reach past the corner: the enlarged
    // area is the drawing's last 64 x 50 pixels.
    EXPECT_EQ(Mismatches(r.Shot("corner"), Enlarged(448, 350, 8)), 0);
    EXPECT_EQ(Mismatches(r.Shot("back"), drawing), 0);
    // The frame is drawn inverted over the drawing, 64 x 50, clipped to the sheet.
    const std::string frame = r.Shot("frame");
    EXPECT_EQ(PixelOf(frame, 298, 201), ~Code(298 - 84, 201 - 36) & 0xFFFFFF);
    EXPECT_EQ(PixelOf(frame, 361, 220), ~Code(361 - 84, 220 - 36) & 0xFFFFFF);
    EXPECT_EQ(PixelOf(frame, 330, 226), Code(330 - 84, 226 - 36));
    // The pen of two pixels covers one pixel outside the frame's left and top.
    EXPECT_EQ(Mismatches(frame, drawing), 65 * 51 - 61 * 47);
    EXPECT_EQ(r.Count("Loupe0"), 4);
    EXPECT_EQ(r.Count("Loupe2"), 4);
}

TEST(Magnifier, PaintingPuttingBackSavingAndUndoAfterLeaving) {
    MagnifierRun r;
    // The press that zooms in drags to (200, 100) and paints nothing; then a
    // drag along y = 50 paints the cells under its five points on the sheet
    // and nothing for the point just left of it at (80, 50), the right
    // button crosses and puts back all but the first, and one more cell is
    // painted at (300, 300) before saving. Then the magnifier zooms in once
    // more, paints at (300, 300) in the first swatch's colour and is left for the brush.
    std::string restore = "move 118 48\ndown right\n";
    for (int x = 122; x <= 190; x += 4) restore += "move " + std::to_string(x) + " 48\n";
    restore += "up right\nwait 20\n";
    ASSERT_EQ(r.Run(kMagnifier + kRedSwatch + "move 340 236\ndrag 340 236 200 100 5\nwait 300\n"
                    "shot pressdrag\nmove 101 50\ndown left\nmove 120 50\nmove 140 50\nmove 80 50\n"
                    "move 160 50\nmove 180 50\nup left\nwait 20\nshot painted\n" + restore +
                    "shot restored\nclick 300 300\nwait 20\n"
                    "click 496 15\nwait 300\ntype Loupe\nkey enter\nwait 300\nshot saved\n"
                    + kMagnifier + "click 610 104\nmove 340 236\nclick 340 236\nwait 300\nclick 300 300\n"
                    "wait 20\nclick 20 100\nwait 300\nshot left\nclick 60 420\nwait 300\nshot undone\n"),
              0);
    EXPECT_EQ(Mismatches(r.Shot("pressdrag"), Enlarged(224, 175, 8)), 0);
    const auto cells = [](std::vector<int> lefts) {
        return [=](int x, int y) {
            for (int left : lefts) {
                if (x >= left && x < left + 8 && y >= 44 && y < 52) return kRed;
            }
            return Enlarged(224, 175, 8)(x, y);
        };
    };
    // Cells of the grid from (84, 36) under 101, 120, 140, 160 and 180.
    EXPECT_EQ(Mismatches(r.Shot("painted"), cells({100, 116, 140, 156, 180})), 0);
    EXPECT_EQ(Mismatches(r.Shot("restored"), cells({100})), 0);

    // Saving put the magnifier away: the sheet and the file hold the true
    // drawing with the two edited pixels.
    const auto edited = [](int x, int y) {
        return (x == 226 && y == 176) || (x == 251 && y == 208) ? kRed : Code(x, y);
    };
    EXPECT_EQ(Mismatches(r.Shot("saved"), [&](int x, int y) { return edited(x - 84, y - 36); }), 0);
    const std::string file = ReadBytes(r.run.Path("pictures/Loupe.BMP").string());
    int fileMismatches = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) fileMismatches += DrawingPixel(file, x, y) != edited(x, y);
    }
    EXPECT_EQ(fileMismatches, 0);
    // Leaving keeps the edit in its place; undo gives the drawing as it was
    // before zooming.
    const std::string left = r.Shot("left");
    EXPECT_EQ(Mismatches(left, [&](int x, int y) {
                  return x == 84 + 251 && y == 36 + 208 ? PixelOf(left, x, y) : edited(x - 84, y - 36);
              }),
              0);
    EXPECT_NE(PixelOf(left, 84 + 251, 36 + 208), kRed);
    EXPECT_NE(PixelOf(left, 84 + 251, 36 + 208), Code(251, 208));
    EXPECT_EQ(Mismatches(r.Shot("undone"), [&](int x, int y) { return edited(x - 84, y - 36); }), 0);
}

TEST(Magnifier, CommandsThatNeedTheTrueDrawingPutTheMagnifierAwayFirst) {
    struct Command {
        const char* name;
        std::string script;
        // Where the command leaves drawing pixel (x, y), or a blank sheet.
        std::function<uint32_t(int, int)> drawing;
    };
    const auto edited = [](int x, int y) { return x == 251 && y == 208 ? kRed : Code(x, y); };
    const auto cancel = "wait 300\nkey escape\nwait 300\n";
    const std::vector<Command> commands = {
        {"effects", "click 223 15\n" + std::string(cancel), edited},
        {"print", "click 314 15\n" + std::string(cancel), edited},
        {"load", "click 405 15\n" + std::string(cancel), edited},
        {"backgrounds", "click 30 458\n" + std::string(cancel), edited},
        {"quit", "click 587 15\n" + std::string(cancel), edited},
        {"mirror", "click 20 340\nwait 300\n", [=](int x, int y) { return edited(511 - x, y); }},
        {"upsidedown", "click 60 340\nwait 300\n", [=](int x, int y) { return edited(x, 399 - y); }},
        {"erase", "click 140 16\nwait 100\nclick 300 200\nwait 2000\n",
         [](int, int) { return 0xFFFFFFu; }},
    };
    MagnifierRun r;
    std::string script = kRedSwatch;
    for (const Command& c : commands) {
        // Zoom in, paint one cell, run the command; the flips are turned back.
        script += kMagnifier + "move 340 236\nclick 340 236\nwait 300\nclick 300 300\nwait 20\n" +
                  c.script + "shot " + c.name + "\n";
        if (std::string(c.name) == "mirror") script += "click 20 340\nwait 300\n";
        if (std::string(c.name) == "upsidedown") script += "click 60 340\nwait 300\n";
    }
    ASSERT_EQ(r.Run(script), 0);
    for (const Command& c : commands) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Mismatches(r.Shot(c.name), [&](int x, int y) { return c.drawing(x - 84, y - 36); }), 0);
    }
    EXPECT_EQ(r.Count("Loupe2"), static_cast<int>(commands.size()));
}

TEST(Magnifier, PrintingAndAnEffectWhileZoomedTakeTheTrueDrawing) {
    MagnifierRun r;
    std::filesystem::create_directories(r.run.Path("out"));
    const std::string zoomAndPaint = kMagnifier + "move 340 236\nclick 340 236\nwait 300\nclick 300 300\nwait 20\n";
    // A page of 600 x 500 points at 72 dpi takes the drawing once, 1 point a pixel.
    ASSERT_EQ(r.Run(kRedSwatch + zoomAndPaint + "click 314 15\nwait 300\nkey enter\nwait 300\nshot printed\n" +
                        zoomAndPaint + "click 223 15\nwait 300\nclick 315 163\nwait 300\nshot negative\n" +
                        "click 60 420\nwait 300\nshot undone\n",
                    "--print-to " + r.run.Path("out").string() + " --print-page 600x500 --print-dpi 72"),
              0);
    const auto edited = [](int x, int y) { return x == 251 && y == 208 ? kRed : Code(x, y); };
    const auto onSheet = [&](int x, int y) { return edited(x - 84, y - 36); };
    EXPECT_EQ(Mismatches(r.Shot("printed"), onSheet), 0);
    // The negative of the true drawing; its undo gives the drawing back.
    EXPECT_EQ(Mismatches(r.Shot("negative"), [&](int x, int y) { return ~onSheet(x, y) & 0xFFFFFF; }), 0);
    EXPECT_EQ(Mismatches(r.Shot("undone"), onSheet), 0);
    EXPECT_EQ(r.Count("Loupe2"), 2);

    if (access("/usr/bin/pdftoppm", X_OK) != 0) GTEST_SKIP() << "pdftoppm is not installed (poppler-utils)";
    // At 288 dpi each drawing pixel is 4 x 4 page pixels; their centres are
    // exact. No drawing pixel is white, so the first one that is not marks
    // the picture's corner.
    Page page;
    ASSERT_TRUE(Rasterise(r.run.Path("out/page-001.pdf").string(), 288, page));
    int left = 0;
    int top = 0;
    while (left < page.width && page.At(left, page.height / 2) == 0xFFFFFF) ++left;
    while (top < page.height && page.At(page.width / 2, top) == 0xFFFFFF) ++top;
    ASSERT_LE(left + 4 * 512, page.width);
    ASSERT_LE(top + 4 * 400, page.height);
    int printMismatches = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) printMismatches += page.At(left + 4 * x + 2, top + 4 * y + 2) != edited(x, y);
    }
    EXPECT_EQ(printMismatches, 0);
}

}  // namespace
