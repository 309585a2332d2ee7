#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_testing;
using FontChooser = DialogTest;

constexpr int kBold = 117;
constexpr int kItalic = 118;
constexpr int kSmaller = 120;
constexpr int kLarger = 121;
constexpr int kStyle = 122;

int Beeps() {
    int beeps = 0;
    for (const std::string& line : testing_support::LogLines()) beeps += line == "beep 30";
    return beeps;
}

TEST_F(FontChooser, SizesStopAtBothEndsWithABeep) {
    struct Case {
        int start;
        int button;
        int presses;
        int index;
        int height;
        int beeps;
    };
    const Case cases[] = {
        {0, kSmaller, 1, 0, 8, 1},     {1, kSmaller, 1, 0, 8, 0},    {14, kLarger, 12, 26, 200, 0},
        {14, kLarger, 13, 26, 200, 1}, {14, kSmaller, 3, 11, 26, 0}, {26, kLarger, 2, 26, 200, 2},
    };
    for (const Case& c : cases) {
        g_fontChooser.sizeIndex = c.start;
        testing_support::LogLines().clear();
        for (int i = 0; i < c.presses; ++i) Steps({ClickItem(c.button)});
        Steps({ClickItem(IDOK)});
        EXPECT_EQ(ChooseFont(), 1);
        EXPECT_EQ(g_fontChooser.sizeIndex, c.index) << c.start << " " << c.button;
        EXPECT_EQ(g_textSettings.height, c.height) << c.start << " " << c.button;
        EXPECT_EQ(Beeps(), c.beeps) << c.start << " " << c.button;
    }
}

TEST_F(FontChooser, OkWritesTheTextSettingsAndCancelKeepsThem) {
    Steps({ClickItem(105), ClickItem(kBold), ClickItem(kItalic), ClickItem(kItalic),
           ClickItem(kStyle), ClickItem(kStyle), ClickItem(IDCANCEL)});
    EXPECT_EQ(ChooseFont(), 0);
    const TextSettings start;
    EXPECT_EQ(g_textSettings.face, start.face);
    EXPECT_EQ(g_textSettings.height, start.height);
    EXPECT_EQ(g_textSettings.styleBits, start.styleBits);
    EXPECT_EQ(g_textSettings.style, start.style);
    ASSERT_EQ(testing_support::LogLines().size(), 1u) << "a cancel sound only";

    // The chooser shows the changed values when it opens again: the chosen
    // sample on its own paper, bold on.
    COLORREF chosenPaper = 0, otherPaper = 0;
    Steps({Check([&](HWND) {
               const RECT chosen = ItemRect(105);
               const RECT other = ItemRect(101);
               chosenPaper = ScreenPixel(chosen.left + 1, chosen.bottom - 1);
               otherPaper = ScreenPixel(other.left + 1, other.bottom - 1);
           }),
           ClickItem(kStyle), ClickItem(IDOK)});
    EXPECT_EQ(ChooseFont(), 1);
    EXPECT_EQ(chosenPaper, RGB(0xCC, 0xB2, 0x33));
    EXPECT_EQ(otherPaper, RGB(0xFF, 0xEA, 0xA5));
    EXPECT_EQ(g_textSettings.face, 4);
    EXPECT_EQ(g_textSettings.height, 32);
    EXPECT_EQ(g_textSettings.styleBits, 1);
    EXPECT_EQ(g_textSettings.style, 0) << "0, 1, 2 and round to 0";
}

}  // namespace
