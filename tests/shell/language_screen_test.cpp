#include "shell/language_screen.h"

#include <gtest/gtest.h>

#include "shell/title_screen.h"
#include "tests/controls/screen_fixture.h"

using namespace testing_support;
using namespace control_testing;

namespace {

constexpr COLORREF kSunny = RGB(255, 206, 24);

// Flags and logos of 40 x 30 pixels; the title pictures, when asked for, in
// a colour of their own.
void UseScreenPack(bool withTitle) {
    std::vector<platform::PackItem> items;
    for (int id : {800, 810, 820, 830, 840, 850, 860, 865}) {
        items.push_back({2, static_cast<uint16_t>(id), SolidPicture(40, 30, RGB(0, 0, 255))});
    }
    if (withTitle) {
        items.push_back({2, 870, SolidPicture(640, 480, RGB(255, 0, 0))});
        items.push_back({2, 871, SolidPicture(640, 480, RGB(0, 255, 0))});
    }
    UsePack(std::move(items));
}

bool Played(const Calls& lines, const std::string& name) {
    return lines.size() == 1 && lines[0].find("\\" + name + ".WAV ") != std::string::npos;
}

class LanguageScreenTest : public ControlTest {};

TEST_F(LanguageScreenTest, AFlagChoosesAndEndsALogoChangesNothing) {
    UseScreenPack(false);
    auto* screen = new LanguageScreen(nullptr);
    RunUntilIdle();
    ASSERT_EQ(screen->m_controlCount, 8);
    EXPECT_EQ(ColourAt(screen->m_window, 0, 0), kSunny);
    EXPECT_EQ(PixelAt(screen->m_window, 265, 80), 'b');
    TakeSoundLines();

    Click(45, 405);  // the first logo
    EXPECT_TRUE(TakeSoundLines().empty());
    EXPECT_NE(screen->m_window, nullptr);
    EXPECT_EQ(screen->m_languageIndex, -1);

    Click(270, 85);  // the British flag
    EXPECT_TRUE(Played(TakeSoundLines(), "LitBlow"));
    EXPECT_EQ(screen->m_languageIndex, 1);
    EXPECT_EQ(screen->m_window, nullptr);
    delete screen;

    screen = new LanguageScreen(nullptr);
    RunUntilIdle();
    Click(490, 210);
    EXPECT_EQ(screen->m_languageIndex, 5);
    delete screen;
}

TEST_F(LanguageScreenTest, TheTitleEndsOnAReleaseNotOnAPress) {
    struct Case {
        const char* name;
        int depth;
        bool withTitle;
        void (*press)();
        void (*release)();
        COLORREF page;
    };
    const Case cases[] = {
        {"left button", 32, true, [] { MouseButton(true, true, 5, 5); },
         [] { MouseButton(false, true, 5, 5); }, RGB(0, 255, 0)},
        {"right button, 256 colours", 8, true, [] { MouseButton(true, false, 5, 5); },
         [] { MouseButton(false, false, 5, 5); }, RGB(255, 0, 0)},
        {"a key, and no title picture", 32, false, [] { Key('A', true, 'a'); },
         [] { Key('A', false); }, kSunny},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        UseScreenPack(c.withTitle);
        g_platform.bitsPerPixel = c.depth;
        auto* screen = new TitleScreen(nullptr);
        RunUntilIdle();
        EXPECT_TRUE(Played(TakeSoundLines(), "About"));
        EXPECT_EQ(ColourAt(screen->m_window, 320, 240), c.page);
        c.press();
        EXPECT_NE(screen->m_window, nullptr);
        c.release();
        EXPECT_EQ(screen->m_window, nullptr);
        EXPECT_EQ(screen->m_picture, nullptr);
        // The voice stops with the screen.
        const Calls stop = TakeSoundLines();
        ASSERT_EQ(stop.size(), 1u);
        EXPECT_EQ(stop[0].rfind("sound - ", 0), 0u) << stop[0];
        delete screen;
    }
}

}  // namespace
