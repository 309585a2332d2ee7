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

// A drawing the monkey saved, loaded alone into a fresh program: the sheet
// must show the file's pixels exactly.
void ExpectReadsBackIdentically(const fs::path& drawing) {
    const std::string bytes = ReadBytes(drawing.string());
    ProgramRun run;
    const fs::path pictures = run.Path("home") / "Pictures" / "Tavelin";
    fs::create_directories(pictures);
    fs::copy_file(drawing, pictures / drawing.filename());
    ASSERT_EQ(run.StartInWorkshop("click 405 15\nwait 300\nclick 257 365\nwait 500\nshot loaded\n"), 0);
    const std::string shot = run.Shot("loaded");
    int differences = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) differences += DrawingPixel(bytes, x, y) != PixelOf(shot, 84 + x, 36 + y);
    }
    EXPECT_EQ(differences, 0) << drawing.filename();
}

TEST(Monkey, SeededRunsEndCleanlyAndLeaveOnlyWholeDrawings) {
    int drawings = 0;
    for (const char* monkey : {"11:250", "12:250:answer", "23:300"}) {
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
            ASSERT_EQ(bytes.size(), Le32(bytes, 10) + 1536u * 400) << name;
            ExpectReadsBackIdentically(entry.path());
            ++drawings;
        }
    }
    EXPECT_GT(drawings, 0) << "the seeds save at least one drawing";
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

// Found by the monkey's watch on GDI objects at rest: every dialog left its
// template's font behind, so that the quit question, opened and closed, added
// one object each time (the shrunk run opened it and the choosers over and
// over). Forty times is past the watch's margin.
TEST(Monkey, DialogsOpenedAndClosedLeaveNoGdiObjectsBehind) {
    ProgramRun run;
    std::string script = "move 30 460\nwait 300\n";
    for (int i = 0; i < 40; ++i) script += "close\nwait 100\nkey escape\nwait 100\n";
    ASSERT_EQ(run.StartInWorkshop(script + "move 30 460\nwait 300\n"), 0);
    const std::vector<std::string> log = run.Log();
    for (const std::string& line : log) EXPECT_FALSE(StartsWith(line, "debug:")) << line;
    // The question plays one of its four sounds each time it opens.
    const std::vector<std::string> sounds = SoundNames(log);
    int questions = 0;
    for (const char* sound : {"Crecel", "WeezCrt", "Undo4", "Gomme1"}) questions += CountStartingWith(sounds, sound);
    EXPECT_EQ(questions, 40);
}

}  // namespace
