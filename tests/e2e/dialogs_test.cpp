// The program's dialogs driven through the real program: saving and loading a
// drawing, choosing a background, quitting, and every dialog in two languages.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

using e2e::Contains;
using e2e::PixelOf;
using e2e::ReadBytes;

constexpr uint32_t kCream = 0xFFEAA5;


// The top row's commands and the background button.
const std::string kLoad = "click 405 15\nwait 300\n";
const std::string kSave = "click 496 15\nwait 300\n";
const std::string kQuit = "click 587 15\nwait 300\n";
const std::string kEffects = "click 223 15\nwait 300\n";
const std::string kPrint = "click 314 15\nwait 300\n";
const std::string kBackgrounds = "click 30 458\nwait 300\n";
const std::string kFonts = "click 20 260\nwait 300\n";

// The installation file's language numbers.
constexpr int kFrench = 1;
constexpr int kEnglish = 2;

// A run of the program with its own pictures folder, in the language of the
// installation file; "shot NAME" lines of a script become screenshots into
// the run's folder.
struct DialogRun {
    ProgramRun run;
    std::vector<std::string> log;

    explicit DialogRun(int language = kEnglish) {
        std::filesystem::create_directories(run.Path("config"));
        std::filesystem::create_directories(run.Path("pictures"));
        std::string folder = "Z:" + run.Path("pictures").string();
        std::replace(folder.begin(), folder.end(), '/', '\\');
        std::ofstream(run.Path("config/Tavelin.ini"))
            << "[param]\nlangage=" << language << "\ndir=" << folder << "\n";
    }

    int Run(const std::string& script) {
        const int code =
            run.StartInWorkshop(script, "--config " + run.Path("config").string());
        log = run.Log();
        return code;
    }
    std::string Shot(const std::string& name) const { return run.Shot(name); }
    // The position in the log of the first sound of that name, or -1.
    int Sound(const std::string& name) const {
        for (size_t i = 0; i < log.size(); ++i) {
            if (log[i].rfind("sound ", 0) == 0 &&
                log[i].find("\\" + name + ".WAV") != std::string::npos)
                return static_cast<int>(i);
        }
        return -1;
    }
};

std::vector<uint32_t> Pixels(const std::string& bmp, int left, int top, int right, int bottom) {
    std::vector<uint32_t> pixels;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) pixels.push_back(PixelOf(bmp, x, y));
    }
    return pixels;
}

std::vector<uint32_t> Sheet(const std::string& bmp) {
    return Pixels(bmp, 84, 36, 596, 436);
}

TEST(Dialogs, ASavedDrawingComesBackWhenLoaded) {
    DialogRun r;
    // The loading dialog's OK sits at (257, 365) on the sheet's middle.
    ASSERT_EQ(r.Run("drag 200 200 400 300\nwait 100\nshot drawn\n" + kSave +
                    "type Chat\nkey enter\nwait 300\n"
                    "drag 150 350 500 100\nwait 100\nshot changed\n" +
                    kLoad + "shot loading\nclick 257 365\nwait 500\nshot loaded\n"),
              0);
    EXPECT_TRUE(std::filesystem::exists(r.run.Path("pictures/Chat.BMP")));
    const std::vector<uint32_t> drawn = Sheet(r.Shot("drawn"));
    EXPECT_NE(Sheet(r.Shot("changed")), drawn);
    EXPECT_EQ(Sheet(r.Shot("loaded")), drawn);
    EXPECT_GT(r.Sound("Photo"), 0);
    EXPECT_GT(r.Sound("Print"), r.Sound("Photo"));
    // The preview shows the drawing at half size: the stroke is in it.
    const std::vector<uint32_t> preview = Pixels(r.Shot("loading"), 213, 107, 469, 307);
    EXPECT_GT(std::count(preview.begin(), preview.end(), PixelOf(r.Shot("drawn"), 300, 250)), 10);
}

TEST(Dialogs, AChosenBackgroundIsRevealedOnTheSheet) {
    DialogRun r;
    // The sunset, item 119, in the fourth row.
    ASSERT_EQ(r.Run(kBackgrounds + "shot chooser\nclick 441 316\nwait 2000\nshot revealed\n"), 0);
    const std::vector<uint32_t> sheet = Sheet(r.Shot("revealed"));
    EXPECT_LT(std::count(sheet.begin(), sheet.end(), 0xFFFFFFu),
              static_cast<long>(sheet.size() / 2));
    EXPECT_GT(r.Sound("KlankE"), r.Sound("Latch1"));
    EXPECT_NE(PixelOf(r.Shot("chooser"), 340, 236), PixelOf(r.Shot("revealed"), 340, 236));
}

TEST(Dialogs, QuittingAsksSaysGoodbyeAndEndsWithZero) {
    DialogRun r;
    // Cancel at (409, 305); the close button asks the same question.
    ASSERT_EQ(r.Run(kQuit + "shot asked\nclick 409 305\nwait 300\nshot stayed\nclose\nwait 300\n"
                            "shot closing\nkey enter\nwait 300\nshot farewell\nwait 5000\n"),
              0);
    EXPECT_EQ(PixelOf(r.Shot("asked"), 211, 330), kCream);
    EXPECT_NE(PixelOf(r.Shot("stayed"), 211, 330), kCream);
    EXPECT_EQ(PixelOf(r.Shot("closing"), 211, 330), kCream);
    const std::string farewell = r.Shot("farewell");
    EXPECT_EQ(PixelOf(farewell, 5, 5), 0u);
    EXPECT_EQ(PixelOf(farewell, 600, 450), 0u);
    EXPECT_NE(PixelOf(farewell, 320, 240), 0u);
    const int final = r.Sound("Final");
    ASSERT_GT(final, 0);
    EXPECT_NE(r.log[final].find("CDSons"), std::string::npos);
    EXPECT_EQ(r.log.back(), "exit 0");
}

TEST(Dialogs, EveryDialogInFrenchAndEnglish) {
    const std::string script =
        kLoad + "shot load\nkey escape\nwait 300\n" + kSave + "shot save\nkey escape\nwait 300\n" +
        kBackgrounds + "shot backgrounds\nkey escape\nwait 300\n" + kEffects +
        "shot effects\nkey escape\nwait 300\n" + kPrint + "shot print\nkey escape\nwait 300\n" +
        kFonts + "shot fonts\nkey escape\nwait 300\n" + kQuit +
        "shot quit\nkey enter\nwait 300\nshot farewell\nwait 5000\n";
    DialogRun english(kEnglish), french(kFrench);
    ASSERT_EQ(english.Run(script), 0);
    ASSERT_EQ(french.Run(script), 0);
    struct Probe {
        const char* shot;
        int top;  // the label row, or -1 for a dialog without words
        int x;    // a pixel of the dialog's background
        int y;
    };
    const Probe probes[] = {
        {"load", 79, 178, 330},    {"save", 77, 204, 360},   {"backgrounds", -1, 400, 420},
        {"effects", -1, 340, 300}, {"print", 138, 214, 320}, {"fonts", -1, 180, 420},
        {"quit", 139, 211, 330},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.shot);
        const std::string en = english.Shot(p.shot);
        const std::string fr = french.Shot(p.shot);
        EXPECT_EQ(PixelOf(en, p.x, p.y), kCream);
        // The labels speak the language; the pictures do not.
        if (p.top >= 0) {
            EXPECT_NE(Pixels(en, 180, p.top, 500, p.top + 28),
                      Pixels(fr, 180, p.top, 500, p.top + 28));
        } else {
            EXPECT_EQ(Pixels(en, 84, 36, 596, 436), Pixels(fr, 84, 36, 596, 436));
        }
    }
    EXPECT_NE(PixelOf(english.Shot("farewell"), 320, 240), 0u);
}

}  // namespace

namespace {

// A small picture file of one colour, written seconds after an hour ago.
void WriteDrawing(const std::filesystem::path& path, uint32_t rgb, int seconds) {
    std::string file = "BM";
    auto put = [&file](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.push_back(static_cast<char>(value >> (8 * i)));
    };
    put(14 + 40 + 4 * 4 * 3, 4);
    put(0, 4);
    put(54, 4);
    for (uint32_t v : {40u, 4u, 3u}) put(v, 4);
    put(1, 2);
    put(32, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int i = 0; i < 12; ++i) put(rgb, 4);
    std::ofstream(path, std::ios::binary) << file;
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(1) + std::chrono::seconds(seconds));
}

TEST(Dialogs, EnterLoadsInTheLoadingDialogAndDoesNothingInTheBackgroundChooser) {
    DialogRun r;
    ASSERT_EQ(r.Run("drag 200 200 400 300\nwait 100\nshot drawn\n" + kSave +
                    "type Chat\nkey enter\nwait 300\n"
                    "drag 150 350 500 100\nwait 100\nshot changed\n" + kLoad +
                    "key enter\nwait 500\nshot loaded\n" + kBackgrounds +
                    "key enter\nwait 300\nshot chooser\nkey escape\nwait 300\nshot after\n"),
              0);
    const std::vector<uint32_t> drawn = Sheet(r.Shot("drawn"));
    EXPECT_NE(Sheet(r.Shot("changed")), drawn);
    EXPECT_EQ(Sheet(r.Shot("loaded")), drawn);
    // Enter left the chooser open; Escape closed it with the sheet untouched.
    EXPECT_EQ(PixelOf(r.Shot("chooser"), 400, 420), kCream);
    EXPECT_EQ(Sheet(r.Shot("after")), drawn);
    EXPECT_EQ(r.Sound("KlankE"), -1);
}

TEST(Dialogs, ThreeHundredDrawingsListTheNewestFirst) {
    DialogRun r;
    // The newest has the name that sorts last; the others are white.
    for (int i = 0; i < 299; ++i) {
        WriteDrawing(r.run.Path("pictures/D" + std::to_string(100 + i) + ".BMP"), 0xFFFFFF, i);
    }
    WriteDrawing(r.run.Path("pictures/zz.BMP"), 0xFF0000, 400);
    ASSERT_EQ(r.Run(kLoad + "shot first\nclick 485 207\nwait 300\nshot next\nkey escape\n"
                            "wait 300\n"),
              0);
    EXPECT_EQ(PixelOf(r.Shot("first"), 341, 207), 0xFF0000u);
    EXPECT_EQ(PixelOf(r.Shot("next"), 341, 207), 0xFFFFFFu);
}

TEST(Dialogs, TheHundredAndEighteenthUntitledDrawingSaves) {
    DialogRun r;
    // Untitled drawings are "Image Tavelin", "Image Tavelin0", "Image
    // Tavelin01"...: 117 of them reach 255 bytes with the extension.
    std::string name = "Image Tavelin";
    for (int n = 0; n < 117; ++n) {
        WriteDrawing(r.run.Path("pictures/" + name + ".BMP"), 0xFFFFFF, n);
        name += std::to_string(n);
    }
    ASSERT_EQ(r.Run("drag 200 200 400 300\nwait 100\n" + kSave + "key enter\nwait 500\n"), 0);
    size_t files = 0, longest = 0;
    for (const auto& entry : std::filesystem::directory_iterator(r.run.Path("pictures"))) {
        ++files;
        longest = std::max(longest, entry.path().filename().string().size());
    }
    EXPECT_EQ(files, 118u);
    EXPECT_EQ(longest, 255u);
    for (const std::string& line : r.log) EXPECT_NE(line.rfind("message", 0), 0u) << line;
}

}  // namespace
