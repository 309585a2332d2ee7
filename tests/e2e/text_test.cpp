// The text tool through the real program: letters taken back (the euro, one
// key, among them) leave exactly the pixels of the text typed without them,
// Backspace after Enter goes back to the end of the line above, the sheet's
// bottom and the 255 bytes refuse with "Tink", and a balloon chosen in the
// fonts and styles dialog floats, drops with "Kook" and goes away with one
// undo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

const std::string kQuit = "close\nwait 300\nkey enter\nwait 5000\n";
const std::string kTextButton = "click 40 240\nwait 50\n";
const std::string kUndo = "click 60 420\nwait 100\n";

class TextRun {
public:
    int Run(const std::string& script) {
        const int code = run.StartInWorkshop(script + kQuit);
        sounds = SoundNames(run.Log());
        return code;
    }
    int Count(const std::string& sound) const { return CountStartingWith(sounds, sound); }
    std::string Shot(const std::string& name) const { return run.Shot(name); }

    std::vector<std::string> sounds;
    ProgramRun run;
};

// The number of sheet pixels where the two shots differ.
int Differences(const std::string& a, const std::string& b) {
    int count = 0;
    for (int y = 36; y < 436; ++y) {
        for (int x = 84; x < 596; ++x) count += PixelOf(a, x, y) != PixelOf(b, x, y);
    }
    return count;
}

std::string Text(int x, int y, const std::string& keys) {
    return "click " + std::to_string(x) + " " + std::to_string(y) + "\nwait 20\n" + keys + "key escape\nwait 50\n";
}

TEST(TextE2E, TakingBackLettersAndLinesLeavesTheTextTypedWithoutThem) {
    TextRun run;
    const std::string script =
        kTextButton + "shot blank\n" +
        Text(150, 100, "type ab€α\nkey backspace\ntype d😀\n") + "shot edited\n" + kUndo +
        Text(150, 100, "type abd\n") + "shot typed\n" + kUndo +
        Text(150, 100, "type ab\nkey enter\nkey backspace\ntype c\n") + "shot rejoined\n" + kUndo +
        Text(150, 100, "type abc\n") + "shot straight\n" + kUndo + "shot undone\n";
    ASSERT_EQ(run.Run(script), 0);
    const std::string typed = run.Shot("typed");
    EXPECT_GT(Differences(typed, run.Shot("blank")), 50);
    EXPECT_EQ(Differences(run.Shot("edited"), typed), 0);
    EXPECT_EQ(Differences(run.Shot("rejoined"), run.Shot("straight")), 0);
    EXPECT_EQ(Differences(run.Shot("undone"), run.Shot("blank")), 0);
    EXPECT_EQ(run.Count("Cr2"), 4);
    EXPECT_EQ(run.Count("Cr3"), 4);
    EXPECT_EQ(run.Count("KeyC"), 2);
    EXPECT_EQ(run.Count("KeyErr"), 1);
    // The Greek letter and the emoji, which Windows-1252 lacks.
    EXPECT_EQ(run.Count("Tink"), 2);
}

TEST(TextE2E, TheSheetsBottomAndTheTextsLengthRefuseWithTink) {
    TextRun run;
    std::string full;
    for (int line = 0; line < 8; ++line) full += "type " + std::string(30, 'i') + "\nkey enter\n";
    full += "type iiiiiii\n";
    const std::string script = kTextButton + Text(150, 420, "key enter\n") + "shot bottom\n" + kUndo +
                               Text(90, 40, full) + "shot full\n" + kUndo + Text(90, 40, full + "type i\n") +
                               "shot refused\n";
    ASSERT_EQ(run.Run(script), 0);
    EXPECT_EQ(run.Count("KeyErr"), 16);
    EXPECT_EQ(run.Count("Tink"), 2);
    EXPECT_EQ(Differences(run.Shot("full"), run.Shot("refused")), 0);
}

TEST(TextE2E, ABalloonFloatsDropsAndGoesAwayWithOneUndo) {
    TextRun run;
    // The text style button steps to the balloon with its tail on the left.
    const std::string fonts = "click 20 260\nwait 300\nclick 130 408\nwait 50\nclick 547 368\nwait 300\n";
    const std::string script = fonts + "shot before\n" + Text(200, 150, "type Hello\n") +
                               "move 300 250\nwait 50\nshot floating\nclick 300 250\nwait 50\n" +
                               "move 20 20\nwait 50\nshot dropped\n" + kUndo + "shot undone\n";
    ASSERT_EQ(run.Run(script), 0);
    const std::string before = run.Shot("before");
    const std::string dropped = run.Shot("dropped");
    EXPECT_GT(Differences(dropped, before), 300);
    // The balloon is centred on the pointer, away from where the text was typed.
    EXPECT_EQ(PixelOf(dropped, 200, 150), PixelOf(before, 200, 150));
    EXPECT_EQ(Differences(run.Shot("undone"), before), 0);
    EXPECT_EQ(run.Count("Kook"), 1);
}

}  // namespace
