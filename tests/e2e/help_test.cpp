// Help mode through the real program: the bubbles' places, their widths and
// lines, the recordings or "Synthac", the margin that has no help, and the
// pixels put back when a bubble closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

// Quitting asks first; the farewell then runs its course.
const std::string kQuit = "close\nwait 300\nkey enter\nwait 5000\n";
const std::string kHelp = "click 49 16\nwait 50\n";

struct Box {
    int left = 640, top = 480, right = -1, bottom = -1;  // inclusive
    bool Empty() const { return right < 0; }
};

// The pixels that differ between two screenshots.
Box Changed(const std::string& before, const std::string& after) {
    Box box;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (PixelOf(before, x, y) == PixelOf(after, x, y)) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

class HelpRun {
public:
    // Runs the script in the workshop; "shot NAME" takes a screenshot.
    int Run(const std::string& script, const std::string& lang = "en_GB.UTF-8") {
        const int code = m_run.StartInWorkshop(script + kQuit, "", lang);
        for (const std::string& line : m_run.Log()) {
            if (line.rfind("sound ", 0) == 0) sounds.push_back(line.substr(6));
        }
        return code;
    }
    std::string Shot(const std::string& name) const { return m_run.Shot(name); }

    std::vector<std::string> sounds;

private:
    ProgramRun m_run;
};

std::string Cd(const std::string& name) { return "D:\\Datas\\CDSons\\" + name + ".WAV 3"; }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(Help, BubblesLeanTowardsTheMiddleAndStayInTheWindow) {
    struct Case {
        const char* what;
        int x, y;        // the click in help mode
        int left, right;  // of the changed pixels, -1 for any
        bool below;       // the bubble under the anchor
        const char* recording;
    };
    const Case cases[] = {
        {"help button", 49, 16, 49, -1, true, "Ahelp"},
        {"right-hand swatch", 630, 104, -1, 629, true, "AColor"},
        {"stamp held at 4", 359, 460, 4, -1, false, "ASprite"},
        // A rounded region leaves out its last column, as on Windows: 634 is
        // the last pixel of a bubble whose right edge is W - 4.
        {"stamp held at W - 4", 230, 460, -1, 634, false, "ASprite"},
        {"the sheet", 300, 300, -1, 339, true, "APage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HelpRun run;
        const std::string click = "click " + std::to_string(c.x) + " " + std::to_string(c.y) + "\n";
        ASSERT_EQ(run.Run(kHelp + "shot before\n" + click + "wait 50\nshot bubble\n" + click +
                          "wait 50\nshot after\n"),
                  0);
        const std::string before = run.Shot("before");
        const Box box = Changed(before, run.Shot("bubble"));
        ASSERT_FALSE(box.Empty());
        if (c.left >= 0) {
            EXPECT_EQ(box.left, c.left);
        }
        if (c.right >= 0) {
            EXPECT_EQ(box.right, c.right);
        }
        const int anchorY = c.y == 300 ? 236 : c.y;
        EXPECT_TRUE(c.below ? box.top >= anchorY : box.bottom <= anchorY) << box.top << " " << box.bottom;
        EXPECT_GE(box.left, 4);
        EXPECT_LE(box.right, 635);
        EXPECT_EQ(Changed(before, run.Shot("after")).right, -1) << "the pixels come back";
        // The recording plays, and the close cuts it.
        const auto voice = std::find(run.sounds.begin(), run.sounds.end(), Cd(c.recording));
        ASSERT_NE(voice, run.sounds.end());
        ASSERT_NE(voice + 1, run.sounds.end());
        EXPECT_EQ(*(voice + 1), "- 40");
    }
}

TEST(Help, ShortTextsKeepOneLineMiddleOnesTakeTwoAndLongOnesMore) {
    HelpRun run;
    ASSERT_EQ(run.Run(kHelp + "shot before\nclick 630 104\nwait 50\nshot short\nclick 10 10\n" +
                      kHelp + "click 595 16\nwait 50\nshot middle\nkey a\n" + kHelp +
                      "click 49 16\nwait 50\nshot long\nclick 300 300 right\nwait 50\nshot after\n"),
              0);
    const std::string before = run.Shot("before");
    // The bodies hang 50 pixels under their anchors (y 104 and 16); a
    // bubble is its text's height plus 32, and its rounded region leaves out
    // its last row.
    const Box shortBox = Changed(before, run.Shot("short"));
    const Box middleBox = Changed(before, run.Shot("middle"));
    const Box longBox = Changed(before, run.Shot("long"));
    const int line = shortBox.bottom + 2 - (104 + 50) - 32;
    EXPECT_GT(line, 20);
    EXPECT_LT(line, 40);
    EXPECT_EQ(middleBox.bottom + 2 - (16 + 50) - 32, 2 * line);
    EXPECT_GE(longBox.bottom + 2 - (16 + 50) - 32, 3 * line);
    // A short text stays within a quarter of the window, plus the margins.
    EXPECT_LE(629 + 1 - shortBox.left, 640 / 4 + 32);
    EXPECT_LE(longBox.right + 1 - 49, 512 + 32);
    // A right click and a key close bubbles as a click does.
    EXPECT_EQ(Changed(before, run.Shot("after")).right, -1);
}

TEST(Help, TheMarginShowsNothingAndHelpModeStaysOn) {
    HelpRun run;
    ASSERT_EQ(run.Run(kHelp + "shot before\nclick 95 15\nwait 50\nshot margin\n"
                              "click 630 104\nwait 50\nshot bubble\n"),
              0);
    const std::string before = run.Shot("before");
    EXPECT_EQ(Changed(before, run.Shot("margin")).right, -1);
    EXPECT_FALSE(Changed(before, run.Shot("bubble")).Empty());
    const auto help = std::find_if(run.sounds.begin(), run.sounds.end(), [](const std::string& s) {
        return EndsWith(s, "\\Help.WAV 3");
    });
    ASSERT_NE(help, run.sounds.end());
    ASSERT_NE(help + 1, run.sounds.end());
    EXPECT_EQ(*(help + 1), Cd("AColor")) << "nothing for the margin";
}

TEST(Help, ItalianBubblesPlaySynthac) {
    HelpRun run;
    ASSERT_EQ(run.Run(kHelp + "shot before\nclick 60 140\nwait 50\nshot bubble\n", "it_IT.UTF-8"), 0);
    EXPECT_FALSE(Changed(run.Shot("before"), run.Shot("bubble")).Empty());
    const auto help = std::find_if(run.sounds.begin(), run.sounds.end(), [](const std::string& s) {
        return EndsWith(s, "\\Help.WAV 3");
    });
    ASSERT_NE(help, run.sounds.end());
    ASSERT_NE(help + 1, run.sounds.end());
    EXPECT_TRUE(EndsWith(*(help + 1), "\\Sons\\Synthac.WAV 3")) << *(help + 1);
}

}  // namespace
