#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_testing;
using Choosers = DialogTest;
using Sounds = std::vector<std::string>;

uint32_t Now() {
    return platform::CurrentBackend().clock->NowMs();
}

TEST_F(Choosers, BackgroundsTakeTheirTrueColourVariantsAboveEightBits) {
    struct Case {
        int depth;
        int item;
        int chosen;
        int choice;
    };
    const Case cases[] = {
        {32, 101, 1, 0},  {32, 118, 1, 17}, {32, 119, 1, 23}, {32, 120, 1, 24},
        {32, 123, 1, 27}, {8, 120, 1, 19},  {8, 123, 1, 22},  {32, IDCANCEL, 0, 22},
    };
    for (const Case& c : cases) {
        g_platform.bitsPerPixel = c.depth;
        Steps({ClickItem(c.item)});
        EXPECT_EQ(ChooseBackground(), c.chosen) << c.item;
        EXPECT_EQ(g_backgroundChoice, c.choice) << c.item;
        const Sounds sounds = TakeSounds();
        EXPECT_EQ(sounds.size() == 1 && IsCancelSound(sounds[0]), c.item == IDCANCEL) << c.item;
        EXPECT_EQ(sounds.empty(), c.item != IDCANCEL) << c.item;
    }
}

TEST_F(Choosers, EffectsAnswerTheirNumberOrMinusOne) {
    // The last row holds 121, 122, 119 and 120: ids, not places, count.
    const std::pair<int, int> cases[] = {{101, 0},  {118, 17}, {121, 20},
                                         {119, 18}, {122, 21}, {IDCANCEL, -1}};
    for (const auto& [item, effect] : cases) {
        Steps({ClickItem(item)});
        EXPECT_EQ(ChooseEffect(), effect) << item;
        const Sounds sounds = TakeSounds();
        EXPECT_EQ(sounds.size(), item == IDCANCEL ? 1u : 0u) << item;
    }
}

TEST_F(Choosers, ConfirmationsShowTheirQuestionAndAnswerOneOrZero) {
    struct Case {
        int (*launcher)();
        std::vector<int> clicks;
        int answer;
        const char* question;
    };
    const Case cases[] = {
        {ConfirmPrint, {IDOK}, 1, "Printing the drawing"},
        {ConfirmPrint, {IDCANCEL}, 0, "Printing the drawing"},
        {ConfirmQuit, {IDOK}, 1, "Quit the program?"},
        {ConfirmQuit, {IDCANCEL}, 0, "Quit the program?"},
        {ConfirmQuit, {100, IDOK}, 1, "Quit the program?"},  // the picture does nothing
    };
    for (const Case& c : cases) {
        std::string question;
        Steps({Check([&](HWND d) {
            char text[100];
            GetDlgItemTextA(d, 101, text, sizeof text);
            question = text;
        })});
        for (int id : c.clicks) Steps({ClickItem(id)});
        EXPECT_EQ(c.launcher(), c.answer) << c.question << " " << c.clicks[0];
        EXPECT_EQ(question, c.question);
        const Sounds sounds = TakeSounds();
        EXPECT_EQ(sounds.size(), c.answer == 0 ? 1u : 0u);
    }
}

TEST_F(Choosers, TheFarewellGoesAfterFourSecondsOrAtAClick) {
    uint32_t start = Now();
    ShowFarewell();
    const uint32_t alone = Now() - start;
    EXPECT_GE(alone, 4000u);
    EXPECT_LT(alone, 4100u);
    ASSERT_FALSE(testing_support::LogLines().empty());
    EXPECT_NE(testing_support::LogLines()[0].find("CDSons\\Final.WAV"), std::string::npos)
        << testing_support::LogLines()[0];
    EXPECT_EQ(TakeSounds(), Sounds{"Final"});

    start = Now();
    Steps({ClickItem(100)});
    ShowFarewell();
    EXPECT_LT(Now() - start, 1000u);
    EXPECT_EQ(GetFocus(), g_mainWindow);
}

}  // namespace
