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
constexpr int kPreview = 119;

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

// Centred text wider than the preview would lose both of its ends: the
// preview keeps to the letters that fit, at every size, so that its left and
// right columns stay paper while the sample shows.
TEST_F(FontChooser, ThePreviewKeepsItsSampleInside) {
    const int cases[][2] = {{0, 0}, {0, 14}, {4, 14}, {7, 14}, {15, 14}, {2, 20}, {9, 26}};
    for (const auto& c : cases) {
        g_fontChooser.font = c[0];
        g_fontChooser.sizeIndex = c[1];
        g_fontChooser.styleBits = c[1] == 20 ? 3 : 0;
        int sideInk = 0, ink = 0;
        Steps({Check([&](HWND) {
                   const RECT r = ItemRect(kPreview);
                   for (int y = r.top + 1; y < r.bottom - 1; ++y) {
                       for (int x = r.left + 1; x < r.right - 1; ++x) {
                           const bool paper = ScreenPixel(x, y) == RGB(255, 255, 255);
                           ink += !paper;
                           sideInk += !paper && (x <= r.left + 2 || x >= r.right - 3);
                       }
                   }
               }),
               ClickItem(IDCANCEL)});
        EXPECT_EQ(ChooseFont(), 0);
        EXPECT_EQ(sideInk, 0) << "font " << c[0] << " size index " << c[1];
        EXPECT_GT(ink, 50) << "font " << c[0] << " size index " << c[1];
    }
}

}  // namespace
