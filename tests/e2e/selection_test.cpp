// Cut and move through the real program: a frame dragged partly off the
// sheet is cut to it, the cut-out floats and drops opaque, transparent where
// white after one right click and opaque after a second, switches size with
// the magnify toggle, and turns with the mirror and upside-down buttons.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

const std::string kQuit = "close\nwait 300\nkey enter\nwait 5000\n";
const std::string kScissors = "click 20 380\nwait 20\n";
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;

std::string Move(int x, int y) { return "move " + std::to_string(x) + " " + std::to_string(y) + "\nwait 20\n"; }
std::string Click(int x, int y, const char* button = "left") {
    return "click " + std::to_string(x) + " " + std::to_string(y) + " " + button + "\nwait 20\n";
}
// Frames from (x0, y0) to (x1, y1), both included, and fixes the frame.
std::string Select(int x0, int y0, int x1, int y1) {
    return kScissors + "drag " + std::to_string(x0) + " " + std::to_string(y0) + " " + std::to_string(x1) +
           " " + std::to_string(y1) + " 8\nwait 20\n" + Click(x1, y1);
}

struct Box {
    int left = 640, top = 480, right = -1, bottom = -1;
    bool Empty() const { return right < left; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

Box Differences(const std::string& a, const std::string& b) {
    Box box;
    for (int y = 36; y < 436; ++y) {
        for (int x = 84; x < 596; ++x) {
            if (PixelOf(a, x, y) == PixelOf(b, x, y)) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

class SelectionRun {
public:
    // The drawing: white on the left half with a blue 20 x 20 square at sheet
    // (40, 40), green on the right half.
    int Run(const std::string& script, const std::string& args = "") {
        const std::string path = run.Path("drawing.bmp").string();
        std::ofstream(path, std::ios::binary) << DrawingFile([](int x, int y) {
            const bool square = x >= 40 && x < 60 && y >= 40 && y < 60;
            return x >= 256 ? kGreen : square ? kBlue : kWhite;
        });
        const int code = run.StartInWorkshop("shot start\n" + script + kQuit, args + " " + path);
        sounds = SoundNames(run.Log());
        return code;
    }
    std::string Shot(const std::string& name) const { return run.Shot(name); }
    int Count(const std::string& prefix) const { return CountStartingWith(sounds, prefix); }

    std::vector<std::string> sounds;
    ProgramRun run;
};

// The sheet (30, 30)-(120, 90) in window coordinates: 90 x 60 with the blue
// square at (10, 10) inside it.
const std::string kNinetyBySixty = Select(114, 66, 203, 125);

TEST(Selection, TheCutOutDropsOpaqueThenTransparentWhereWhiteThenOpaque) {
    SelectionRun run;
    ASSERT_EQ(run.Run(kNinetyBySixty + Move(450, 100) + "shot floating\n" + Click(450, 100) +
                      Click(450, 200, "right") + Click(450, 200) +
                      Click(450, 300, "right") + Click(450, 300) + Move(610, 300) + "shot dropped\n"),
              0);
    EXPECT_EQ(run.Count("Pshit"), 1);
    EXPECT_EQ(run.Count("Kook"), 3);
    const std::string start = run.Shot("start");
    EXPECT_TRUE(Differences(start, run.Shot("floating")).Width() == 90);
    const std::string dropped = run.Shot("dropped");
    // The frame is gone from where it was drawn.
    const Box changed = Differences(start, dropped);
    EXPECT_GE(changed.left, 400);
    // Each drop: the blue square at (10, 10) of the cut-out, white or green
    // around it.
    const struct {
        int top;
        uint32_t paper;
    } drops[] = {{70, kWhite}, {170, kGreen}, {270, kWhite}};
    for (const auto& d : drops) {
        SCOPED_TRACE(d.top);
        const int left = 450 - 45;
        EXPECT_EQ(PixelOf(dropped, left + 15, d.top + 15), kBlue);
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {89, 59}, {5, 50}, {60, 5}}) {
            EXPECT_EQ(PixelOf(dropped, left + x, d.top + y), d.paper) << x << "," << y;
        }
        EXPECT_EQ(PixelOf(dropped, left - 1, d.top + 30), kGreen);
        EXPECT_EQ(PixelOf(dropped, left + 90, d.top + 30), kGreen);
    }
}

TEST(Selection, AFrameOffTheSheetIsCutAndTheMagnifyToggleSwitchesSizes) {
    SelectionRun run;
    // From sheet (400, 360) past the bottom right corner: 112 x 40 of green.
    ASSERT_EQ(run.Run(kScissors + "drag 484 396 630 470 8\nwait 20\n" + Click(630, 470) + Move(200, 150) +
                      "shot cut\n" + Move(610, 300) + kNinetyBySixty + Move(450, 300) + "shot small\n" +
                      Click(60, 380) + Move(450, 300) + "shot large\n" + Click(60, 380) + Move(450, 300) +
                      "shot back\n"),
              0);
    const std::string start = run.Shot("start");
    const Box cut = Differences(start, run.Shot("cut"));
    EXPECT_EQ(cut.Width(), 112);
    EXPECT_EQ(cut.Height(), 40);
    const Box small = Differences(start, run.Shot("small"));
    const Box large = Differences(start, run.Shot("large"));
    const Box back = Differences(start, run.Shot("back"));
    EXPECT_EQ(small.Width(), 90);
    EXPECT_EQ(small.Height(), 60);
    EXPECT_EQ(large.Width(), 135);
    EXPECT_EQ(large.Height(), 90);
    EXPECT_EQ(back.Width(), 90);
    EXPECT_EQ(back.Height(), 60);
    EXPECT_EQ(run.Shot("back"), run.Shot("small"));
}

TEST(Selection, MirrorAndUpsideDownTurnTheCutOut) {
    SelectionRun run;
    ASSERT_EQ(run.Run(kNinetyBySixty + Move(450, 200) + "shot plain\n" + Click(20, 340) + Move(450, 200) +
                      "shot mirrored\n" + Click(60, 340) + Move(450, 200) + "shot both\n"),
              0);
    const std::string plain = run.Shot("plain");
    const std::string mirrored = run.Shot("mirrored");
    const std::string both = run.Shot("both");
    const int left = 405, top = 170;
    int wrong = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 90; ++x) {
            wrong += PixelOf(mirrored, left + x, top + y) != PixelOf(plain, left + 89 - x, top + y);
            wrong += PixelOf(both, left + x, top + y) != PixelOf(plain, left + 89 - x, top + 59 - y);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(PixelOf(plain, left + 15, top + 15), kBlue);
    EXPECT_EQ(run.Count("VFlip."), 1);
    EXPECT_EQ(run.Count("HFlip."), 1);
}

}  // namespace
