// Every dialog of the program under the keyboard: Enter gives the dialog its
// default command (the owner-drawn buttons never take it), Escape cancels,
// Tab moves the focus and Space clicks the focused button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_testing;
using DialogKeys = DialogTest;

int Farewell() {
    ShowFarewell();
    return 1;
}

TEST_F(DialogKeys, EnterEscapeTabAndSpaceInEveryDialog) {
    WritePicture("Red.BMP", 'r', 20);
    WritePicture("Green.BMP", 'g', 10);
    WritePicture("Blue.BMP", 'b', 0);
    struct Case {
        const char* what;
        int (*launch)();
        std::vector<Step> keys;  // the dialog must still be open after them
        std::vector<Step> end;   // then these end it
        int result;
        const char* loaded;      // the current picture afterwards
        int background;
        int font;
    };
    const Step enter = Key(VK_RETURN, '\r');
    const Step escape = Key(VK_ESCAPE, 0x1B);
    const Step tab = Key(VK_TAB, '\t');
    const Step space = Key(VK_SPACE, ' ');
    const Case cases[] = {
        // The focus starts on the previous arrow: Enter still loads.
        {"load enter", RunLoadDialog, {}, {enter}, 1, "Red", -1, 0},
        {"load space", RunLoadDialog, {space}, {enter}, 1, "Blue", -1, 0},
        {"load tab space", RunLoadDialog, {tab, space}, {enter}, 1, "Green", -1, 0},
        {"load escape", RunLoadDialog, {space}, {escape}, 0, "Green", -1, 0},
        // A chooser without OK ignores Enter.
        {"background enter", ChooseBackground, {enter, enter}, {escape}, 0, "Green", -1, 0},
        {"background space", ChooseBackground, {}, {space}, 1, "Green", 0, 0},
        {"background tab", ChooseBackground, {enter, tab}, {space}, 1, "Green", 1, 0},
        {"effects enter", ChooseEffect, {enter}, {escape}, -1, "Green", 1, 0},
        {"effects tab", ChooseEffect, {tab, tab}, {space}, 2, "Green", 1, 0},
        // The font chooser has an OK: Enter is OK, not the focused sample.
        {"font tab space", ChooseFont, {tab, space}, {escape}, 0, "Green", 1, 1},
        {"font enter", ChooseFont, {tab, tab, space}, {enter}, 1, "Green", 1, 2},
        {"print enter", ConfirmPrint, {}, {enter}, 1, "Green", 1, 2},
        {"print tab", ConfirmPrint, {tab}, {space}, 0, "Green", 1, 2},
        {"print tab enter", ConfirmPrint, {tab}, {enter}, 1, "Green", 1, 2},
        {"quit escape", ConfirmQuit, {}, {escape}, 0, "Green", 1, 2},
        {"quit space", ConfirmQuit, {}, {space}, 1, "Green", 1, 2},
        {"quit enter", ConfirmQuit, {}, {enter}, 1, "Green", 1, 2},
        {"quit tab space", ConfirmQuit, {tab}, {space}, 0, "Green", 1, 2},
        {"quit tab enter", ConfirmQuit, {tab}, {enter}, 1, "Green", 1, 2},
        {"save escape", RunSaveDialog, {tab, tab}, {escape}, 0, "Green", 1, 2},
        {"farewell enter", Farewell, {}, {enter}, 1, "Green", 1, 2},
    };
    g_selectedPicture = 0;
    for (const Case& c : cases) {
        if (c.launch == RunLoadDialog) g_selectedPicture = 0;
        bool stillOpen = false;
        for (const Step& key : c.keys) Steps({key});
        Steps({Check([&](HWND d) { stillOpen = d != nullptr; })});
        for (const Step& key : c.end) Steps({key});
        EXPECT_EQ(c.launch(), c.result) << c.what;
        EXPECT_TRUE(stillOpen) << c.what;
        EXPECT_FALSE(source->gaveUp) << c.what;
        EXPECT_EQ(OpenDialog(), nullptr) << c.what;
        EXPECT_STREQ(g_currentPictureName, c.loaded) << c.what;
        EXPECT_EQ(g_backgroundChoice, c.background) << c.what;
        EXPECT_EQ(g_fontChooser.font, c.font) << c.what;
        source->gaveUp = false;
        TakeSounds();
    }
    // Enter in the saving dialog saves under the typed name.
    Steps({Type("Lune"), Key(VK_RETURN, '\r')});
    EXPECT_EQ(RunSaveDialog(), 1);
    EXPECT_STREQ(g_currentPictureName, "Lune");
}

}  // namespace
