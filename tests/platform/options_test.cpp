// The command line of the emulated machine.
#include "platform/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

// Parses the words as a command line after the program's name.
bool Parse(std::vector<std::string> words, Options& options, std::string& error) {
    words.insert(words.begin(), "tavelin");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(Options, DepthIsEightOrThirtyTwoAndBadValuesSayWhatIsExpected) {
    const struct {
        std::vector<std::string> words;
        const char* error;  // null when accepted
    } cases[] = {
        {{"--depth", "8"}, nullptr},
        {{"--depth", "32"}, nullptr},
        {{"--depth", "16"}, "--depth needs 8 or 32"},
        {{"--depth", "24"}, "--depth needs 8 or 32"},
        {{"--depth", "4"}, "--depth needs 8 or 32"},
        {{"--depth", "8x"}, "--depth needs 8 or 32"},
        {{"--depth"}, "--depth needs a value"},
        {{"--screen", "640x"}, "--screen needs a size such as 640x480"},
        {{"--seed", "-1"}, "--seed needs a number from 0 to 2147483647"},
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--script", "s.txt"}, "--script needs --headless"},
    };
    for (const auto& c : cases) {
        Options options;
        std::string error;
        const bool accepted = Parse(c.words, options, error);
        EXPECT_EQ(accepted, c.error == nullptr) << c.words[0];
        EXPECT_EQ(error, c.error != nullptr ? c.error : "") << c.words[0];
        if (accepted) {
            EXPECT_EQ(options.depth, std::stoi(c.words[1]));
        }
    }
}

TEST(Options, MonkeyTakesSeedCountAndAnswerModeWithHeadlessOnly) {
    const struct {
        std::vector<std::string> words;
        const char* error;  // null when accepted
        uint32_t seed = 0;
        int count = 0;
        bool answers = false;
    } cases[] = {
        {{"--headless", "--monkey", "7:20000"}, nullptr, 7, 20000, false},
        {{"--headless", "--monkey", "0:1:answer"}, nullptr, 0, 1, true},
        {{"--monkey", "7:20"}, "--monkey needs --headless and no --script"},
        {{"--headless", "--script", "s", "--monkey", "7:20"}, "--monkey needs --headless and no --script"},
        {{"--headless", "--monkey", "7"}, "--monkey needs SEED:COUNT or SEED:COUNT:answer, such as 7:20000"},
        {{"--headless", "--monkey", "7:0"}, "--monkey needs SEED:COUNT or SEED:COUNT:answer, such as 7:20000"},
        {{"--headless", "--monkey", "-1:5"}, "--monkey needs SEED:COUNT or SEED:COUNT:answer, such as 7:20000"},
        {{"--headless", "--monkey", "7:5x"}, "--monkey needs SEED:COUNT or SEED:COUNT:answer, such as 7:20000"},
        {{"--headless", "--monkey", "7:5:ask"}, "--monkey needs SEED:COUNT or SEED:COUNT:answer, such as 7:20000"},
    };
    for (const auto& c : cases) {
        Options options;
        std::string error;
        EXPECT_EQ(Parse(c.words, options, error), c.error == nullptr) << c.words.back();
        EXPECT_EQ(error, c.error != nullptr ? c.error : "") << c.words.back();
        if (c.error != nullptr) continue;
        EXPECT_EQ(options.monkeySeed, c.seed);
        EXPECT_EQ(options.monkeyCount, c.count);
        EXPECT_EQ(options.monkeyAnswers, c.answers);
    }
}

TEST(Options, TheRestIsThePictureAndHelpNamesEveryOptionWithItsValue) {
    Options options;
    std::string error;
    ASSERT_TRUE(Parse({"--mute", "mon", "dessin.bmp", "--window"}, options, error));
    EXPECT_EQ(options.commandLine, "mon dessin.bmp");
    EXPECT_TRUE(options.mute && options.window);
    const std::string help = UsageText();
    for (const char* line : {"--window", "--mute", "--data DIR", "--config DIR", "--depth BITS",
                             "8 or 32", "--screen WxH", "--headless", "--script FILE",
                             "--log FILE", "--seed N", "--help", "--version", "PICTURE"}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
}

TEST(Options, PrintFolderPageAndResolution) {
    Options options;
    std::string error;
    ASSERT_TRUE(Parse({"--print-to", "/tmp/out", "--print-page", "2400x3300", "--print-dpi", "600x300"},
                      options, error));
    EXPECT_EQ(options.printTo, "/tmp/out");
    EXPECT_EQ(options.printWidth, 2400);
    EXPECT_EQ(options.printHeight, 3300);
    EXPECT_EQ(options.printDpiX, 600);
    EXPECT_EQ(options.printDpiY, 300);
    ASSERT_TRUE(Parse({"--print-dpi", "150"}, options, error));
    EXPECT_EQ(options.printDpiX, 150);
    EXPECT_EQ(options.printDpiY, 150);

    // Each bad value is refused with a reason.
    const std::vector<std::vector<std::string>> bad = {
        {"--print-to"},           {"--print-page", "2400"},  {"--print-page", "0x10"},
        {"--print-page", "x"},    {"--print-dpi", "5"},      {"--print-dpi", "99999"},
        {"--print-dpi", "300x0"}, {"--print-page", "-1x-1"},
    };
    for (const std::vector<std::string>& args : bad) {
        Options refused;
        error.clear();
        EXPECT_FALSE(Parse(args, refused, error)) << args.back();
        EXPECT_FALSE(error.empty()) << args.back();
    }
}

}  // namespace
}  // namespace platform
