// The workshop driven through the real program: its first screen, undo, the
// flips, erasing and the brush-size rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

constexpr uint32_t kLightFrame = 0xF3DFA7;
constexpr uint32_t kDarkFrame = 0x262626;
constexpr uint32_t kWhite = 0xFFFFFF;
// The first swatch's colour, the first current colour.
constexpr uint32_t kInk = 0x101010;


struct Shots {
    ProgramRun run;
    std::vector<std::string> log;

    // Runs the script; "shot NAME" lines become screenshots into the run's folder.
    int Run(const std::string& script, const std::string& args = "") {
        const int code = run.StartInWorkshop(script, args);
        log = run.Log();
        return code;
    }
    std::string Shot(const std::string& name) const { return run.Shot(name); }
    bool Played(const std::string& name) const {
        for (const std::string& line : log) {
            if (line.rfind("sound ", 0) == 0 && line.find("\\" + name + ".WAV") != std::string::npos)
                return true;
        }
        return false;
    }
};

// The sheet's pixels of a screenshot, row by row.
std::vector<uint32_t> Sheet(const std::string& bmp) {
    std::vector<uint32_t> pixels;
    for (int y = 36; y < 436; ++y) {
        for (int x = 84; x < 596; ++x) pixels.push_back(PixelOf(bmp, x, y));
    }
    return pixels;
}

int Count(const std::vector<uint32_t>& pixels, uint32_t colour) {
    int n = 0;
    for (uint32_t p : pixels) n += p == colour;
    return n;
}

TEST(Workshop, FirstScreenFramesThePaletteAroundTheSheet) {
    Shots s;
    ASSERT_EQ(s.Run("shot first\nclick 60 100\nwait 50\nshot eraser\n"), 0);
    const std::string first = s.Shot("first");
    struct Probe {
        int x, y;
        uint32_t colour;
        const char* what;
    };
    const Probe probes[] = {
        {5, 30, kLightFrame, "top band"},       {82, 300, kDarkFrame, "left edge of the frame"},
        {300, 33, kDarkFrame, "top edge"},      {597, 300, kDarkFrame, "right edge"},
        {300, 438, kDarkFrame, "bottom edge"},  {84, 36, kWhite, "sheet's first pixel"},
        {595, 435, kWhite, "sheet's last pixel"}, {630, 438, kLightFrame, "below the swatches"},
        {637, 460, kLightFrame, "right of the last stamp"}, {605, 36, kLightFrame, "right band"},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(PixelOf(first, p.x, p.y), p.colour) << p.what << " at " << p.x << "," << p.y;
    }
    EXPECT_NE(PixelOf(first, 630, 435), kLightFrame) << "the last swatch row reaches y = 437";
    EXPECT_NE(PixelOf(first, 634, 460), kLightFrame) << "the last stamp reaches x = 636";

    // Choosing the eraser redraws the brush button unselected and the eraser selected.
    const std::string eraser = s.Shot("eraser");
    int brushChanged = 0, eraserChanged = 0, elsewhere = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (PixelOf(first, x, y) == PixelOf(eraser, x, y)) continue;
            if (y >= 80 && y < 120 && x < 40) ++brushChanged;
            else if (y >= 80 && y < 120 && x < 80) ++eraserChanged;
            else ++elsewhere;
        }
    }
    EXPECT_GT(brushChanged, 0);
    EXPECT_GT(eraserChanged, 0);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_TRUE(s.Played("gomme0"));
}

TEST(Workshop, UndoTwiceAndTheFlips) {
    Shots s;
    // A short black stroke in the top-left part of the sheet, at size 3.
    ASSERT_EQ(s.Run("click 70 45\ndrag 100 60 140 60 4\nwait 20\nshot drawn\n"
                    "click 60 420\nwait 20\nshot undone\nclick 60 420\nwait 20\nshot redone\n"
                    "click 20 340\nwait 20\nshot mirrored\nclick 60 340\nwait 20\nshot turned\n"),
              0);
    const auto drawn = Sheet(s.Shot("drawn"));
    const auto undone = Sheet(s.Shot("undone"));
    EXPECT_GT(Count(drawn, kInk), 100);
    EXPECT_EQ(Count(undone, kWhite), 512 * 400) << "undo brings back the blank sheet";
    EXPECT_EQ(Sheet(s.Shot("redone")), drawn) << "a second undo brings the stroke back";
    const auto mirrored = Sheet(s.Shot("mirrored"));
    const auto turned = Sheet(s.Shot("turned"));
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) {
            ASSERT_EQ(mirrored[y * 512 + x], drawn[y * 512 + 511 - x]) << x << "," << y;
            ASSERT_EQ(turned[y * 512 + x], drawn[(399 - y) * 512 + 511 - x]) << x << "," << y;
        }
    }
    EXPECT_TRUE(s.Played("VFlip1"));
    EXPECT_TRUE(s.Played("HFlip1"));
}

TEST(Workshop, EraseWaitsForAClickOnTheSheet) {
    Shots s;
    const std::string stroke = "drag 100 60 200 60 4\nwait 20\n";
    const std::string other = "drag 100 90 200 90 4\nwait 20\n";
    // Cancelled by a click on the margin, then by a swatch that also takes its
    // colour, then confirmed on the sheet.
    ASSERT_EQ(s.Run(stroke + "click 140 16\nclick 95 16\nwait 20\nshot margin\n"
                    "click 140 16\nclick 610 218\nwait 20\n" + other + "shot swatch\n"
                    "click 140 16\nclick 300 300\nwait 1500\nshot erased\nclick 60 420\nwait 20\n"
                    "shot undone\n"),
              0);
    EXPECT_GT(Count(Sheet(s.Shot("margin")), kInk), 99) << "the margin cancels the erase";
    const auto swatch = Sheet(s.Shot("swatch"));
    EXPECT_EQ(Count(swatch, kInk), 100) << "the swatch cancels the erase";
    EXPECT_LT(Count(swatch, kWhite) + Count(swatch, kInk), 512 * 400) << "and gives its colour";
    EXPECT_EQ(Count(Sheet(s.Shot("erased")), kWhite), 512 * 400);
    EXPECT_EQ(Count(Sheet(s.Shot("undone")), kWhite), 512 * 400) << "undo after erase shows paper";
    EXPECT_TRUE(s.Played("Glace"));
}

TEST(Workshop, BrushSizesFollowTheRightButtonAndStayAcrossTools) {
    Shots s;
    // Right clicks with the brush step the size; with the paint can they do not.
    ASSERT_EQ(s.Run("click 300 300 right\nwait 20\nclick 60 300\nclick 300 300 right\nwait 20\n"
                    "shot sizes\n"),
              0);
    EXPECT_TRUE(s.Played("Brsh_Si"));
    EXPECT_FALSE(s.Played("Brsh_Sol"));

    // Size 3 (6 pixels) chosen with the brush stays when the eraser and the
    // brush are chosen again; choosing a size keeps the eraser.
    Shots t;
    ASSERT_EQ(t.Run("click 70 45\nclick 60 100\nclick 20 100\nclick 300 200\nwait 20\nshot dot\n"
                    "click 60 100\nclick 10 45\nclick 300 201\nwait 20\nshot erased\n"),
              0);
    const auto dot = Sheet(t.Shot("dot"));
    EXPECT_GE(Count(dot, kInk), 30) << "a 6-pixel dot";
    const auto erased = Sheet(t.Shot("erased"));
    EXPECT_LT(Count(erased, kInk), Count(dot, kInk)) << "the eraser kept through the size change";
    EXPECT_GT(Count(erased, kInk), 0) << "a 4 x 4 eraser leaves part of the dot";
}

}  // namespace

TEST(Workshop, UndoAfterAFlipTurnsTheBackgroundBackToo) {
    Shots s;
    // The sunset, turned upside down and back by undo; the eraser then drags
    // across the sky, which must come back as sky.
    ASSERT_EQ(s.Run("click 30 458\nwait 300\nclick 441 316\nwait 2000\nshot shown\n"
                    "click 60 340\nwait 20\nshot turned\nclick 60 420\nwait 20\n"
                    "click 60 100\ndrag 150 80 500 80 8\nwait 20\nshot erased\n"),
              0);
    const std::string shown = s.Shot("shown");
    const std::string erased = s.Shot("erased");
    ASSERT_NE(PixelOf(shown, 300, 80), PixelOf(s.Shot("turned"), 300, 80));
    for (int x = 160; x < 490; x += 7) {
        ASSERT_EQ(PixelOf(erased, x, 80), PixelOf(shown, x, 80)) << "at x = " << x;
    }
}
