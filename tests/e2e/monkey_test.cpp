// The random-input driver through the real program: short seeded runs that
// must end cleanly with every drawing whole, the same seed giving the same
// run, and the faults it found, each replayed from its shrunk script.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

namespace fs = std::filesystem;
using e2e::ReadBytes;

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// Runs the monkey; the replay script is left in the run's folder.
int RunMonkey(ProgramRun& run, const std::string& monkey) {
    const std::string command = run.Environment("en_GB.UTF-8") + TAVELIN_BINARY +
                                " --headless --monkey " + monkey + " --monkey-script " +
                                run.Path("replay.txt").string() + " --log " +
                                run.Path("log.txt").string() + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool StartsWith(const std::string& line, const char* start) { return line.rfind(start, 0) == 0; }

// What a person saw and heard, without the monkey's own lines.
std::vector<std::string> Seen(const std::vector<std::string>& log) {
    std::vector<std::string> seen;
    for (const std::string& line : log) {
        if (!StartsWith(line, "monkey:")) seen.push_back(line);
    }
    return seen;
}

TEST(Monkey, SeededRunsEndCleanlyAndLeaveOnlyWholeDrawings) {
    for (const char* monkey : {"11:250", "12:250:answer", "13:250"}) {
        SCOPED_TRACE(monkey);
        ProgramRun run;
        ASSERT_EQ(RunMonkey(run, monkey), 0);
        for (const std::string& line : run.Log()) EXPECT_FALSE(StartsWith(line, "debug:")) << line;
        const fs::path pictures = run.Path("home") / "Pictures" / "Tavelin";
        if (!fs::exists(pictures)) continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(pictures)) {
            const std::string name = entry.path().filename().string();
            ASSERT_EQ(entry.path().extension(), ".BMP") << "a half-written file stayed: " << name;
            const std::string bytes = ReadBytes(entry.path().string());
            ASSERT_GE(bytes.size(), 54u) << name;
            EXPECT_EQ(bytes.substr(0, 2), "BM") << name;
            EXPECT_EQ(Le32(bytes, 2), bytes.size()) << name;
            EXPECT_EQ(Le32(bytes, 18), 512u) << name;
            EXPECT_EQ(Le32(bytes, 22), 400u) << name;
        }
    }
}

TEST(Monkey, TheSameSeedGivesTheSameRunAndItsScriptReplaysIt) {
    ProgramRun first, second, replay;
    ASSERT_EQ(RunMonkey(first, "21:150"), 0);
    ASSERT_EQ(RunMonkey(second, "21:150"), 0);
    const std::string script = ReadBytes(first.Path("replay.txt").string());
    ASSERT_NE(script.find("\nclick "), std::string::npos);
    EXPECT_EQ(script, ReadBytes(second.Path("replay.txt").string()));
    EXPECT_EQ(first.Log(), second.Log());
    ASSERT_EQ(replay.Start(script), 0);
    EXPECT_EQ(Seen(replay.Log()), Seen(first.Log()));
}

// Found by the monkey: after a message box the pointer's show count stayed
// one higher, so the airbrush and the stamps could no longer hide it.
TEST(Monkey, AMessageBoxGivesThePointerBackItsShowCount) {
    ProgramRun run;
    ASSERT_EQ(run.StartInWorkshop("click 314 15\nwait 250\nkey enter\nwait 100\nmove 30 460\nwait 300\n"), 0);
    const std::vector<std::string> log = run.Log();
    bool boxShown = false;
    for (const std::string& line : log) {
        boxShown = boxShown || StartsWith(line, "message ");
        EXPECT_FALSE(StartsWith(line, "debug:")) << line;
    }
    EXPECT_TRUE(boxShown) << "the print without a printer shows its message";
}

}  // namespace
