// The stamps through the real program and its picture module: a stamp
// floating under the pointer and leaving the sheet as it was, the drop with
// "Kook" and its undo, the keyboard's choice in bank 10, the items kept from
// tool to tool, the magnify toggle, and the flips of a floating stamp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

const std::string kQuit = "close\nwait 300\nkey enter\nwait 5000\n";
constexpr uint32_t kWhite = 0xFFFFFF;

std::string StampButton(int bank) {
    return "click " + std::to_string(100 + 43 * bank) + " 460\nwait 20\n";
}
std::string Move(int x, int y) { return "move " + std::to_string(x) + " " + std::to_string(y) + "\nwait 20\n"; }

class StampRun {
public:
    int Run(const std::string& script, const std::string& args = "") {
        const int code = run.StartInWorkshop(script + kQuit, args);
        sounds = SoundNames(run.Log());
        return code;
    }
    std::string Shot(const std::string& name) const { return run.Shot(name); }
    int Count(const std::string& sound) const { return CountStartingWith(sounds, sound); }

    std::vector<std::string> sounds;
    ProgramRun run;
};

struct Box {
    int left = 640, top = 480, right = -1, bottom = -1;
    bool Empty() const { return right < left; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

// The pixels of the area where the two shots differ, as a box.
Box Differences(const std::string& a, const std::string& b, int left = 84, int top = 36, int right = 596,
                int bottom = 436) {
    Box box;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (PixelOf(a, x, y) == PixelOf(b, x, y)) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

bool SameSheet(const std::string& a, const std::string& b) { return Differences(a, b).Empty(); }

class StampDepth : public ::testing::TestWithParam<const char*> {};

TEST_P(StampDepth, AStampFloatsCentredLeavesTheSheetAsItWasAndDropsWithKook) {
    StampRun run;
    ASSERT_EQ(run.Run("click 150 100\nwait 20\nshot before\n" + StampButton(0) + Move(300, 200) +
                      "shot float\n" + Move(610, 218) + "shot off\nclick 610 218\nwait 20\n" +
                      Move(300, 200) + "click 300 200\nwait 20\n" + Move(420, 330) +
                      "shot dropped\n" + Move(610, 300) + "shot left\nclick 60 420\nwait 20\nshot undone\n",
                      GetParam()),
              0);
    const std::string before = run.Shot("before");
    const Box floating = Differences(before, run.Shot("float"));
    ASSERT_FALSE(floating.Empty());
    EXPECT_LE(std::max(floating.Width(), floating.Height()), 48);
    EXPECT_GE(std::max(floating.Width(), floating.Height()), 40);
    EXPECT_NEAR((floating.left + floating.right) / 2.0, 300, 3);
    EXPECT_NEAR((floating.top + floating.bottom) / 2.0, 200, 3);
    // Off the sheet every pixel of it comes back, and the swatch reacts.
    EXPECT_TRUE(SameSheet(before, run.Shot("off")));
    EXPECT_EQ(run.Count("Col_"), 1);
    EXPECT_EQ(run.Count("Kook"), 1);
    // The drop stays where it was made; a second copy floats on.
    const std::string dropped = run.Shot("dropped");
    const Box both = Differences(before, dropped);
    EXPECT_EQ(both.left, floating.left);
    EXPECT_EQ(both.top, floating.top);
    EXPECT_GE(both.right, 420 + 10);
    const Box left = Differences(before, run.Shot("left"));
    EXPECT_EQ(left.left, floating.left);
    EXPECT_EQ(left.right, floating.right);
    EXPECT_EQ(left.bottom, floating.bottom);
    // Undo takes back the drop and nothing else: the brush dot stays.
    EXPECT_TRUE(SameSheet(before, run.Shot("undone")));
    EXPECT_NE(PixelOf(before, 150, 100), kWhite);
}

INSTANTIATE_TEST_SUITE_P(Stamps, StampDepth, ::testing::Values("", "--depth 8"));

TEST(Stamps, Bank10KeysChooseItemsThatStayAcrossToolsAndMagnifyGrows) {
    StampRun run;
    const std::string right = "click 300 200 right\nwait 20\n";
    std::string script = StampButton(10) + Move(300, 200) + "shot i0\n" + right + "shot r1\n";
    for (int i = 0; i < 6; ++i) script += right;
    script += "shot r7\nkey up\nwait 20\nshot up\nkey h\nwait 20\nshot h\nkey z\nwait 20\nshot z\n"
              "key ctrl+home\nwait 20\nkey left\nwait 20\nshot left\n";
    // The brush and back: the bank still shows item 7.
    script += "click 20 100\nwait 20\n" + StampButton(10) + Move(300, 200) + "shot back\n";
    // The magnify toggle while the stamp floats, then back to the sheet.
    script += Move(300, 200) + "click 60 380\nwait 20\n" + Move(300, 200) + "shot large\n" +
              "click 60 380\nwait 20\n" + Move(300, 200) + "shot small\n";
    ASSERT_EQ(run.Run(script), 0);
    const std::string i0 = run.Shot("i0"), r1 = run.Shot("r1"), r7 = run.Shot("r7");
    EXPECT_FALSE(SameSheet(i0, r1));
    EXPECT_FALSE(SameSheet(i0, r7));
    EXPECT_FALSE(SameSheet(r1, r7));
    EXPECT_TRUE(SameSheet(run.Shot("up"), i0));
    EXPECT_TRUE(SameSheet(run.Shot("h"), r7)) << "h is item 7";
    EXPECT_TRUE(SameSheet(run.Shot("z"), r1)) << "z is item 1";
    EXPECT_TRUE(SameSheet(run.Shot("left"), r7)) << "left from 0 is item 7";
    EXPECT_TRUE(SameSheet(run.Shot("back"), r7));
    const Box small = Differences(run.Shot("small"), run.Shot("large"));
    ASSERT_FALSE(small.Empty());
    EXPECT_GE(std::max(small.Width(), small.Height()), 80);
    EXPECT_LE(std::max(small.Width(), small.Height()), 96);
    EXPECT_TRUE(SameSheet(run.Shot("small"), r7));
}

TEST(Stamps, MirrorAndUpsideDownTurnTheFloatingStamp) {
    StampRun run;
    ASSERT_EQ(run.Run(StampButton(4) + Move(300, 200) + "shot plain\nclick 20 340\nwait 20\n" + Move(300, 200) +
                      "shot mirrored\nclick 20 340\nwait 20\nclick 60 340\nwait 20\n" + Move(300, 200) +
                      "shot turned\n" + Move(610, 300) + "shot off\n"),
              0);
    const std::string off = run.Shot("off");
    const std::string plain = run.Shot("plain");
    const Box a = Differences(off, plain);
    ASSERT_FALSE(a.Empty());
    for (const char* name : {"mirrored", "turned"}) {
        SCOPED_TRACE(name);
        const bool mirror = std::string(name) == "mirrored";
        const std::string shot = run.Shot(name);
        const Box b = Differences(off, shot);
        ASSERT_EQ(b.Width(), a.Width());
        ASSERT_EQ(b.Height(), a.Height());
        int wrong = 0;
        for (int y = b.top; y <= b.bottom; ++y) {
            for (int x = b.left; x <= b.right; ++x) {
                const int fx = mirror ? b.left + a.right - x : x;
                const int fy = mirror ? y : b.top + a.bottom - y;
                wrong += PixelOf(shot, x, y) != PixelOf(plain, fx, fy);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    EXPECT_EQ(run.Count("VFlip"), 2);
    EXPECT_EQ(run.Count("HFlip"), 1);
    EXPECT_EQ(run.Count("VFlip1"), 0);
}

}  // namespace
