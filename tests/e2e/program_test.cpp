// The real program driven through its script mode.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A private home, runtime folder and configuration for each run, so that runs
// in parallel never meet through the single-instance lock.
class ProgramRun {
public:
    ProgramRun() {
        char pattern[] = "/tmp/tavelin-e2e-XXXXXX";
        m_dir = mkdtemp(pattern);
        fs::create_directories(m_dir / "runtime");
        fs::create_directories(m_dir / "home");
    }
    ~ProgramRun() { fs::remove_all(m_dir); }

    fs::path Path(const std::string& name) const { return m_dir / name; }

    std::string Environment(const std::string& lang) const {
        return "env -i PATH=/usr/bin:/bin LANG=" + lang + " HOME=" + Path("home").string() +
               " XDG_RUNTIME_DIR=" + Path("runtime").string() + " ";
    }

    std::string Command(const std::string& script, const std::string& args, const std::string& lang) {
        std::ofstream(Path("script.txt")) << script;
        return Environment(lang) + TAVELIN_BINARY + " --headless --script " +
               Path("script.txt").string() + " --log " + Path("log.txt").string() + " " + args;
    }

    int Start(const std::string& script, const std::string& args = "",
              const std::string& lang = "en_GB.UTF-8") {
        const int status = std::system((Command(script, args, lang) + " 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> Log() const {
        std::ifstream in(Path("log.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    fs::path m_dir;
};

TEST(Program, ClosesWithZeroAndTakesScreenshots) {
    ProgramRun run;
    const std::string shot = run.Path("shot.bmp").string();
    EXPECT_EQ(run.Start("wait 100\nscreenshot " + shot + "\n"), 0);
    // The exit handlers stop any sound last.
    EXPECT_EQ(run.Log(), (std::vector<std::string>{"sound - 40", "exit 0"}));
    std::ifstream bmp(shot, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(bmp)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 54u + 640 * 480 * 3);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);  // bits per pixel
    // The first pixel of the bottom row, stored blue, green, red.
    EXPECT_EQ(static_cast<uint8_t>(bytes[54]), 24);
    EXPECT_EQ(static_cast<uint8_t>(bytes[55]), 206);
    EXPECT_EQ(static_cast<uint8_t>(bytes[56]), 255);
}

TEST(Program, DisplayChecksShowTheirMessagesAndEndWithOne) {
    struct Case {
        const char* args;
        const char* lang;
        std::string message;
    };
    const Case cases[] = {
        {"--depth 4", "en_GB.UTF-8",
         "message 1010 To run this program, number of colors must be at least\u00a0:256"},
        {"--depth 4", "fr_FR.UTF-8",
         "message 1010 Le nombre de couleurs de l\u2019\u00e9cran doit \u00eatre au minimum de :256"},
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
