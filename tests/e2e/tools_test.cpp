// The drawing tools through the real program: brush dots and strokes at
// every size with and without a pattern, the airbrush on the virtual clock,
// the eraser over the paper and over a loaded drawing, and the paint can.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/program_run.h"

namespace {

// Quitting asks first; the farewell then runs its course.
const std::string kQuit = "close\nwait 300\nkey enter\nwait 5000\n";
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xD80000;  // swatch 6
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kBlack = 0x000000;
const std::string kRedSwatch = "click 610 218\n";
const std::string kPatternDown = "click 620 84\nwait 20\n";
const std::string kBrush = "click 20 100\n";
const std::string kEraser = "click 60 100\n";
const std::string kAirbrush = "click 20 300\n";
const std::string kPaintCan = "click 60 300\n";

std::string SizeButton(int size) {
    return "click " + std::to_string(10 + 20 * (size % 4)) + " " + std::to_string(size < 4 ? 45 : 67) +
           "\n";
}

std::string Drag(int x1, int y1, int x2, int y2, int steps) {
    return "drag " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
           std::to_string(y2) + " " + std::to_string(steps) + "\nwait 20\n";
}

class ToolRun {
public:
    // Runs the script in the workshop; "shot NAME" takes a screenshot.
    int Run(const std::string& script, const std::string& args = "") {
        const int code = run.StartInWorkshop(script + kQuit, args);
        sounds = SoundNames(run.Log());
        return code;
    }
    std::string Shot(const std::string& name) const { return run.Shot(name); }

    // A 24-bit 512 x 400 drawing painted by the function, for the command line.
    std::string Drawing(const std::function<uint32_t(int x, int y)>& colour) const {
        const std::string path = run.Path("drawing.bmp").string();
        std::ofstream(path, std::ios::binary) << DrawingFile(colour);
        return path;
    }

    // The sound names, without folders: "<memory> f", "tink.WAV 3", "- 40".
    std::vector<std::string> sounds;

private:
    ProgramRun run;
};

// The points of the rectangle that have the colour.
std::vector<std::pair<int, int>> PointsOf(const std::string& shot, uint32_t colour, int left, int top,
                                          int right, int bottom) {
    std::vector<std::pair<int, int>> points;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (PixelOf(shot, x, y) == colour) points.emplace_back(x, y);
        }
    }
    return points;
}

bool SameOutsideTheSheet(const std::string& a, const std::string& b) {
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool sheet = x >= 84 && x < 596 && y >= 36 && y < 436;
            if (!sheet && PixelOf(a, x, y) != PixelOf(b, x, y)) return false;
        }
    }
    return true;
}

constexpr int kWidths[8] = {1, 2, 4, 6, 3, 5, 8, 10};

TEST(Tools, BrushDotsAndStrokesAtEverySizeWithAndWithoutAPattern) {
    ToolRun run;
    std::string script = kRedSwatch + SizeButton(2) + "click 150 60\nwait 20\n";
    for (int size = 0; size < 8; ++size) {
        script += SizeButton(size) + Drag(200, 100 + 40 * size, 400, 100 + 40 * size, 10);
    }
    script += kPatternDown + kPatternDown;
    for (int size = 0; size < 8; ++size) {
        script += SizeButton(size) + Drag(420, 100 + 40 * size, 580, 100 + 40 * size, 8);
    }
    ASSERT_EQ(run.Run(script + "wait 20\nshot after\n"), 0);
    const std::string shot = run.Shot("after");
    // Nothing is drawn between the dabs that the moves report.
    const auto gapEmpty = [&](int x, int y, int w) {
        return PointsOf(shot, kRed, x + w, y - 6, x + 20, y + 16).empty();
    };

    // The click at size 2: a dot four pixels wide, one more high.
    const auto dot = PointsOf(shot, kRed, 140, 50, 170, 80);
    ASSERT_EQ(dot.size(), 16u);
    int left = 640, right = 0, top = 480, bottom = 0;
    for (auto [x, y] : dot) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_EQ(right - left + 1, 4);
    EXPECT_EQ(bottom - top + 1, 5);

    for (int size = 0; size < 8; ++size) {
        SCOPED_TRACE(size);
        const int y = 100 + 40 * size;
        const int w = kWidths[size];
        // Plain: lines for the thin sizes, discs 20 pixels apart for the others.
        if (size < 4) {
            EXPECT_EQ(PointsOf(shot, kRed, 200, y, 400, y + 1).size(), 200u) << "a line";
        } else {
            for (int x = 200; x <= 400; x += 20) EXPECT_EQ(PixelOf(shot, x + w / 2, y + w / 2), kRed) << x;
            for (int x = 200; x < 400; x += 20) EXPECT_TRUE(gapEmpty(x, y, w)) << x;
        }
        // In the checkerboard: the thinnest still draws a line; the others
        // lay their squares and discs on the ink pixels only.
        const auto inked = PointsOf(shot, kRed, 410, y - 10, 596, y + 20);
        if (size == 0) {
            EXPECT_EQ(PointsOf(shot, kRed, 420, y, 580, y + 1).size(), 160u);
            continue;
        }
        for (auto [px, py] : inked) EXPECT_EQ((px + py) % 2, 0) << px << "," << py;
        for (int x = 420; x <= 580; x += 20) EXPECT_FALSE(PointsOf(shot, kRed, x, y, x + w, y + w).empty()) << x;
        for (int x = 420; x < 580; x += 20) EXPECT_TRUE(gapEmpty(x, y, w)) << x;
    }
}

// Every point within the distance of (x, y).
bool AllWithin(const std::vector<std::pair<int, int>>& points, int x, int y, double distance) {
    for (auto [px, py] : points) {
        if (std::hypot(px - x, py - y) >= distance) return false;
    }
    return true;
}

bool Includes(const std::vector<std::pair<int, int>>& more, const std::vector<std::pair<int, int>>& less) {
    const std::set<std::pair<int, int>> all(more.begin(), more.end());
    for (const auto& p : less) {
        if (!all.count(p)) return false;
    }
    return true;
}

TEST(Tools, TheAirbrushHeldStillSpraysOnTheClock) {
    ToolRun run;
    // Size 0 around (300, 200): 2 one-pixel dots every 5 ms; size 7 around
    // (450, 200): one disc of 10 pixels every 20 ms.
    ASSERT_EQ(run.Run(kRedSwatch + kAirbrush + "move 300 200\nwait 20\ndown left\nshot a0\nwait 4\n"
                      "shot a4\nwait 1\nshot a5\nwait 15\nshot a20\nup left\nwait 20\n" +
                      SizeButton(7) + "move 450 200\nwait 20\ndown left\nshot b0\nwait 19\nshot b19\n"
                      "wait 1\nshot b20\nwait 20\nshot b40\nup left\nwait 20\n"),
              0);
    const auto small = [&](const char* name) { return PointsOf(run.Shot(name), kRed, 84, 36, 596, 436); };
    const auto a0 = small("a0"), a4 = small("a4"), a5 = small("a5"), a20 = small("a20");
    EXPECT_GE(a0.size(), 1u);
    EXPECT_LE(a0.size(), 2u);
    EXPECT_EQ(a4, a0) << "nothing before 5 ms";
    EXPECT_TRUE(Includes(a5, a4));
    EXPECT_LE(a5.size(), a4.size() + 2);
    EXPECT_TRUE(Includes(a20, a5));
    EXPECT_LE(a20.size(), a5.size() + 6);
    EXPECT_GE(a20.size(), 4u);
    // Even dots lie within R = 4 of the pointer, odd ones within 1.5 R.
    EXPECT_TRUE(AllWithin(a20, 300, 200, 6));

    const auto big = [&](const char* name) { return PointsOf(run.Shot(name), kRed, 400, 140, 500, 260); };
    const auto b0 = big("b0"), b19 = big("b19"), b20 = big("b20"), b40 = big("b40");
    // One disc of 10: its box is 10 x 10.
    int left = 640, right = 0, top = 480, bottom = 0;
    for (auto [x, y] : b0) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_EQ(right - left + 1, 10);
    EXPECT_EQ(bottom - top + 1, 10);
    EXPECT_GT(b0.size(), 60u);
    EXPECT_LT(b0.size(), 100u);
    EXPECT_EQ(b19, b0) << "nothing before 20 ms";
    EXPECT_TRUE(Includes(b20, b19));
    EXPECT_GT(b20.size(), b19.size());
    EXPECT_LE(b20.size(), b19.size() + b0.size());
    EXPECT_TRUE(Includes(b40, b20));
    EXPECT_TRUE(AllWithin(b40, 450, 200, 18 + 15));

    // Each press starts the loop and each release stops it.
    std::vector<std::string> loop;
    for (const std::string& sound : run.sounds) {
        if (sound == "<memory> f" || (!loop.empty() && loop.back() == "<memory> f")) loop.push_back(sound);
    }
    EXPECT_EQ(loop, (std::vector<std::string>{"<memory> f", "- 40", "<memory> f", "- 40"}));
}

TEST(Tools, TheEraserBringsBackThePaperOrTheLoadedDrawing) {
    struct Case {
        const char* what;
        bool loaded;
        uint32_t revealed;
    };
    for (const Case& c : {Case{"blank paper", false, kWhite}, Case{"loaded drawing", true, kBlue}}) {
        SCOPED_TRACE(c.what);
        ToolRun run;
        const std::string args =
            c.loaded ? run.Drawing([](int, int) { return kBlue; }) : std::string();
        // The sheet painted red, then erased at sizes 2 and 6 and at the
        // bottom right corner.
        ASSERT_EQ(run.Run(kRedSwatch + kPaintCan + "click 300 200\nwait 20\n" + kEraser + SizeButton(2) +
                              "wait 20\nshot before\nclick 300 200\nwait 20\n" + SizeButton(6) +
                              "click 400 200\nwait 20\nmove 590 430\nwait 20\nshot unmoved\n"
                              "click 590 430\nwait 20\nshot after\n",
                          args),
                  0);
        const std::string before = run.Shot("before");
        const std::string after = run.Shot("after");
        ASSERT_EQ(PointsOf(before, kRed, 84, 36, 596, 436).size(), 512u * 400u);
        for (auto [x, y] : {std::pair{300, 200}, std::pair{400, 200}}) {
            EXPECT_EQ(PointsOf(after, c.revealed, x, y, x + 12, y + 12).size(), 144u) << x;
            EXPECT_EQ(PointsOf(after, c.revealed, x - 2, y - 2, x + 14, y + 14).size(), 144u) << x;
        }
        EXPECT_EQ(PointsOf(after, c.revealed, 590, 430, 596, 436).size(), 36u);
        EXPECT_EQ(PointsOf(after, c.revealed, 84, 36, 596, 436).size(), 3u * 144 - 144 + 36);
        EXPECT_TRUE(SameOutsideTheSheet(run.Shot("unmoved"), after)) << "nothing outside the sheet";
    }
}

TEST(Tools, ThePaintCanFillsPlainOrInAPatternAndTinksOnBlackAndOnItsColour) {
    ToolRun run;
    // White paper with a black frame from (184, 136) to (283, 215) on the window.
    const std::string drawing = run.Drawing([](int x, int y) {
        const bool frame = ((x == 100 || x == 199) && y >= 100 && y <= 179) ||
                           ((y == 100 || y == 179) && x >= 100 && x <= 199);
        return frame ? kBlack : kWhite;
    });
    ASSERT_EQ(run.Run(kRedSwatch + kPaintCan + kPatternDown + kPatternDown + "shot before\n"
                          "click 234 176\nwait 20\nshot pattern\nclick 184 176\nwait 20\n"
                          "click 620 42\nwait 20\nclick 620 42\nwait 20\n"
                          "click 400 300\nwait 20\nshot plain\nclick 400 300\nwait 20\nshot again\n",
                      drawing),
              0);
    const std::string pattern = run.Shot("pattern");
    const std::string plain = run.Shot("plain");
    // Inside the frame: the checkerboard's ink in red, its paper still white.
    for (int y = 137; y < 215; ++y) {
        for (int x = 185; x < 283; ++x) {
            EXPECT_EQ(PixelOf(pattern, x, y), (x + y) % 2 == 0 ? kRed : kWhite) << x << "," << y;
        }
    }
    EXPECT_EQ(PointsOf(pattern, kRed, 84, 36, 596, 436).size(), 98u * 78 / 2) << "nothing outside";
    // Outside the frame: plain red; the frame stays black and the inside as it was.
    EXPECT_EQ(PointsOf(plain, kBlack, 84, 36, 596, 436).size(), 2u * 100 + 2 * 78);
    EXPECT_EQ(PointsOf(plain, kWhite, 84, 36, 596, 436).size(), 98u * 78 / 2);
    EXPECT_EQ(run.Shot("again"), plain);

    std::vector<std::string> can;
    for (const std::string& sound : run.sounds) {
        for (const char* name : {"PloufCrt", "eau", "bubble", "bubble2", "tink"}) {
            if (sound == std::string(name) + ".WAV 3") can.push_back(name);
        }
    }
    ASSERT_EQ(can.size(), 4u) << ::testing::PrintToString(run.sounds);
    EXPECT_NE(can[0], "tink") << "a splash for the pattern fill";
    EXPECT_EQ(can[1], "tink") << "on black";
    EXPECT_NE(can[2], "tink") << "a splash for the plain fill";
    EXPECT_EQ(can[3], "tink") << "on its own colour";
}

}  // namespace
