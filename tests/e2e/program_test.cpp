// The real program driven through its script mode.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/program_run.h"

namespace fs = std::filesystem;

namespace {

constexpr char kAbout[] = "sound D:\\Datas\\CDSons\\About.WAV 3";
constexpr uint32_t kSunny = 0xFFCE18;

TEST(Program, ClosesWithZeroAndTakesScreenshots) {
    ProgramRun run;
    const std::string shot = run.Path("shot.bmp").string();
    EXPECT_EQ(run.Start("wait 100\nscreenshot " + shot + "\n"), 0);
    const std::vector<std::string> log = run.Log();
    // The title screen speaks; the exit handlers stop any sound last.
    EXPECT_TRUE(Contains(log, kAbout));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{"sound - 40", "exit 0"}));
    const std::string bytes = ReadBytes(shot);
    ASSERT_EQ(bytes.size(), 54u + 640 * 480 * 3);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);  // bits per pixel
    EXPECT_NE(PixelOf(bytes, 320, 240), 0u) << "the title picture shows";
}

TEST(Program, LanguageTitleAndWorkshopScreensFollowOneAnother) {
    ProgramRun run;
    fs::create_directories(run.Path("config"));
    std::ofstream(run.Path("config/Tavelin.ini")) << "[param]\nlangage=0\n";
    const std::string shots = run.Path("").string();
    const std::string script = "wait 300\nscreenshot " + shots + "lang.bmp\n"
                               "click 325 120\nwait 1000\nscreenshot " + shots + "title.bmp\n"
                               "click 320 240\nwait 500\nscreenshot " + shots + "work.bmp\n";
    EXPECT_EQ(run.Start(script, "--config " + run.Path("config").string()), 0);
    const std::vector<std::string> log = run.Log();
    const auto blow = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.find("LitBlow.WAV") != std::string::npos;
    });
    ASSERT_NE(blow, log.end());
    EXPECT_NE(std::find(blow, log.end(), kAbout), log.end()) << "the title speaks after the flag";
    EXPECT_EQ(PixelOf(ReadBytes(shots + "lang.bmp"), 10, 10), kSunny);
    EXPECT_NE(PixelOf(ReadBytes(shots + "title.bmp"), 10, 10), kSunny);
    const std::string work = ReadBytes(shots + "work.bmp");
    EXPECT_EQ(PixelOf(work, 5, 5), 0xF3DFA7u) << "the workshop's frame";
    EXPECT_EQ(PixelOf(work, 300, 200), 0xFFFFFFu) << "the blank sheet";
}

TEST(Program, ClosingFromTheLanguageScreenShowsNoLaterScreen) {
    ProgramRun run;
    fs::create_directories(run.Path("config"));
    std::ofstream(run.Path("config/Tavelin.ini")) << "[param]\nlangage=0\n";
    EXPECT_EQ(run.Start("wait 300\nclose\nwait 100\n", "--config " + run.Path("config").string()), 0);
    EXPECT_FALSE(Contains(run.Log(), kAbout));
}

TEST(Program, DisplayChecksShowTheirMessagesAndEndWithOne) {
    struct Case {
        const char* args;
        const char* lang;
        std::string message;
    };
    const Case cases[] = {
        {"--screen 600x400", "en_GB.UTF-8",
         "message 1010 To run this program, the minimum screen configuration must be : 640 x 480."},
        {"--screen 600x400", "fr_FR.UTF-8",
         "message 1010 Ce programme n\u00e9cessite une r\u00e9solution d\u2019\u00e9cran minimum de : 640 x 480."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.args) + " " + c.lang);
        ProgramRun run;
        EXPECT_EQ(run.Start("wait 10\n", c.args, c.lang), 1);
        EXPECT_EQ(run.Log(), (std::vector<std::string>{c.message, "answer 1", "sound - 40", "exit 1"}));
    }
    ProgramRun run;
    EXPECT_EQ(run.Start("wait 10\n", "--screen 800x600 --depth 8"), 0);
}

TEST(Program, RefusesABadScriptClearly) {
    ProgramRun run;
    const std::string command = run.Command("wait 10\njump 3 4\n", "", "C") + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[512] = "";
    const size_t length = fread(buffer, 1, sizeof buffer - 1, pipe);
    buffer[length] = '\0';
    const int status = pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(std::string(buffer).find("script line 2"), std::string::npos) << buffer;
}

TEST(Program, ASecondCopyBringsTheFirstForwardAndEndsWithZero) {
    ProgramRun run;
    const std::string first = run.Command("wait 100000000\n", "", "C");
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", ("exec " + first).c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // The first copy is up once it holds its socket.
    bool listening = false;
    for (int i = 0; i < 200 && !listening; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        for (const auto& entry : fs::recursive_directory_iterator(run.Path("runtime"))) {
            if (entry.is_socket()) listening = true;
        }
    }
    EXPECT_TRUE(listening);
    const std::string second = run.Environment("C") + TAVELIN_BINARY + " --headless";
    const int status = std::system(second.c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    bool raised = false;
    for (int i = 0; i < 200 && !raised; ++i) {
        for (const std::string& line : run.Log()) raised = raised || line == "raise";
        if (!raised) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_TRUE(raised);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace
