// The print command through the real program, printing into a headless
// print folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

using e2e::Contains;
using e2e::PixelOf;
using e2e::ReadBytes;

const std::string kPrintConfirmed = "click 314 15\nwait 300\nkey enter\nwait 300\n";

int Find(const std::vector<std::string>& log, const std::string& start) {
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].rfind(start, 0) == 0) return static_cast<int>(i);
    }
    return -1;
}

TEST(Printing, APrintedSheetLandsInThePrintFolderWithItsSound) {
    ProgramRun run;
    std::filesystem::create_directories(run.Path("out"));
    ASSERT_EQ(run.StartInWorkshop("drag 200 200 400 300\nwait 100\n" + kPrintConfirmed +
                                      "shot after\n",
                                  "--print-to " + run.Path("out").string()),
              0);
    const std::vector<std::string> log = run.Log();
    const std::string page = run.Path("out/page-001.pdf").string();
    const int printed = Find(log, "print " + page);
    ASSERT_GE(printed, 0);
    EXPECT_GT(Find(log, "sound "), -1);
    EXPECT_NE(std::find_if(log.begin() + printed, log.end(),
                           [](const std::string& line) {
                               return line.rfind("sound ", 0) == 0 &&
                                      line.find("\\Print.WAV") != std::string::npos;
                           }),
              log.end());
    EXPECT_EQ(ReadBytes(page).rfind("%PDF-", 0), 0u);
    EXPECT_EQ(Find(log, "message "), -1);
}

TEST(Printing, AFailedPrintSaysSoAndKeepsTheSheet) {
    ProgramRun run;
    ASSERT_EQ(run.StartInWorkshop("drag 200 200 400 300\nwait 100\nshot before\n" +
                                      kPrintConfirmed + "shot after\n",
                                  "--print-to " + run.Path("missing").string()),
              0);
    const std::vector<std::string> log = run.Log();
    const int message = Find(log, "message ");
    ASSERT_GE(message, 0);
    EXPECT_NE(log[message].find("Printing error."), std::string::npos);
    const std::string before = run.Shot("before");
    const std::string after = run.Shot("after");
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{300, 250}, {100, 50}, {590, 430}}) {
        EXPECT_EQ(PixelOf(after, x, y), PixelOf(before, x, y)) << x << "," << y;
    }
}

}  // namespace
