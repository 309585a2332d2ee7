// The figure buttons through the real program: each figure pressed, dragged,
// released, moved and clicked, in the current colour and brush width, with and
// without a pattern, the curve's three clicks and the drag sound's pace on the
// virtual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

const std::string kQuit = "close\nwait 300\nkey enter\nwait 5000\n";
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xD80000;  // swatch 6

std::string SizeButton(int size) {
    return "click " + std::to_string(10 + 20 * (size % 4)) + " " + std::to_string(size < 4 ? 45 : 67) +
           "\nwait 20\n";
}

std::string Line(const std::string& verb, int x, int y) {
    return verb + " " + std::to_string(x) + " " + std::to_string(y) + "\nwait 20\n";
}

// Press at (x0, y0), drag to (x1, y1), release, follow the pointer to (x2, y2)
// and click there.
std::string Figure(int x0, int y0, int x1, int y1, int x2, int y2) {
    return "drag " + std::to_string(x0) + " " + std::to_string(y0) + " " + std::to_string(x1) + " " +
           std::to_string(y1) + " 8\nwait 20\n" + Line("move", x2, y2) + Line("click", x2, y2);
}

int Count(const std::string& shot, uint32_t colour, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) n += PixelOf(shot, x, y) == colour;
    }
    return n;
}

// The drag sounds of the log between the nth and the next "pook".
int DragSoundsAfterCommit(const std::vector<std::string>& log, int nth) {
    int pooks = 0;
    int drags = 0;
    for (const std::string& line : log) {
        if (line.rfind("sound ", 0) != 0) continue;
        if (line.find("pook.WAV") != std::string::npos) {
            if (pooks++ == nth) return drags;
            drags = 0;
        } else if (line == "sound <memory> 7") {
            ++drags;
        }
    }
    return -1;
}

TEST(Figures, EachFigureButtonDrawsItsFigureInTheColourWidthAndPattern) {
    ProgramRun run;
    std::string script = "click 610 218\nwait 20\n" + SizeButton(0);
    // A square of size 0 from a click: one pixel, still following.
    script += "click 20 220\nwait 20\n" + Line("move", 300, 200) + "down left\nwait 20\nup left\n" +
              "shot dot\n" + Line("move", 340, 230) + "shot follow\n" + Line("click", 340, 230);
    // A line of width 4 released at (250, 120) and clicked at (200, 150).
    script += "click 20 140\nwait 20\n" + SizeButton(2) + Figure(120, 60, 250, 120, 200, 150);
    // A circle of width 10.
    script += "click 20 180\nwait 20\n" + SizeButton(7) + Figure(350, 60, 500, 100, 450, 120);
    // The filled circle and square in the checkerboard pattern.
    script += "click 620 84\nwait 20\nclick 620 84\nwait 20\n";
    script += "click 60 180\nwait 20\n" + Figure(120, 260, 160, 280, 250, 330);
    script += "click 60 220\nwait 20\n" + Figure(300, 260, 310, 270, 420, 330);
    // The curve: the segment, the click that fixes it, the bend, the commit.
    script += "click 60 140\nwait 20\n" + SizeButton(0) + Figure(450, 300, 540, 300, 560, 300) +
              Line("move", 505, 260) + Line("click", 505, 260);
    // The drag sound's pace: twenty moves 30 ms apart, the release, then
    // 200 moves at once.
    script += "click 20 140\nwait 20\n" + Line("move", 100, 380) + "down left\n";
    for (int i = 0; i < 20; ++i) script += "move " + std::to_string(100 + 10 * i) + " 380\nwait 30\n";
    script += "up left\n";
    for (int i = 0; i < 200; ++i) script += "move " + std::to_string(300 + i) + " 420\n";
    script += Line("click", 500, 420) + "shot end\n";
    ASSERT_EQ(run.StartInWorkshop(script + kQuit), 0);

    const std::string dot = run.Shot("dot");
    EXPECT_EQ(Count(dot, kRed, 84, 36, 596, 436), 1);
    EXPECT_EQ(PixelOf(dot, 300, 200), kRed);
    const std::string follow = run.Shot("follow");
    EXPECT_EQ(Count(follow, kRed, 84, 36, 596, 436), 2 * 41 + 2 * 29);

    const std::string end = run.Shot("end");
    // The square, committed where the pointer left it.
    EXPECT_EQ(Count(end, kRed, 290, 190, 350, 240), 2 * 41 + 2 * 29);
    EXPECT_EQ(PixelOf(end, 340, 230), kRed);
    // The line, 4 wide, to the click and not to the release.
    EXPECT_EQ(PixelOf(end, 160, 105), kRed);
    EXPECT_GE(Count(end, kRed, 150, 100, 170, 101), 4);
    EXPECT_EQ(Count(end, kRed, 240, 110, 260, 130), 0);
    // The circle's outline, 10 wide across its left and bottom edges, white
    // inside.
    EXPECT_EQ(Count(end, kRed, 345, 85, 355, 95), 100);
    EXPECT_EQ(Count(end, kRed, 395, 115, 405, 125), 100);
    EXPECT_EQ(Count(end, kRed, 380, 80, 420, 100), 0);
    // The filled figures: every other pixel inside, nothing beyond the click.
    EXPECT_EQ(Count(end, kRed, 180, 290, 190, 300), 50);
    EXPECT_EQ(Count(end, kWhite, 180, 290, 190, 300), 50);
    EXPECT_EQ(Count(end, kRed, 300, 260, 421, 331), 121 * 71 / 2 + 1);
    EXPECT_EQ(Count(end, kRed, 421, 255, 440, 340) + Count(end, kRed, 295, 331, 440, 340), 0);
    // The curve bends up from its segment and is fixed with "pook".
    EXPECT_GT(Count(end, kRed, 495, 250, 515, 262), 0);
    EXPECT_EQ(Count(end, kRed, 470, 295, 540, 305), 0);

    // The sounds: each button's, then per figure the drag sound at most once
    // per 100 ms and "pook" for each commit.
    const std::vector<std::string> log = run.Log();
    EXPECT_EQ(DragSoundsAfterCommit(log, 0), 1) << "the square moved once";
    EXPECT_EQ(DragSoundsAfterCommit(log, 1), 1) << "the line dragged at once";
    EXPECT_EQ(DragSoundsAfterCommit(log, 6), 6) << "600 ms of slow moves and 200 fast ones";
}

}  // namespace
