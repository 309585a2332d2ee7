#include "platform/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool Parse(std::vector<std::string> args, platform::Options& options, std::string& error) {
    args.insert(args.begin(), "tavelin");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    return platform::ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(Options, PrintFolderPageAndResolution) {
    platform::Options options;
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
        platform::Options refused;
        error.clear();
        EXPECT_FALSE(Parse(args, refused, error)) << args.back();
        EXPECT_FALSE(error.empty()) << args.back();
    }
}

}  // namespace
