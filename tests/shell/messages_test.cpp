#include "shell/messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/kernel/resource_pack.h"
#include "shell/app.h"
#include "shell/mainwindow.h"
#include "shell/resources.h"
#include "shell/screen.h"
#include "tests/support/layer.h"

using namespace testing_support;

namespace {

void UseLocale(const char* lang) {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", lang, 1);
}

TestEvents& StartWithTexts(const char* lang) {
    UseLocale(lang);
    TestEvents& events = ResetLayer();
    g_mainWindow = nullptr;
    g_screenShown = 0;
    theApp.m_instance = GetModuleHandleA(nullptr);
    SetResourceModule(theApp.m_instance);
    LoadErrorTexts();
    return events;
}

TEST(Messages, WindowsLanguageComesFromTheLocale) {
    const struct {
        const char* lang;
        int code;
    } cases[] = {{"fr_FR.UTF-8", 12}, {"fr_CA.UTF-8", 12}, {"en_GB.UTF-8", 10}, {"de_DE.UTF-8", 13},
                 {"es_ES.UTF-8", 19}, {"nl_NL.UTF-8", 9},  {"it_IT.UTF-8", 15}, {"C", 10},
                 {"C.UTF-8", 10},      {"POSIX", 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        UseLocale(c.lang);
        ResetLayer();
        EXPECT_EQ(GetWindowsLanguage(), c.code);
    }
}

TEST(Messages, ReportsComposeTextCodeAndButtons) {
    TestEvents& events = StartWithTexts("en_GB.UTF-8");
    EXPECT_TRUE(ShowMessage(10, kWarning, -48));
    EXPECT_TRUE(ShowMessage(40, kQuestion, kNoCode));
    events.onBox = [](uint32_t) { return IDCANCEL; };
    EXPECT_FALSE(ShowMessage(40, kQuestion, kNoCode));
    events.onBox = [](uint32_t) { return IDRETRY; };
    EXPECT_TRUE(ShowMessageWithText(28, "Z:\\a.bmp", kRetry, 2));
    g_screenShown = 1;
    EXPECT_TRUE(ShowMessageWithText(28, "Z:\\a.bmp", kRetry, 2));
    events.onBox = nullptr;
    ShowMessage(200, kWarning, 5);
    ShowText(std::string(300, 'x').c_str(), kWarning, 7);
    const std::vector<std::string> expected = {
        "message 2030 Insufficient memory.\\nError type -48.", "answer 1",
        "message 2021 Insert the CD in the drive.",           "answer 1",
        "message 2021 Insert the CD in the drive.",           "answer 2",
        "message 1015 Can\u2019t find the file Z:\\a.bmp\\nError type 2.", "answer 4",
        "message 2025 Can\u2019t find the file Z:\\a.bmp\\nError type 2.", "answer 4",
        "message 2030 \\nError type 5.",                     "answer 1",
        // The text is cut to 236 characters less the 18 of "%s\nError type %ld.".
        "message 2030 " + std::string(236 - 18, 'x') + "\\nError type 7.", "answer 1",
    };
    EXPECT_EQ(LogLines(), expected);
}

TEST(Messages, FrenchTextsAndTheCaption) {
    StartWithTexts("fr_FR.UTF-8");
    EXPECT_STREQ(g_captionText, "Le petit Tavelin");
    ShowMessage(10, kWarning, -48);
    EXPECT_EQ(LogLines().front(), "message 2030 M\u00e9moire insuffisante.\\nErreur de Type -48.");
}

TEST(Messages, FatalReportsEndTheProgram) {
    StartWithTexts("en_GB.UTF-8");
    // Before the main window exists a report also goes to standard error.
    EXPECT_EXIT(ShowMessage(10, kFatal, -48), ::testing::ExitedWithCode(1),
                "Insufficient memory.\nError type -48.");
    std::vector<uint8_t> pack;
    ASSERT_TRUE(platform::BuildPack({{10, 1, {1, 2, 3}}}, pack));
    ASSERT_TRUE(platform::SetProgramPack(pack.data(), pack.size()));
    EXPECT_EXIT(LoadErrorTexts(), ::testing::ExitedWithCode(1), "Can\u2019t load error messages");
    platform::ResetProgramPack();
}

}  // namespace
