// The special effects through the real program: chosen in the chooser, run on
// the sheet with their sound, and taken back by one undo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

std::vector<uint32_t> Sheet(const std::string& bmp) {
    std::vector<uint32_t> pixels;
    for (int y = 36; y < 436; ++y) {
        for (int x = 84; x < 596; ++x) pixels.push_back(PixelOf(bmp, x, y));
    }
    return pixels;
}

int SoundAt(const std::vector<std::string>& log, const std::string& name) {
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].rfind("sound ", 0) == 0 && log[i].find("\\CDSons\\" + name + ".WAV") != std::string::npos)
            return static_cast<int>(i);
    }
    return -1;
}

TEST(Effects, AChosenEffectChangesTheSheetAndUndoBringsItBack) {
    ProgramRun run;
    // A red stroke, the negative (third of the first row), undo; then snow
    // (third of the third row), which reads its masks from the data drive.
    const std::string chooser = "click 223 15\nwait 300\n";
    ASSERT_EQ(run.StartInWorkshop("click 610 218\ndrag 150 150 450 350\nwait 100\nshot drawn\n" +
                                  chooser + "click 315 163\nwait 300\nshot negative\n"
                                  "click 60 420\nwait 300\nshot undone\n" +
                                  chooser + "click 315 259\nwait 300\nshot snow\n"),
              0);
    const std::vector<uint32_t> drawn = Sheet(run.Shot("drawn"));
    const std::vector<uint32_t> negative = Sheet(run.Shot("negative"));
    ASSERT_EQ(drawn.size(), 512u * 400u);
    EXPECT_EQ(drawn[0], 0xFFFFFFu);
    EXPECT_EQ(negative[0], 0x080808u);  // white paper turns near black
    EXPECT_EQ(Sheet(run.Shot("undone")), drawn);
    const std::vector<uint32_t> snow = Sheet(run.Shot("snow"));
    EXPECT_NE(snow, drawn);
    // Snow greys the white sky and leaves a white drift at the bottom.
    EXPECT_NE(snow[10 * 512 + 10], 0xFFFFFFu);
    EXPECT_EQ(snow[399 * 512 + 256], 0xFFFFFFu);
    const std::vector<std::string> log = run.Log();
    EXPECT_GT(SoundAt(log, "harpe"), 0);
    EXPECT_GT(SoundAt(log, "Zapslnk2"), SoundAt(log, "harpe"));
    for (const std::string& line : log) EXPECT_NE(line.rfind("message ", 0), 0u) << line;
}

}  // namespace
