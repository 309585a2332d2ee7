// Settings of the emulated machine, taken from the command line before the
// program's entry point runs. The layer reads them; the program never does.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct Options {
    bool headless = false;
    bool window = false;      // --window: a desktop window instead of full screen
    bool mute = false;        // --mute: no audio device is opened
    bool wholeScale = false;  // --scale integer: whole factors only, never a filtered fill
    bool singleInstance = false;  // top-level windows are findable by other copies
    std::string scriptPath;   // --script FILE
    std::string logPath;      // --log FILE
    std::string dataDir;      // --data DIR: the folder shown as the drive labelled PALMIRON
    std::string configDir;    // --config DIR: the folder that stands for the Windows folder
    uint32_t seed = 1;        // --seed N: the start of the headless clock's randomness
    int depth = 32;           // --depth BITS: the emulated display's bits per pixel, 8 or 32
    int screenWidth = 640;    // --screen WxH: the emulated display's size
    int screenHeight = 480;
    // --print-to DIR: every printer is this folder, each page a PDF file in it.
    std::string printTo;
    // --print-page WxH and --print-dpi X[xY]: that folder's printable area in
    // printer pixels (0: the locale's paper) and its resolution.
    int printWidth = 0;
    int printHeight = 0;
    int printDpiX = 300;
    int printDpiY = 300;
    // The printer pixels one drawing may cover on that folder's pages, as a
    // printer's memory would limit them; 0 for no limit. Set by tests only.
    int64_t printDrawLimit = 0;
    // --monkey SEED:COUNT[:answer]: a headless run of COUNT random actions
    // drawn from SEED, answering message boxes at random with ":answer";
    // --monkey-script FILE keeps those actions as a script that replays them.
    uint32_t monkeySeed = 0;
    int monkeyCount = 0;
    bool monkeyAnswers = false;
    std::string monkeyScript;
    std::string commandLine;  // what is left: the program's command line
    std::string programPath;  // the executable, as a Linux path
};

// The options in force; tests change them before they start the layer.
Options& CurrentOptions();

// Parses argv into options; returns false and an explanation on a bad argument.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);

// The text of --help: every option with what it expects.
const char* UsageText();

}  // namespace platform
