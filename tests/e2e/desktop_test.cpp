// The program on a Linux desktop: names with accents, the locales, the end
// of the session, special files, the data folder and the command line.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/program_run.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kWhite = 0xFFFFFF;
const std::string kWorkshop = "wait 300\nclick 320 240\nwait 300\n";

// A 24-bit 512 x 400 drawing of one colour.
void WriteDrawing(const fs::path& path, uint32_t colour) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << DrawingFile([colour](int, int) { return colour; });
}

std::string Output(const std::string& command, int& code) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t got; pipe != nullptr && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

bool LogHas(const std::vector<std::string>& log, const std::string& start) {
    for (const std::string& line : log) {
        if (line.rfind(start, 0) == 0) return true;
    }
    return false;
}

TEST(Desktop, APictureWhosePathHasAccentsOpensFromTheCommandLine) {
    ProgramRun run;
    const fs::path picture = run.Path("\xC3\xA9t\xC3\xA9/dessin.bmp");
    WriteDrawing(picture, kBlue);
    EXPECT_EQ(run.StartInWorkshop("shot work\n", picture.string()), 0);
    EXPECT_EQ(PixelOf(run.Shot("work"), 300, 200), kBlue);

    // A name that Windows-1252 cannot spell is said so, and the program
    // starts on the blank sheet.
    ProgramRun other;
    const fs::path foreign = other.Path("\xE6\x97\xA5.bmp");
    WriteDrawing(foreign, kBlue);
    EXPECT_EQ(other.StartInWorkshop("shot work\n", foreign.string()), 0);
    EXPECT_TRUE(Contains(other.Log(), "unusable name " + foreign.string()));
    EXPECT_EQ(PixelOf(other.Shot("work"), 300, 200), kWhite);
}

// The program runs in the workshop until it is sent SIGTERM once the script
// reached its "screenshot"; the answer is the exit status and the time taken.
struct Ending {
    int code = -1;
    std::chrono::milliseconds took{0};
};

Ending EndTheSession(ProgramRun& run, const std::string& script, int signal) {
    const std::string ready = run.Path("ready.bmp").string();
    const std::string command = run.Command(kWorkshop + script + "screenshot " + ready +
                                                "\nwait 100000000\n",
                                            "", "en_GB.UTF-8");
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", ("exec " + command + " 2>/dev/null").c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 800 && ReadBytes(ready).size() < 54 + 640 * 480 * 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    const auto start = std::chrono::steady_clock::now();
    kill(pid, signal);
    Ending ending;
    int status = 0;
    for (int i = 0; i < 400; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            ending.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ending.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    if (ending.code == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    return ending;
}

std::vector<fs::path> Drawings(const ProgramRun& run) {
    std::vector<fs::path> found;
    const fs::path folder = run.Path("home/Pictures/Tavelin");
    if (!fs::is_directory(folder)) return found;
    for (const auto& entry : fs::directory_iterator(folder)) found.push_back(entry.path());
    return found;
}

TEST(Desktop, TheEndOfTheSessionKeepsAChangedDrawingAndEndsWithZeroWithoutAsking) {
    const struct {
        const char* name;
        std::string script;
        int signal;
        bool kept;
    } cases[] = {
        // The button is still down: the stroke is under way.
        {"SIGTERM during a stroke", "move 200 200\ndown left\nmove 260 220\nmove 320 260\n", SIGTERM,
         true},
        {"SIGHUP after a stroke", "drag 200 200 320 260 6\nwait 50\n", SIGHUP, true},
        {"SIGINT on an untouched sheet", "", SIGINT, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run;
        const Ending ending = EndTheSession(run, c.script, c.signal);
        EXPECT_EQ(ending.code, 0);
        EXPECT_LE(ending.took.count(), 2000);
        const std::vector<std::string> log = run.Log();
        EXPECT_TRUE(Contains(log, "session end"));
        EXPECT_FALSE(LogHas(log, "message ")) << "nothing is asked";
        const std::vector<fs::path> drawings = Drawings(run);
        ASSERT_EQ(drawings.size(), c.kept ? 1u : 0u);
        if (!c.kept) continue;
        EXPECT_EQ(drawings[0].filename(), "Image Tavelin.BMP");
        // The stroke is in the drawing kept, on the white paper.
        const std::string bmp = ReadBytes(drawings[0].string());
        ASSERT_EQ(bmp.size(), 54u + 512 * 400 * 3);
        size_t painted = 0;
        for (size_t at = 54; at < bmp.size(); ++at) painted += static_cast<uint8_t>(bmp[at]) != 0xFF;
        EXPECT_GT(painted, 50u);
    }
}

TEST(Desktop, PipesInPlaceOfTheProfileFilesStartWithTheDefaults) {
    ProgramRun run;
    fs::create_directories(run.Path("config"));
    ASSERT_EQ(mkfifo(run.Path("config/Tavelin.ini").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(run.Path("config/win.ini").c_str(), 0600), 0);
    EXPECT_EQ(run.StartInWorkshop("shot work\n", "--config " + run.Path("config").string()), 0);
    const std::string work = run.Shot("work");
    EXPECT_EQ(PixelOf(work, 5, 5), 0xF3DFA7u) << "the workshop's frame";
    EXPECT_EQ(PixelOf(work, 300, 200), kWhite) << "the blank sheet";
}

TEST(Desktop, AMissingDataFolderIsNamedInTheMessagesLanguageAndNeverLoops) {
    const std::string wrongLevel = std::string(TAVELIN_DIST_DIR) + "/share/tavelin";
    const struct {
        const char* lang;
        const char* ini;  // Tavelin.ini, or null
        std::string data;
        std::string script;
        int code;
        std::string message;
    } cases[] = {
        {"en_GB.UTF-8", nullptr, "/nonexistent", "wait 10\n", 4,
         "The program's data folder was not found:\\n/nonexistent"},
        {"fr_FR.UTF-8", nullptr, "/nonexistent", "answer cancel\n", 0,
         "Le dossier des donn\u00e9es du programme est introuvable :\\n/nonexistent"},
        // No locale speaks English; the installation file's choice of
        // language is the messages' choice too.
        {"C", nullptr, "/nonexistent", "answer cancel\n", 0,
         "The program's data folder was not found:\\n/nonexistent"},
        {"C.UTF-8", "[param]\nlangage=1\n", "/nonexistent", "answer cancel\n", 0,
         "Le dossier des donn\u00e9es du programme est introuvable :\\n/nonexistent"},
        {"fr_FR.UTF-8", "[param]\nlangage=2\n", wrongLevel, "answer cancel\n", 0,
         "The program's data folder was not found:\\n" + wrongLevel + "/Datas"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + c.data);
        ProgramRun run;
        fs::create_directories(run.Path("config"));
        if (c.ini != nullptr) std::ofstream(run.Path("config/Tavelin.ini")) << c.ini;
        EXPECT_EQ(run.Start(c.script, "--data " + c.data + " --config " + run.Path("config").string(),
                            c.lang),
                  c.code);
        const std::vector<std::string> log = run.Log();
        EXPECT_TRUE(Contains(log, "message 2021 " + c.message));
        if (c.code == 4) {
            EXPECT_TRUE(Contains(log, "script: a message box keeps coming back unanswered; the run stops"));
        }
    }
}

TEST(Desktop, OnlyEightAndThirtyTwoAreDepthsAndHelpSaysWhatEachOptionExpects) {
    for (const char* depth : {"16", "24", "4"}) {
        int code = 0;
        const std::string out = Output(std::string(TAVELIN_BINARY) + " --headless --depth " + depth, code);
        EXPECT_EQ(code, 2) << depth;
        EXPECT_NE(out.find("--depth needs 8 or 32"), std::string::npos) << out;
        EXPECT_NE(out.find("usage: tavelin"), std::string::npos) << out;
    }
    int code = 0;
    const std::string help = Output(std::string(TAVELIN_BINARY) + " --help", code);
    EXPECT_EQ(code, 0);
    EXPECT_NE(help.find("--data DIR       the folder of the program's data"), std::string::npos);
}

}  // namespace
